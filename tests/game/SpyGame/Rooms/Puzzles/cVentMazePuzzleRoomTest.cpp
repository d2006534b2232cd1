#include "VentMazeKit.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr u8 SHIFT = 0x2A, F4 = 0x3E;
constexpr f32 HalfPi = 1.5707963705062866f;

TEST_F(VentMazeTest, AResetRestsTheFigureAtItsStartWithTheLightAheadAndTurnsTheFans) {
    playVent();
    EXPECT_EQ(figure(), &ventItem("ANIMATION1IDLEU"));
    EXPECT_EQ(figureCentre(), (SpyPoint{50, 55}));
    CSpyItem& light = ventItem("LIGHT");
    EXPECT_FLOAT_EQ(light.GetRotation(), -HalfPi);
    EXPECT_EQ(light.GetScale(), (SpyPoint{1.5f, 1.5f}));
    // Centred on the figure (the light 90 x 60 at its zoom), then ahead along heading 0: 30 pixels, and
    // 10 across and 20 up.
    EXPECT_EQ(light.GetPos(), (SpyPoint{50 - 45 + 40, 55 - 30 - 20}));
    EXPECT_FLOAT_EQ(ventItem("FUN1").GetRotation(), std::numbers::pi_v<f32> / 2);
    EXPECT_EQ(ventItem("FUN1").GetPos(), (SpyPoint{405, 295}));
    EXPECT_FALSE(vent->IsDragonSeen() || vent->IsExitSeen() || vent->IsBothSeen());
}

// Each step ends on a cell's corner, columns 20 pixels wide and rows 10 high; the light turns with the
// heading, and the figure rests once the path is done.
TEST_F(VentMazeTest, AClickWalksTheFigureCellByCellWithItsLightAndSteps) {
    playVent();
    clickAt(125, 55);
    EXPECT_EQ(figure(), &ventItem("ANIMATION1U"));
    EXPECT_TRUE(isPlaying("ventilation_steps"));
    std::vector<SpyPoint> corners;
    for (int i = 0; i < 400 && !vent->GetPath().Empty(); ++i) {
        frame(0, 0);
        const SpyPoint at = figureCentre();
        if (std::fmod(at.x, 20.0f) == 0 && std::fmod(at.y, 10.0f) == 0 &&
            (corners.empty() || !(corners.back() == at)))
            corners.push_back(at);
    }
    // Up to the cell next to the one clicked.
    EXPECT_EQ(corners, (std::vector<SpyPoint>{{60, 50}, {80, 50}, {100, 50}}));
    EXPECT_FLOAT_EQ(ventItem("LIGHT").GetRotation(), -HalfPi);
    frame(0, 0);
    EXPECT_EQ(figure(), &ventItem("ANIMATION1IDLEU"));
    EXPECT_FALSE(isPlaying("ventilation_steps"));
}

// The point clicked, then 1 and 2 x "CellWidth" across and "CellHeight" along: the first point a path
// reaches wins, and the grid's columns ("CellHeight" wide) and rows ("CellWidth" high) do not swap.
TEST_F(VentMazeTest, AClickOnAWallTriesNinePointsAroundItWithTheCellSizesCrossed) {
    playVent();
    // (405, 205) is a wall, so is (415, 205) and (395, 205); (405, 225) is the free cell (20, 22).
    clickAt(405, 205);
    ASSERT_TRUE(rest());
    EXPECT_EQ(figureCentre(), (SpyPoint{400, 230}));
}

// A walk four cells on takes a click again: one too far stops it where it is.
TEST_F(VentMazeTest, APathOfDistanceCellsOrMoreMovesNothingAndStopsAWalk) {
    Layout layout;
    layout.figure = "x = 50\ny = 55\nspeed = 10\nlightR = 1\ndistance = 10\nkeyDelta = 0\nstate = 1\n";
    playVent(layout);
    clickAt(510, 55);
    EXPECT_TRUE(vent->GetPath().Empty());
    // A press right after a release reads up for a frame first: the button goes up here.
    frame(510, 55);
    clickAt(230, 55);
    ASSERT_EQ(vent->GetPath().Count(), 9u);
    for (int i = 0; i < 100 && vent->GetPath().GetStep() < 4; ++i)
        frame(0, 0);
    clickAt(510, 55);
    EXPECT_TRUE(vent->GetPath().Empty());
    const SpyPoint stopped = figureCentre();
    frame(0, 0);
    frame(0, 0);
    EXPECT_EQ(figureCentre(), stopped);
    EXPECT_LT(stopped.x, 200);
}

TEST_F(VentMazeTest, WithADistanceOfOneNoClickMovesTheFigure) {
    Layout layout;
    layout.figure = "x = 50\ny = 55\nspeed = 10\nlightR = 1\ndistance = 1\nkeyDelta = 0\nstate = 1\n";
    playVent(layout);
    for (const SpyPoint& at : {SpyPoint{70, 55}, SpyPoint{90, 55}, SpyPoint{510, 55}}) {
        clickAt(i32(at.x), i32(at.y));
        frame(0, 0);
        EXPECT_EQ(figureCentre(), (SpyPoint{50, 55}));
    }
}

// Held on, the walk is planned anew once four cells of it are done; a click walks to the end.
TEST_F(VentMazeTest, AHeldButtonReplansOnlyAfterFourCells) {
    playVent();
    u32 highest = 0;
    int replans = 0;
    frame(510, 55, {.down = {0}});
    for (int i = 0; i < 60; ++i) {
        const u32 before = vent->GetPath().GetStep();
        frame(510, 55, Input{});
        highest = std::max(highest, vent->GetPath().GetStep());
        replans += vent->GetPath().GetStep() < before ? 1 : 0;
    }
    frame(510, 55, {.up = {0}});
    EXPECT_LE(highest, 4u);
    EXPECT_GE(replans, 3);
    ASSERT_TRUE(rest());
    clickAt(70, 55);
    for (int i = 0; i < 400 && !vent->GetPath().Empty(); ++i) {
        frame(0, 0);
        highest = std::max(highest, vent->GetPath().GetStep());
    }
    EXPECT_GT(highest, 10u);
    EXPECT_EQ(figureCentre(), (SpyPoint{80, 50}));
}

TEST_F(VentMazeTest, TheDragonSeenFirstThenTheExitSolvesTheRoomAndNeitherPlaceShows) {
    playVent();
    clickAt(530, 55);
    bool placesShown = false;
    for (int i = 0; i < 400 && !vent->GetPath().Empty(); ++i) {
        frame(0, 0);
        placesShown = placesShown || ventItem("DRAGON").IsVisible() || ventItem("EXIT").IsVisible();
        if (vent->IsDragonSeen() && !vent->IsExitSeen()) {
            EXPECT_TRUE(ventItem("FOTO_DRAGO").IsVisible());
            EXPECT_FALSE(ventItem("FOTO_EXIT").IsVisible());
        }
    }
    EXPECT_FALSE(placesShown);
    EXPECT_TRUE(vent->IsBothSeen());
    EXPECT_TRUE(ventItem("FOTO_EXIT").IsVisible());
    EXPECT_EQ(vent->shown, (std::vector<std::string>{"MSG_SEEDRAGONBEFOREEXIT", "MSG_SEEEXITAFTERDRAGON"}));
    // Passing the dragon again shows nothing more.
    clickAt(70, 55);
    ASSERT_TRUE(rest());
    EXPECT_EQ(vent->shown.size(), 2u);
}

TEST_F(VentMazeTest, SolvingShowsBothPlacesAtOnce) {
    playVent();
    EXPECT_TRUE(vent->SolveRoom());
    EXPECT_TRUE(vent->IsDragonSeen() && vent->IsExitSeen() && vent->IsBothSeen());
    EXPECT_TRUE(ventItem("FOTO_DRAGO").IsVisible());
    EXPECT_TRUE(ventItem("FOTO_EXIT").IsVisible());
    EXPECT_EQ(vent->shown, (std::vector<std::string>{"MSG_SEEDRAGONBEFOREEXIT", "MSG_SEEEXITAFTERDRAGON"}));
}

TEST_F(VentMazeTest, TheRecordHoldsItsFieldsInOrderAndAWalkResumesAfterALoad) {
    playVent();
    clickAt(170, 55);
    frame(0, 0);
    frame(0, 0);
    const std::string bytes = records.save(*vent);
    HostEntity base(vent->getName());
    base.save = [&](SaveLoadSystem& sys, u8* pos) { return vent->CRoomBase::SaveSelf(sys, pos); };
    const std::string head = records.save(base);
    ASSERT_EQ(bytes.substr(0, head.size()), head);
    // Spare float, the segment (two ends and the controls between them), the figure's frames, the light.
    const std::string tail = bytes.substr(head.size());
    EXPECT_EQ(tail.substr(0, 8), "\0\0\0\0"s + "\4\0\0\0"s);
    const std::string frames =
        "\2\0\0\0zoom_Vent:ANIMATION1U\0zoom_Vent:ANIMATION1IDLEU\0zoom_Vent:ANIMATION1U\0"s;
    const size_t at = 8 + 32;
    EXPECT_EQ(tail.substr(at, frames.size()), frames);
    const std::string light = "zoom_Vent:LIGHT\0"s;
    EXPECT_EQ(tail.substr(at + frames.size(), light.size()), light);
    std::string words;
    SaveRecords::putU32(words, 0);
    // Speed 10.0, a spare word, distance 100 and key delta 7, light radius 1.5.
    EXPECT_EQ(tail.substr(at + frames.size() + light.size(), 16),
              "\0\0\x20\x41"s + words + "\x64\0\x07\0"s + "\0\0\xC0\x3F"s);
    // ... the path, start x 50 and y 55, start frame 1, editor off, the map folder, the sightings and
    // the steps sound playing.
    const std::string end =
        "\0\0\x48\x42"s + "\0\0\x5C\x42"s + "\1\0\0\0"s + "\0"s + data() + "zoom_Vent/\0"s + "\0\0\0\1"s;
    EXPECT_EQ(tail.substr(tail.size() - end.size()), end);

    // Loaded into the reset room: the same bytes, and the walk and its steps go on.
    vent->Reset();
    quiet();
    ASSERT_TRUE(records.load(*vent, bytes));
    EXPECT_EQ(records.save(*vent), bytes);
    EXPECT_EQ(started(), (std::vector<std::string>{"ventilation_steps"}));
    ASSERT_TRUE(rest());
    EXPECT_EQ(figureCentre(), (SpyPoint{140, 50}));
}

TEST_F(VentMazeTest, TheEditorWallsAndFreesThreeByThreeAndF4WritesTheMap) {
    Layout layout;
    layout.mapInfo += "EditorMode = 1\n";
    playVent(layout);
    frame(105, 55, {.down = {1}});
    frame(105, 55, {.up = {1}});
    CGridMap written;
    frame(105, 55, Input{});
    frame(0, 0, {.taps = {F4}});
    frame(0, 0);
    ASSERT_TRUE(written.LoadMap(data() + "zoom_Vent/darkway.map"));
    for (u32 x = 4; x <= 6; ++x)
        for (u32 y = 4; y <= 6; ++y)
            EXPECT_EQ(written.GetCell(x, y), CGridMap::Wall) << x << "," << y;
    EXPECT_EQ(written.GetCell(7, 5), 0);
    frame(125, 55, {.down = {1}, .keysDown = {SHIFT}});
    frame(125, 55, {.up = {1}, .keysUp = {SHIFT}});
    frame(0, 0, {.taps = {F4}});
    frame(0, 0);
    ASSERT_TRUE(written.LoadMap(data() + "zoom_Vent/darkway.map"));
    EXPECT_EQ(written.GetCell(5, 6), 0);
    EXPECT_EQ(written.GetCell(4, 5), CGridMap::Wall);
}

// No sections and no figure, light or places: every value 0, nothing walks, nothing fails.
TEST_F(VentMazeTest, WithoutItsSectionsAndItemsTheRoomRunsIdle) {
    Layout layout;
    layout.figure.clear();
    layout.mapInfo.clear();
    layout.withFigure = false;
    playVent(layout);
    for (int i = 0; i < 5; ++i) {
        clickAt(70, 55);
        frame(0, 0, {.down = {0}});
        frame(0, 0, {.up = {0}});
    }
    EXPECT_TRUE(vent->GetPath().Empty());
    EXPECT_TRUE(vent->SolveRoom());
    SaveRecords again;
    const std::string bytes = again.save(*vent);
    vent->Reset();
    ASSERT_TRUE(again.load(*vent, bytes));
    EXPECT_EQ(again.save(*vent), bytes);
}

} // namespace
