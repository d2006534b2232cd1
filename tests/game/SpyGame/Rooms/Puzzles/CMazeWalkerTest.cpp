#include "game/SpyGame/Rooms/Puzzles/CMazeWalker.h"
#include "support/LogCapture.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// A walker's record: its segment, poses, path and footprint, then state, cell and gate numbers, the
// gate wait and its speed.
std::string walkerRecord(const std::string& segment, const std::string& footprint, u32 cell, u32 gate) {
    std::string bytes = segment + "\0\0\0\0\0"s + "\0\0\0\0\0\0\0\0"s + footprint;
    for (u32 word : {1u, cell, gate, 0u, 0u})
        SaveRecords::putU32(bytes, word);
    return bytes;
}

TEST(CMazeWalker, RecordsKeepWhatTheRoomsListsHoldAndStopAtWhatTheyCannot) {
    const std::string noSegment = "\0\0\0\0"s, oneColumn = "\1\0\0\0\2\0\0\0\xFF\0"s;
    std::string longSegment;
    SaveRecords::putU32(longSegment, 65);
    longSegment += std::string(65 * 8, '\0');
    struct Case {
        const char* what;
        std::string bytes;
        i32 cell, gate;
        size_t columns;
        size_t lines;
    } cases[] = {
        {"cell 2 and gate 1 of the lists", walkerRecord(noSegment, oneColumn, 2, 1), 1, 0, 1, 0},
        {"numbers past the lists", walkerRecord(noSegment, oneColumn, 4, 2), -1, -1, 1, 0},
        {"0 for none", walkerRecord(noSegment, oneColumn, 0, 0), -1, -1, 1, 0},
        {"more segment points than a walk has", walkerRecord(longSegment, oneColumn, 1, 1), 0, 0, 1, 1},
        {"footprint count past the record", walkerRecord(noSegment, "\xFF\xFF\0\0"s, 1, 1), -1, -1, 0, 1},
    };
    FakeRooms rooms;
    SaveRecords records;
    HostEntity host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMazeWalker walker;
        walker.cell = walker.gate = 7;
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return walker.Load(rooms, sys, pos, 3, 1); };
        LogCapture log;
        ASSERT_TRUE(records.load(host, c.bytes));
        EXPECT_EQ(host.leftAfterLoad, 0u);
        EXPECT_EQ(log.messages().size(), c.lines);
        EXPECT_EQ(walker.footprint.size(), c.columns);
        EXPECT_EQ(walker.trajectory.getPointCount(), 0u);
        if (c.columns == 1) {
            EXPECT_EQ(walker.cell, c.cell);
            EXPECT_EQ(walker.gate, c.gate);
            EXPECT_EQ(walker.state, 1u);
            host.save = [&](SaveLoadSystem& sys, u8* pos) { return walker.Save(sys, pos); };
            if (c.cell >= 0 && c.lines == 0) {
                EXPECT_EQ(records.save(host), c.bytes);
            }
        }
    }
}

} // namespace
