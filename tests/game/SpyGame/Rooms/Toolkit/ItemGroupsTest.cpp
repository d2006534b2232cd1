#include "ToolkitKit.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"
#include "game/SpyGame/Rooms/Toolkit/cItemsAsOne.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

namespace {

using namespace std::string_literals;

// Two items 100 units apart in a room drawn at (200, 10), twice its size.
class ItemGroupsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        a = add("A", {300, 110}, 40, 20);
        b = add("B", {500, 110}, 40, 20);
    }

    SpyPoint offset{200, 10}, scale{2, 2};
    cRoomTransform transform{&offset, &scale};
    CSpyItem *a = nullptr, *b = nullptr;
};

TEST_F(ItemGroupsTest, AGroupMovesShowsAndColoursAsOne) {
    cItemsAsOne group(transform);
    EXPECT_FALSE(group.IsVisible());
    EXPECT_EQ(group.GetPos(), (SpyPoint{0, 0}));
    group.SetPos({5, 5});
    group.SetVisible(true);
    group.SetColor(0);

    group.AddItem(a);
    group.AddItem(b);
    EXPECT_EQ(group.GetCount(), 2u);
    EXPECT_EQ(group.GetPos(), (SpyPoint{50, 50}));
    group.SetPos({60, 40});
    EXPECT_EQ(a->GetPos(), (SpyPoint{320, 90}));
    EXPECT_EQ(b->GetPos(), (SpyPoint{520, 90})) << "still 100 room units to the right";
    group.SetVisible(false);
    group.SetColor(0x80102030);
    EXPECT_FALSE(a->IsVisible() || b->IsVisible());
    EXPECT_EQ(b->GetColor(), 0x80102030u);
    a->SetVisible(true);
    EXPECT_TRUE(group.IsVisible()) << "the first item speaks for the group";
    group.Clear();
    EXPECT_EQ(group.GetCount(), 0u);
}

TEST_F(ItemGroupsTest, APulseGrowsToItsPeakAboutTheFirstItemsCentreAndEndsWhereItBegan) {
    cAnimateItems pulse(transform);
    pulse.AddItem(a);
    pulse.AddItem(b);
    b->SetScale({2, 2}, false);
    // The end scale is never shown: the items end at the zoom they started with.
    pulse.SetParams(1.0f, 1.0f, 1.5f, 0.5f);
    pulse.Start();
    EXPECT_TRUE(pulse.IsActive());
    struct Step {
        f32 dt;
        SpyPoint zoomA, posA, posB;
    } steps[] = {
        {0.25f, {1.25f, 1.25f}, {295, 107.5f}, {545, 107.5f}},
        {0.25f, {1.5f, 1.5f}, {290, 105}, {590, 105}},
        {0.25f, {1.0f, 1.0f}, {300, 110}, {500, 110}},
    };
    for (const Step& step : steps) {
        pulse.Update(step.dt);
        EXPECT_NEAR(a->GetScale().x, step.zoomA.x, 1e-5);
        EXPECT_NEAR(a->GetPos().x, step.posA.x, 0.5f);
        EXPECT_NEAR(a->GetPos().y, step.posA.y, 0.5f);
        EXPECT_NEAR(b->GetPos().x, step.posB.x, 0.5f);
        EXPECT_NEAR(b->GetScale().x, 2 * step.zoomA.x, 1e-5);
    }
    pulse.Update(0.25f);
    EXPECT_FALSE(pulse.IsActive());
    EXPECT_EQ(a->GetScale(), (SpyPoint{1, 1}));
    EXPECT_EQ(b->GetScale(), (SpyPoint{2, 2}));
    EXPECT_EQ(a->GetPos(), (SpyPoint{300, 110}));
    EXPECT_EQ(b->GetPos(), (SpyPoint{500, 110}));
}

TEST_F(ItemGroupsTest, APulseWithoutDurationEndsAtOnceAndResetLeavesTheItems) {
    cAnimateItems pulse(transform);
    pulse.AddItem(a);
    pulse.SetParams(0.0f, 2.0f, 3.0f, 1.0f);
    pulse.Start();
    EXPECT_EQ(a->GetScale(), (SpyPoint{2, 2}));
    pulse.Update(0.02f);
    EXPECT_FALSE(pulse.IsActive());
    EXPECT_EQ(a->GetScale(), (SpyPoint{1, 1}));

    pulse.SetParams(1.0f, 2.0f, 3.0f, 1.0f);
    pulse.Start();
    pulse.Reset();
    pulse.Update(0.5f);
    EXPECT_EQ(a->GetScale(), (SpyPoint{2, 2}));
    pulse.Finish();
    EXPECT_EQ(a->GetScale(), (SpyPoint{2, 2})) << "the records went with Reset";
}

TEST_F(ItemGroupsTest, AFadeRunsEachChannelOnItsOwnAndIsStillRunningAtItsDuration) {
    cAnimHidingByColor fade(transform);
    fade.AddItem(a);
    fade.SetParams(2.0f, 0xFFFFFFFF, 0x00FFFFFF);
    fade.Start();
    EXPECT_EQ(a->GetColor(), 0xFFFFFFFFu);
    fade.Update(0.5f);
    EXPECT_EQ(a->GetColor() >> 24, 191u) << "255 - 63.75, truncated";
    fade.Update(1.5f);
    EXPECT_TRUE(fade.IsActive());
    EXPECT_EQ(a->GetColor(), 0x00FFFFFFu);
    fade.Update(0.01f);
    EXPECT_FALSE(fade.IsActive());

    fade.SetParams(1.0f, 0x80FF0040, 0x00000080);
    fade.Start();
    fade.Update(0.5f);
    EXPECT_EQ(a->GetColor(), 0x407F0060u);
    fade.Reset();
    EXPECT_FALSE(fade.IsActive());
    EXPECT_EQ(a->GetColor(), 0x80FF0040u);

    fade.SetParams(0.0f, 0xFFFFFFFF, 0x00FFFFFF);
    fade.Start();
    fade.Update(0.0f);
    EXPECT_FALSE(fade.IsActive());
    EXPECT_EQ(a->GetColor(), 0x00FFFFFFu);
}

TEST_F(ItemGroupsTest, RecordsListTheItemsThenTheAnimation) {
    cAnimateItems pulse(transform);
    pulse.AddItem(a);
    pulse.SetParams(1.0f, 1.0f, 1.5f, 1.0f);
    pulse.Start();
    pulse.Update(0.25f);
    const std::string pulseBytes =
        record([&](SaveLoadSystem& sys, u8* pos) { return pulse.SaveSelf(sys, pos); });
    ASSERT_EQ(pulseBytes.size(), 4 + 7 + 20 + 1 + 4 + 16 + 7);
    EXPECT_EQ(pulseBytes.substr(0, 11), "\1\0\0\0Hall:A\0"s);
    EXPECT_EQ(pulseBytes.substr(31, 5), "\1\1\0\0\0"s) << "active, one record";
    EXPECT_EQ(pulseBytes.substr(36, 8), "\0\0\x48\x42\0\0\x48\x42"s) << "position (50, 50) in room units";

    cAnimHidingByColor fade(transform);
    fade.AddItem(b);
    fade.SetParams(2.0f, 0xFFFFFFFF, 0x00FFFFFF);
    const std::string fadeBytes =
        record([&](SaveLoadSystem& sys, u8* pos) { return fade.SaveSelf(sys, pos); });
    EXPECT_EQ(fadeBytes, "\1\0\0\0Hall:B\0\0\xff\xff\xff\xff\xff\xff\xff\0\0\0\0\x40\0\0\0\0"s);

    cAnimateItems loadedPulse(transform);
    cAnimHidingByColor loadedFade(transform);
    ASSERT_TRUE(load(pulseBytes, [&](SaveLoadSystem& sys, const u8* pos) {
        return loadedPulse.LoadSelf(rooms, sys, pos);
    }));
    ASSERT_TRUE(load(
        fadeBytes, [&](SaveLoadSystem& sys, const u8* pos) { return loadedFade.LoadSelf(rooms, sys, pos); }));
    EXPECT_EQ(record([&](SaveLoadSystem& sys, u8* pos) { return loadedPulse.SaveSelf(sys, pos); }),
              pulseBytes);
    EXPECT_EQ(record([&](SaveLoadSystem& sys, u8* pos) { return loadedFade.SaveSelf(sys, pos); }), fadeBytes);
    EXPECT_TRUE(loadedPulse.IsActive());
    loadedPulse.Finish();
    EXPECT_EQ(a->GetScale(), (SpyPoint{1, 1}));

    LogCapture capture;
    std::string damaged = pulseBytes;
    damaged.replace(32, 4, "\xff\xff\xff\x0f"s);
    ASSERT_TRUE(load(
        damaged, [&](SaveLoadSystem& sys, const u8* pos) { return loadedPulse.LoadSelf(rooms, sys, pos); }));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages().size(), 1u);
    loadedPulse.Finish();
}

} // namespace
