#include "tk2v/platform/Clipboard.h"
#include "support/FakeClipboard.h"
#include "tk2v/platform/KeyboardLayout.h"
#include "tk2v/platform/Window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace platform;

namespace {

TEST(Clipboard, Utf8ToUnits) {
    struct Case {
        std::string utf8;
        std::wstring units;
    };
    const std::vector<Case> cases = {
        {"abc", L"abc"},
        {"\xD0\x99\xD0\xB0", L"\x0419\x0430"},
        {"\xE2\x82\xAC", L"\x20AC"},
        // Above U+FFFF: a surrogate pair.
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},
        {std::string("a\0b", 3), L"a"},
        // Each malformed sequence is one U+FFFD and does not swallow what follows.
        {"a\x80z", L"a\xFFFDz"},
        {"\xC3z", L"\xFFFDz"},
        {"\xE2\x82z", L"\xFFFDz"},
        {"\xE2\x82", L"\xFFFD"},
        {"\xC0\xAF", L"\xFFFD\xFFFD"},                     // overlong
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"}, // above U+10FFFF
        {"\xFF", L"\xFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8ToUnits(c.utf8), c.units) << c.utf8;
}

TEST(Clipboard, UnitsToUtf8) {
    struct Case {
        std::wstring units;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {L"abc", "abc"},
        {L"\x0419", "\xD0\x99"},
        {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {L"x\xD83Dy", "x\xEF\xBF\xBDy"},               // lone high surrogate
        {L"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"}, // reversed pair
        {L"\xD83D", "\xEF\xBF\xBD"},
        {std::wstring(L"a\0b", 3), "a"},
        {std::wstring(1, wchar_t(0x1F600)), "\xEF\xBF\xBD"}, // not a 16-bit unit
    };
    for (const Case& c : cases)
        EXPECT_EQ(unitsToUtf8(c.units), c.utf8);
}

TEST(Clipboard, TheStoreSeesUtf8AndAFailureReadsEmpty) {
    FakeClipboard store;
    EXPECT_TRUE(setClipboardText(L"\x0419 \xD83D\xDE00"));
    EXPECT_EQ(store.text, "\xD0\x99 \xF0\x9F\x98\x80");
    EXPECT_EQ(getClipboardText(), L"\x0419 \xD83D\xDE00");
    store.works = false;
    EXPECT_EQ(getClipboardText(), L"");
    EXPECT_FALSE(setClipboardText(L"x"));
}

TEST(Clipboard, RoundTripThroughTheSystem) {
    EXPECT_FALSE(setClipboardText(L"x")); // no video subsystem
    EXPECT_EQ(getClipboardText(), L"");
    auto window = Window::create({"clipboard", {0, 0, 64, 64}, false, false});
    ASSERT_TRUE(window);
    EXPECT_TRUE(setClipboardText(L"one\ntwo \x0439"));
    EXPECT_EQ(getClipboardText(), L"one\ntwo \x0439");
}

char32_t usKeymap(u8 scanCode) {
    static const std::pair<u8, const char*> runs[] = {
        {0x02, "1234567890-="}, {0x10, "qwertyuiop[]"}, {0x1E, "asdfghjkl;'`"}, {0x2B, "\\zxcvbnm,./"}};
    for (const auto& [first, chars] : runs)
        if (scanCode >= first && scanCode < first + std::strlen(chars))
            return char32_t(chars[scanCode - first]);
    return 0;
}
// A Cyrillic letter where US English has a Latin one.
char32_t russianKeymap(u8 scanCode) {
    return scanCode == 0x10 ? U'\u0439' : usKeymap(scanCode);
}
char32_t germanKeymap(u8 scanCode) {
    return scanCode == 0x15 ? U'z' : usKeymap(scanCode);
}

TEST(KeyboardLayout, ComparesTheKeymapWithUsEnglish) {
    setKeymapLookup(usKeymap);
    EXPECT_TRUE(isUsKeyboardLayout());
    setKeymapLookup(russianKeymap);
    EXPECT_FALSE(isUsKeyboardLayout());
    setKeymapLookup(germanKeymap);
    EXPECT_FALSE(isUsKeyboardLayout());
    setKeymapLookup(nullptr);
}

TEST(KeyboardLayout, TheSystemKeymapOfTheHeadlessDriverIsUsEnglish) {
    EXPECT_TRUE(isUsKeyboardLayout()); // no video subsystem
    auto window = Window::create({"layout", {0, 0, 64, 64}, false, false});
    ASSERT_TRUE(window);
    EXPECT_TRUE(isUsKeyboardLayout());
}

} // namespace
