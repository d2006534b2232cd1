#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(CGridPath, StepsRunFromTheListsEndTowardsItsFrontAndStopAtBothEnds) {
    CGridPath path;
    EXPECT_FALSE(path.StepOn());
    EXPECT_FALSE(path.StepBack());
    path.Cells() = {{2, 2}, {1, 1}, {0, 0}};
    EXPECT_EQ(path.Current(), (CGridPath::Cell{0, 0}));
    EXPECT_FALSE(path.StepBack());
    EXPECT_TRUE(path.StepOn());
    EXPECT_TRUE(path.StepOn());
    EXPECT_EQ(path.Current(), (CGridPath::Cell{2, 2}));
    EXPECT_FALSE(path.StepOn());
    EXPECT_EQ(path.GetStep(), 2u);
    EXPECT_TRUE(path.StepBack());
    EXPECT_EQ(path.Current(), (CGridPath::Cell{1, 1}));
    path.Clear();
    EXPECT_TRUE(path.Empty());
    EXPECT_EQ(path.GetStep(), 0u);
}

TEST(CGridPath, RecordRoundTripsAndRefusesStepsAndCountsItCannotHold) {
    SaveRecords records;
    HostEntity host;
    CGridPath path;
    path.Cells() = {{3, 4}, {5, 6}};
    path.StepOn();
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return path.Save(sys, pos); };
    const std::string bytes = records.save(host);
    EXPECT_EQ(bytes, "\2\0\0\0\3\0\0\0\4\0\0\0\5\0\0\0\6\0\0\0\1\0\0\0"s);

    CGridPath loaded;
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.Load(sys, pos); };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(loaded.Cells(), path.Cells());
    EXPECT_EQ(loaded.GetStep(), 1u);

    struct Case {
        const char* what;
        std::string bytes;
        size_t lines;
    } damaged[] = {
        {"step past the cells", "\1\0\0\0\3\0\0\0\4\0\0\0\1\0\0\0"s, 0},
        {"count past the record", "\x10\0\0\0\3\0\0\0\4\0\0\0\0\0\0\0"s, 1},
    };
    for (const Case& c : damaged) {
        SCOPED_TRACE(c.what);
        loaded.Cells() = {{1, 1}};
        LogCapture log;
        ASSERT_TRUE(records.load(host, c.bytes));
        EXPECT_TRUE(loaded.Empty());
        EXPECT_EQ(loaded.GetStep(), 0u);
        EXPECT_EQ(host.leftAfterLoad, 0u);
        EXPECT_EQ(log.messages().size(), c.lines);
    }
}

} // namespace
