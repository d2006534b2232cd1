#include "tk2v/gui/PropertySet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace GUI;

TEST(PropertyParsers, IntegersReadLikePercentI) {
    struct Case {
        const char* text;
        i32 expected;
    } cases[] = {
        {"42", 42},
        {"  -7", -7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"010", 8},
        {"08", 0},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"+5", 5},
        {"0x", 0},
        {"9999999999", 2147483647},
        {"-9999999999", -2147483647 - 1},
        {"0xFFFFFFFFF", 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseInt(c.text), c.expected) << c.text;
}

TEST(PropertyParsers, BoolIsANonZeroInteger) {
    EXPECT_TRUE(ParseBool("1"));
    EXPECT_TRUE(ParseBool("2"));
    EXPECT_TRUE(ParseBool("-1"));
    EXPECT_FALSE(ParseBool("0"));
    EXPECT_FALSE(ParseBool("true"));
    EXPECT_FALSE(ParseBool(""));
}

TEST(PropertyParsers, FloatsAndPoints) {
    EXPECT_FLOAT_EQ(ParseFloat("0.25"), 0.25f);
    EXPECT_FLOAT_EQ(ParseFloat(" -3"), -3.0f);
    EXPECT_EQ(ParseFloat("x"), 0.0f);
    EXPECT_EQ(ParseFloat("nan"), 0.0f);
    f32 x = 9, y = 9;
    ParsePoint("1.5 2", x, y);
    EXPECT_FLOAT_EQ(x, 1.5f);
    EXPECT_FLOAT_EQ(y, 2.0f);
    x = y = 9;
    ParsePoint("4", x, y);
    EXPECT_FLOAT_EQ(x, 4.0f);
    EXPECT_FLOAT_EQ(y, 9.0f) << "a field that does not match keeps its value";
}

TEST(PropertyParsers, RectanglesZeroWhatIsMissingAndClampSizes) {
    struct Case {
        const char* text;
        aRect expected;
    } cases[] = {
        {"10 20 30 40", {10, 20, 30, 40}},
        {"5 7", {5, 7, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"-5 -6 -1 -2", {-5, -6, 0, 0}},
        {"0x10 010 7 8", {16, 8, 7, 8}},
        {"99999 -99999 70000 5", {32767, -32768, 32767, 5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRect(c.text), c.expected) << c.text;
}

TEST(PropertyParsers, ColoursAreHexWithOrWithoutPrefix) {
    EXPECT_EQ(ParseColor("ff00ff00"), 0xFF00FF00u);
    EXPECT_EQ(ParseColor("0x80FFFFFF"), 0x80FFFFFFu);
    EXPECT_EQ(ParseColor("zz"), 0u);
    EXPECT_EQ(ParseColor("123456789"), 0xFFFFFFFFu);
    u32 four[4] = {1, 2, 3, 4};
    ParseColor4("ff 0x10 a", four);
    EXPECT_EQ(four[0], 0xFFu);
    EXPECT_EQ(four[1], 0x10u);
    EXPECT_EQ(four[2], 0xAu);
    EXPECT_EQ(four[3], 0u);
}

TEST(PropertyParsers, AlignmentKeywordsIgnoreCase) {
    EXPECT_EQ(ParseHorizontalAlign("LEFT"), 0);
    EXPECT_EQ(ParseHorizontalAlign("Center"), 1);
    EXPECT_EQ(ParseHorizontalAlign("right"), 2);
    EXPECT_EQ(ParseHorizontalAlign("top"), 0);
    EXPECT_EQ(ParseVerticalAlign("top"), 0);
    EXPECT_EQ(ParseVerticalAlign("CENTER"), 1);
    EXPECT_EQ(ParseVerticalAlign("Bottom"), 2);
    EXPECT_EQ(ParseVerticalAlign("right"), 0);
}

TEST(PropertyParsers, Hotkeys) {
    struct Case {
        const char* text;
        u32 key, modifiers;
    } cases[] = {
        {"ctrl|a", 0x1E, 2},  {"a", 0x1E, 0},   {"ctrl|shift|f5", 0x3F, 3}, {"CTRL|ALT|Delete", 0xD3, 6},
        {"sh|s", 0x1F, 1},    {"c a", 0x1E, 2}, {" \talt\tenter", 0x1C, 4}, {"ctrl|shift|", 0, 3},
        {"f13", 0, 0},        {",", 0, 0},      {"ctrl|,", 0, 2},           {"shiftx|a", 0x1E, 0},
        {"win|esc", 0x01, 0}, {"\\", 0x2B, 0},  {"num+", 0x4E, 0},          {"", 0, 0},
    };
    for (const Case& c : cases) {
        u32 key = 99, modifiers = 99;
        ParseHotkey(c.text, key, modifiers);
        EXPECT_EQ(key, c.key) << c.text;
        EXPECT_EQ(modifiers, c.modifiers) << c.text;
    }
}

TEST(PropertyParsers, ColourChannelToByte) {
    struct Case {
        f32 channel;
        u8 expected;
    } cases[] = {{0.0f, 0}, {-1.0f, 0}, {1.0f, 255}, {7.0f, 255}, {0.5f, 128}, {0.25f, 64}, {NAN, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ColorByte(c.channel), c.expected) << c.channel;
}
