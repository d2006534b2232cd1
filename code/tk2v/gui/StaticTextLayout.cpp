#include "tk2v/gui/StaticTextLayout.h"

#include <algorithm>

namespace GUI {

namespace {

constexpr wchar_t CR = 13, LF = 10, SPACE = 32;

bool endsLine(wchar_t c) {
    return c == CR || c == LF;
}

f32 advance(const CharAdvance& a, bool firstOfLine) {
    return firstOfLine ? a.body : a.body + a.pre;
}

} // namespace

StaticTextLayout::Measure StaticTextLayout::measureLine(std::span<const CharAdvance> advances, u32 start,
                                                        f32 width, bool wrap) const {
    Measure line, breakPoint;
    bool atLineStart = true;
    u32 i = start;
    for (; i < m_text.size(); ++i) {
        const wchar_t c = m_text[i];
        if (endsLine(c))
            break;
        const f32 a = advance(advances[i], line.chars == 0);
        if (wrap && breakPoint.chars > 0 && width < line.width + a)
            break;
        if (c != SPACE) {
            atLineStart = false;
        } else if (!atLineStart) {
            // Leading spaces indent the paragraph; only a space after a word is a place to break.
            if (m_text[i - 1] != SPACE)
                breakPoint = line;
            ++line.gaps;
        }
        line.width += a;
        ++line.chars;
    }
    // A line may not split a word: go back to the last space, if there was one.
    if (i < m_text.size() && m_text[i] != SPACE && !endsLine(m_text[i]) && breakPoint.chars > 0)
        line = breakPoint;
    return line;
}

void StaticTextLayout::placeLine(std::span<const CharAdvance> advances, u32 start, const Measure& line, f32 x,
                                 f32 extraPerGap) {
    Line& out = m_lines.emplace_back(Line{u32(m_words.size()), 0});
    bool atLineStart = true, inWord = false;
    for (u32 i = start; i < start + line.chars; ++i) {
        if (m_text[i] == SPACE) {
            if (!atLineStart)
                x += extraPerGap;
            inWord = false;
        } else {
            if (!inWord) {
                m_words.push_back(Word{i, 0, x});
                ++out.wordCount;
                inWord = true;
            }
            ++m_words.back().length;
            atLineStart = false;
        }
        x += advance(advances[i], i == start);
    }
}

u32 StaticTextLayout::nextLineStart(u32 end) const {
    if (end < m_text.size() && endsLine(m_text[end])) {
        const bool crlf = m_text[end] == CR && end + 1 < m_text.size() && m_text[end + 1] == LF;
        return end + (crlf ? 2 : 1);
    }
    // The line broke at spaces or ended the text: the spaces belong to no line.
    while (end < m_text.size() && m_text[end] == SPACE)
        ++end;
    return end;
}

void StaticTextLayout::build(std::wstring_view text, std::span<const CharAdvance> advances, f32 width,
                             TextFormatting horz, bool wordWrap) {
    m_text.assign(text);
    m_lines.clear();
    m_words.clear();
    m_width = 0;
    if (advances.size() < m_text.size())
        m_text.resize(advances.size());
    const bool wrap = horz == TF_WIDTH || wordWrap;
    for (u32 p = 0; p < m_text.size();) {
        const Measure line = measureLine(advances, p, width, wrap);
        const u32 end = p + line.chars;
        const wchar_t after = end < m_text.size() ? m_text[end] : 0;
        // The last line of a paragraph keeps its natural spacing.
        f32 extraPerGap = 0;
        if (horz == TF_WIDTH && line.gaps > 0 && width - line.width > 0 && after != 0 && !endsLine(after))
            extraPerGap = (width - line.width) / f32(line.gaps);
        f32 x = 0;
        if (horz == TF_CENTER)
            x = (width - line.width) * 0.5f;
        else if (horz == TF_RIGHT)
            x = width - line.width;
        placeLine(advances, p, line, x, extraPerGap);
        m_width = std::max(m_width, line.width);
        p = nextLineStart(end);
    }
}

f32 StaticTextLayout::height(f32 lineHeight, f32 lineSpacing) const {
    if (m_lines.empty())
        return 0;
    return lineHeight * f32(m_lines.size()) + lineSpacing * f32(m_lines.size() - 1);
}

} // namespace GUI
