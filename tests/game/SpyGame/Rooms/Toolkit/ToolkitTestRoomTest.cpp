#include "ToolkitTestRoom.h"
#include "../RoomFrameKit.h"
#include "game/SaveLoadSystem.h"
#include "support/game/TestRoomsManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

using ToolkitRooms = TestRoomsManager<ToolkitTestRoom>;

// zoom_Toolkit beside the hall: TILE1 (20, 20) and TILE2 (60, 20) on each other's homes, the DISK at
// (120, 20) two radians from upright, the COVER, SEAL, lamps, LEAF and the walker's poses, and the
// PRIZE hidden. Ann click-uses the tiles and the disk on themselves.
class ToolkitRoomTest : public RoomFrameTestOn<ToolkitRooms> {
protected:
    void SetUp() override {
        addSound("toolkit_rotate");
        writeRoom("zoom_Toolkit",
                  "Class = ToolkitTestRoom\n[Tiles]\nSLOT1 = 60 20 20 20\nSLOT2 = 20 20 20 20\n[LEAF]\nmass "
                  "= 2\nfrict_kf = 0.5\nangle.x = 0\nangle.y = 0\n"
                  "speed.x = 0\nspeed.y = 0\nfriction = SQR\n",
                  objects({{"tile1", 20, 20},
                           {"tile2", 60, 20},
                           {"disk", 120, 20},
                           {"cover", 200, 20},
                           {"seal", 240, 20},
                           {"leaf", 280, 20},
                           {"lamp1", 20, 100},
                           {"lamp2", 50, 100},
                           {"lamp3", 80, 100},
                           {"walk1", 0, 0},
                           {"walk2", 0, 0},
                           {"prize", 300, 250}}),
                  "[TILE1]\nObject = tile1\n[TILE2]\nObject = tile2\n[DISK]\nObject = disk\n"
                  "[COVER]\nObject = cover\n[SEAL]\nObject = seal\n[LEAF]\nObject = leaf\n"
                  "[LAMP1]\nObject = lamp1\n[LAMP2]\nObject = lamp2\n[LAMP3]\nObject = lamp3\n"
                  "[WALK1]\nObject = walk1\nVisible = 0\n[WALK2]\nObject = walk2\nVisible = 0\n"
                  "[PRIZE]\nObject = prize\nVisible = 0\n",
                  400, 300);
        dir.write("Demo/zoom_Toolkit/Ann.ai",
                  "[ROOM]\n[TILE1]\nUseTo = ONESELF\n[TILE2]\nUseTo = ONESELF\n[DISK]\nUseTo = ONESELF\n");
        play("", "", "[ROOM]\n", "zoom_Toolkit\n");
        enter(rooms);
    }

    void enter(CRoomsManager& manager) {
        playing = room = dynamic_cast<ToolkitTestRoom*>(manager.GetRoom("zoom_Toolkit"));
        ASSERT_TRUE(room);
        room->Enter("Demo", nullptr);
        frame(390, 290);
    }
    CSpyItem& at(const std::string& name) { return *room->GetItem(name); }

    // Takes TILE1 and drops it on TILE2: the two trade places.
    void swapTiles() {
        clickAt(30, 30);
        ASSERT_EQ(room->GetItemOnCursor(), &at("TILE1"));
        frame(70, 30);
        clickAt(70, 30);
        ASSERT_EQ(room->GetItemOnCursor(), nullptr);
        frame(70, 30);
    }
    // Grabs the disk at the pointer angle 0 about its centre (130, 30) and lets go at (x, y).
    void turnDisk(i32 x, i32 y) {
        frame(140, 30, {.down = {0}});
        frame(x, y, Input{});
        frame(x, y, {.up = {0}});
    }
    void playShow(int frames) {
        for (int i = 0; i < frames; ++i)
            frame(390, 290);
    }

    // The rooms' record, as a saved game holds it.
    std::string save(CRoomsManager& manager, const std::string& name) {
        SaveLoadSystem sys;
        sys.BeginSave(dir.file(name), 4056);
        sys.SaveEntity(manager);
        EXPECT_TRUE(sys.Finish());
        return dir.read(name);
    }
    // A rooms manager of the same data, loaded and reset as a new game's, then given the saved game.
    std::unique_ptr<ToolkitRooms> loadFresh(const std::string& name) {
        auto fresh = std::make_unique<ToolkitRooms>();
        fresh->LoadSharedRoomsList(&personages, &panel);
        fresh->Init(data(), "Demo");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        fresh->AfterLoadInitRooms(data());
        fresh->ResetRooms(data());
        SaveLoadSystem sys;
        EXPECT_TRUE(sys.Load(dir.file(name), 4056));
        EXPECT_TRUE(sys.LoadEntity(*fresh));
        sys.Finish();
        return fresh;
    }

    ToolkitTestRoom* room = nullptr;
};

TEST_F(ToolkitRoomTest, SwappingTheTilesAndTurningTheDiskUprightPlaysTheShowAndWins) {
    swapTiles();
    EXPECT_EQ(at("TILE1").GetPos(), (SpyPoint{60, 20}));
    EXPECT_EQ(at("TILE2").GetPos(), (SpyPoint{20, 20}));

    frame(140, 30, {.down = {0}});
    frame(126, 21, Input{});
    EXPECT_NEAR(at("DISK").GetRotation(), 0.01f, 0.01f) << "turned with the pointer";
    EXPECT_EQ(played(), std::vector<std::string>{"toolkit_rotate"});
    frame(126, 21, Input{});
    EXPECT_EQ(played(), std::vector<std::string>{}) << "a frame without a turn is silent";
    frame(126, 21, {.up = {0}});
    EXPECT_EQ(at("DISK").GetRotation(), 0.0f);
    EXPECT_TRUE(at("DISK").IsDisabled()) << "upright for good";

    frame(390, 290);
    EXPECT_FALSE(at("SEAL").IsVisible()) << "vanishing";
    EXPECT_GT(at("TILE1").GetScale().x, 1.0f) << "pulsing";
    const f32 leafY = at("LEAF").GetPos().y;
    const f32 walkerX = at("WALK1").GetPos().x + at("WALK2").GetPos().x;
    playShow(5);
    EXPECT_GT(at("LEAF").GetPos().y, leafY) << "falling";
    EXPECT_GT(at("WALK1").GetPos().x + at("WALK2").GetPos().x, walkerX) << "walking";
    std::set<u32> glows;
    for (const char* lamp : {"LAMP1", "LAMP2", "LAMP3"})
        glows.insert(at(lamp).GetColor() >> 24);
    EXPECT_EQ(glows.size(), 2u) << "one lamp flares, the others are dark";
    EXPECT_LT(at("COVER").GetColor() >> 24, 0xFFu) << "fading";
    EXPECT_TRUE(at("WALK1").IsVisible() != at("WALK2").IsVisible()) << "one pose at a time";
    EXPECT_FALSE(at("PRIZE").IsVisible());
    playShow(20);
    EXPECT_TRUE(at("PRIZE").IsVisible());
    EXPECT_EQ(at("COVER").GetColor() >> 24, 0u);
    EXPECT_EQ(at("TILE1").GetScale(), (SpyPoint{1, 1})) << "the pulse ended where it began";
}

TEST_F(ToolkitRoomTest, ADiskLetGoAskewSnapsAndStaysMovable) {
    turnDisk(130, 40); // a quarter turn on from 2 rad: 3.57 rests at pi
    EXPECT_NEAR(at("DISK").GetRotation(), 3.14159f, 1e-4);
    EXPECT_FALSE(at("DISK").IsDisabled());
    swapTiles();
    playShow(3);
    EXPECT_FALSE(at("PRIZE").IsVisible());
    EXPECT_TRUE(at("SEAL").IsVisible()) << "no show before the disk stands";
}

TEST_F(ToolkitRoomTest, SolvingPutsEverythingInPlaceAndPlaysTheShow) {
    clickAt(30, 30);
    ASSERT_EQ(room->GetItemOnCursor(), &at("TILE1"));
    ASSERT_TRUE(room->SolveRoom());
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_EQ(at("TILE1").GetPos(), (SpyPoint{60, 20}));
    EXPECT_EQ(at("TILE2").GetPos(), (SpyPoint{20, 20}));
    EXPECT_TRUE(at("TILE1").IsVisible());
    EXPECT_EQ(at("DISK").GetRotation(), 0.0f);
    playShow(25);
    EXPECT_TRUE(at("PRIZE").IsVisible());
    EXPECT_FALSE(room->SolveRoom()) << "solved already";
}

TEST_F(ToolkitRoomTest, ASaveMidPuzzleAndMidShowLoadsIntoAFreshBuildAndGoesOn) {
    swapTiles();
    turnDisk(130, 40);
    const std::string first = save(rooms, "first.save");
    auto fresh = loadFresh("first.save");
    EXPECT_EQ(save(*fresh, "again.save"), first);

    enter(*fresh);
    EXPECT_EQ(at("TILE1").GetPos(), (SpyPoint{60, 20}));
    turnDisk(120, 31); // from pi by another half turn: a full turn is upright
    playShow(6);
    const std::string midShow = save(*fresh, "show.save");
    auto second = loadFresh("show.save");
    EXPECT_EQ(save(*second, "show-again.save"), midShow);
    enter(*second);
    playShow(25);
    EXPECT_TRUE(at("PRIZE").IsVisible());
}

} // namespace
