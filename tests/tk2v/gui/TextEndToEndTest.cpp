#include "GuiServerFixture.h"
#include "TextFixtures.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/gui/Memo.h"
#include "tk2v/gui/RadioButton.h"
#include "tk2v/gui/Slider.h"

using namespace GUI;
using namespace textfixtures;

namespace {

constexpr u8 KEY_LSHIFT = 0x2A, KEY_LCTRL = 0x1D, KEY_H = 0x23, KEY_E = 0x12, KEY_L = 0x26, KEY_O = 0x18,
             KEY_X = 0x2D, KEY_A = 0x1E, KEY_C = 0x2E, KEY_V = 0x2F, KEY_Z = 0x2C, KEY_END = 0xCF;

const char* const kScript = R"(fontlist
{
  text @/text.fnt
}
memo notes
{
  AreaRect 10 10 200 100
  Font text
  AllowCopyPaste 1
  HistorySize 16
  CursorColor FF00FF00
  SelectionColor FF0000C0
  scrollbar notes_auto_vscroll
  {
    AreaRect 200 0 10 100
    Vertical 1
    widget notes_auto_vscroll_auto_thumb
    {
      AreaRect 0 0 10 20
    }
  }
}
radiobutton low
{
  AreaRect 10 170 20 20
  GroupID 1
  Checked 1
}
radiobutton high
{
  AreaRect 40 170 20 20
  GroupID 1
}
slider volume
{
  AreaRect 10 130 200 20
  widget volume_auto_thumb
  {
    AreaRect 0 0 20 20
  }
}
)";

struct TextEndToEnd : GuiServerTest {
    FakeClipboard clipboard;

    TextEndToEnd() {
        writeFont(dir);
        load(kScript);
        server->InitializeWidgets();
    }

    // Pressed and let go between two frames; one more frame reads it up, so the same key can follow.
    void tap(u8 key) {
        input.tapKey(key);
        frame();
        frame();
    }
    // The key pressed with a modifier held around it.
    void chord(u8 modifier, u8 key) {
        input.keyDown(modifier);
        frame();
        tap(key);
        input.keyUp(modifier);
        frame();
    }
};

TEST_F(TextEndToEnd, TypeRepeatCopyPasteUndoDragAndClick) {
    auto* memo = dynamic_cast<Memo*>(find("notes"));
    auto* slider = dynamic_cast<Slider*>(find("volume"));
    ASSERT_TRUE(memo && slider);
    ASSERT_NE(memo->GetVerticalScrollbar(), nullptr);

    clickAt(50, 50);
    ASSERT_EQ(server->GetFocus(), memo);
    chord(KEY_LSHIFT, KEY_H);
    for (u8 key : {KEY_E, KEY_L, KEY_L, KEY_O})
        tap(key);
    EXPECT_EQ(memo->GetText(), L"Hello");

    // Held: typed on the press, again after 0.3 s, then every 0.05 s.
    input.keyDown(KEY_X);
    frame(0.016f);
    frame(0.1f);
    frame(0.1f);
    EXPECT_EQ(memo->GetText(), L"Hellox");
    frame(0.1f);
    EXPECT_EQ(memo->GetText(), L"Helloxx");
    frame(0.05f);
    frame(0.05f);
    input.keyUp(KEY_X);
    frame();
    EXPECT_EQ(memo->GetText(), L"Helloxxxx");

    chord(KEY_LCTRL, KEY_A);
    EXPECT_EQ(memo->GetSelectionStart(), 0u);
    EXPECT_EQ(memo->GetSelectionEnd(), 9u);
    chord(KEY_LCTRL, KEY_C);
    EXPECT_EQ(clipboard.text, "Helloxxxx");
    tap(KEY_END);
    chord(KEY_LCTRL, KEY_V);
    EXPECT_EQ(memo->GetText(), L"HelloxxxxHelloxxxx");
    EXPECT_EQ(memo->GetCursorPos(), 18u);
    chord(KEY_LCTRL, KEY_Z);
    EXPECT_EQ(memo->GetText(), L"Helloxxxx");
    EXPECT_EQ(memo->GetCursorPos(), 9u);

    // The slider's thumb dragged by 60 pixels along its 180-pixel track.
    input.setCursor(15, 135);
    frame();
    input.buttonDown(MOUSE_LEFT);
    frame();
    input.move(60, 0);
    frame();
    input.buttonUp(MOUSE_LEFT);
    frame();
    EXPECT_FLOAT_EQ(slider->GetValue(), 60.0f / 180.0f);

    auto* low = dynamic_cast<RadioButton*>(find("low"));
    auto* high = dynamic_cast<RadioButton*>(find("high"));
    ASSERT_TRUE(low && high);
    clickAt(50, 180);
    EXPECT_TRUE(high->IsChecked());
    EXPECT_FALSE(low->IsChecked());

    // Back in the memo, a selection to see in the frame.
    clickAt(50, 50);
    chord(KEY_LSHIFT, 0xCB /* Left */);
    const RgbaImage image = drawScene({0, 0, 220, 160}, [&] { server->Render(); });
    EXPECT_TRUE(matchesGolden("text_end_to_end", image));
}

} // namespace
