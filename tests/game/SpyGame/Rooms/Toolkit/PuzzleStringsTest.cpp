#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "support/LogCapture.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <string>
#include <vector>

namespace {

using Words = std::list<std::string>;

TEST(PuzzleStrings, WordsSplitAtCommasAndBlanksOnly) {
    struct Case {
        std::string text;
        Words words;
    } cases[] = {
        {",a  b,c,", {"a", "b", "c"}},
        {"", {}},
        {" ,, ", {}},
        {"one\ttwo", {"one\ttwo"}},
        {std::string(3000, 'x') + " y", {std::string(3000, 'x'), "y"}},
    };
    for (const Case& c : cases) {
        Words out{"kept"};
        SplitWords(c.text, out);
        Words expected{"kept"};
        expected.insert(expected.end(), c.words.begin(), c.words.end());
        EXPECT_EQ(out, expected) << c.text;
    }
    std::list<std::wstring> wide;
    SplitWordsW(L",a  b,\u0416,", wide);
    EXPECT_EQ(wide, (std::list<std::wstring>{L"a", L"b", L"\u0416"}));
}

TEST(PuzzleStrings, AnAnswerUsesOnlyAcceptedWordsAndEveryOneOfThem) {
    struct Case {
        Words texts;
        Words words;
        bool matches;
        u16 count;
        u8 first;
    } cases[] = {
        {{"smith JOHN"}, {"John", "Smith"}, true, 2, 1},
        {{"John"}, {"John", "Smith"}, false, 1, 1},
        {{"Smith"}, {"John", "Smith"}, false, 1, 7},
        {{"John Doe"}, {"John", "Smith"}, false, 1, 1},
        {{"Doe John"}, {"John", "Smith"}, false, 99, 7},
        {{"smith", "john,smith"}, {"John", "Smith"}, true, 2, 1},
        {{""}, {"John"}, false, 99, 7},
        {{"anything at all"}, {}, true, 99, 7},
        {{}, {}, true, 99, 7},
        // Only the first of two equal accepted words can ever be matched.
        {{"ab ab"}, {"ab", "AB"}, false, 1, 1},
        // Folding is for ASCII letters only.
        {{"\xC0"}, {"\xE0"}, false, 99, 7},
    };
    for (const Case& c : cases) {
        u16 count = 99;
        u8 first = 7;
        EXPECT_EQ(MatchAnswer(c.texts, c.words, &count, &first), c.matches) << c.texts.front();
        EXPECT_EQ(count, c.count) << c.texts.front();
        EXPECT_EQ(first, c.first) << c.texts.front();
        EXPECT_EQ(MatchAnswer(c.texts, c.words), c.matches);
    }
    u16 count = 0;
    EXPECT_TRUE(MatchAnswerW({L"smith JOHN"}, {L"John", L"Smith"}, &count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(MatchAnswerW({L"\u0436"}, {L"\u0416"}));
}

TEST(PuzzleStrings, ComparingAndUpperCasingTouchAsciiBitsOnly) {
    EXPECT_TRUE(StrEqual("Door", "dOOR"));
    EXPECT_FALSE(StrEqual("Door", "Doors"));
    EXPECT_FALSE(StrEqual("[", "{"));
    EXPECT_TRUE(StrEqualW(L"Door", L"DOOR"));
    EXPECT_FALSE(StrEqualW(L"\u0436", L"\u0416"));

    std::string text = "ab c{1}";
    StrToUpper(text);
    // The braces and the digit lose the same bit as the letters; the blank keeps it.
    EXPECT_EQ(text, "AB C[\x11]");
}

TEST(PuzzleStrings, NumbersFormatAsLgAndTrailingNumbersComeOff) {
    const std::pair<double, const char*> numbers[] = {
        {1, "1"}, {12, "12"}, {1.5, "1.5"}, {1234567, "1.23457e+06"}, {-0.25, "-0.25"}, {0, "0"}};
    for (const auto& [value, text] : numbers)
        EXPECT_EQ(DoubleToString(value), text);

    struct Case {
        std::string text;
        int number;
        std::string left;
    } cases[] = {{"Door12", 12, "Door"},
                 {"7", 0, "7"},
                 {"12", 2, "1"},
                 {"Door", 0, "Door"},
                 {"", 0, ""},
                 {"a007", 7, "a"},
                 {"x99999999999999999999", 2147483647, "x"}};
    for (Case c : cases) {
        std::string text = c.text;
        EXPECT_EQ(CutTrailingNumber(text), c.number) << c.text;
        EXPECT_EQ(text, c.left) << c.text;
    }
}

std::vector<u16> Sequence(u32 count, u32 range, const std::list<u16>& excluded = {}) {
    platform::srand(1);
    std::vector<u16> out{9, 9};
    MakeRandomSequence(count, range, out, excluded);
    return out;
}

TEST(PuzzleStrings, RandomSequencesUseEveryAllowedValueOncePerPass) {
    // Seed 1 gives 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464, ...
    EXPECT_EQ(Sequence(6, 3), (std::vector<u16>{2, 1, 0, 0, 1, 2}));
    EXPECT_EQ(Sequence(4, 4, {1}), (std::vector<u16>{3, 2, 0, 0}));
    EXPECT_EQ(Sequence(3, 3, {1, 1, 0xFFFF}), (std::vector<u16>{2, 0, 0}));
    // The stream moves on by one draw past the last value.
    platform::srand(1);
    std::vector<u16> out;
    MakeRandomSequence(1, 2, out);
    EXPECT_EQ(platform::rand(), 6334);

    for (u32 range : {1u, 5u, 17u}) {
        const std::vector<u16> seq = Sequence(range * 3, range);
        for (u32 pass = 0; pass < 3; ++pass) {
            std::vector<u16> part(seq.begin() + pass * range, seq.begin() + (pass + 1) * range);
            std::sort(part.begin(), part.end());
            for (u32 v = 0; v < range; ++v)
                EXPECT_EQ(part[v], v) << range << " pass " << pass;
        }
    }
}

TEST(PuzzleStrings, ARandomSequenceWithNothingToDrawIsEmptyAndLogged) {
    LogCapture capture;
    EXPECT_TRUE(Sequence(3, 0).empty());
    EXPECT_TRUE(Sequence(3, 2, {0, 1}).empty());
    EXPECT_TRUE(Sequence(3, 40000).empty());
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{
                                      "MakeRandomSequence(). No value below 0 is allowed",
                                      "MakeRandomSequence(). No value below 2 is allowed",
                                      "MakeRandomSequence(). Range 40000 is beyond the random generator",
                                  }));
    EXPECT_TRUE(Sequence(0, 3).empty());
}

} // namespace
