#include "tk2v/gui/StaticTextLayout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace GUI;

// Letters 10 wide, a space 5, "w" 14 with 2 more before it when it is not first on its line, CR and
// LF without glyphs.
std::vector<CharAdvance> advancesOf(std::wstring_view text) {
    std::vector<CharAdvance> out;
    for (wchar_t c : text) {
        if (c == 13 || c == 10)
            out.push_back({0, 0});
        else if (c == L' ')
            out.push_back({5, 0});
        else if (c == L'w')
            out.push_back({14, 2});
        else
            out.push_back({10, 0});
    }
    return out;
}

// "word@x word@x|word@x": lines split by "|".
std::string describe(const StaticTextLayout& layout) {
    std::ostringstream out;
    for (size_t l = 0; l < layout.lines().size(); ++l) {
        if (l > 0)
            out << "|";
        const StaticTextLayout::Line& line = layout.lines()[l];
        for (u32 w = 0; w < line.wordCount; ++w) {
            const StaticTextLayout::Word& word = layout.words()[line.firstWord + w];
            const std::wstring_view text = layout.text(word);
            out << (w > 0 ? " " : "") << std::string(text.begin(), text.end()) << "@" << word.x;
        }
    }
    return out.str();
}

TEST(StaticTextLayoutTest, BreaksAlignsAndJustifiesLines) {
    struct Case {
        const wchar_t* text;
        f32 width;
        TextFormatting horz;
        bool wrap;
        const char* lines;
        f32 textWidth, height; // line height 16, line spacing 4
    };
    const Case cases[] = {
        {L"", 100, TF_LEFT, true, "", 0, 0},
        {L"ab cd", 100, TF_LEFT, true, "ab@0 cd@25", 45, 16},
        {L"ab cd", 30, TF_LEFT, true, "ab@0|cd@0", 20, 36},
        {L"ab cd", 30, TF_LEFT, false, "ab@0 cd@25", 45, 16},
        // Spaces at the wrap point start no line (those that fitted still count in the width);
        // spaces at a paragraph's start indent it.
        {L"ab   cd", 30, TF_LEFT, true, "ab@0|cd@0", 30, 36},
        {L"  ab cd", 100, TF_LEFT, true, "ab@10 cd@35", 55, 16},
        {L"ab\n  cd", 100, TF_LEFT, true, "ab@0|cd@10", 30, 36},
        // A word wider than the widget overflows on its own line.
        {L"abcdefgh ij", 50, TF_LEFT, true, "abcdefgh@0|ij@0", 80, 36},
        {L"ab abcdefgh", 50, TF_LEFT, true, "ab@0|abcdefgh@0", 80, 36},
        // CR, LF and CR LF each end a line; an empty line still takes its height.
        {L"a\r\nb", 100, TF_LEFT, true, "a@0|b@0", 10, 36},
        {L"a\nb", 100, TF_LEFT, true, "a@0|b@0", 10, 36},
        {L"a\rb", 100, TF_LEFT, true, "a@0|b@0", 10, 36},
        {L"a\r\n\r\nb", 100, TF_LEFT, true, "a@0||b@0", 10, 56},
        {L"a\n", 100, TF_LEFT, true, "a@0", 10, 16},
        {L"ab", 100, TF_CENTER, true, "ab@40", 20, 16},
        {L"ab", 100, TF_RIGHT, true, "ab@80", 20, 16},
        {L"abcdefghijkl", 100, TF_CENTER, true, "abcdefghijkl@-10", 120, 16},
        // Width formatting stretches all lines of a paragraph but its last, wraps without WordWrap,
        // and leaves a line without a gap alone.
        {L"ab cd ef gh", 60, TF_WIDTH, false, "ab@0 cd@40|ef@0 gh@25", 45, 36},
        {L"ab cd\nef", 100, TF_WIDTH, false, "ab@0 cd@25|ef@0", 45, 36},
        {L"abcdefgh ij", 50, TF_WIDTH, false, "abcdefgh@0|ij@0", 80, 36},
        {L"ab cd ef", 60, TF_WIDTH, false, "ab@0 cd@40|ef@0", 45, 36},
        // The space before a glyph counts inside a line, not at its start.
        {L"wa aw", 100, TF_LEFT, true, "wa@0 aw@29", 55, 16},
        {L"wa aw", 30, TF_LEFT, true, "wa@0|aw@0", 26, 36},
    };
    StaticTextLayout layout;
    for (const Case& c : cases) {
        const std::wstring text = c.text;
        const std::vector<CharAdvance> advances = advancesOf(text);
        layout.build(text, advances, c.width, c.horz, c.wrap);
        const std::string label(text.begin(), text.end());
        EXPECT_EQ(describe(layout), c.lines) << label << " in " << c.width;
        EXPECT_EQ(layout.width(), c.textWidth) << label;
        EXPECT_EQ(layout.height(16, 4), c.height) << label;
    }
}

TEST(StaticTextLayoutTest, ReusesItsRecordsAcrossBuilds) {
    StaticTextLayout layout;
    const std::wstring longText = L"one two three four five six seven eight nine ten";
    const std::vector<CharAdvance> longAdvances = advancesOf(longText);
    layout.build(longText, longAdvances, 60, TF_LEFT, true);
    const auto* words = layout.words().data();
    const auto* lines = layout.lines().data();
    const size_t lineCount = layout.lines().size();

    const std::wstring shortText = L"x y";
    const std::vector<CharAdvance> shortAdvances = advancesOf(shortText);
    layout.build(shortText, shortAdvances, 60, TF_LEFT, true);
    EXPECT_EQ(describe(layout), "x@0 y@15");
    layout.build(longText, longAdvances, 60, TF_LEFT, true);
    EXPECT_EQ(layout.words().data(), words);
    EXPECT_EQ(layout.lines().data(), lines);
    EXPECT_EQ(layout.lines().size(), lineCount);
}

} // namespace
