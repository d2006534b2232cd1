#pragma once
#include "Canvas.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One TrueType face at one pixel size, rendered by FreeType: it writes text into pictures and
// turns the printable ASCII range into the engine's bitmap font (a glyph atlas and its
// description).
class TextRenderer {
public:
    TextRenderer(const std::string& fontFile, int pixelSize);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    int lineHeight() const { return m_ascender + m_descender; }
    int textWidth(std::string_view text);
    // `y` is the top of the line.
    void draw(Canvas& canvas, int x, int y, std::string_view text, Canvas::Color color);
    void drawCentered(Canvas& canvas, int centerX, int y, std::string_view text, Canvas::Color color);

    struct BitmapFont {
        std::vector<uint8_t> texture; // PNG
        std::string description;      // the font description, naming the texture file
    };
    // White glyphs whose alpha is the coverage, so that the engine tints them.
    BitmapFont bitmapFont(const std::string& textureFile);

private:
    struct Glyph {
        int left = 0, top = 0, width = 0, rows = 0, advance = 0;
        std::vector<uint8_t> coverage;
    };
    const Glyph& glyph(unsigned char ch);

    FT_LibraryRec_* m_library = nullptr;
    FT_FaceRec_* m_face = nullptr;
    int m_ascender = 0, m_descender = 0;
    std::map<unsigned char, Glyph> m_glyphs;
};
