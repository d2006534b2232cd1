#include "game/SpyGame/Rooms/Toolkit/cChineseBoxDisk.h"
#include "ToolkitKit.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using namespace std::string_literals;

constexpr f32 Pi = std::numbers::pi_v<f32>;

class DiskTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        lid = add("LID", {100, 100}, 40, 40);
        disk.AddItem(lid);
        disk.SetStepCount(4);
    }

    cChineseBoxDisk disk;
    CSpyItem* lid = nullptr;
};

TEST_F(DiskTest, ReleasesSnapToTheNearestRestAngleFromFourNinthsOfAStep) {
    const f32 inf = std::numeric_limits<f32>::infinity();
    struct Case {
        f32 angle;
        u32 steps;
        f32 snapped;
    } cases[] = {
        {0.5f, 4, 0},                // 0.318 of a step
        {0.75f, 4, Pi / 2},          // 0.477 of a step: past 0.444 already
        {-0.1f, 4, 2 * Pi},          // wraps to 2π − 0.1, rounds up to a full turn
        {2 * Pi + 0.75f, 4, Pi / 2}, // whole turns come off
        {-4 * Pi - 0.1f, 4, 2 * Pi},
        {inf, 4, 0}, // no number of turns would bring these back
        {-inf, 4, 0},
        {std::nanf(""), 4, 0},
        {-0.1f, 0, 2 * Pi - 0.1f}, // no rest angles: only the wrap
    };
    for (const Case& c : cases) {
        disk.SetStepCount(c.steps);
        disk.SnapAngle(lid, c.angle);
        EXPECT_NEAR(lid->GetRotation(), c.snapped, 1e-5) << c.angle << " in " << c.steps;
    }
    disk.SnapAngle(lid, 1e30f);
    EXPECT_TRUE(lid->GetRotation() >= 0 && lid->GetRotation() <= 2 * Pi) << "a huge angle ends too";

    disk.SetStepCount(4);
    disk.SnapAngle(lid, 0.75f);
    disk.SetEnabled(false);
    disk.SnapAngle(lid, 0.1f);
    EXPECT_NEAR(lid->GetRotation(), Pi / 2, 1e-5) << "a disabled disk leaves its items as they are";
}

TEST_F(DiskTest, AStepTurnsByOneRestAngleOnlyWhereThereAreSteps) {
    disk.RotateStep(lid);
    EXPECT_NEAR(lid->GetRotation(), Pi / 2, 1e-5);
    CSpyItem* other = add("OTHER", {0, 0});
    disk.RotateStep(other);
    EXPECT_EQ(other->GetRotation(), 0.0f) << "not in the disk";
    disk.SetStepCount(0);
    disk.RotateStep(lid);
    EXPECT_NEAR(lid->GetRotation(), Pi / 2, 1e-5);
    disk.SetStepCount(4);
    disk.SetEnabled(false);
    disk.RotateStep(lid);
    EXPECT_NEAR(lid->GetRotation(), Pi / 2, 1e-5);
}

TEST_F(DiskTest, UprightAndLockedAskEveryItem) {
    cChineseBoxDisk empty;
    EXPECT_TRUE(empty.AreItemsUpright());
    EXPECT_TRUE(empty.AreItemsLocked());

    struct Case {
        const char* what;
        f32 angle;
        bool visible, locked, inInventory;
        bool upright, set;
    } cases[] = {
        {"at rest", 0, true, false, false, true, false},
        {"a full turn", 2 * Pi, true, false, false, true, false},
        {"cos 0.9992", 0.04f, true, false, false, true, false},
        {"cos 0.9988", 0.05f, true, false, false, false, false},
        {"hidden", 0, false, true, false, false, false},
        {"set in", 1, true, true, false, false, true},
        {"in the inventory", 0, true, true, true, true, false},
    };
    for (const Case& c : cases) {
        lid->SetRotation(c.angle);
        lid->SetInInventory(c.inInventory);
        lid->SetVisible(c.visible);
        lid->SetDisabled(c.locked);
        EXPECT_EQ(disk.AreItemsUpright(), c.upright) << c.what;
        EXPECT_EQ(disk.AreItemsLocked(), c.set) << c.what;
        EXPECT_EQ(disk.CanGrab(lid), !c.locked) << c.what;
    }
    EXPECT_FALSE(disk.CanGrab(nullptr));
}

TEST_F(DiskTest, AnItemStandsAtZeroWithinATenthOfAPercentOfItsCosine) {
    struct Case {
        f32 angle;
        bool zero;
    } cases[] = {{0, true}, {0.04f, true}, {-0.04f, true}, {0.05f, false}, {2 * Pi, true}, {Pi, false}};
    for (const Case& c : cases) {
        lid->SetRotation(c.angle);
        EXPECT_EQ(IsItemAngleZero(lid), c.zero) << c.angle;
    }
    EXPECT_FALSE(IsItemAngleZero(nullptr));
    SetItemEnabled(lid, false);
    EXPECT_TRUE(lid->IsDisabled());
    EXPECT_FALSE(disk.CanGrab(lid));
    SetItemEnabled(lid, true);
    EXPECT_TRUE(disk.CanGrab(lid));
    SetItemEnabled(nullptr, true);
}

TEST_F(DiskTest, ADragTurnsWithThePointerLoopsItsSoundWhileTurningAndSnapsOnRelease) {
    aSound* rotating = sound("chinbox_rotating");
    disk.SetSound(rotating);
    lid->SetRotation(0.2f);
    // The lid's centre is (120, 120).
    mouse(160, 120, Idle);
    EXPECT_EQ(disk.ProcessMouse(lid), nullptr);
    mouse(160, 120, Press);
    EXPECT_EQ(disk.ProcessMouse(lid), nullptr);
    EXPECT_EQ(disk.GetGrabbed(), lid);

    mouse(120, 160, Hold);
    disk.ProcessMouse(nullptr);
    EXPECT_NEAR(lid->GetRotation(), 0.2f + Pi / 2, 1e-5) << "turned, not snapped";
    EXPECT_TRUE(rotating->isPlaying());
    mouse(120, 160, Hold);
    disk.ProcessMouse(nullptr);
    EXPECT_FALSE(rotating->isPlaying()) << "a frame without a turn stops it";
    mouse(80, 121, Hold);
    disk.ProcessMouse(nullptr);
    EXPECT_TRUE(rotating->isPlaying());

    mouse(80, 121, Release);
    EXPECT_EQ(disk.ProcessMouse(nullptr), lid);
    EXPECT_NEAR(lid->GetRotation(), Pi, 1e-5);
    EXPECT_FALSE(rotating->isPlaying());
    EXPECT_EQ(disk.GetGrabbed(), nullptr);

    // A locked item is not taken; a disabled disk takes nothing.
    lid->SetDisabled(true);
    mouse(160, 120, Press);
    disk.ProcessMouse(lid);
    EXPECT_EQ(disk.GetGrabbed(), nullptr);
    lid->SetDisabled(false);
    disk.SetEnabled(false);
    mouse(160, 120, Release);
    mouse(160, 120, Press);
    disk.ProcessMouse(lid);
    EXPECT_EQ(disk.GetGrabbed(), nullptr);
}

TEST_F(DiskTest, TheRecordKeepsTheDragInPlace) {
    mouse(160, 120, Press);
    disk.ProcessMouse(lid);
    mouse(150, 140, Hold);
    disk.ProcessMouse(lid);
    const auto save = [&](SaveLoadSystem& sys, u8* pos) { return disk.SaveSelf(sys, pos); };
    const std::string bytes = record(save);
    ASSERT_EQ(bytes.size(), 4 + 9 + 4 + 9 + 8 + 4 + 1);
    EXPECT_EQ(bytes.substr(0, 17), "\4\0\0\0Hall:LID\0\1\0\0\0"s);
    EXPECT_EQ(bytes.substr(26, 8), "\x96\0\0\0\x8c\0\0\0"s) << "the last mouse position";

    cChineseBoxDisk loaded;
    ASSERT_TRUE(
        load(bytes, [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); }));
    EXPECT_EQ(loaded.GetGrabbed(), lid);
    EXPECT_EQ(record([&](SaveLoadSystem& sys, u8* pos) { return loaded.SaveSelf(sys, pos); }), bytes);
    EXPECT_EQ(host.leftAfterLoad, 0u);
}

} // namespace
