#include "BasicsRoomKit.h"
#include "support/Golden.h"
#include "tk2v/gfx/SceneCapture.h"

namespace {

class ToolkitDraw : public BasicsRoomTest {
protected:
    // The room drawn over black, read back inside the rectangle.
    RgbaImage draw(i32 x, i32 y, i32 w, i32 h) {
        return drawScene({x, y, w, h}, [this] { room->Render(); });
    }
};

TEST_F(ToolkitDraw, TheBarFillsItsItemDownwardsOrRightwardsWithTheTime) {
    cProgressBar& bar = room->bar;
    bar.SetColor(0xFF00FF00);
    bar.SetVisible(true);
    bar.Start();
    for (int i = 0; i < 20; ++i)
        frame(300, 280);
    ASSERT_FLOAT_EQ(bar.GetElapsed(), 1.0f);
    EXPECT_TRUE(matchesGolden("toolkit_bar_down", draw(0, 240, 120, 40)));
    bar.SetItem(&item("BAR"), 1);
    EXPECT_TRUE(matchesGolden("toolkit_bar_right", draw(0, 240, 120, 40)));
    // Past its time and with no time at all the bar is full; before it starts, empty.
    bar.SetElapsed(5);
    const RgbaImage full = draw(0, 240, 120, 40);
    bar.SetTime(0);
    EXPECT_EQ(draw(0, 240, 120, 40).rgba, full.rgba);
    EXPECT_EQ(full.pixel(105, 25), 0x00FF00FFu);
    bar.SetElapsed(0);
    EXPECT_NE(draw(0, 240, 120, 40).pixel(5, 15), 0x00FF00FFu);
    bar.SetVisible(false);
    EXPECT_NE(draw(0, 240, 120, 40).pixel(105, 25), 0x00FF00FFu);
}

TEST_F(ToolkitDraw, TheCaretBlinksAfterTheTextBeforeIt) {
    for (u8 key : {30, 48}) {
        frame(300, 280, {.taps = {key}});
        frame(300, 280, Input{});
    }
    room->boxes.GetFocused()->SetCaretColor(0xFFFF0000);
    ASSERT_EQ(room->boxes.GetFocused()->GetCaret(), 2);
    EXPECT_TRUE(matchesGolden("toolkit_caret", draw(200, 15, 170, 30)));
    // The second half of the blink hides the caret.
    for (int i = 0; i < 15; ++i)
        frame(300, 280);
    const RgbaImage hidden = draw(200, 15, 170, 30);
    for (u32 i = 0; i < hidden.width * hidden.height; ++i)
        ASSERT_NE(hidden.pixel(i % hidden.width, i / hidden.width), 0xFF0000FFu) << i;
}

TEST_F(ToolkitDraw, APaintedStrokeShowsTheSourceOnThePageColourAround) {
    frame(104, 152, {.down = {0}});
    frame(150, 170, Input{});
    frame(150, 170, {.up = {0}});
    EXPECT_TRUE(matchesGolden("toolkit_paint", draw(90, 140, 84, 52)));
}

TEST_F(ToolkitDraw, AMenuShowsItsPicturesWithThePressedEntryHighlighted) {
    frame(225, 105, {.down = {0}});
    EXPECT_TRUE(matchesGolden("toolkit_menu", draw(210, 90, 120, 40)));
}

} // namespace
