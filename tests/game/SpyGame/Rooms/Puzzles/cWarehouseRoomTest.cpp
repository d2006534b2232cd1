#include "game/SpyGame/Rooms/Puzzles/cWarehouseRoom.h"
#include "GardenRoomKit.h"
#include "tk2v/gui/Widget.h"

#include <gtest/gtest.h>

namespace {

constexpr f32 Step = 0.125f;

// The warehouse: the console PULT hidden at (20, 200), the hook KRUK at (100, 60), which lands past
// y 150, the beam LUCH, LIGHT_ON and DUST off at first, and LASTWIN_ITEM hidden. The light stays
// off for 0.5 s and on for 0.25 s; the hook falls fast and straight down.
class WarehouseRoomTest : public GardenRoomTest<cWarehouseRoom> {
protected:
    static constexpr const char* Sections =
        "[Timers]\nminTime = 0.5\nmaxTime = 0.5\nminLuchTime = 0.25\nmaxLuchTime = 0.25\n[Kruk]\nminy = 150\n"
        "[PhysEngine]\nengine.g = 4000\nengine.wind_speed.x = 0\nengine.wind_speed.y = 0\n"
        "[KRUK]\nmass = 1\nfrict_kf = 0\nangle.x = 0\nangle.y = 0\nspeed.x = 0\nspeed.y = 0\n";

    void openWarehouse(const std::string& sections = Sections, bool fallSound = true) {
        if (fallSound)
            addSecondLongSound("warehouse_hook_falloff");
        open("zoom_Warehouse", sections,
             objects({{"pult", 20, 200},
                      {"kruk", 100, 60},
                      {"luch", 200, 60},
                      {"light_on", 230, 60},
                      {"dust", 260, 60},
                      {"lastwin_item", 300, 200}}),
             "[PULT]\nObject = pult\nVisible = 0\n[KRUK]\nObject = kruk\n[LUCH]\nObject = luch\nVisible = 0\n"
             "[LIGHT_ON]\nObject = light_on\nVisible = 0\n[DUST]\nObject = dust\nVisible = 0\n"
             "[LASTWIN_ITEM]\nObject = lastwin_item\nVisible = 0\n",
             "[ROOM]\n");
    }
    // A global sound of one second.
    void addSecondLongSound(const std::string& name) {
        std::string samples;
        for (int i = 0; i < 22050; ++i)
            samples += std::string("\x00\x20", 2);
        dir.write(name + ".wav", "RIFF" + le32(u32(36 + samples.size())) + "WAVEfmt " + le32(16) + le16(1) +
                                     le16(1) + le32(22050) + le32(44100) + le16(2) + le16(16) + "data" +
                                     le32(u32(samples.size())) + samples);
        res->getSoundManager()->loadResource(dir.path(), name + ".wav 1.0", "");
    }
    u32 step() { return frame(390, 290, false, false, Step); }
    bool lightOn() { return at("LUCH").IsVisible(); }
    bool blockShown() { return panel.GetWidget("BlockWidget")->IsVisible(true); }
    // Frames until the hook has landed (it is disabled then); how many it took.
    int dropUntilLanded() {
        at("PULT").SetVisible(true);
        int frames = 0;
        while (!at("KRUK").IsDisabled() && frames < 100) {
            step();
            ++frames;
        }
        return frames;
    }
};

TEST_F(WarehouseRoomTest, TheLightFlickersInIntervalsDrawnFromTheRangeOfItsState) {
    openWarehouse();
    // The first interval is drawn in the first frame: off for 0.5 s, then 0.25 s on, and so on. A
    // timer ends in the frame its time is passed, and the next one starts in the same frame.
    std::string seen;
    for (int i = 0; i < 16; ++i) {
        step();
        seen += lightOn() ? '1' : '0';
    }
    EXPECT_EQ(seen, "0000011100000111");
    for (const char* item : {"LIGHT_ON", "DUST"})
        EXPECT_EQ(at(item).IsVisible(), lightOn()) << item;
}

TEST_F(WarehouseRoomTest, TheLightsToggleHidesTheCarriedItemsBlockEvenWhileOneIsCarried) {
    openWarehouse();
    carry(at("LASTWIN_ITEM"));
    EXPECT_TRUE(blockShown());
    for (int i = 0; i < 6; ++i)
        step();
    ASSERT_TRUE(lightOn());
    EXPECT_FALSE(blockShown());
    EXPECT_EQ(room->GetItemOnCursor(), &at("LASTWIN_ITEM"));
}

TEST_F(WarehouseRoomTest, TheHookDropsOnceTheConsoleShowsAndTheLastFindFollowsHalfTheFallsSoundLater) {
    openWarehouse();
    step();
    const SpyPoint hook = at("KRUK").GetPos();
    at("PULT").SetVisible(true);
    step();
    EXPECT_EQ(at("KRUK").GetPos().x, hook.x);
    EXPECT_GT(at("KRUK").GetPos().y, hook.y);
    EXPECT_TRUE(blockShown()) << "the falling hook shows it";
    ASSERT_LT(dropUntilLanded(), 100);
    EXPECT_GT(at("KRUK").GetPos().y, 150.0f);
    // The light comes on in the next frame and stays on; the find shows 0.5 s after the landing, once
    // the timer's time is passed.
    for (int i = 1; i <= 5; ++i) {
        step();
        EXPECT_TRUE(lightOn()) << i;
        EXPECT_EQ(at("LASTWIN_ITEM").IsVisible(), i == 5) << i;
    }
    const SpyPoint landed = at("KRUK").GetPos();
    step();
    EXPECT_EQ(at("KRUK").GetPos(), landed) << "a landed hook stays";
}

// Drawn right of the panel, the hook leaves from where it stands, not from its room-local point.
TEST_F(WarehouseRoomTest, AtARoomOriginOffTheCornerTheHooksFirstDropFrameMovesItOnlyALittle) {
    openWarehouse();
    room->SetPosition({179, 20});
    step();
    const SpyPoint before = at("KRUK").GetPos();
    ASSERT_EQ(before, (SpyPoint{279, 80}));
    at("PULT").SetVisible(true);
    step();
    EXPECT_EQ(at("KRUK").GetPos().x, 279.0f);
    EXPECT_GT(at("KRUK").GetPos().y, 80.0f);
    EXPECT_LT(at("KRUK").GetPos().y, 120.0f);
}

TEST_F(WarehouseRoomTest, WithoutTheFallsSoundTheLastFindShowsInTheFrameAfterTheLanding) {
    openWarehouse(Sections, false);
    dropUntilLanded();
    EXPECT_FALSE(at("LASTWIN_ITEM").IsVisible());
    step();
    EXPECT_TRUE(at("LASTWIN_ITEM").IsVisible());
}

TEST_F(WarehouseRoomTest, ValuesThatAreNoNumbersKeepTheirDefaultsWithALineEach) {
    openWarehouse("[Timers]\nminTime = soon\nmaxTime = 0.5\nminLuchTime = 0.25\nmaxLuchTime = 0.25\n"
                  "[Kruk]\nminy = 150\n[PhysEngine]\nengine.g = heavy\n"
                  "[KRUK]\nmass = 1\nfrict_kf = 1\nspeed.x = 0\nspeed.y = 0\n");
    const std::string text = logText();
    for (const char* key : {"minTime", "engine.g", "engine.wind_speed.x", "engine.wind_speed.y"})
        EXPECT_NE(text.find(std::string("cWarehouseRoom::AfterLoadInit(). Key \"") + key + "\""),
                  std::string::npos)
            << key;
    // Gravity stays 9.81 and the wind (10, 0) pushes the hook sideways once it drops.
    step();
    const SpyPoint hook = at("KRUK").GetPos();
    at("PULT").SetVisible(true);
    for (int i = 0; i < 8; ++i)
        step();
    EXPECT_GT(at("KRUK").GetPos().x, hook.x);
    EXPECT_GT(at("KRUK").GetPos().y, hook.y);
}

TEST_F(WarehouseRoomTest, TheRecordCarriesBodyTimersHookAndFlagAndLoadsFallingAndLandedIntoAFreshBuild) {
    openWarehouse();
    step();
    const std::string record = ownRecord();
    // The light's timer, drawn and started in this frame: running, no tick yet of its one, 0.5 s,
    // nothing gone; the hook; the flag; the hook's timer stopped, 0.5 s of its one tick.
    const std::string tail = u8s(1) + std::string("\0\0\1\0", 4) + f32bytes(0.5f) + f32bytes(0) +
                             str("zoom_Warehouse:KRUK") + u8s(0) + u8s(0) + std::string("\0\0\1\0", 4) +
                             f32bytes(0.5f) + f32bytes(0);
    ASSERT_GE(record.size(), tail.size());
    EXPECT_EQ(record.substr(record.size() - tail.size()), tail);

    at("PULT").SetVisible(true);
    step();
    step();
    expectSameSaveAfterFreshLoad("falling");
    ASSERT_LT(dropUntilLanded(), 100);
    expectSameSaveAfterFreshLoad("landed");
    for (int i = 0; i < 5; ++i)
        step();
    EXPECT_TRUE(at("LASTWIN_ITEM").IsVisible());
}

} // namespace
