#include "game/SpyGame/Rooms/Puzzles/cGardenMazePlanner.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A flight planned from a one-cell maze on a grid of walls, where every search fails: Marwenn stands
// in CELL7 (her path behind her inside it), Tez beside her.
class Flight : public testing::Test {
protected:
    void SetUp() override {
        plan.grid.Resize(110, 80);
        for (u32 x = 0; x < 110; ++x)
            for (u32 y = 0; y < 80; ++y)
                plan.grid.SetWall(x, y);
        plan.scale = {1, 1};
        plan.rowHeight = plan.columnWidth = 10;
        plan.unitSize = 1;
        cell.area = {300, 100, 200, 180};
        cell.centre = {400, 190};
        cell.areaName = "CELL7";
        cell.hasArea = true;
        plan.player.cell = 0;
        plan.player.path.Cells() = {{40, 19}, {39, 19}};
        plan.player.path.StepOn();
        plan.tezStand = {{380, 170}, {395, 185}, {}, 30, 30};
        plan.tez.cell = 0;
        plan.stopRequested = &stop;
    }
    void fly() {
        plan.cells = {cell};
        plan.edges = edges;
        plan.Ready();
        plan.PlanFlight();
    }
    size_t count(const LogCapture& log, const std::string& start) const {
        const std::vector<std::string> lines = log.messages();
        return size_t(std::count_if(lines.begin(), lines.end(),
                                    [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
    }

    cGardenMazePlanner plan;
    cGardenMazePlanner::Cell cell;
    std::array<std::vector<i32>, 4> edges{{{0}, {0}, {0}, {0}}};
    std::atomic<bool> stop{false};
};

TEST_F(Flight, ACellOpenOnlyTheWaySheCameLeavesTezCaught) {
    cell.openSides = 1 << 0;
    plan.player.path.Cells() = {{40, 19}, {25, 19}};
    LogCapture log;
    fly();
    EXPECT_TRUE(plan.caught);
    EXPECT_TRUE(plan.tezSteps.empty());
    EXPECT_EQ(plan.player.path.GetStep(), 0u);
}

// A gate Tez cannot reach still counts as a way out, and outside the maze no cell opens again: the run
// round it stops after one circuit of the edge lists, or at once when the main thread asks.
TEST_F(Flight, ARunRoundTheMazeEndsAfterOneCircuitOrWhenStopped) {
    plan.gates.push_back({false, {400, 105}, {400, 105}, {390, 90, 20, 20}, {395, 95, 10, 10}, {}});
    cell.openSides = 1 << 2;
    cell.gates[2] = 0;
    for (bool stopped : {false, true}) {
        SCOPED_TRACE(stopped);
        stop = stopped;
        plan.tezSteps.clear();
        LogCapture log;
        fly();
        EXPECT_FALSE(plan.caught);
        // The gate, the way out, then a corner at a time.
        EXPECT_EQ(plan.tezSteps.size(), stopped ? 3u : 6u);
        EXPECT_EQ(count(log, "Cann't calc way to ["), plan.tezSteps.size());
        EXPECT_EQ(count(log, "cGardenMazeRoom. The flight went once round the maze from CELL7"),
                  stopped ? 0u : 1u);
        EXPECT_EQ(plan.tez.state, CMazeWalker::Idle);
    }
}

TEST_F(Flight, APointInTheMazeButInNoCellOrACellOffItsSidesListEndsTheRun) {
    struct Case {
        const char* what;
        u8 side;
        std::array<std::vector<i32>, 4> edges;
        const char* line;
    } cases[] = {
        {"beside the cell, inside the maze",
         1,
         {{{0}, {}, {0}, {0}}},
         "cGardenMazeRoom engine failed[2]: CELL7"},
        {"left of the maze, the cell not on its left",
         0,
         {{{}, {0}, {0}, {0}}},
         "cGardenMazeRoom engine failed[3]: CELL7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cell.openSides = u8(1 << c.side | 1 << (c.side ^ 1));
        plan.player.path.Cells() = {{40, 19}, {c.side == 0 ? 55u : 25u, 19}};
        plan.player.path.StepOn();
        edges = c.edges;
        plan.tezSteps.clear();
        LogCapture log;
        fly();
        EXPECT_EQ(count(log, c.line), 1u);
        EXPECT_EQ(plan.tezSteps.size(), 1u);
    }
}

} // namespace
