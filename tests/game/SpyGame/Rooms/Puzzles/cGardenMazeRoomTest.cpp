#include "GardenMazeKit.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Cell = CGridPath::Cell;
using Sides = std::array<const char*, 9>;

constexpr u8 SHIFT = 0x2A, F4 = 0x3E;

// Tez walks in from below through 7, 4 and 1; Marwenn comes in from the left through 4. Cell 2 opens
// only to cell 1.
const Sides kDeadEnd = {"1 3", "0", "", "0 2 3", "", "", "2 3", "", ""};
// Tez waits in cell 8; cell 3 is reached over the top of the maze and gate 23 from there.
const Sides kGateFromAbove = {"", "1", "0 2", "", "", "", "", "3", ""};
// Cell 2 opens to cell 1 and, through gate 23, to cell 3. Marwenn comes in far below, through 7, so
// that her way to the gate runs over the top of the maze into cell 3.
const Sides kGateWayOut = {"1 3", "0 1", "0 2", "2 3", "", "", "0 2 3", "", ""};
// The same with cell 2 also open below, into cell 5.
const Sides kTwoWaysOut = {"1 3", "0 1 3", "0 2", "2 3", "2", "", "0 2 3", "", ""};
// Tez waits in the top-right cell, which opens to the right out of the maze, and both come in through
// cell 4. Down the right side no cell opens outwards; the bottom-right one opens below.
const Sides kOutAndRound = {"1 3", "0 1", "0 1", "0 2", "", "", "", "", "3"};
// The same with only the bottom-left cell open outwards, to the left: round two corners.
const Sides kRoundTwoCorners = {"1 3", "0 1", "0 1", "0 2 3", "", "", "0 2", "", ""};

TEST(CMazeWalker, DirectionsOfStepsAndIdlePosesAfterThem) {
    struct Case {
        i32 previous;
        Cell from, to;
        i32 pose;
    } cases[] = {
        {0, {5, 5}, {4, 6}, CMazeWalker::DownLeft},  {0, {5, 5}, {5, 4}, CMazeWalker::Up},
        {0, {5, 5}, {4, 4}, CMazeWalker::UpLeft},    {0, {5, 5}, {4, 5}, CMazeWalker::Left},
        {0, {5, 5}, {6, 6}, CMazeWalker::DownRight}, {0, {5, 5}, {6, 4}, CMazeWalker::UpRight},
        {0, {5, 5}, {6, 5}, CMazeWalker::Right},     {0, {5, 5}, {5, 6}, CMazeWalker::Down},
        {6, {5, 5}, {5, 5}, CMazeWalker::IdleLeft},  {10, {5, 5}, {5, 5}, CMazeWalker::IdleLeft},
        {2, {5, 5}, {5, 5}, CMazeWalker::IdleRight}, {11, {5, 5}, {5, 5}, CMazeWalker::IdleRight},
        {1, {5, 5}, {5, 5}, CMazeWalker::IdleUp},    {7, {5, 5}, {5, 5}, CMazeWalker::IdleUp},
        {12, {5, 5}, {5, 5}, CMazeWalker::IdleUp},   {4, {5, 5}, {5, 5}, CMazeWalker::IdleDown},
        {-1, {5, 5}, {5, 5}, CMazeWalker::IdleDown}, {9, {5, 5}, {5, 5}, CMazeWalker::IdleDown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMazeWalker::ChooseDirection(c.previous, c.from, c.to), c.pose)
            << c.previous << ": " << c.from.first << "," << c.from.second << " -> " << c.to.first << ","
            << c.to.second;
}

TEST_F(GardenMazeTest, TezWalksInToTheStartCellAndMarwennWalksToAClickStoppingNextToIt) {
    playGarden({kGateFromAbove, "8"});
    EXPECT_EQ(tez().state, CMazeWalker::Walking);
    ASSERT_TRUE(settle());
    EXPECT_EQ(cellOf(tez()), 8);
    EXPECT_EQ(cellOf(player()), 0);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps"}));
    EXPECT_FALSE(isPlaying("rosary_steps"));

    // Over the top of the maze into cell 3, at speed x column width pixels a second, standing still on
    // the frame that would end a step.
    clickAt(850, 200);
    int moves = 0, exact = 0;
    for (int i = 0; i < 4000 && !(player().state == CMazeWalker::Idle && !garden->IsWorkerPending()); ++i) {
        const SpyPoint before = player().GetCenter();
        frame(0, 0);
        const SpyPoint after = player().GetCenter();
        const f32 moved = std::hypot(after.x - before.x, after.y - before.y);
        // A step starts from the whole pixel nearest to where the last one left her.
        if (moved > 0) {
            ASSERT_LE(moved, 10 * 10 * DT + 0.71f);
            exact += std::abs(moved - 10 * 10 * DT) < 0.01f ? 1 : 0;
            ++moves;
        }
    }
    EXPECT_GT(moves, 100);
    EXPECT_GT(exact, moves / 2);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps"}));
    frame(0, 0);
    EXPECT_FALSE(isPlaying("rosary_steps"));
    // Within a move of the corner of a grid cell next to the one clicked, not in it.
    const SpyPoint at = player().GetCenter();
    const f32 cx = std::round(at.x / 10), cy = std::round(at.y / 10);
    EXPECT_LE(std::hypot(at.x - cx * 10, at.y - cy * 10), 5.01f);
    EXPECT_LE(std::abs(cx - 85), 1);
    EXPECT_LE(std::abs(cy - 20), 1);
    EXPECT_FALSE(cx == 85 && cy == 20);
    EXPECT_EQ(cellOf(player()), 3);
    EXPECT_GE(player().animations.GetCurrentIndex(), CMazeWalker::IdleLeft);
}

TEST_F(GardenMazeTest, AGateReachedClosesAfterItsWaitAndOpensAfterTheOther) {
    playGarden(
        {kGateFromAbove, "8", "OpenDoor = 0.22\nCloseDoor = 0.32\nTezSpeed = 10\nMarwennSpeed = 10\n"});
    ASSERT_TRUE(settle());
    mazeSounds();
    // The frames she waits, up to the one that turns the gate.
    auto waitAtGate = [&] {
        int frames = 0;
        for (int i = 0; i < 4000 && player().state != CMazeWalker::Idle; ++i) {
            frame(0, 0);
            frames += player().gateTimer > 0 || player().state == CMazeWalker::Idle ? 1 : 0;
        }
        return frames;
    };
    clickAt(700, 200);
    frame(0, 0);
    EXPECT_EQ(player().state, CMazeWalker::ToGate);
    EXPECT_EQ(player().gate, 0);
    // Waiting counts from the frame the walk ends; the gate turns on the first frame past its time.
    EXPECT_EQ(waitAtGate(), 5);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps", "rosary_gate_close"}));
    EXPECT_EQ(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);
    EXPECT_TRUE(gardenItem("23").IsVisible());
    EXPECT_FALSE(gardenItem("OTKRVOROTA23").IsVisible());

    // The animation shown gives way to the closed still, and a click on it counts for the gate.
    clickAt(700, 200);
    EXPECT_FALSE(gardenItem("23").IsVisible());
    EXPECT_TRUE(gardenItem("ZAKRVOROTA23").IsVisible());
    frame(0, 0);
    EXPECT_EQ(player().state, CMazeWalker::ToGate);
    EXPECT_EQ(waitAtGate(), 7);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps", "rosary_gate_open"}));
    EXPECT_NE(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);

    // Standing in the open gate, a click on it does nothing.
    frame(0, 0);
    clickAt(700, 200);
    EXPECT_FALSE(garden->IsWorkerPending());
    EXPECT_EQ(player().state, CMazeWalker::Idle);
}

TEST_F(GardenMazeTest, WhileTezRunsMarwennWalksUpToAGateAndLeavesIt) {
    playGarden({kGateFromAbove, "8"});
    ASSERT_EQ(tez().state, CMazeWalker::Walking);
    clickAt(700, 200);
    frame(0, 0);
    EXPECT_EQ(player().state, CMazeWalker::Walking);
    ASSERT_TRUE(settle());
    EXPECT_LE(std::hypot(player().GetCenter().x - 700, player().GetCenter().y - 199), 25);
    EXPECT_TRUE(gardenItem("OTKRVOROTA23").IsVisible());
    EXPECT_NE(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps"}));
}

TEST_F(GardenMazeTest, CorneredInACellOpenOnlyTheWaySheCameTezIsTaken) {
    playGarden({kDeadEnd, "2"});
    ASSERT_TRUE(settle());
    ASSERT_EQ(cellOf(tez()), 2);
    ASSERT_TRUE(clickAndSettle(cellCentre(2)));
    EXPECT_TRUE(garden->IsTaken());
    EXPECT_EQ(garden->shown, (std::vector<std::string>{"TezIsTaken"}));
    EXPECT_TRUE(gardenItem("WO_TEZ_INFO").IsVisible());
    // Once Tez has walked off and settled, he is put away and the suspect appears.
    frame(0, 0);
    EXPECT_TRUE(gardenItem("WO_TEZ_SUSPECT").IsVisible());
    EXPECT_EQ(tez().animations.GetPos(), (SpyPoint{0, 0}));
    // The chase is over: clicks do nothing.
    clickAt(i32(cellCentre(1).x), i32(cellCentre(1).y));
    EXPECT_FALSE(garden->IsWorkerPending());
    expectSameRecordAfterReload();
    EXPECT_TRUE(garden->IsTaken());
}

TEST_F(GardenMazeTest, WithOneWayOutBehindAClosedGateTezOpensItAndFleesThrough) {
    playGarden({kGateWayOut, "2"});
    ASSERT_TRUE(settle());
    ASSERT_EQ(cellOf(tez()), 2);
    // Marwenn shuts the gate from cell 3, then comes round into cell 2 from cell 1.
    ASSERT_TRUE(clickAndSettle({700, 200}));
    ASSERT_EQ(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);
    quiet();
    ASSERT_TRUE(clickAndSettle(cellCentre(2)));
    EXPECT_FALSE(garden->IsTaken());
    EXPECT_EQ(cellOf(tez()), 3);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps", "rosary_gate_open"}));
    EXPECT_NE(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);
}

TEST_F(GardenMazeTest, WithTwoWaysOutTheClosedGateStaysShut) {
    playGarden({kTwoWaysOut, "2"});
    ASSERT_TRUE(settle());
    ASSERT_TRUE(clickAndSettle({700, 200}));
    quiet();
    ASSERT_TRUE(clickAndSettle(cellCentre(2)));
    EXPECT_FALSE(garden->IsTaken());
    EXPECT_EQ(cellOf(tez()), 5);
    EXPECT_EQ(mazeSounds(), (std::vector<std::string>{"rosary_steps"}));
    EXPECT_EQ(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);
}

// Tez leaves the top-right cell to the right and runs round the outside of the maze, clockwise, into
// the first border cell that opens outwards.
class GardenMazeRound : public GardenMazeTest {
protected:
    void runRound(const Sides& sides, int into, size_t legs) {
        playGarden({sides, "3"});
        ASSERT_TRUE(settle());
        ASSERT_EQ(cellOf(tez()), 3);
        clickAt(i32(cellCentre(3).x), i32(cellCentre(3).y));
        SpyPoint farthest{};
        size_t queued = 0;
        for (int i = 0; i < 4000 && (i < 2 || !settled()); ++i) {
            frame(0, 0);
            // The first leg is taken from the queue in the frame the plan arrives.
            queued = std::max(queued, garden->GetTezStepCount() + 1);
            farthest = {std::max(farthest.x, tez().GetCenter().x), std::max(farthest.y, tez().GetCenter().y)};
        }
        EXPECT_FALSE(garden->IsTaken());
        EXPECT_EQ(cellOf(tez()), into);
        EXPECT_EQ(queued, legs);
        EXPECT_GT(farthest.x, 902);
        EXPECT_GT(farthest.y, 645);
    }
};

TEST_F(GardenMazeRound, RoundOneCornerIntoTheBottomRightCell) {
    runRound(kOutAndRound, 9, 5);
}

TEST_F(GardenMazeRound, RoundTwoCornersIntoTheBottomLeftCell) {
    runRound(kRoundTwoCorners, 7, 8);
}

TEST_F(GardenMazeTest, SolvingCatchesTezOnlyOnceHeHasSettled) {
    playGarden({kDeadEnd, "2"});
    EXPECT_FALSE(garden->SolveRoom());
    EXPECT_FALSE(garden->IsTaken());
    ASSERT_TRUE(settle());
    EXPECT_TRUE(garden->SolveRoom());
    EXPECT_TRUE(garden->IsTaken());
    EXPECT_EQ(garden->shown, (std::vector<std::string>{"TezIsTaken"}));
    EXPECT_TRUE(gardenItem("WO_TEZ_INFO").IsVisible());
    EXPECT_EQ(tez().animations.GetPos(), (SpyPoint{0, 0}));
    EXPECT_TRUE(tez().path.Empty());
    frame(0, 0);
    EXPECT_TRUE(gardenItem("WO_TEZ_SUSPECT").IsVisible());
    EXPECT_FALSE(garden->SolveRoom());
}

TEST_F(GardenMazeTest, TheEditorPaintsAndFreesCellsUnderTheRightButtonAndF4WritesTheMap) {
    Layout layout{kDeadEnd, "2"};
    layout.mapInfo += "EditorMode = 1\n";
    playGarden(layout);
    frame(105, 205, {.down = {1}});
    frame(125, 205, Input{});
    frame(125, 205, {.up = {1}});
    EXPECT_EQ(garden->GetGrid().GetCell(10, 20), CGridMap::Wall);
    EXPECT_EQ(garden->GetGrid().GetCell(12, 20), CGridMap::Wall);
    frame(125, 205, {.down = {1}, .keysDown = {SHIFT}});
    frame(125, 205, {.up = {1}, .keysUp = {SHIFT}});
    EXPECT_EQ(garden->GetGrid().GetCell(12, 20), 0);
    EXPECT_EQ(garden->GetGrid().GetCell(10, 20), CGridMap::Wall);
    frame(0, 0, {.taps = {F4}});
    frame(0, 0);
    CGridMap written;
    ASSERT_TRUE(written.LoadMap(data() + "zoom_Garden/garden.map"));
    EXPECT_EQ(written.GetCell(10, 20), CGridMap::Wall);
    EXPECT_EQ(written.GetCell(12, 20), 0);
}

// Right after a reset only the base record and the fresh byte; then a worker's plan waiting, a gate
// turning, both walking: each saved, loaded into the reset room and saved again gives the same bytes,
// and play goes on.
TEST_F(GardenMazeTest, RecordsComeBackWholeFromAResetRoom) {
    playGarden({kGateWayOut, "2"});
    garden->Reset();
    HostEntity base(garden->getName());
    base.save = [&](SaveLoadSystem& sys, u8* pos) { return garden->CRoomBase::SaveSelf(sys, pos); };
    EXPECT_EQ(record(), records.save(base) + "\1"s);
    garden->Enter("Demo", nullptr);
    ASSERT_TRUE(settle());

    clickAt(700, 200);
    ASSERT_TRUE(garden->IsWorkerPending());
    expectSameRecordAfterReload();
    EXPECT_FALSE(garden->IsWorkerPending());
    EXPECT_EQ(player().state, CMazeWalker::ToGate);
    for (int i = 0; i < 4000 && player().state != CMazeWalker::Idle; ++i)
        frame(0, 0);
    expectSameRecordAfterReload();
    EXPECT_TRUE(gardenItem("23").IsVisible());
    EXPECT_EQ(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);

    clickAt(i32(cellCentre(2).x), i32(cellCentre(2).y));
    for (int i = 0; i < 20; ++i)
        frame(0, 0);
    ASSERT_EQ(player().state, CMazeWalker::Walking);
    expectSameRecordAfterReload();

    // A busy byte a record holds starts no worker.
    std::string bytes = record();
    const size_t grid = 4 + 110 * (4 + 80) + 8,
                 folder = data().size() + std::string("zoom_Garden/").size() + 1;
    const size_t busy = bytes.size() - 1 - grid - folder - 1 - 1;
    ASSERT_EQ(bytes[busy], '\0');
    bytes[busy] = 1;
    ASSERT_TRUE(records.load(*garden, bytes));
    EXPECT_FALSE(garden->IsWorkerPending());
    bytes[busy] = 0;
    EXPECT_EQ(record(), bytes);
    ASSERT_TRUE(settle());
    EXPECT_EQ(cellOf(tez()), 3);
    EXPECT_NE(garden->GetGrid().GetCell(70, 19), CGridMap::Wall);
}

// A gate belongs to the cells whose ids start with a character of its id (2 and 3 for 23); each such
// cell's "d" list, read in pairs, must name it with a side.
struct DoorCase {
    const char* what;
    const char* d2;
    size_t errors;
};
class GardenMazeDoors : public GardenMazeTest, public testing::WithParamInterface<DoorCase> {};

TEST_P(GardenMazeDoors, GatesWithoutASideInTheirCellsListAreLogged) {
    Layout layout{kDeadEnd, "2"};
    layout.doors = "d2 = "s + GetParam().d2 + "\nd3 = 23 0\n";
    LogCapture log;
    playGarden(layout);
    const std::vector<std::string> lines = log.messages();
    EXPECT_EQ(size_t(std::count(lines.begin(), lines.end(), "Door Find Error! 23 ")), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(Cases, GardenMazeDoors,
                         testing::Values(DoorCase{"side given", "23 1", 0}, DoorCase{"side 4", "23 4", 1},
                                         DoorCase{"side past 3", "23 7", 1},
                                         DoorCase{"match as the last value", "23", 1},
                                         DoorCase{"read in pairs", "12 1, 23 1", 0},
                                         DoorCase{"a side is no gate", "1 23", 1}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             std::erase_if(name, [](char c) { return !std::isalnum(u8(c)); });
                             return name;
                         });

// Seconds and speeds are whole numbers or nothing; a speed of 0 walks a cell a second.
TEST_F(GardenMazeTest, ATimerThatIsNoNumberIsLoggedAndReadsAsZero) {
    Layout layout{kGateFromAbove, "8"};
    layout.timers = "OpenDoor = 0.2\nCloseDoor = 0.3\nTezSpeed = 10\nMarwennSpeed = 10 cells\n";
    LogCapture log;
    playGarden(layout);
    EXPECT_TRUE(
        log.contains("cGardenMazeRoom::AfterLoadInit(). \"MarwennSpeed\" of [Timers] is not a number: "
                     "\"10 cells\""));
    EXPECT_EQ(player().speed, 0);
    clickAt(850, 200);
    f32 walked = 0;
    for (int i = 0; i < 40; ++i) {
        const SpyPoint before = player().GetCenter();
        frame(0, 0);
        walked += std::hypot(player().GetCenter().x - before.x, player().GetCenter().y - before.y);
    }
    // Two seconds at ten pixels a second, less the frames that end a step.
    EXPECT_GT(walked, 12);
    EXPECT_LT(walked, 21);
}

} // namespace
