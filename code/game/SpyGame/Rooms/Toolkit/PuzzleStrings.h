#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <string>
#include <vector>

// Word lists of typed answers and ini values, answer tests, numbered names and shuffled orders.

// Appends every piece between the separators ',' and ' '; runs of separators give no empty pieces.
void SplitWords(const std::string& text, std::list<std::string>& out);
void SplitWordsW(const std::wstring& text, std::list<std::wstring>& out);

// Whether the typed texts consist of accepted words only (ASCII letters in any case, any order) and use
// every accepted word. On each match `count` gets the number of distinct words matched so far and
// `firstWord` is set to 1 when the match was the first accepted word; a failed piece leaves both.
bool MatchAnswer(const std::list<std::string>& texts, const std::list<std::string>& words,
                 u16* count = nullptr, u8* firstWord = nullptr);
bool MatchAnswerW(const std::list<std::wstring>& texts, const std::list<std::wstring>& words,
                  u16* count = nullptr, u8* firstWord = nullptr);
// The name some rooms know the test by.
inline bool StringListMatch(const std::list<std::string>& texts, const std::list<std::string>& words,
                            u16* count = nullptr, u8* firstWord = nullptr) {
    return MatchAnswer(texts, words, count, firstWord);
}
inline bool StringListMatch(const std::list<std::wstring>& texts, const std::list<std::wstring>& words,
                            u16* count = nullptr, u8* firstWord = nullptr) {
    return MatchAnswerW(texts, words, count, firstWord);
}

// Equal but for the case of ASCII letters.
bool StrEqual(std::string a, std::string b);
bool StrEqualW(std::wstring a, std::wstring b);
// Clears bit 0x20 of every character but the blank.
void StrToUpper(std::string& text);
// "%Lg": 1, 2, 12, 1.5, 1.23457e+06.
std::string DoubleToString(double value);
// Takes the decimal digits off the end, never the first character, and answers them as a number
// (0 without any).
int CutTrailingNumber(std::string& text);

// `count` values below `range`, none of them excluded, drawn with the engine's rand: each allowed
// value once per pass before any repeats. An empty range or one with nothing allowed gives nothing.
void MakeRandomSequence(u32 count, u32 range, std::vector<u16>& out, const std::list<u16>& excluded = {});
