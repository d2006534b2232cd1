#pragma once
#include "tk2v/platform/Rect.h"
#include "tk2v/util/types.h"

#include <array>
#include <memory>
#include <string>

namespace platform {

class SpriteBatch;
class Texture;

// The parts of a Windows LOGFONT that choose a font.
struct LogFont {
    std::string face;
    // Negative: the em height in pixels; positive: the cell height (ascent + descent); 0: 16 px cell.
    i32 height = 0;
    i32 weight = 400; // 600 and above is bold
    u8 charset = 0;   // not used: text bytes are taken as Latin-1
    bool italic = false;
};

// A system font rendered once into a texture atlas (bytes 32..255, as Latin-1) and drawn through the
// sprite batch.
class DeviceFont {
public:
    // Null when no font file matches or it cannot be rendered. Needs the device's GL context.
    static std::unique_ptr<DeviceFont> create(const LogFont& logFont);
    ~DeviceFont();
    DeviceFont(const DeviceFont&) = delete;
    DeviceFont& operator=(const DeviceFont&) = delete;

    // Draws the text from the rectangle's top-left corner, clipped to the rectangle, with normal
    // alpha blending whatever the device's render state; "\n" starts a new line. Returns the height of
    // the lines drawn.
    i32 drawText(SpriteBatch& batch, const std::string& text, const Rect& rect, u32 argb) const;
    i32 lineHeight() const { return m_lineHeight; }
    // The advance of the text's first line, in pixels.
    i32 textWidth(const std::string& text) const;

    struct Glyph {
        Rect atlas;   // empty for a glyph without pixels
        i32 left = 0; // from the pen to the bitmap's left edge
        i32 top = 0;  // from the baseline up to the bitmap's top edge
        i32 advance = 0;
    };

private:
    DeviceFont() = default;
    void drawGlyph(SpriteBatch& batch, const Glyph& glyph, Point pen, const Rect& clip, u32 argb) const;

    std::array<Glyph, 256> m_glyphs{};
    std::unique_ptr<Texture> m_atlas;
    i32 m_ascent = 0, m_lineHeight = 0;
};

} // namespace platform
