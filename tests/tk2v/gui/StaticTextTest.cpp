#include "tk2v/gui/StaticText.h"
#include "WidgetKit.h"
#include "tk2v/gui/Scrollbar.h"

#include <gtest/gtest.h>

using namespace guidraw;
using namespace widgetkit;
using GUI::StaticText;

namespace {

// "word@x word@x|word@x": lines split by "|".
std::string describe(const GUI::StaticTextLayout& layout) {
    std::ostringstream out;
    for (size_t l = 0; l < layout.lines().size(); ++l) {
        const GUI::StaticTextLayout::Line& line = layout.lines()[l];
        out << (l > 0 ? "|" : "");
        for (u32 w = 0; w < line.wordCount; ++w) {
            const auto& word = layout.words()[line.firstWord + w];
            const std::wstring_view text = layout.text(word);
            out << (w > 0 ? " " : "") << std::string(text.begin(), text.end()) << "@" << word.x;
        }
    }
    return out.str();
}

class StaticTexts : public ::testing::Test {
protected:
    Gui gui;
    aFont plain{writeFont(gui.dir, "plain.fnt", false)};
    aFont spaced{writeFont(gui.dir, "spaced.fnt", true)};

    StaticText& label(const aRect& area, const std::wstring& text, GUI::Widget* parent = nullptr) {
        auto& l = gui.add(std::make_unique<StaticText>("label"), parent);
        l.SetFont(&plain);
        l.SetArea(area);
        l.SetText(text);
        return l;
    }
};

TEST_F(StaticTexts, MeasuresWithItsOwnFontSpacingOffsetsAndSize) {
    struct Case {
        f32 fontSize;
        f32 lineSpacing;
        const wchar_t* text;
        const char* lines;
        f32 height;
    };
    // Every glyph advances 10 + 1 spacing; "w" 3 more after it, and 2 before it unless it starts a line.
    const Case cases[] = {
        {1, 0, L"ab w", "ab@0 w@33", 16},
        {2, 0, L"ab w", "ab@0 w@66", 32},
        {1, 0, L"w", "w@0", 16},
        {1, 4, L"abcdefgh ijkl mn", "abcdefgh@0|ijkl@0 mn@55", 36},
        {1, 0, L"", "", 0},
    };
    for (const Case& c : cases) {
        StaticText& l = label(aRect{0, 0, 100, 20}, c.text);
        l.SetFont(&spaced);
        l.SetFontSize(c.fontSize);
        l.SetLineSpacing(c.lineSpacing);
        EXPECT_EQ(l.GetTextHeight(), c.height) << c.fontSize;
        EXPECT_EQ(describe(l.GetLayout()), c.lines) << c.fontSize;
        delete &l;
    }
}

TEST_F(StaticTexts, UsesNoFontOfItsAncestors) {
    auto& window = gui.add(std::make_unique<GUI::Widget>("window"));
    window.SetFont(&plain);
    StaticText& l = label(aRect{0, 0, 100, 40}, L"ab", &window);
    l.SetFont(nullptr);
    l.Update(0);
    EXPECT_EQ(l.GetTextHeight(), 0);
    EXPECT_TRUE(l.GetLayout().lines().empty());
    EXPECT_EQ(countLit(capture(100, 40, [&] { l.DrawSelf(); })), 0);
}

TEST_F(StaticTexts, ScriptWordsChooseFormattingColoursAndWrapping) {
    struct Case {
        const char* horz;
        const char* vert;
        GUI::TextFormatting wantHorz, wantVert;
    };
    const Case cases[] = {
        {"left", "top", GUI::TF_LEFT, GUI::TF_TOP},
        {"Center", "CENTER", GUI::TF_CENTER, GUI::TF_CENTER},
        {"right", "bottom", GUI::TF_RIGHT, GUI::TF_BOTTOM},
        {"width", "width", GUI::TF_WIDTH, GUI::TF_TOP},
        {"justify", "middle", GUI::TF_LEFT, GUI::TF_TOP},
    };
    for (const Case& c : cases) {
        StaticText l("l");
        Gui::script(l, {{"HorzFormatting", c.horz}, {"VertFormatting", c.vert}});
        EXPECT_EQ(l.GetHorzFormatting(), c.wantHorz) << c.horz;
        EXPECT_EQ(l.GetVertFormatting(), c.wantVert) << c.vert;
    }
    StaticText l("l");
    EXPECT_TRUE(l.GetWordWrap());
    Gui::script(l, {{"TextNormalColor", "80FF0000"},
                    {"TextDisabledColor", "ff00ff00"},
                    {"WordWrap", "0"},
                    {"LineSpacing", "2.5"}});
    EXPECT_EQ(l.GetTextColor(), (GUI::ColorF{1, 0, 0, 128 / 255.0f}));
    EXPECT_EQ(l.GetDisabledTextColor(), (GUI::ColorF{0, 1, 0, 1}));
    EXPECT_FALSE(l.GetWordWrap());
    EXPECT_EQ(l.GetLineSpacing(), 2.5f);
}

TEST_F(StaticTexts, RelaysOutAfterEveryChangeThatMovesWords) {
    StaticText& l = label(aRect{0, 0, 60, 40}, L"ab cd ef");
    EXPECT_EQ(describe(l.GetLayout()), "");
    l.Update(0);
    EXPECT_EQ(describe(l.GetLayout()), "ab@0 cd@30|ef@0");
    l.SetWordWrap(false);
    l.Update(0);
    EXPECT_EQ(describe(l.GetLayout()), "ab@0 cd@30 ef@60");
    l.SetHorzFormatting(GUI::TF_RIGHT);
    l.Update(0);
    EXPECT_EQ(describe(l.GetLayout()), "ab@-20 cd@10 ef@40");
    l.SetSize(100, 40);
    l.Update(0);
    EXPECT_EQ(describe(l.GetLayout()), "ab@20 cd@50 ef@80");
    l.SetText(L"x");
    EXPECT_EQ(l.GetTextHeight(), 16);
    EXPECT_EQ(describe(l.GetLayout()), "x@90");
    l.SetFontSize(2);
    l.Update(0);
    EXPECT_EQ(describe(l.GetLayout()), "x@80");
}

// The colour of a label drawn disabled, or through a half-transparent parent.
TEST_F(StaticTexts, DrawsInTheColourOfItsStateTimesItsAlpha) {
    auto& window = gui.add(std::make_unique<GUI::Widget>("window"));
    StaticText& l = label(aRect{0, 0, 40, 20}, L"a", &window);
    l.SetTextColor(0xFFFF0000);
    l.SetDisabledTextColor(0xFF0000FF);
    l.Update(0);
    EXPECT_EQ(rgb(capture(40, 20, [&] { l.DrawSelf(); }), 4, 6), 0xFF0000u);
    window.SetEnabled(false);
    EXPECT_EQ(rgb(capture(40, 20, [&] { l.DrawSelf(); }), 4, 6), 0x0000FFu);
    window.SetAlpha(0.5f);
    EXPECT_NEAR(i32(rgb(capture(40, 20, [&] { l.DrawSelf(); }), 4, 6)), 0x80, 1);
}

// Scrollbars named after the label may stand anywhere in the tree.
class ScrolledTexts : public StaticTexts {
protected:
    GUI::Scrollbar& bar(const std::string& name) {
        auto& elsewhere = gui.add(std::make_unique<GUI::Widget>("elsewhere"));
        return gui.add(std::make_unique<GUI::Scrollbar>(name), &elsewhere);
    }
};

TEST_F(ScrolledTexts, BindsItsScrollbarsAndScrollsByWholeLines) {
    GUI::Scrollbar& vbar = bar("label_auto_vscroll");
    StaticText& l = label(aRect{10, 10, 40, 32}, L"a\nbb\nccc\ndddd");
    l.Initialize();
    ASSERT_EQ(l.GetVertScrollbar(), &vbar);
    EXPECT_EQ(l.GetHorzScrollbar(), nullptr);
    EXPECT_EQ(vbar.GetParent(), &l);
    EXPECT_EQ(vbar.GetPageSize(), 32);
    EXPECT_EQ(l.GetTextHeight(), 32) << "capped at the widget's height with a vertical scrollbar";
    EXPECT_EQ(vbar.GetDocumentSize(), 64);

    // 1.5 line steps show the second line at the top; the clip ends at the widget's bottom.
    vbar.SetPosition(24);
    const RgbaImage frame = capture(80, 80, [&] { l.DrawSelf(); });
    EXPECT_EQ(litBounds(frame), (Bounds{11, 12, 38, 39}));
    EXPECT_EQ(litBounds(frame, 0, 12, 80, 26), (Bounds{11, 12, 28, 23}));
}

TEST_F(ScrolledTexts, ATextTallerThanTheWidgetReportsItsFullHeightWithoutAScrollbar) {
    StaticText& l = label(aRect{0, 0, 40, 20}, L"a\nb\nc");
    l.Initialize();
    EXPECT_EQ(l.GetTextHeight(), 48);
    // Lines that start inside the widget are drawn whole, past its bottom; the next are not.
    EXPECT_EQ(litBounds(capture(60, 60, [&] { l.DrawSelf(); })), (Bounds{1, 2, 8, 29}));
}

TEST_F(ScrolledTexts, AHorizontalScrollbarClipsAndMovesTheText) {
    GUI::Scrollbar& hbar = bar("label_auto_hscroll");
    StaticText& l = label(aRect{10, 0, 30, 20}, L"abcdefgh");
    l.SetWordWrap(false);
    l.Initialize();
    l.Update(0);
    EXPECT_EQ(hbar.GetDocumentSize(), 80);
    EXPECT_EQ(hbar.GetPageSize(), 30);
    hbar.SetPosition(15);
    EXPECT_EQ(litBounds(capture(100, 20, [&] { l.DrawSelf(); })), (Bounds{10, 2, 39, 13}));
}

TEST_F(ScrolledTexts, OffsetsOutsideTheLinesAndAnEmptyLineStepStayInside) {
    GUI::Scrollbar& vbar = bar("label_auto_vscroll");
    StaticText& l = label(aRect{0, 0, 40, 32}, L"a\nb\nc\nd");
    l.Initialize();
    l.Update(0);
    // The text shrinks under a scrolled position: the last line still shows.
    vbar.SetPosition(48);
    l.SetText(L"a");
    l.Update(0);
    EXPECT_EQ(litBounds(capture(60, 60, [&] { l.DrawSelf(); })), (Bounds{1, 2, 8, 13}));

    // A document smaller than its page makes the position negative.
    vbar.SetPosition(-5);
    EXPECT_LE(vbar.GetPosition(), 0);
    EXPECT_EQ(litBounds(capture(60, 60, [&] { l.DrawSelf(); })), (Bounds{1, 2, 8, 13}));

    // Lines that take no height all stand at the top.
    l.SetText(L"a\nbb");
    l.SetLineSpacing(-16);
    l.Update(0);
    vbar.SetPosition(10);
    EXPECT_EQ(litBounds(capture(60, 60, [&] { l.DrawSelf(); })), (Bounds{1, 2, 18, 13}));
}

TEST_F(StaticTexts, FormatsMatchTheGoldenImage) {
    // Four horizontal formats across, three vertical down; each label 100 x 52 in a 110 x 60 cell.
    const GUI::TextFormatting horz[] = {GUI::TF_LEFT, GUI::TF_CENTER, GUI::TF_RIGHT, GUI::TF_WIDTH};
    const GUI::TextFormatting vert[] = {GUI::TF_TOP, GUI::TF_CENTER, GUI::TF_BOTTOM};
    std::vector<StaticText*> labels;
    for (u32 row = 0; row < 3; ++row)
        for (u32 col = 0; col < 4; ++col) {
            StaticText& l = label(aRect{i16(col * 110 + 5), i16(row * 60 + 4), 100, 52}, L"ab cd ef gh ij");
            l.SetTextColor(0xFF000000 | (0x40 + col * 0x30) << 16 | (0x40 + row * 0x50) << 8 | 0xC0);
            l.SetHorzFormatting(horz[col]);
            l.SetVertFormatting(vert[row]);
            l.Update(0);
            labels.push_back(&l);
        }
    const RgbaImage frame = capture(440, 180, [&] {
        for (StaticText* l : labels)
            l->DrawSelf();
    });
    EXPECT_TRUE(matchesGolden("static_text_formats", frame));
}

} // namespace
