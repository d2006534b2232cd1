#include "tk2v/platform/DeviceFont.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/platform/Texture.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <vector>

namespace platform {
namespace {

constexpr int kFirstChar = 32;
constexpr int kCharCount = 256;
constexpr i32 kDefaultCellHeight = 16;
constexpr i64 kMaxEm = 256;

struct FontFile {
    std::string path;
    int index = 0;
};

bool isBold(const LogFont& f) {
    return f.weight >= 600;
}

// fontconfig always offers its best match, so only a missing file means no font.
FontFile matchFontFile(const LogFont& logFont) {
    FontFile file;
    if (!FcInit())
        return file;
    FcPattern* pattern = FcPatternCreate();
    const char* family = logFont.face.empty() ? "sans-serif" : logFont.face.c_str();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, isBold(logFont) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, logFont.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
        file.path = reinterpret_cast<const char*>(path);
        FcPatternGetInteger(match, FC_INDEX, 0, &file.index);
    }
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

class FreeTypeFace {
public:
    explicit FreeTypeFace(const FontFile& file) {
        if (FT_Init_FreeType(&m_library) != 0)
            m_library = nullptr;
        else if (FT_New_Face(m_library, file.path.c_str(), file.index, &m_face) != 0)
            m_face = nullptr;
    }
    ~FreeTypeFace() {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;
    FT_Face face() const { return m_face; }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// Windows measures a positive height as the whole cell, a negative one as the em square.
bool setPixelHeight(FT_Face face, i32 height) {
    if (height == 0)
        height = kDefaultCellHeight;
    i64 em = -i64(height);
    i64 cell = i64(face->ascender) - face->descender;
    if (height > 0)
        em = FT_IS_SCALABLE(face) && cell > 0 ? (i64(height) * face->units_per_EM + cell / 2) / cell : height;
    em = std::clamp<i64>(em, 1, kMaxEm);
    return FT_Set_Pixel_Sizes(face, 0, FT_UInt(em)) == 0;
}

struct Bitmap {
    DeviceFont::Glyph glyph;
    i32 width = 0, height = 0;
    std::vector<u8> coverage;
};

u8 coverageAt(const FT_Bitmap& b, u32 x, u32 y) {
    const u8* row = b.buffer + i64(y) * b.pitch;
    if (b.pixel_mode == FT_PIXEL_MODE_MONO)
        return (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFF : 0;
    return b.num_grays > 1 ? u8(row[x] * 255 / (b.num_grays - 1)) : row[x];
}

Bitmap rasterise(FT_Face face, u32 code, bool emboldenIt, bool slantIt) {
    Bitmap out;
    if (FT_Load_Char(face, code, FT_LOAD_DEFAULT) != 0)
        return out;
    FT_GlyphSlot slot = face->glyph;
    if (emboldenIt)
        FT_GlyphSlot_Embolden(slot);
    if (slantIt)
        FT_GlyphSlot_Oblique(slot);
    out.glyph.advance = i32((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return out;
    const FT_Bitmap& b = slot->bitmap;
    if (b.pixel_mode != FT_PIXEL_MODE_GRAY && b.pixel_mode != FT_PIXEL_MODE_MONO)
        return out;
    out.width = i32(b.width);
    out.height = i32(b.rows);
    out.glyph.left = slot->bitmap_left;
    out.glyph.top = slot->bitmap_top;
    out.coverage.resize(size_t(out.width) * size_t(out.height));
    for (u32 y = 0; y < b.rows; ++y)
        for (u32 x = 0; x < b.width; ++x)
            out.coverage[size_t(y) * b.width + x] = coverageAt(b, x, y);
    return out;
}

// Room for about sixteen glyphs a row.
i32 atlasWidth(FT_Face face) {
    return std::clamp(i32(face->size->metrics.y_ppem) * 16, 256, 4096);
}

// Shelf packing with a pixel of space around each glyph so linear filtering never bleeds.
i32 packAtlas(std::vector<Bitmap>& glyphs, i32 width) {
    i32 x = 1, y = 1, shelf = 0;
    for (Bitmap& g : glyphs) {
        if (g.width == 0 || g.height == 0 || g.width + 2 > width) {
            g.width = g.height = 0;
            continue;
        }
        if (x + g.width + 1 > width) {
            x = 1;
            y += shelf + 1;
            shelf = 0;
        }
        g.glyph.atlas = {x, y, g.width, g.height};
        x += g.width + 1;
        shelf = std::max(shelf, g.height);
    }
    return y + shelf + 1;
}

DecodedImage atlasImage(const std::vector<Bitmap>& glyphs, i32 width, i32 height) {
    DecodedImage image;
    image.width = u32(width);
    image.height = u32(height);
    image.argb.assign(size_t(image.width) * image.height, 0x00FFFFFF);
    for (const Bitmap& g : glyphs)
        for (i32 row = 0; row < g.height; ++row)
            for (i32 col = 0; col < g.width; ++col)
                image.argb[size_t(g.glyph.atlas.y + row) * image.width + size_t(g.glyph.atlas.x + col)] =
                    u32(g.coverage[size_t(row) * g.width + col]) << 24 | 0x00FFFFFF;
    return image;
}

} // namespace

std::unique_ptr<DeviceFont> DeviceFont::create(const LogFont& logFont) {
    FontFile file = matchFontFile(logFont);
    if (file.path.empty())
        return nullptr;
    FreeTypeFace ft(file);
    FT_Face face = ft.face();
    if (!face || !setPixelHeight(face, logFont.height))
        return nullptr;
    bool embolden = isBold(logFont) && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    bool slant = logFont.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    std::vector<Bitmap> glyphs;
    for (int code = kFirstChar; code < kCharCount; ++code)
        glyphs.push_back(rasterise(face, u32(code), embolden, slant));
    std::unique_ptr<DeviceFont> font(new DeviceFont);
    i32 width = atlasWidth(face);
    font->m_atlas = Texture::create(atlasImage(glyphs, width, packAtlas(glyphs, width)), FMT_A8R8G8B8);
    if (!font->m_atlas)
        return nullptr;
    for (int code = kFirstChar; code < kCharCount; ++code)
        font->m_glyphs[size_t(code)] = glyphs[size_t(code - kFirstChar)].glyph;
    const FT_Size_Metrics& m = face->size->metrics;
    font->m_ascent = i32((m.ascender + 63) >> 6);
    font->m_lineHeight = font->m_ascent + i32((-m.descender + 63) >> 6);
    return font;
}

DeviceFont::~DeviceFont() = default;

i32 DeviceFont::textWidth(const std::string& text) const {
    i32 width = 0;
    for (unsigned char c : text) {
        if (c == '\n')
            break;
        width += m_glyphs[c].advance;
    }
    return width;
}

i32 DeviceFont::drawText(SpriteBatch& batch, const std::string& text, const Rect& rect, u32 argb) const {
    if (text.empty())
        return 0;
    GraphicsDevice& device = batch.device();
    u32 op = device.colourOp(), blend = device.blendMode();
    device.setColourOp(COLOUR_MODULATE);
    device.setBlendMode(BLEND_ALPHA);
    Point pen{rect.x, rect.y};
    for (unsigned char c : text) {
        if (c == '\n') {
            pen = {rect.x, pen.y + m_lineHeight};
            continue;
        }
        drawGlyph(batch, m_glyphs[c], pen, rect, argb);
        pen.x += m_glyphs[c].advance;
    }
    device.setColourOp(op);
    device.setBlendMode(blend);
    return pen.y + m_lineHeight - rect.y;
}

void DeviceFont::drawGlyph(SpriteBatch& batch, const Glyph& glyph, Point pen, const Rect& clip,
                           u32 argb) const {
    Rect placed{pen.x + glyph.left, pen.y + m_ascent - glyph.top, glyph.atlas.w, glyph.atlas.h};
    Rect shown = placed.intersect(clip);
    if (glyph.atlas.empty() || shown.empty())
        return;
    SpriteDraw sprite;
    sprite.source = {glyph.atlas.x + shown.x - placed.x, glyph.atlas.y + shown.y - placed.y, shown.w,
                     shown.h};
    sprite.x = f32(shown.x);
    sprite.y = f32(shown.y);
    sprite.argb = argb;
    batch.draw(*m_atlas, sprite);
}

} // namespace platform
