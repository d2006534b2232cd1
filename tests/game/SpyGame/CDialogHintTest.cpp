#include "game/SpyGame/CDialogHint.h"
#include "InGameKit.h"

namespace {

class HintTest : public InGameTest {
public:
    HintTest() {
        writeWav("show_hint.wav");
        res->getSoundManager()->loadResource(dir.path(), "show_hint.wav 1.0", "");
        std::string many;
        for (int i = 0; i < 30; ++i)
            many += "line\\n";
        texts("ONE = \"Vase\"\nTWO = \"Old\\nvase\"\nMANY = \"" + many + "end\"\n", "Items");
        // The text's margin of 14 serves on every side: one line makes the scripted 44 pixels.
        load(fonts() + widget("window", "Hint", "0 0 200 44", {"Visible 0"}, {text("text", "14 14 172 16")}));
        hint.Create();
    }

    GUI::Widget* window() const { return find("Hint"); }
    // The mouse rests on the point for the frames, the hint updating each one.
    void rest(i32 x, i32 y, int frames, f32 dt = 0.1f) {
        input.setCursor(x, y);
        for (int i = 0; i < frames; ++i) {
            frame(dt);
            hint.Update(dt);
        }
    }

    CDialogHint hint;
};

TEST_F(HintTest, PlacementAboveThePointOrBelowNearTheTopInsideTheScreen) {
    struct Case {
        i32 x, y, width;
        const char* key;
        aRect expected;
    };
    const Case cases[] = {
        {500, 300, 0, "ONE", {400, 254, 200, 44}},
        {500, 10, 0, "TWO", {400, 34, 200, 60}},     // no room above: 24 below the point
        {50, 300, 0, "ONE", {0, 254, 200, 44}},      // not past the left edge
        {1000, 300, 0, "ONE", {824, 254, 200, 44}},  // nor the right one
        {500, 300, 300, "ONE", {350, 254, 300, 44}}, // wider than the script's window
        {500, 300, 100, "ONE", {400, 254, 200, 44}}, // never narrower
        {500, 300, 0, "MANY", {400, 244, 200, 524}}, // below the point, pushed up to the screen's bottom
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << " " << c.key);
        hint.ShowHint(c.x, c.y, c.width, c.key, "Items");
        EXPECT_EQ(window()->GetArea(), c.expected);
        EXPECT_EQ(find("text")->GetArea().w, c.expected.w - 28);
        EXPECT_EQ(find("text")->GetArea().h, c.expected.h - 28);
        EXPECT_EQ(hint.GetState(), 2);
        EXPECT_EQ(window()->GetAlpha(true), 0.0f);
        hint.Hide();
    }
}

TEST_F(HintTest, OpensAfterRestingFadesInAndGoesOnTheSlightestMove) {
    rest(300, 300, 1); // the move there
    rest(300, 300, 3, 0.125f);
    EXPECT_FALSE(hint.CanShowAt(300, 300)) << "rested 0.375 s";
    rest(300, 300, 1, 0.125f);
    EXPECT_TRUE(hint.CanShowAt(300, 300));
    hint.ShowHint(300, 300, 0, "ONE", "Items");
    EXPECT_FALSE(hint.CanShowAt(310, 300)) << "shown";
    rest(300, 300, 1);
    EXPECT_NEAR(window()->GetAlpha(true), 0.5f, 1e-5f);
    rest(300, 300, 3);
    EXPECT_EQ(window()->GetAlpha(true), 1.0f);
    rest(301, 300, 1);
    EXPECT_FALSE(hint.IsVisible());
    EXPECT_EQ(hint.GetRestTime(), 0.0f);
    // The same point again waits for a new one.
    rest(300, 300, 6);
    EXPECT_FALSE(hint.CanShowAt(300, 300));
    EXPECT_TRUE(hint.CanShowAt(300, 301));
}

TEST_F(HintTest, AButtonDownOrTwentySecondsCloseIt) {
    for (u32 button : {0u, 1u}) {
        SCOPED_TRACE(button);
        hint.ShowHint(300, 300, 0, "ONE", "Items");
        rest(300, 300, 1);
        input.buttonDown(button);
        rest(300, 300, 1);
        EXPECT_FALSE(hint.IsVisible());
        input.buttonUp(button);
        rest(300, 300, 1);
    }
    hint.ShowHint(300, 300, 0, "ONE", "Items");
    rest(300, 300, 199);
    EXPECT_TRUE(hint.IsVisible());
    rest(300, 300, 2);
    EXPECT_FALSE(hint.IsVisible());
}

TEST_F(HintTest, TheWindowTakesBackItsScriptSizeWithTheDialog) {
    {
        CDialogHint other;
        other.Create();
        other.ShowHint(500, 300, 300, "TWO", "Items");
    }
    EXPECT_EQ(window()->GetArea().w, 200);
    EXPECT_EQ(window()->GetArea().h, 44);
}

} // namespace
