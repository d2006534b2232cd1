#include "TextRenderer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

constexpr unsigned char kFirstChar = 0x20, kLastChar = 0x7E;
constexpr int kAtlasWidth = 256;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "make_demo_data: %s\n", what.c_str());
    std::exit(1);
}

int ceilPixels(long value26dot6) {
    return int((value26dot6 + 63) >> 6);
}

} // namespace

TextRenderer::TextRenderer(const std::string& fontFile, int pixelSize) {
    if (FT_Init_FreeType(&m_library) != 0)
        fail("cannot start FreeType");
    if (FT_New_Face(m_library, fontFile.c_str(), 0, &m_face) != 0)
        fail("cannot open the font " + fontFile);
    FT_Set_Pixel_Sizes(m_face, 0, FT_UInt(pixelSize));
    m_ascender = ceilPixels(m_face->size->metrics.ascender);
    m_descender = ceilPixels(-m_face->size->metrics.descender);
}

TextRenderer::~TextRenderer() {
    FT_Done_Face(m_face);
    FT_Done_FreeType(m_library);
}

const TextRenderer::Glyph& TextRenderer::glyph(unsigned char ch) {
    auto found = m_glyphs.find(ch);
    if (found != m_glyphs.end())
        return found->second;
    if (FT_Load_Char(m_face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
        fail("cannot render a glyph");
    const FT_GlyphSlot slot = m_face->glyph;
    Glyph g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = int(slot->bitmap.width);
    g.rows = int(slot->bitmap.rows);
    g.advance = int((slot->advance.x + 32) >> 6);
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x)
            g.coverage.push_back(slot->bitmap.buffer[y * slot->bitmap.pitch + x]);
    return m_glyphs.emplace(ch, std::move(g)).first->second;
}

int TextRenderer::textWidth(std::string_view text) {
    int width = 0;
    for (unsigned char ch : text)
        width += glyph(ch).advance;
    return width;
}

void TextRenderer::draw(Canvas& canvas, int x, int y, std::string_view text, Canvas::Color color) {
    for (unsigned char ch : text) {
        const Glyph& g = glyph(ch);
        for (int row = 0; row < g.rows; ++row)
            for (int col = 0; col < g.width; ++col)
                canvas.blend(x + g.left + col, y + m_ascender - g.top + row, color,
                             g.coverage[size_t(row) * g.width + col] / 255.0f);
        x += g.advance;
    }
}

void TextRenderer::drawCentered(Canvas& canvas, int centerX, int y, std::string_view text,
                                Canvas::Color color) {
    draw(canvas, centerX - textWidth(text) / 2, y, text, color);
}

TextRenderer::BitmapFont TextRenderer::bitmapFont(const std::string& textureFile) {
    // A glyph's cell spans its advance and its ink, whichever reaches further on each side; the
    // space before and after the cell bring the pen back to the advance.
    struct Cell {
        int x = 0, y = 0, w = 0, pre = 0, post = 0;
    };
    std::map<unsigned char, Cell> cells;
    const int h = lineHeight();
    int x = 0, y = 0;
    for (int ch = kFirstChar; ch <= kLastChar; ++ch) {
        const Glyph& g = glyph(static_cast<unsigned char>(ch));
        const int x0 = std::min(0, g.left), x1 = std::max(g.advance, g.left + g.width);
        Cell cell{0, 0, x1 - x0, x0, g.advance - x1};
        if (x + cell.w > kAtlasWidth) {
            x = 0;
            y += h + 1;
        }
        cell.x = x;
        cell.y = y;
        x += cell.w + 1;
        cells[static_cast<unsigned char>(ch)] = cell;
    }
    Canvas atlas(kAtlasWidth, y + h, 0x00FFFFFF);
    std::string description = "[General]\nTexture = " + textureFile +
                              "\nFormat16 = 4444\nFormat32 = 8888\nCharSpacing = 0\n[Charlist]\n";
    for (const auto& [ch, cell] : cells) {
        const Glyph& g = glyph(ch);
        for (int row = 0; row < g.rows; ++row)
            for (int col = 0; col < g.width; ++col) {
                const int px = cell.x + g.left - cell.pre + col, py = cell.y + m_ascender - g.top + row;
                if (px >= cell.x && px < cell.x + cell.w && py >= cell.y && py < cell.y + h)
                    atlas.set(px, py,
                              Canvas::Color(g.coverage[size_t(row) * g.width + col]) << 24 | 0xFFFFFF);
            }
        char line[64];
        std::snprintf(line, sizeof line, "%X = %d %d %d %d %d %d\n", unsigned(ch), cell.x, cell.y, cell.w, h,
                      cell.pre, cell.post);
        description += line;
    }
    return {atlas.png(), description};
}
