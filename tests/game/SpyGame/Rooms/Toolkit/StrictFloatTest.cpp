#include "game/SpyGame/Rooms/Toolkit/StrictFloat.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tk2v/file/aOptionsFile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(StrictFloat, OnlyAWholeFiniteNumberIsTakenAndEachRefusalIsOneLine) {
    TempDir dir;
    dir.write("room.ini", "[PhysEngine]\nplain = 9.5\nsigned = -2\nexp = 1e2\nspaced = 1.5 \nword = fast\n"
                          "comma = 1,5\nempty =\nnan = nan\ninf = inf\nhex = 0x10\n");
    aOptionsFile ini(dir.file("room.ini"));
    ASSERT_TRUE(ini.selectSection("PhysEngine"));
    struct Case {
        const char* key;
        bool taken;
        f32 value;
    };
    const Case cases[] = {{"plain", true, 9.5f}, {"signed", true, -2}, {"exp", true, 100},
                          {"spaced", false, 7},  {"word", false, 7},   {"comma", false, 7},
                          {"empty", false, 7},   {"nan", false, 7},    {"inf", false, 7},
                          {"hex", false, 7},     {"missing", false, 7}};
    for (const Case& c : cases) {
        LogCapture log;
        f32 value = 7;
        EXPECT_EQ(ReadStrictFloat(ini, c.key, value, "Room::AfterLoadInit"), c.taken) << c.key;
        EXPECT_EQ(value, c.value) << c.key;
        ASSERT_EQ(log.messages().size(), c.taken ? 0u : 1u) << c.key;
        if (!c.taken) {
            EXPECT_EQ(log.messages()[0].find(std::string("Room::AfterLoadInit(). Key \"") + c.key + "\""), 0u)
                << log.messages()[0];
        }
    }
}

} // namespace
