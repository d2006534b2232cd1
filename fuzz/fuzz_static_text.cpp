#include "tk2v/gui/StaticTextLayout.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// Input: two bytes of widget width, one of formatting and wrap, then three bytes a character: its
// kind (a letter, space, CR or LF), its advance and the space before its glyph. The layout must
// account for every non-space character exactly once, in order, inside its line.

namespace {

using namespace GUI;

wchar_t charOf(uint8_t kind) {
    switch (kind % 8) {
    case 0:
        return L' ';
    case 1:
        return 13;
    case 2:
        return 10;
    default:
        return wchar_t(L'a' + kind % 26);
    }
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

void check(const StaticTextLayout& layout, const std::wstring& text) {
    u32 nextWord = 0, nextChar = 0;
    for (const StaticTextLayout::Line& line : layout.lines()) {
        require(line.firstWord == nextWord);
        nextWord += line.wordCount;
        require(nextWord <= layout.words().size());
        for (u32 w = line.firstWord; w < nextWord; ++w) {
            const StaticTextLayout::Word& word = layout.words()[w];
            require(word.length > 0 && word.start >= nextChar && word.start + word.length <= text.size());
            require(std::isfinite(word.x));
            // Everything skipped between words is a space or a line end.
            for (u32 i = nextChar; i < word.start; ++i)
                require(text[i] == L' ' || text[i] == 13 || text[i] == 10);
            for (u32 i = word.start; i < word.start + word.length; ++i)
                require(text[i] != L' ' && text[i] != 13 && text[i] != 10);
            nextChar = word.start + word.length;
        }
    }
    require(nextWord == layout.words().size());
    for (u32 i = nextChar; i < text.size(); ++i)
        require(text[i] == L' ' || text[i] == 13 || text[i] == 10);
    require(layout.lines().size() <= text.size() + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const f32 width = f32(data[0] | (data[1] << 8));
    const TextFormatting horz = TextFormatting(data[2] % 6);
    const bool wrap = data[2] & 0x80;
    std::wstring text;
    std::vector<CharAdvance> advances;
    for (size_t i = 3; i + 2 < size; i += 3) {
        text.push_back(charOf(data[i]));
        advances.push_back({f32(data[i + 1]) / 4, f32(int8_t(data[i + 2])) / 8});
    }
    StaticTextLayout layout;
    layout.build(text, advances, width, horz, wrap);
    check(layout, text);
    // A second build into the same records gives the same result.
    const size_t lines = layout.lines().size();
    layout.build(text, advances, width, horz, wrap);
    require(layout.lines().size() == lines);
    check(layout, text);
    return 0;
}
