#include "tk2v/gui/Editbox.h"
#include "TextFixtures.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/TextEntry.h"
#include "tk2v/platform/KeyboardLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace GUI;
using namespace textfixtures;

namespace {

constexpr u32 SHIFT = MOD_SHIFT, CTRL = MOD_CTRL;
constexpr u32 KEY_A = Editbox::KEY_A, KEY_Q = 0x10, KEY_F = 0x21, KEY_1 = 0x02, KEY_SPACE = 0x39;

char32_t nonUsKeymap(u8) {
    return 0;
}

struct Flags {
    bool copyPaste = false;
    u32 maxLength = 0;
    const char* charCase = nullptr;
    const char* charset = nullptr;
    bool cyrillic = false;
    bool usLayout = true;
};

struct KeyCase {
    const wchar_t* text;
    u32 caret, selStart, selEnd;
    Flags flags;
    u32 key, mods;
    const char* clipboard;
    // Expected:
    const wchar_t* textAfter;
    u32 caretAfter, selStartAfter, selEndAfter;
    const char* clipboardAfter;
    const char* events;
};

const char* const kAll = "TextChanged PositionChanged KeyDown";
const char* const kMoved = "PositionChanged KeyDown";

const KeyCase kKeyCases[] = {
    // Typing: filter, case, limits.
    {L"", 0, 0, 0, {}, KEY_A, 0, "", L"a", 1, 1, 1, "", kAll},
    {L"ab", 1, 1, 1, {}, KEY_A, SHIFT, "", L"aAb", 2, 2, 2, "", kAll},
    {L"", 0, 0, 0, {.charCase = "upper"}, KEY_A, 0, "", L"A", 1, 1, 1, "", kAll},
    {L"", 0, 0, 0, {.charCase = "lower"}, KEY_A, SHIFT, "", L"a", 1, 1, 1, "", kAll},
    {L"", 0, 0, 0, {.charset = "0123456789"}, KEY_A, 0, "", L"", 0, 0, 0, "", "KeyDown"},
    {L"", 0, 0, 0, {.charset = "0123456789"}, KEY_1, 0, "", L"1", 1, 1, 1, "", kAll},
    {L"abcde", 5, 5, 5, {.maxLength = 5}, KEY_F, 0, "", L"abcde", 5, 5, 5, "", "KeyDown"},
    // Width 200: 18 glyphs + caret + new one fit exactly, 19 do not.
    {L"aaaaaaaaaaaaaaaaaa", 18, 18, 18, {}, KEY_F, 0, "", L"aaaaaaaaaaaaaaaaaaf", 19, 19, 19, "", kAll},
    {L"aaaaaaaaaaaaaaaaaaa", 19, 19, 19, {}, KEY_F, 0, "", L"aaaaaaaaaaaaaaaaaaa", 19, 19, 19, "", "KeyDown"},
    {L"ab", 2, 2, 2, {}, 0x1C, 0, "", L"ab", 2, 2, 2, "", "KeyDown"},
    // Typing over a selection.
    {L"abcd",
     3,
     1,
     3,
     {},
     KEY_F,
     0,
     "",
     L"afd",
     2,
     2,
     2,
     "",
     "PositionChanged TextChanged TextChanged PositionChanged KeyDown"},
    // Layout mapping: only away from the US layout; the case rule applies to the Cyrillic letter.
    {L"", 0, 0, 0, {.cyrillic = true, .usLayout = false}, KEY_Q, 0, "", L"\x0439", 1, 1, 1, "", kAll},
    {L"",
     0,
     0,
     0,
     {.charCase = "upper", .cyrillic = true, .usLayout = false},
     KEY_Q,
     0,
     "",
     L"\x0419",
     1,
     1,
     1,
     "",
     kAll},
    {L"", 0, 0, 0, {.cyrillic = true, .usLayout = true}, KEY_Q, 0, "", L"q", 1, 1, 1, "", kAll},
    {L"", 0, 0, 0, {.cyrillic = false, .usLayout = false}, KEY_Q, 0, "", L"q", 1, 1, 1, "", kAll},
    // Moves with Shift and Ctrl.
    {L"abc", 3, 3, 3, {}, Editbox::KEY_LEFT, SHIFT, "", L"abc", 2, 2, 3, "", kMoved},
    {L"abc", 2, 2, 3, {}, Editbox::KEY_LEFT, SHIFT, "", L"abc", 1, 1, 3, "", kMoved},
    {L"abc", 1, 1, 3, {}, Editbox::KEY_RIGHT, SHIFT, "", L"abc", 2, 2, 3, "", kMoved},
    {L"abc", 1, 1, 3, {}, Editbox::KEY_RIGHT, 0, "", L"abc", 2, 2, 2, "", kMoved},
    {L"abc", 0, 0, 0, {}, Editbox::KEY_LEFT, 0, "", L"abc", 0, 0, 0, "", "KeyDown"},
    {L"abc", 3, 3, 3, {}, Editbox::KEY_RIGHT, 0, "", L"abc", 3, 3, 3, "", "KeyDown"},
    {L"one two", 7, 7, 7, {}, Editbox::KEY_LEFT, CTRL, "", L"one two", 4, 4, 4, "", kMoved},
    {L"one two", 4, 4, 4, {}, Editbox::KEY_LEFT, CTRL, "", L"one two", 4, 4, 4, "", "KeyDown"},
    {L"one two", 0, 0, 0, {}, Editbox::KEY_RIGHT, CTRL, "", L"one two", 4, 4, 4, "", kMoved},
    {L"one two", 4, 4, 4, {}, Editbox::KEY_RIGHT, CTRL, "", L"one two", 7, 7, 7, "", kMoved},
    {L"one two", 5, 5, 5, {}, Editbox::KEY_HOME, SHIFT, "", L"one two", 0, 0, 5, "", kMoved},
    {L"one two", 0, 0, 5, {}, Editbox::KEY_END, SHIFT, "", L"one two", 7, 5, 7, "", kMoved},
    // Deleting.
    {L"abc",
     2,
     2,
     2,
     {},
     Editbox::KEY_BACK,
     0,
     "",
     L"ac",
     1,
     1,
     1,
     "",
     "PositionChanged TextChanged KeyDown"},
    {L"abc", 0, 0, 0, {}, Editbox::KEY_BACK, 0, "", L"abc", 0, 0, 0, "", "KeyDown"},
    {L"abcd",
     3,
     1,
     3,
     {},
     Editbox::KEY_BACK,
     0,
     "",
     L"ad",
     1,
     1,
     1,
     "",
     "PositionChanged TextChanged KeyDown"},
    {L"one two",
     7,
     7,
     7,
     {},
     Editbox::KEY_BACK,
     CTRL,
     "",
     L"one ",
     4,
     4,
     4,
     "",
     "PositionChanged TextChanged KeyDown"},
    {L"one two", 0, 0, 0, {}, Editbox::KEY_DELETE, CTRL, "", L"two", 0, 0, 0, "", "TextChanged KeyDown"},
    {L"abc", 1, 1, 1, {}, Editbox::KEY_DELETE, 0, "", L"ac", 1, 1, 1, "", "TextChanged KeyDown"},
    {L"abc", 3, 3, 3, {}, Editbox::KEY_DELETE, 0, "", L"abc", 3, 3, 3, "", "KeyDown"},
    // Clipboard keys, with copy and paste allowed and without.
    {L"abc", 1, 1, 1, {.copyPaste = true}, Editbox::KEY_A, CTRL, "", L"abc", 3, 0, 3, "", kMoved},
    {L"abc", 1, 1, 1, {}, Editbox::KEY_A, CTRL, "", L"aabc", 2, 2, 2, "", kAll},
    {L"abcd", 3, 1, 3, {.copyPaste = true}, Editbox::KEY_C, CTRL, "old", L"abcd", 3, 1, 3, "bc", "KeyDown"},
    {L"abcd", 2, 2, 2, {.copyPaste = true}, Editbox::KEY_C, CTRL, "old", L"abcd", 2, 2, 2, "", "KeyDown"},
    {L"abcd",
     3,
     1,
     3,
     {.copyPaste = true},
     Editbox::KEY_X,
     CTRL,
     "",
     L"ad",
     1,
     1,
     1,
     "bc",
     "PositionChanged TextChanged KeyDown"},
    // Nothing selected: Ctrl+X puts an empty text and deletes the word after the caret.
    {L"one two",
     0,
     0,
     0,
     {.copyPaste = true},
     Editbox::KEY_X,
     CTRL,
     "old",
     L"two",
     0,
     0,
     0,
     "",
     "TextChanged KeyDown"},
    {L"ab",
     1,
     1,
     1,
     {.copyPaste = true},
     Editbox::KEY_V,
     CTRL,
     "xyz",
     L"axyzb",
     4,
     4,
     4,
     "xyz",
     "TextChanged PositionChanged TextChanged PositionChanged TextChanged PositionChanged KeyDown"},
    {L"ab",
     1,
     1,
     1,
     {.copyPaste = true, .maxLength = 4},
     Editbox::KEY_V,
     CTRL,
     "xyz",
     L"axyb",
     3,
     3,
     3,
     "xyz",
     "TextChanged PositionChanged TextChanged PositionChanged KeyDown"},
    // Units above U+00FF pass any character set.
    {L"",
     0,
     0,
     0,
     {.copyPaste = true, .charset = "0"},
     Editbox::KEY_V,
     CTRL,
     "a\xD0\x99",
     L"\x0419",
     1,
     1,
     1,
     "a\xD0\x99",
     kAll},
    {L"ab", 1, 1, 1, {}, Editbox::KEY_V, CTRL, "xyz", L"avb", 2, 2, 2, "xyz", kAll},
};

class EditboxTest : public testing::Test {
protected:
    void SetUp() override {
        box.SetFont(font.get());
        box.SetArea(0, 0, 200, 16);
    }
    void TearDown() override { platform::setKeymapLookup(nullptr); }

    void press(u32 key, u32 mods) {
        KeybEventArgs e(&box);
        e.key = key;
        e.modifiers = mods;
        e.character = Server::KeyToChar(key, mods);
        box.OnKeyDown(e);
    }

    TempDir dir;
    std::unique_ptr<aFont> font = makeFont(dir);
    FakeClipboard clipboard;
    Editbox box{"box"};
};

TEST_F(EditboxTest, KeyTable) {
    for (const KeyCase& c : kKeyCases) {
        Editbox box("box");
        box.SetFont(font.get());
        box.SetArea(0, 0, 200, 16);
        box.SetAllowCopyPaste(c.flags.copyPaste);
        box.SetMaxLength(c.flags.maxLength);
        box.SetAllowCyrillic(c.flags.cyrillic);
        if (c.flags.charCase)
            box.Set("CharCase", c.flags.charCase);
        if (c.flags.charset)
            box.Set("Charset", c.flags.charset);
        box.MakeFromScript();
        platform::setKeymapLookup(c.flags.usLayout ? nullptr : nonUsKeymap);
        box.SetText(c.text);
        box.SetCursorPos(c.caret);
        box.SetSelection(c.selStart, c.selEnd);
        clipboard.text = c.clipboard;
        RecordedEvents events;
        for (const char* name : {"TextChanged", "PositionChanged", "KeyDown"})
            events.listen(box, name);

        KeybEventArgs e(&box);
        e.key = c.key;
        e.modifiers = c.mods;
        e.character = Server::KeyToChar(c.key, c.mods);
        box.OnKeyDown(e);

        const std::string label = "key " + std::to_string(c.key) + " mods " + std::to_string(c.mods) +
                                  " on \"" + platform::unitsToUtf8(c.text) + "\"";
        EXPECT_EQ(box.GetText(), c.textAfter) << label;
        EXPECT_EQ(box.GetCursorPos(), c.caretAfter) << label;
        EXPECT_EQ(box.GetSelectionStart(), c.selStartAfter) << label;
        EXPECT_EQ(box.GetSelectionEnd(), c.selEndAfter) << label;
        EXPECT_EQ(clipboard.text, c.clipboardAfter) << label;
        EXPECT_EQ(joined(events), c.events) << label;
    }
}

TEST_F(EditboxTest, TheMappedByteIsWrittenBackIntoTheEvent) {
    box.SetAllowCyrillic(true);
    platform::setKeymapLookup(nonUsKeymap);
    KeybEventArgs e(&box);
    e.key = KEY_Q;
    e.character = 'q';
    box.OnKeyDown(e);
    EXPECT_EQ(e.character, 0xE9);
    EXPECT_EQ(MapKeyToCyrillic('~'), 0xA8);
    EXPECT_EQ(MapKeyToCyrillic('?'), 0x2C);
    EXPECT_EQ(MapKeyToCyrillic('1'), '1');
}

TEST_F(EditboxTest, TheTextScrollsToKeepTheCaretInView) {
    box.SetArea(0, 0, 50, 16);
    box.SetMaxLength(100);
    for (int i = 0; i < 6; ++i)
        press(KEY_F, 0);
    // Six glyphs and the caret in 50 pixels.
    EXPECT_EQ(box.GetScrollOffset(), -20);
    press(Editbox::KEY_HOME, 0);
    EXPECT_EQ(box.GetScrollOffset(), 0);
}

TEST_F(EditboxTest, FocusSelectsAllWithCopyAndPasteAndTheNextCharacterReplacesIt) {
    box.SetText(L"old text");
    box.SetAllowCopyPaste(true);
    WidgetEventArgs e(&box);
    box.OnFocusGain(e);
    EXPECT_EQ(box.GetSelectionStart(), 0u);
    EXPECT_EQ(box.GetSelectionEnd(), 8u);
    EXPECT_EQ(box.GetCursorPos(), 8u);
    press(KEY_F, 0);
    EXPECT_EQ(box.GetText(), L"f");

    // Without copy and paste the caret goes to the end and nothing stays selected.
    Editbox plain("plain");
    plain.SetText(L"abc");
    plain.SetSelection(0, 1);
    plain.OnFocusGain(e);
    EXPECT_EQ(plain.GetCursorPos(), 3u);
    EXPECT_EQ(plain.GetSelectionStart(), plain.GetSelectionEnd());
}

TEST_F(EditboxTest, TextSetFromOutsideKeepsTheCaretInside) {
    box.SetText(L"abcdef");
    box.SetCursorPos(6);
    box.SetSelection(2, 6);
    box.SetText(L"ab");
    EXPECT_EQ(box.GetCursorPos(), 2u);
    EXPECT_EQ(box.GetSelectionStart(), 2u);
    EXPECT_EQ(box.GetSelectionEnd(), 2u);
    press(Editbox::KEY_BACK, 0);
    EXPECT_EQ(box.GetText(), L"a");
}

TEST_F(EditboxTest, TheCaretBlinksOnlyWhileFocused) {
    box.Update(0.1f);
    EXPECT_FALSE(box.IsCursorVisible());
    WidgetEventArgs e(&box);
    box.OnFocusGain(e);
    const std::pair<f32, bool> steps[] = {{0.5f, true}, {0.3f, false}, {0.5f, false}, {0.2f, true}};
    for (const auto& [dt, visible] : steps) {
        box.Update(dt);
        EXPECT_EQ(box.IsCursorVisible(), visible);
    }
    // Zero times from a script keep the caret shown.
    box.Set("CursorOnTime", "0");
    box.Set("CursorOffTime", "0");
    box.MakeFromScript();
    box.Update(0.1f);
    EXPECT_TRUE(box.IsCursorVisible());
}

TEST_F(EditboxTest, ScriptProperties) {
    box.Set("MaxLength", "12");
    box.Set("CharCase", "UPPER");
    box.Set("AllowCopyPaste", "1");
    box.Set("AllowCyrillic", "1");
    box.Set("Charset", "AB");
    box.MakeFromScript();
    EXPECT_EQ(box.GetMaxLength(), 12u);
    EXPECT_EQ(box.GetCharCase(), Editbox::CASE_UPPER);
    EXPECT_TRUE(box.GetAllowCopyPaste());
    EXPECT_TRUE(box.GetAllowCyrillic());
    // The case rule comes before the set.
    EXPECT_EQ(box.FilterChar('a'), 'A');
    EXPECT_EQ(box.FilterChar('c'), 0);
    EXPECT_EQ(box.FilterChar(0x430), 0x410);
    box.Set("CharCase", "mixed");
    box.MakeFromScript();
    EXPECT_EQ(box.GetCharCase(), Editbox::CASE_UNCHANGED);
    EXPECT_TRUE(box.IsA("Editbox"));
    EXPECT_FALSE(box.IsA("editbox"));
}

} // namespace
