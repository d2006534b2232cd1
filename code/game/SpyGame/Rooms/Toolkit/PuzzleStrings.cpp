#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"

#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

template <class Char> Char FoldAscii(Char c) {
    return c >= 'A' && c <= 'Z' ? Char(c + ('a' - 'A')) : c;
}

template <class A, class B> bool EqualFolded(const A& a, const B& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](auto x, auto y) { return FoldAscii(x) == FoldAscii(y); });
}

// Calls `piece` with each run between separators, as a view into the text; stops when it says so.
template <class String, class Piece> void ForEachPiece(const String& text, Piece piece) {
    using Char = typename String::value_type;
    const auto separator = [](Char c) { return c == Char(',') || c == Char(' '); };
    for (auto at = text.begin(); at != text.end();) {
        at = std::find_if_not(at, text.end(), separator);
        const auto end = std::find_if(at, text.end(), separator);
        if (at != end && !piece(std::basic_string_view<Char>(&*at, size_t(end - at))))
            return;
        at = end;
    }
}

template <class String> void Split(const String& text, std::list<String>& out) {
    ForEachPiece(text, [&out](auto piece) {
        out.emplace_back(piece);
        return true;
    });
}

template <class String>
bool Match(const std::list<String>& texts, const std::list<String>& words, u16* count, u8* firstWord) {
    // Nothing to match: every input passes, and no piece is looked at.
    if (words.empty())
        return true;
    std::vector<bool> matched(words.size());
    size_t distinct = 0;
    bool refused = false;
    for (const String& text : texts) {
        ForEachPiece(text, [&](auto piece) {
            size_t index = 0;
            auto word = words.begin();
            while (word != words.end() && !EqualFolded(*word, piece))
                ++word, ++index;
            if (word == words.end()) {
                refused = true;
                return false;
            }
            if (!matched[index]) {
                matched[index] = true;
                ++distinct;
            }
            if (count)
                *count = u16(distinct);
            if (firstWord && index == 0)
                *firstWord = 1;
            return true;
        });
        if (refused)
            break;
    }
    return !refused && distinct == words.size();
}

} // namespace

void SplitWords(const std::string& text, std::list<std::string>& out) {
    Split(text, out);
}

void SplitWordsW(const std::wstring& text, std::list<std::wstring>& out) {
    Split(text, out);
}

bool MatchAnswer(const std::list<std::string>& texts, const std::list<std::string>& words, u16* count,
                 u8* firstWord) {
    return Match(texts, words, count, firstWord);
}

bool MatchAnswerW(const std::list<std::wstring>& texts, const std::list<std::wstring>& words, u16* count,
                  u8* firstWord) {
    return Match(texts, words, count, firstWord);
}

bool StrEqual(std::string a, std::string b) {
    return EqualFolded(a, b);
}

bool StrEqualW(std::wstring a, std::wstring b) {
    return EqualFolded(a, b);
}

void StrToUpper(std::string& text) {
    for (char& c : text)
        if (c != ' ')
            c = char(c & ~0x20);
}

std::string DoubleToString(double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%Lg", static_cast<long double>(value));
    return text.data();
}

int CutTrailingNumber(std::string& text) {
    size_t start = text.size();
    while (start > 1 && text[start - 1] >= '0' && text[start - 1] <= '9')
        --start;
    if (start == text.size())
        return 0;
    // A run of digits too long for an int gives the largest one rather than an undefined value.
    const long value = std::strtol(text.c_str() + start, nullptr, 10);
    text.erase(start);
    return value > INT_MAX ? INT_MAX : int(value);
}

void MakeRandomSequence(u32 count, u32 range, std::vector<u16>& out, const std::list<u16>& excluded) {
    out.clear();
    // Values rand cannot reach would be waited for for ever.
    if (range > u32(platform::RAND_MAX_VALUE) + 1) {
        log("MakeRandomSequence(). Range %u is beyond the random generator", range);
        return;
    }
    std::vector<bool> barred(range, false);
    u32 allowed = range;
    for (u16 value : excluded)
        if (value < range && !barred[value]) {
            barred[value] = true;
            --allowed;
        }
    if (allowed == 0) {
        log("MakeRandomSequence(). No value below %u is allowed", range);
        return;
    }
    std::vector<u32> used(range, 0);
    u32 pass = 0;
    for (u32 i = 0; i < count; ++i) {
        if (i > 0 && i % allowed == 0)
            ++pass;
        u32 value = 0;
        do
            value = u32(platform::rand()) % range;
        while (barred[value] || used[value] > pass);
        out.push_back(u16(value));
        ++used[value];
    }
    // The classic loop draws once more after its last value; the stream stays where it left it.
    platform::rand();
}
