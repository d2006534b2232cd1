#include "tk2v/util/str.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Utf8Case {
    const char* bytes;
    std::wstring expected;
};

TEST(StrTest, Utf8DecodesUpToTheFirstBadSequence) {
    const Utf8Case cases[] = {
        {"plain", L"plain"},
        {"caf\xC3\xA9", L"caf\u00E9"},
        {"\xD0\x9F\xD1\x80\xD0\xB8", L"\u041F\u0440\u0438"},
        {"\xE2\x82\xAC 5", L"\u20AC 5"},
        {"\xEF\xBF\xBF", std::wstring(1, wchar_t(0xFFFF))},
        {"\xEF\xBB\xBFx", L"\uFEFFx"},
        {"ab\xC3", L"ab"},
        {"ab\xE2\x82", L"ab"},
        {"ab\xC3(cd", L"ab"},
        {"ab\xE2\x82(cd", L"ab"},
        // A lone continuation byte is read as a lead: 0x80 wants one more, 0xA0 two more.
        {"a\x80\x81z", std::wstring(L"a") + wchar_t(0x01) + L"z"},
        {"a\xA0\x81\x82z", std::wstring(L"a") + wchar_t(0x42) + L"z"},
        // A four-byte lead counts as a three-byte one; the fourth byte then ends the text.
        {"\xF0\x9F\x98\x80", std::wstring(1, wchar_t(0x7D8))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(str_utf8ToWString(c.bytes), c.expected) << c.bytes;
}

TEST(StrTest, Utf8ReadsNothingPastTheGivenLength) {
    const std::string text = "x\xE2\x82\xAC";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        // An exact-size heap copy lets the address sanitizer catch any read past the end.
        auto exact = std::make_unique<char[]>(cut);
        text.copy(exact.get(), cut);
        const std::wstring expected = cut == 0 ? L"" : cut < 4 ? L"x" : L"x\u20AC";
        EXPECT_EQ(str_utf8ToWStringN(exact.get(), cut), expected) << cut;
    }
    EXPECT_EQ(str_utf8ToWStringN(nullptr, 0), L"");
}

TEST(StrTest, Utf8KeepsZeroBytes) {
    EXPECT_EQ(str_utf8ToWString(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(StrTest, Cp1251WidensThroughTheCodePage) {
    const std::pair<unsigned char, wchar_t> cases[] = {
        {0x41, L'A'},   {0x7F, 0x7F},   {0x80, 0x0402}, {0x88, 0x20AC}, {0x98, 0xFFFD},
        {0x99, 0x2122}, {0xA0, 0x00A0}, {0xA5, 0x0490}, {0xA8, 0x0401}, {0xB9, 0x2116},
        {0xC0, 0x0410}, {0xDF, 0x042F}, {0xE0, 0x0430}, {0xFF, 0x044F},
    };
    for (const auto& [byte, wide] : cases)
        EXPECT_EQ(str_toWString(std::string(1, char(byte))), std::wstring(1, wide)) << int(byte);
}

TEST(StrTest, Cp1251RoundTripsEveryDefinedByte) {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        if (b != 0x98)
            bytes += char(b);
    ASSERT_EQ(bytes.size(), 127u);
    const std::wstring wide = str_toWString(bytes);
    for (const wchar_t c : wide)
        EXPECT_LT(0x7F, c);
    EXPECT_EQ(str_toString(wide), bytes);
}

TEST(StrTest, Cp1251NarrowsUnknownCharactersToQuestionMark) {
    EXPECT_EQ(str_toString(L"a\u00E9b\u4E2D"), "a?b?");
    EXPECT_EQ(str_toString(std::wstring(1, wchar_t(0x10400))), "?");
    EXPECT_EQ(str_toString(std::wstring(1, wchar_t(-1))), "?");
}

TEST(StrTest, Cp1251ConvertsStringsOfAnyLength) {
    const std::string bytes(70000, '\xC0');
    const std::wstring wide = str_toWString(bytes);
    ASSERT_EQ(wide, std::wstring(70000, wchar_t(0x0410)));
    EXPECT_EQ(str_toString(wide), bytes);
}

} // namespace
