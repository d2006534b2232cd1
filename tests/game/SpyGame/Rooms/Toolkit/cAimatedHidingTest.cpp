#include "game/SpyGame/Rooms/Toolkit/cAimatedHiding.h"
#include "ToolkitKit.h"

#include <cmath>

namespace {

using namespace std::string_literals;

class HidingTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        rope = add("ROPE", {10, 10}, 40, 20);
        rope->SetScale({2, 1}, false);
        rope->SetColor(0xFF336699);
    }

    cAimatedHiding hiding;
    CSpyItem* rope = nullptr;
};

TEST_F(HidingTest, TheTargetGrowsAndFadesOutOverTheDurationAndStaysHidden) {
    hiding.Fire(rope, 2.0f, 0.5f);
    EXPECT_TRUE(hiding.IsActive());
    EXPECT_FALSE(rope->IsVisible());
    hiding.Update(1.0f);
    EXPECT_EQ(rope->GetScale(), (SpyPoint{2.5f, 1.25f}));
    EXPECT_EQ(rope->GetColor(), 0x7F336699u) << "alpha (1 - 0.5) * 255, truncated";
    hiding.Render();
    EXPECT_FALSE(rope->IsVisible()) << "shown only while drawn";

    // The last frame passes the duration: the alpha ends at 0 instead of wrapping round.
    hiding.Update(1.2f);
    EXPECT_EQ(rope->GetColor(), 0x00336699u);
    EXPECT_EQ(rope->GetScale(), (SpyPoint{3, 1.5f}));
    EXPECT_FALSE(hiding.IsActive());
    EXPECT_FALSE(rope->IsVisible());
    hiding.Update(1.0f);
    EXPECT_EQ(rope->GetScale(), (SpyPoint{3, 1.5f}));
}

TEST_F(HidingTest, FiringWithoutATargetOrAPositiveDurationIsRefusedWithOneLine) {
    struct Case {
        CSpyItem* target;
        f32 duration;
    } cases[] = {{nullptr, 1.0f}, {rope, 0.0f}, {rope, -1.0f}, {rope, std::nanf("")}};
    for (const Case& c : cases) {
        LogCapture capture;
        hiding.Fire(c.target, c.duration, 0.5f);
        EXPECT_EQ(capture.messages(), (std::vector<std::string>{"cAimatedHiding::Fire null target!"}));
        EXPECT_FALSE(hiding.IsActive());
        EXPECT_TRUE(rope->IsVisible());
    }
    hiding.Fire(rope, 1.0f, 0.5f);
    hiding.Reset();
    EXPECT_FALSE(hiding.IsActive());
    EXPECT_EQ(hiding.GetTarget(), nullptr);
}

TEST_F(HidingTest, TheRecordCarriesTheFadeAndARecordWithoutDurationLoadsIdle) {
    hiding.Fire(rope, 2.0f, 0.5f);
    hiding.Update(0.5f);
    const auto save = [&](SaveLoadSystem& sys, u8* pos) { return hiding.SaveSelf(sys, pos); };
    const std::string bytes = record(save);
    EXPECT_EQ(bytes, "\0\0\0\x40\0\0\0\x3f\0\0\0\x3f\0\0\0\x40\0\0\x80\x3f\1Hall:ROPE\0"s);

    cAimatedHiding loaded;
    const auto read = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); };
    ASSERT_TRUE(load(bytes, read));
    EXPECT_TRUE(loaded.IsActive());
    EXPECT_EQ(record([&](SaveLoadSystem& sys, u8* pos) { return loaded.SaveSelf(sys, pos); }), bytes);

    std::string still = bytes;
    still.replace(0, 4, "\0\0\0\0"s);
    ASSERT_TRUE(load(still, read));
    EXPECT_FALSE(loaded.IsActive());
    loaded.Update(1.0f);
    EXPECT_EQ(host.leftAfterLoad, 0u);
}

} // namespace
