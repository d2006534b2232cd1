#include "game/SpyGame/Rooms/Toolkit/cAttachedItem.h"
#include "ToolkitKit.h"

#include <cmath>

namespace {

using namespace std::string_literals;

class AttachedItemTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        for (const char* name : {"WALK_L", "WALK_R", "IDLE"})
            walker.AddItem(add(name, {0, 0}, 30, 40));
        walker.GetItems()[2]->SetVisible(false);
    }
    CSpyItem* pose(size_t i) const { return walker.GetItems()[i]; }

    cAttachedItem walker;
};

TEST_F(AttachedItemTest, SelectMovesTheFigureIntoAnotherPoseWhereItStood) {
    walker.Select(0, true);
    walker.SetPos(50, 60);
    walker.Select(2, true);
    EXPECT_EQ(walker.GetCurrentIndex(), 2);
    EXPECT_EQ(pose(2)->GetPos(), (SpyPoint{50, 60}));
    EXPECT_TRUE(pose(2)->IsVisible());
    EXPECT_FALSE(pose(0)->IsVisible());
    EXPECT_EQ(pose(0)->GetPos(), (SpyPoint{0, 0})) << "the poses not shown wait at the corner";

    // The current pose again changes nothing, even while hidden.
    pose(2)->SetVisible(false);
    walker.Select(2, true);
    EXPECT_FALSE(pose(2)->IsVisible());
    walker.Show();
    EXPECT_TRUE(pose(2)->IsVisible());
    walker.Select(1, false);
    EXPECT_FALSE(pose(1)->IsVisible()) << "selected without showing";
    EXPECT_EQ(walker.GetPos(), (SpyPoint{50, 60}));

    for (i32 outside : {5, -1, 3}) {
        walker.Select(1, true);
        walker.Select(outside, true);
        EXPECT_EQ(walker.GetCurrentIndex(), -1) << outside;
        for (size_t i = 0; i < 3; ++i)
            EXPECT_FALSE(pose(i)->IsVisible()) << outside;
        EXPECT_EQ(walker.GetPos(), (SpyPoint{0, 0}));
        EXPECT_EQ(walker.GetCenter(), (SpyPoint{0, 0}));
        EXPECT_EQ(walker.GetDiagonal(), 0.0f);
    }
}

TEST_F(AttachedItemTest, CentreShiftsAndDiagonalUseWholePixelHalvesAndSixteenBitSquares) {
    CSpyItem* odd = add("ODD", {0, 0}, 31, 41);
    walker.AddItem(odd);
    walker.Select(3, true);
    walker.SetPos(100, 100);
    EXPECT_EQ(walker.GetCenter(), (SpyPoint{115, 120}));
    walker.ShiftToCorner();
    EXPECT_EQ(walker.GetPos(), (SpyPoint{85, 80}));
    walker.ShiftToCenter();
    EXPECT_EQ(walker.GetPos(), (SpyPoint{100, 100}));
    EXPECT_FLOAT_EQ(walker.GetDiagonal(), std::sqrt(31.0f * 31 + 41 * 41));

    walker.AddItem(add("BIG", {0, 0}, 300, 400));
    walker.Select(4, true);
    // 90000 and 160000 kept in 16 bits: 24464 + 28928.
    EXPECT_NEAR(walker.GetDiagonal(), 231.07f, 0.01f);
}

TEST_F(AttachedItemTest, TheRecordNamesThePosesAndTheCurrentOne) {
    walker.Select(1, true);
    const std::string bytes = record([&](SaveLoadSystem& sys, u8* pos) { return walker.SaveSelf(sys, pos); });
    EXPECT_EQ(bytes, "\3\0\0\0Hall:WALK_L\0Hall:WALK_R\0Hall:IDLE\0Hall:WALK_R\0"s);
    cAttachedItem loaded;
    ASSERT_TRUE(
        load(bytes, [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); }));
    EXPECT_EQ(loaded.GetCurrentIndex(), 1);

    // A pose lost from the data loads as null and is passed over.
    LogCapture capture;
    ASSERT_TRUE(load("\2\0\0\0Hall:GONE\0Hall:IDLE\0Hall:IDLE\0"s,
                     [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); }));
    EXPECT_EQ(loaded.GetCurrentIndex(), 1);
    loaded.Select(0, true);
    EXPECT_EQ(loaded.GetCurrentIndex(), -1);
    loaded.Select(1, true);
    EXPECT_EQ(loaded.GetCurrent(), pose(2));
    EXPECT_EQ(capture.messages().size(), 1u);
}

} // namespace
