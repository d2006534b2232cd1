#include "game/SpyGame/Rooms/Puzzles/CRoomCleaning.h"
#include "GardenRoomKit.h"
#include "game/SpyGame/CSpyObjAnimation.h"
#include "tk2v/gfx/aAnim.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Sand on skin: SAND at (60, 60), the tattoo TATU at (140, 100) under the patch P1, the patch P2 at
// (200, 100) and GHOST, a patch named without an item. The BRUSH (four frames) and the ROLLER lie
// hidden in the room for the tests to carry; PAINT takes the roller, which Ann uses on an item of
// that name in another room.
class SandRoomTest : public GardenRoomTest<CRoomCleaning> {
protected:
    void SetUp() override {
        addSound("sand_cleaning");
        dir.write("Demo/zoom_SandCleaning/animations.ini",
                  "[brush]\nTextureName = dot\nRectFirstSprite = 0 0 5 20\nFramesCount = 4\nAnimSpeed = 0.1\n"
                  "AnimMode = 0\n");
        open("zoom_SandCleaning", "[Clearing]\nClearingItems = P1, P2 GHOST\n",
             objects({{"sand", 60, 60},
                      {"tatu", 140, 100},
                      {"p1", 140, 100},
                      {"p2", 200, 100},
                      {"roller", 0, 0},
                      {"paint", 260, 100}}) +
                 "[brush]\nClass = animation\nX = 0\nY = 0\n",
             "[SAND]\nObject = sand\n[TATU]\nObject = tatu\nIsWinItem = CLICKUSE\n[P1]\nObject = p1\n"
             "[P2]\nObject = p2\n[BRUSH]\nObject = brush\nVisible = 0\nIsQuestItem = 1\n"
             "[ROLLER]\nObject = roller\nVisible = 0\nIsQuestItem = 1\n[PAINT]\nObject = paint\nUsedItem = "
             "ROLLER\n",
             "[ROOM]\n[TATU]\nUseTo = ONESELF\n[BRUSH]\nUseTo = zoom_SandCleaning:TATU\n"
             "[ROLLER]\nUseTo = Elsewhere:PAINT\n");
        frame(390, 290);
        quiet();
    }
    CSpyItem& brush() { return at("BRUSH"); }
    u16 brushFrame() {
        return dynamic_cast<CSpyObjAnimation*>(brush().GetMainObject())->GetAnim()->getFrameIndex();
    }
    bool brushPaused() { return brush().GetMainObject()->IsAnimPaused(); }
    // `frames` frames of brushing at (x, y): the button goes down in the first and stays down.
    void brushAt(i32 x, i32 y, int frames) {
        frame(x, y, {.down = {0}});
        for (int i = 1; i < frames; ++i)
            frame(x, y, Input{});
    }
    void release(i32 x, i32 y) { frame(x, y, {.up = {0}}); }
    bool cleaningSounds() { return !sounds.stopPlaying().empty(); }
    u32 alpha(const std::string& patch) { return at(patch).GetColor() >> 24; }
    // The amounts as the room's record ends with them, in name order.
    static std::string amounts(f32 ghost, f32 p1, f32 p2) {
        return le32(3) + str("GHOST") + f32bytes(ghost) + str("P1") + f32bytes(p1) + str("P2") + f32bytes(p2);
    }
    // What is left of a patch after that many frames of brushing, worked out as the room does.
    static f32 left(int frames) {
        f32 amount = 1;
        for (int i = 0; i < frames; ++i)
            amount -= DT;
        return amount;
    }
    bool recordEndsWith(const std::string& tail) {
        const std::string record = ownRecord();
        return record.size() >= tail.size() && record.substr(record.size() - tail.size()) == tail;
    }
};

TEST_F(SandRoomTest, TheBrushIsDrawnAsItselfByItsHandleAndRestsOnItsBristlesFrame) {
    EXPECT_TRUE(recordEndsWith(amounts(1, 1, 1))) << "every patch untouched after the reset";
    carry(brush());
    EXPECT_FALSE(pointerShownInside());
    EXPECT_EQ(brushFrame(), 2u);
    EXPECT_TRUE(brushPaused());
    frame(250, 150);
    EXPECT_EQ(brush().GetPos(), (SpyPoint{220, 135}));
    EXPECT_FALSE(brush().IsVisible()) << "shown only while drawn";
    room->SetItemOnCursor(nullptr, nullptr);
    EXPECT_TRUE(pointerShownInside());
}

TEST_F(SandRoomTest, BrushingFadesAPatchASecondAtATimeAndReleasingFreezesTheBrush) {
    carry(brush());
    brushAt(210, 110, 10);
    EXPECT_TRUE(recordEndsWith(amounts(1, 1, left(10))));
    EXPECT_EQ(alpha("P2"), 127u) << "127.5 cut to a whole number";
    EXPECT_EQ(at("P2").GetColor() & 0xFFFFFF, 0xFFFFFFu) << "only the alpha follows";
    EXPECT_FALSE(brushPaused());
    EXPECT_TRUE(sounds.started() == std::vector<std::string>{"sand_cleaning"}) << "one loop, started once";
    release(210, 110);
    EXPECT_FALSE(cleaningSounds()) << "stopped at once";
    EXPECT_TRUE(brushPaused());
    EXPECT_EQ(brushFrame(), 2u);

    brushAt(210, 110, 12);
    EXPECT_TRUE(recordEndsWith(amounts(1, 1, 0)));
    EXPECT_EQ(alpha("P2"), 0u);
    // A cleared patch is left alone.
    at("P2").SetColor(0xC8FFFFFF);
    brushAt(210, 110, 2);
    EXPECT_EQ(alpha("P2"), 0xC8u);
    EXPECT_TRUE(recordEndsWith(amounts(1, 1, 0)));
    EXPECT_EQ(room->GetItemOnCursor(), &brush());
}

TEST_F(SandRoomTest, BrushingOverTheTattooEndsThePuzzleWhateverSandIsLeft) {
    carry(brush());
    brushAt(150, 110, 21); // P1 cleared: the press now reaches the tattoo beneath
    EXPECT_EQ(alpha("P1"), 0u);
    frame(150, 110, Input{});
    EXPECT_FALSE(at("SAND").IsVisible());
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_FALSE(ann->GetInventory().HasItem("BRUSH")) << "the brush is used up";
    EXPECT_TRUE(at("TATU").IsWin()) << "click-used like a find";
    EXPECT_FALSE(cleaningSounds());
    EXPECT_TRUE(recordEndsWith(amounts(1, 0, 1)));
    EXPECT_TRUE(pointerShownInside());
}

TEST_F(SandRoomTest, TheRollerIsAppliedByBeingHeldOverAnItemNamedLikeItsTarget) {
    carry(at("ROLLER"));
    frame(20, 200, {.down = {0}}); // pressed over nothing
    frame(240, 110, Input{});
    EXPECT_EQ(room->GetItemOnCursor(), &at("ROLLER")) << "held over something else";
    frame(270, 110, Input{});
    EXPECT_EQ(room->GetItemOnCursor(), nullptr) << "held over PAINT, whatever room Ann names";
    EXPECT_FALSE(at("PAINT").ApplyItem("ROLLER")) << "PAINT has had its roller";
}

TEST_F(SandRoomTest, SolvingTakesTheSandAndTheBrushButLeavesTheTattooUnused) {
    ann->GetInventory().AddItem(&brush());
    EXPECT_FALSE(room->SolveRoom());
    EXPECT_FALSE(at("SAND").IsVisible());
    EXPECT_FALSE(ann->GetInventory().HasItem("BRUSH"));
    EXPECT_FALSE(at("TATU").IsWin());
}

TEST_F(SandRoomTest, HalfBrushedLoadsIntoAFreshBuildAndGoesOn) {
    carry(brush());
    brushAt(210, 110, 10);
    release(210, 110);
    expectSameSaveAfterFreshLoad("half-brushed");
    EXPECT_TRUE(recordEndsWith(amounts(1, 1, left(10))));
}

TEST_F(SandRoomTest, DamagedAmountsAreClampedAndACountPastTheRecordReadsNone) {
    const std::string record = ownRecord();
    const std::string base = record.substr(0, record.size() - amounts(1, 1, 1).size());
    ASSERT_TRUE(loadOwnRecord(base + le32(3) + str("GHOST") + f32bytes(-1) + str("P1") +
                              f32bytes(std::numeric_limits<f32>::quiet_NaN()) + str("P2") + f32bytes(7.5f)));
    EXPECT_TRUE(recordEndsWith(amounts(0, 1, 1)));
    carry(brush());
    brushAt(210, 110, 2);
    EXPECT_EQ(alpha("P2"), u32(TruncToInt(left(2) * 255)));

    log.clear();
    ASSERT_TRUE(loadOwnRecord(base + le32(1000) + str("P1") + f32bytes(0.5f)));
    EXPECT_TRUE(recordEndsWith(base + le32(0)));
    EXPECT_EQ(log.messages().size(), 1u) << logText();
}

} // namespace
