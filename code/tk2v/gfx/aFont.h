#pragma once
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A bitmap font: one glyph texture and a description file giving every character code's glyph
// rectangle and spacing. Characters are 16-bit code units; a narrow string's bytes are codes as
// they stand.
class aFont {
public:
    enum PrintFlags : u32 {
        PRINT_CENTER = 1,
        PRINT_RIGHT = 2, // wins over PRINT_CENTER
        PRINT_VCENTER = 4,
        PRINT_BOTTOM = 8, // wins over PRINT_VCENTER
        PRINT_SNAP = 16,  // every glyph on whole pixels
    };
    static constexpr u32 GlyphCount = 0x10000;

    struct Glyph {
        i16 x = 0, y = 0, w = 0, h = 0;
        f32 pre = 0, post = 0; // space before and after the glyph
    };
    struct Size {
        f32 width = 0, height = 0;
    };
    // What a description file holds. Reading it needs no device.
    struct Description {
        std::string texture; // the path, folder of the description included
        u32 format16 = 0, format32 = 0;
        f32 charSpacing = 0;
        f32 underlineDY = 0;                        // 0: "_" is an ordinary glyph
        u32 underlineColor = 0xFFFFFFFF;            // 0: the drawing colour
        f32 height = 0;                             // the tallest glyph
        std::vector<std::unique_ptr<Glyph>> glyphs; // GlyphCount entries, null without a glyph
    };
    // Logs what it has to skip; entries it cannot read leave their characters without glyphs.
    static void readDescription(const std::string& fileName, Description& out);

    explicit aFont(const std::string& fileName);
    ~aFont();
    aFont(const aFont&) = delete;
    aFont& operator=(const aFont&) = delete;

    // 0 or more is the drawing scale; a negative value asks for that many pixels of height.
    void setScale(f32 scale);
    // The drawing scale.
    f32 getScale() const { return m_scale; }
    // The value last given to setScale, for callers that change the scale for one drawing.
    f32 getRequestedScale() const { return m_requestedScale; }
    f32 getHeight() const { return m_description.height; }
    f32 getCharSpacing() const { return m_description.charSpacing; }
    const aImage& getTexture() const { return m_texture; }

    // All zero when the character has no glyph.
    aRect getGlyphRect(u32 ch) const;
    f32 getGlyphPreOffset(u32 ch) const;
    f32 getGlyphPostOffset(u32 ch) const;

    Size getTextSizeW(std::wstring_view text) const;
    Size getTextSize(std::string_view text) const;
    // The text's top-left corner at (x, y), moved by the PrintFlags.
    void printW(f32 x, f32 y, std::wstring_view text, u32 flags = 0);
    void print(f32 x, f32 y, std::string_view text, u32 flags = 0);

    // Set by the users before printing.
    u32 color = 0xFFFFFFFF;

private:
    const Glyph* glyph(u32 ch) const;
    bool isUnderlineMarker(u32 ch) const;
    template <class Char> Size measure(std::basic_string_view<Char> text) const;
    template <class Char> void printText(f32 x, f32 y, std::basic_string_view<Char> text, u32 flags);

    Description m_description;
    aImage m_texture;
    f32 m_requestedScale = 1, m_scale = 1;
};
