#pragma once
#include "tk2v/util/types.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace GUI {

// Alignment codes of a static text; horizontal takes center, left, right or width, vertical
// center, top or bottom.
enum TextFormatting : u32 {
    TF_CENTER = 0,
    TF_LEFT = 1,
    TF_RIGHT = 2,
    TF_TOP = 3,
    TF_BOTTOM = 4,
    TF_WIDTH = 5, // justified: every line of a paragraph but its last fills the width
};

// What the layout needs of one character, at the drawing scale: the advance it always has (glyph
// width, character spacing and the space after the glyph) and the space before the glyph, which
// the first character of a line does not get.
struct CharAdvance {
    f32 body = 0;
    f32 pre = 0;
};

// A text broken into lines of positioned words. Its records are reused by every build, so a label
// whose text changes every frame allocates only when it needs more words or lines than before.
class StaticTextLayout {
public:
    struct Word {
        u32 start = 0, length = 0; // in the laid-out text
        f32 x = 0;                 // from the left edge of the line area
    };
    struct Line {
        u32 firstWord = 0, wordCount = 0;
    };

    // `advances` holds one entry per character of `text`. Lines break at CR, LF and CR LF; they
    // wrap at spaces when `wordWrap` is set or the formatting is width; a word wider than `width`
    // overflows on its own line.
    void build(std::wstring_view text, std::span<const CharAdvance> advances, f32 width, TextFormatting horz,
               bool wordWrap);

    const std::vector<Line>& lines() const { return m_lines; }
    const std::vector<Word>& words() const { return m_words; }
    std::wstring_view text(const Word& word) const {
        return std::wstring_view(m_text).substr(word.start, word.length);
    }
    // The widest line.
    f32 width() const { return m_width; }
    f32 height(f32 lineHeight, f32 lineSpacing) const;

private:
    struct Measure {
        u32 chars = 0;
        f32 width = 0;
        u32 gaps = 0;
    };
    Measure measureLine(std::span<const CharAdvance> advances, u32 start, f32 width, bool wrap) const;
    void placeLine(std::span<const CharAdvance> advances, u32 start, const Measure& line, f32 x,
                   f32 extraPerGap);
    u32 nextLineStart(u32 end) const;

    std::wstring m_text;
    std::vector<Line> m_lines;
    std::vector<Word> m_words;
    f32 m_width = 0;
};

} // namespace GUI
