#include "tk2v/gui/Memo.h"
#include "TextFixtures.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/Server.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace GUI;
using namespace textfixtures;

namespace {

constexpr u32 SHIFT = MOD_SHIFT, CTRL = MOD_CTRL;
constexpr u32 KEY_A = 0x1E, KEY_B = 0x30, KEY_C = 0x2E, KEY_D = 0x20, KEY_E = 0x12, KEY_X = 0x2D;
constexpr u32 KEY_V = 0x2F, KEY_Y = 0x15, KEY_Z = 0x2C;
// A unit the test font has no glyph for.
constexpr wchar_t kGlyphless = 0x2603;

class MemoTest : public testing::Test {
public:
    void SetUp() override {
        memo.SetFont(font.get());
        memo.SetArea(0, 0, 400, 100);
    }

    void press(u32 key, u32 mods = 0) {
        KeybEventArgs e(&memo);
        e.key = key;
        e.modifiers = mods;
        e.character = Server::KeyToChar(key, mods);
        memo.OnKeyDown(e);
    }
    void setText(const std::wstring& text, u32 caret) {
        memo.SetText(text);
        memo.SetCursorPos(caret);
        memo.SetSelection(caret, caret);
    }

    TempDir dir;
    std::unique_ptr<aFont> font = makeFont(dir);
    FakeClipboard clipboard;
    Memo memo{"memo"};
};

using Lines = std::vector<std::pair<u32, u32>>;

Lines linesOf(const Memo& memo) {
    Lines lines;
    for (const Memo::Line& line : memo.GetLines()) {
        EXPECT_EQ(line.text, memo.GetText().substr(line.first, line.end - line.first)) << line.first;
        lines.emplace_back(line.first, line.end);
    }
    return lines;
}

TEST_F(MemoTest, LayoutTable) {
    struct Case {
        std::wstring text;
        u16 width;
        bool wrap;
        std::wstring textAfter;
        Lines lines;
    };
    // Glyphs are 10 wide: at width 45 a line holds four.
    const std::vector<Case> cases = {
        {L"", 45, true, L"", {}},
        {L"abc", 45, true, L"abc", {{0, 3}}},
        {L"abcdefghij", 45, true, L"abcdefghij", {{0, 4}, {4, 8}, {8, 10}}},
        {L"abcdefghij", 40, true, L"abcdefghij", {{0, 3}, {3, 6}, {6, 9}, {9, 10}}},
        {L"abcdefghij", 45, false, L"abcdefghij", {{0, 10}}},
        // A cut word moves to the next line; the space stays behind.
        {L"ab cd ef", 45, true, L"ab cd ef", {{0, 3}, {3, 6}, {6, 8}}},
        {L"a bcdefgh", 45, true, L"a bcdefgh", {{0, 2}, {2, 6}, {6, 9}}},
        // Line breaks end lines; a trailing one adds an empty line past the text.
        {L"ab\ncd", 45, true, L"ab\ncd", {{0, 3}, {3, 5}}},
        {L"ab\n", 45, true, L"ab\n", {{0, 3}, {3, 4}}},
        {L"\n\n", 45, true, L"\n\n", {{0, 1}, {1, 2}, {2, 3}}},
        // Units without a glyph are dropped from the text.
        {std::wstring(L"a") + kGlyphless + L"b", 45, true, L"ab", {{0, 2}}},
        // Narrower than one glyph: each line still takes one unit.
        {L"abc", 5, true, L"abc", {{0, 1}, {1, 2}, {2, 3}}},
        {L"a b", 0, true, L"a b", {{0, 1}, {1, 2}, {2, 3}}},
    };
    for (const Case& c : cases) {
        memo.SetArea(0, 0, c.width, 100);
        memo.SetWordWrap(c.wrap);
        memo.SetText(c.text);
        memo.RebuildLayout();
        const std::string label = platform::unitsToUtf8(c.text) + " at " + std::to_string(c.width);
        EXPECT_EQ(memo.GetText(), c.textAfter) << label;
        EXPECT_EQ(linesOf(memo), c.lines) << label;
        const f32 lineHeight = GLYPH_H;
        EXPECT_EQ(memo.GetContentHeight(), c.lines.empty() ? 0 : f32(c.lines.size() + 1) * lineHeight)
            << label;
    }
}

TEST_F(MemoTest, DroppingGlyphlessUnitsKeepsTheCaretOnItsCharacter) {
    // Without a font nothing is laid out yet.
    memo.SetFont(nullptr);
    setText(std::wstring(L"a") + kGlyphless + L"bc", 3);
    memo.SetSelection(1, 3);
    memo.SetFont(font.get());
    memo.Update(0);
    EXPECT_EQ(memo.GetText(), L"abc");
    EXPECT_EQ(memo.GetCursorPos(), 2u);
    EXPECT_EQ(memo.GetSelectionStart(), 1u);
    EXPECT_EQ(memo.GetSelectionEnd(), 2u);
    memo.SetSelection(2, 2);
    // Typed, such a unit goes nowhere.
    memo.InsertChar(u16(kGlyphless));
    EXPECT_EQ(memo.GetText(), L"abc");
    EXPECT_EQ(memo.GetCursorPos(), 2u);
}

TEST_F(MemoTest, LineOf) {
    setText(L"ab\ncd\n", 0);
    memo.RebuildLayout();
    const std::pair<u32, i32> cases[] = {{0, 0}, {2, 0}, {3, 1}, {5, 1}, {6, 2}, {7, 2}, {8, -1}};
    for (const auto& [index, line] : cases)
        EXPECT_EQ(memo.LineOf(index), line) << index;
    Memo empty("empty");
    EXPECT_EQ(empty.LineOf(0), -1);
}

TEST_F(MemoTest, CaretMovesBetweenLines) {
    struct Case {
        u32 caret;
        u32 key, mods;
        u32 caretAfter, selStart, selEnd;
    };
    // Lines [0, 8) "abcdefg\n", [8, 12) "abc\n", [12, 13) empty.
    const Case cases[] = {
        {5, Editbox::KEY_DOWN, 0, 11, 11, 11}, // column 5 into three characters: before the line break
        {9, Editbox::KEY_DOWN, 0, 12, 12, 12},      {12, Editbox::KEY_DOWN, 0, 12, 12, 12}, // the last line
        {2, Editbox::KEY_UP, 0, 2, 2, 2},                                                   // the first line
        {10, Editbox::KEY_UP, SHIFT, 2, 2, 10},     {10, Editbox::KEY_HOME, 0, 8, 8, 8},
        {10, Editbox::KEY_END, 0, 11, 11, 11},      {12, Editbox::KEY_END, 0, 12, 12, 12},
        {10, Editbox::KEY_HOME, CTRL, 0, 0, 0},     {2, Editbox::KEY_END, CTRL, 12, 12, 12},
        {2, Editbox::KEY_PAGEDOWN, 0, 12, 12, 12}, // 100 / 16: six lines
        {10, Editbox::KEY_PAGEUP, SHIFT, 2, 2, 10},
    };
    for (const Case& c : cases) {
        setText(L"abcdefg\nabc\n", c.caret);
        press(c.key, c.mods);
        EXPECT_EQ(memo.GetCursorPos(), c.caretAfter) << c.caret << " key " << c.key;
        EXPECT_EQ(memo.GetSelectionStart(), c.selStart) << c.caret << " key " << c.key;
        EXPECT_EQ(memo.GetSelectionEnd(), c.selEnd) << c.caret << " key " << c.key;
    }
}

TEST_F(MemoTest, EnterBreaksTheLine) {
    setText(L"abcd", 2);
    press(Editbox::KEY_ENTER);
    EXPECT_EQ(memo.GetText(), L"ab\ncd");
    EXPECT_EQ(memo.GetCursorPos(), 3u);
    memo.Update(0);
    EXPECT_EQ(linesOf(memo), (Lines{{0, 3}, {3, 5}}));
}

// Keys that scroll need a vertical scrollbar and a line height; without them they do nothing.
TEST_F(MemoTest, ScrollKeysWithoutScrollbarOrLineHeightDoNothing) {
    setText(L"a\nb\nc", 0);
    press(Editbox::KEY_UP, CTRL);
    press(Editbox::KEY_DOWN, CTRL);
    MouseEventArgs wheel(&memo);
    wheel.wheel = -1;
    memo.OnMouseWheel(wheel);
    EXPECT_EQ(memo.GetCursorPos(), 0u);

    Memo fontless("fontless");
    fontless.SetArea(0, 0, 100, 100);
    fontless.SetText(L"a\nb");
    KeybEventArgs e(&fontless);
    e.key = Editbox::KEY_PAGEDOWN;
    fontless.OnKeyDown(e);
    EXPECT_EQ(fontless.LineHeight(), 0);
    EXPECT_EQ(fontless.GetCursorPos(), 0u);
}

class ScrolledMemoTest : public MemoTest {
protected:
    void SetUp() override {
        MemoTest::SetUp();
        vertical.SetVertical(true);
        vertical.SetArea(400, 0, 10, 100);
        horizontal.SetArea(0, 100, 400, 10);
        memo.AddChild(&vertical);
        memo.AddChild(&horizontal);
        memo.Initialize();
    }

    Scrollbar vertical{"memo_auto_vscroll"};
    Scrollbar horizontal{"memo_auto_hscroll"};
};

TEST_F(ScrolledMemoTest, ScrollbarsFollowTheLayoutAndTheCaret) {
    ASSERT_EQ(memo.GetVerticalScrollbar(), &vertical);
    ASSERT_EQ(memo.GetHorizontalScrollbar(), &horizontal);
    EXPECT_EQ(vertical.GetPageSize(), 100);
    std::wstring text;
    for (int i = 0; i < 20; ++i)
        text += L"line\n";
    setText(text, 0);
    memo.Update(0);
    EXPECT_EQ(vertical.GetDocumentSize(), 22 * 16);
    // The widest line and one line height; the line break has no glyph.
    EXPECT_EQ(horizontal.GetDocumentSize(), 40 + 16);
    // Down past the page scrolls so that the caret's line shows.
    for (int i = 0; i < 6; ++i)
        press(Editbox::KEY_DOWN);
    EXPECT_EQ(vertical.GetPosition(), 6 * 16 + 2 * 16 - 100);
    const f32 before = vertical.GetPosition();
    // Ctrl+Up scrolls down by a line, as it always has; the wheel towards the user too.
    press(Editbox::KEY_UP, CTRL);
    EXPECT_EQ(vertical.GetPosition(), before + 16);
    MouseEventArgs wheel(&memo);
    wheel.wheel = 1;
    memo.OnMouseWheel(wheel);
    EXPECT_EQ(vertical.GetPosition(), before);
}

TEST_F(MemoTest, UndoRedoTable) {
    memo.SetHistorySize(64);
    memo.SetAllowCopyPaste(true);
    struct Step {
        std::function<void(MemoTest&)> act;
        std::wstring text;
        u32 caret, selStart, selEnd;
    };
    auto type = [](u32 key) { return [key](MemoTest& t) { t.press(key); }; };
    auto undo = [](MemoTest& t) { t.press(KEY_Z, CTRL); };
    auto redo = [](MemoTest& t) { t.press(KEY_Y, CTRL); };
    auto select = [](u32 a, u32 b) {
        return [a, b](MemoTest& t) {
            t.memo.SetCursorPos(b);
            t.memo.SetSelection(a, b);
        };
    };
    const std::vector<Step> steps = {
        {type(KEY_A), L"a", 1, 1, 1},
        {type(KEY_B), L"ab", 2, 2, 2},
        {type(KEY_C), L"abc", 3, 3, 3},
        {undo, L"ab", 2, 2, 2},
        {undo, L"a", 1, 1, 1},
        {undo, L"", 0, 0, 0},
        {undo, L"", 0, 0, 0},
        {redo, L"a", 1, 1, 1},
        {redo, L"ab", 2, 2, 2},
        {redo, L"abc", 3, 3, 3},
        {type(KEY_D), L"abcd", 4, 4, 4},
        // Typing over a selection: the deletion and the character are two records.
        {select(1, 3), L"abcd", 3, 1, 3},
        {type(KEY_X), L"axd", 2, 2, 2},
        {undo, L"ad", 1, 1, 1},
        {undo, L"abcd", 3, 1, 3},
        {redo, L"ad", 1, 1, 1},
        // After an undo, a new record empties the redo list.
        {undo, L"abcd", 3, 1, 3},
        {type(KEY_E), L"aed", 2, 2, 2},
        {redo, L"aed", 2, 2, 2},
        // A paste is one record and comes back selected.
        {[](MemoTest& t) { t.clipboard.text = "xy\nz"; }, L"aed", 2, 2, 2},
        {[](MemoTest& t) { t.press(KEY_V, CTRL); }, L"aexy\nzd", 6, 6, 6},
        {undo, L"aed", 2, 2, 2},
        {redo, L"aexy\nzd", 6, 2, 6},
        // Text set from outside: records past its end act at its end.
        {[](MemoTest& t) { t.memo.SetText(L"q"); }, L"q", 1, 1, 1},
        {undo, L"q", 1, 1, 1},
        {redo, L"qxy\nz", 5, 1, 5},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].act(*this);
        EXPECT_EQ(memo.GetText(), steps[i].text) << "step " << i;
        EXPECT_EQ(memo.GetCursorPos(), steps[i].caret) << "step " << i;
        EXPECT_EQ(memo.GetSelectionStart(), steps[i].selStart) << "step " << i;
        EXPECT_EQ(memo.GetSelectionEnd(), steps[i].selEnd) << "step " << i;
    }
}

TEST_F(MemoTest, HistoryCapacity) {
    memo.Set("HistorySize", "2");
    memo.MakeFromScript();
    for (u32 key : {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E})
        press(key);
    for (int i = 0; i < 4; ++i)
        press(KEY_Z, CTRL);
    EXPECT_EQ(memo.GetText(), L"abc");

    // A lower capacity drops one old record a push.
    memo.SetHistorySize(64);
    History& history = *memo.GetHistory();
    for (u32 key : {KEY_A, KEY_B, KEY_C, KEY_D})
        press(key);
    EXPECT_EQ(history.GetUndoCount(), 4u);
    memo.SetHistorySize(2);
    EXPECT_EQ(history.GetUndoCount(), 4u);
    press(KEY_E);
    EXPECT_EQ(history.GetUndoCount(), 4u);

    memo.Set("HistorySize", "70000");
    memo.MakeFromScript();
    EXPECT_EQ(memo.GetHistory()->GetCapacity(), 65535);
    memo.Set("HistorySize", "0");
    memo.MakeFromScript();
    EXPECT_EQ(memo.GetHistory(), nullptr);
    // Without a history Ctrl+Z types.
    press(KEY_Z, CTRL);
    EXPECT_EQ(memo.GetText().back(), L'z');
}

TEST_F(MemoTest, APasteInsertsOnceAndLaysOutOnce) {
    memo.SetHistorySize(8);
    memo.SetAllowCopyPaste(true);
    setText(L"AB", 1);
    memo.Update(0);
    clipboard.text = platform::unitsToUtf8(std::wstring(L"x") + kGlyphless + L"y");
    RecordedEvents events;
    for (const char* name : {"TextChanged", "PositionChanged", "RebuildLayout"})
        events.listen(memo, name);
    press(KEY_V, CTRL);
    EXPECT_EQ(memo.GetText(), L"AxyB");
    EXPECT_EQ(memo.GetCursorPos(), 3u);
    EXPECT_EQ(events.count("RebuildLayout"), 1);
    EXPECT_EQ(events.count("TextChanged"), 1);
    EXPECT_EQ(events.count("PositionChanged"), 1);
}

TEST_F(MemoTest, ScriptPropertiesAndType) {
    memo.Set("LineSpacing", "4");
    memo.Set("WordWrap", "0");
    memo.MakeFromScript();
    EXPECT_EQ(memo.LineHeight(), 20);
    EXPECT_FALSE(memo.GetWordWrap());
    EXPECT_TRUE(memo.IsA("Memo"));
    EXPECT_TRUE(memo.IsA("Editbox"));
    EXPECT_STREQ(memo.GetTypeName(), "Memo");
}

} // namespace
