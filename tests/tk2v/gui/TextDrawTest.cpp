#include "TextFixtures.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/gui/Editbox.h"
#include "tk2v/gui/Memo.h"

#include <gtest/gtest.h>

using namespace GUI;
using namespace textfixtures;

namespace {

void focus(Editbox& box) {
    WidgetEventArgs e(&box);
    box.OnFocusGain(e);
}

TEST(TextDraw, EditboxAndMemoWithSelectionAndCaret) {
    TempDir dir;
    std::unique_ptr<aFont> font = makeFont(dir);
    Widget panel("panel");
    panel.SetArea(0, 0, 160, 120);

    Editbox box("box");
    box.SetFont(font.get());
    box.SetArea(10, 10, 100, 16);
    box.Set("AllowCopyPaste", "1");
    box.Set("NormalTextColor", "FFFFFF80");
    box.Set("CursorColor", "FF00FF00");
    box.Set("SelectionColor", "FF0000C0");
    box.MakeFromScript();
    box.SetText(L"Hello, world");
    panel.AddChild(&box);
    focus(box);
    box.SetCursorPos(2);
    box.SetSelection(2, 5); // the text runs past the box and is cut there

    Memo memo("memo");
    memo.SetFont(font.get());
    memo.SetArea(10, 40, 80, 64);
    memo.Set("AllowCopyPaste", "1");
    memo.Set("SelectionColor", "FFC00000");
    memo.Set("CursorColor", "FF00FFFF");
    memo.MakeFromScript();
    memo.SetText(L"one two three\nfour");
    panel.AddChild(&memo);
    focus(memo);
    memo.SetCursorPos(5);
    memo.SetSelection(5, 16);

    const RgbaImage image = drawScene({0, 0, 160, 120}, [&] { panel.Render(); });
    EXPECT_TRUE(matchesGolden("editbox_memo", image));
}

TEST(TextDraw, OnlyTheirOwnFontIsUsed) {
    TempDir dir;
    std::unique_ptr<aFont> font = makeFont(dir);
    Widget panel("panel");
    panel.SetFont(font.get());
    panel.SetArea(0, 0, 64, 32);
    Editbox box("box");
    box.SetArea(0, 0, 64, 16);
    box.SetText(L"abc");
    Memo memo("memo");
    memo.SetArea(0, 16, 64, 16);
    memo.SetText(L"abc");
    panel.AddChild(&box);
    panel.AddChild(&memo);
    focus(box);
    const RgbaImage image = drawScene({0, 0, 64, 32}, [&] { panel.Render(); });
    EXPECT_EQ(countLit(image), 0);
}

} // namespace
