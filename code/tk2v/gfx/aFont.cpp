#include "tk2v/gfx/aFont.h"

#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/platform/Texture.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// One line drawer for the underlines of every font, made by the first font and freed with the last.
std::unique_ptr<aGDI> s_gdi;
u32 s_fontCount = 0;

const char* const General = "General";
const char* const Charlist = "Charlist";

u32 textureFormat(i32 value) {
    switch (value) {
    case 4444:
        return platform::FMT_A4R4G4B4;
    case 8888:
        return platform::FMT_A8R8G8B8;
    case 565:
        return platform::FMT_R5G6B5;
    case 1555:
        return platform::FMT_A1R5G5B5;
    default:
        return 0;
    }
}

// A float that cannot poison every measurement: text that is no finite number reads as 0.
f32 toFloat(const std::string& text) {
    const f32 value = std::strtof(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0f;
}

// Reads the next blank-separated number; false when there is none or it does not fit.
bool nextShort(const char*& text, i16& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || value < std::numeric_limits<i16>::min() || value > std::numeric_limits<i16>::max())
        return false;
    out = i16(value);
    text = end;
    return true;
}

bool nextFloat(const char*& text, f32& out) {
    char* end = nullptr;
    out = std::strtof(text, &end);
    if (end == text || !std::isfinite(out))
        return false;
    text = end;
    return true;
}

// "x y w h pre post"; a glyph of negative size is refused.
bool parseGlyph(const std::string& value, aFont::Glyph& glyph) {
    const char* text = value.c_str();
    return nextShort(text, glyph.x) && nextShort(text, glyph.y) && nextShort(text, glyph.w) &&
           nextShort(text, glyph.h) && nextFloat(text, glyph.pre) && nextFloat(text, glyph.post) &&
           glyph.w >= 0 && glyph.h >= 0;
}

void readGeneral(const aOptionsFile& ini, const std::string& fileName, aFont::Description& out) {
    out.format16 = textureFormat(std::atoi(ini.getValue(General, "Format16").c_str()));
    out.format32 = textureFormat(std::atoi(ini.getValue(General, "Format32").c_str()));
    if (out.format16 == 0 || out.format32 == 0)
        log("aFont. Unknown texture format: %s", fileName.c_str());
    out.texture = file_getDir(fileName) + ini.getValue(General, "Texture");
    out.charSpacing = toFloat(ini.getValue(General, "CharSpacing"));
    if (ini.hasSectionKey(General, "UnderlineDY"))
        out.underlineDY = toFloat(ini.getValue(General, "UnderlineDY"));
    if (ini.hasSectionKey(General, "UnderlineColor"))
        out.underlineColor = u32(std::strtoul(ini.getValue(General, "UnderlineColor").c_str(), nullptr, 16));
}

void readGlyph(const std::string& key, const std::string& value, const std::string& fileName,
               aFont::Description& out) {
    char* end = nullptr;
    const unsigned long code = std::strtoul(key.c_str(), &end, 16);
    if (end == key.c_str()) {
        log("aFont. Incorrect character code \"%s\" in %s", key.c_str(), fileName.c_str());
        return;
    }
    if (code >= aFont::GlyphCount)
        return;
    aFont::Glyph glyph;
    if (!parseGlyph(value, glyph)) {
        log("aFont. Incorrect glyph %s = \"%s\" in %s", key.c_str(), value.c_str(), fileName.c_str());
        return;
    }
    std::unique_ptr<aFont::Glyph>& slot = out.glyphs[code];
    if (!slot)
        slot = std::make_unique<aFont::Glyph>();
    *slot = glyph;
    out.height = std::max(out.height, f32(glyph.h));
}

u32 codeOf(char c) {
    return u8(c);
}
u32 codeOf(wchar_t c) {
    return u32(c);
}

} // namespace

void aFont::readDescription(const std::string& fileName, Description& out) {
    out = Description{};
    out.glyphs.resize(GlyphCount);
    aOptionsFile ini(fileName);
    readGeneral(ini, fileName, out);
    if (!ini.selectSection(Charlist)) {
        log("aFont. Cannot find section [%s] in %s", Charlist, fileName.c_str());
        return;
    }
    for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
        readGlyph(ini.getKeyName(), ini.getKeyValue(), fileName, out);
}

aFont::aFont(const std::string& fileName) {
    if (s_fontCount++ == 0)
        s_gdi = std::make_unique<aGDI>();
    readDescription(fileName, m_description);
    m_texture.load(m_description.texture, m_description.format16, m_description.format32);
}

aFont::~aFont() {
    if (--s_fontCount == 0)
        s_gdi.reset();
}

void aFont::setScale(f32 scale) {
    m_requestedScale = scale;
    if (scale >= 0)
        m_scale = scale;
    else
        m_scale = m_description.height > 0 ? -scale / m_description.height : 1.0f;
}

const aFont::Glyph* aFont::glyph(u32 ch) const {
    return ch < GlyphCount ? m_description.glyphs[ch].get() : nullptr;
}

bool aFont::isUnderlineMarker(u32 ch) const {
    return m_description.underlineDY != 0 && ch == '_';
}

aRect aFont::getGlyphRect(u32 ch) const {
    const Glyph* g = glyph(ch);
    return g ? aRect{g->x, g->y, u16(g->w), u16(g->h)} : aRect{};
}

f32 aFont::getGlyphPreOffset(u32 ch) const {
    const Glyph* g = glyph(ch);
    return g ? g->pre : 0.0f;
}

f32 aFont::getGlyphPostOffset(u32 ch) const {
    const Glyph* g = glyph(ch);
    return g ? g->post : 0.0f;
}

template <class Char> aFont::Size aFont::measure(std::basic_string_view<Char> text) const {
    f32 width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const u32 ch = codeOf(text[i]);
        const Glyph* g = glyph(ch);
        if (!g || isUnderlineMarker(ch))
            continue;
        width += g->w;
        if (i > 0)
            width += g->pre;
        if (i + 1 < text.size())
            width += g->post + m_description.charSpacing;
    }
    return {width * m_scale, m_description.height * m_scale};
}

aFont::Size aFont::getTextSizeW(std::wstring_view text) const {
    return measure(text);
}

aFont::Size aFont::getTextSize(std::string_view text) const {
    return measure(text);
}

template <class Char> void aFont::printText(f32 x, f32 y, std::basic_string_view<Char> text, u32 flags) {
    // Vertical centring alone measures too: a text centred only vertically stays centred.
    if (flags & (PRINT_CENTER | PRINT_RIGHT | PRINT_VCENTER | PRINT_BOTTOM)) {
        const Size size = measure(text);
        if (flags & PRINT_RIGHT)
            x -= size.width;
        else if (flags & PRINT_CENTER)
            x -= size.width / 2;
        if (flags & PRINT_BOTTOM)
            y -= size.height;
        else if (flags & PRINT_VCENTER)
            y -= size.height / 2;
    }
    s_gdi->color = m_description.underlineColor ? m_description.underlineColor : color;
    const f32 scale[2] = {m_scale, m_scale};
    const bool snap = flags & PRINT_SNAP;
    bool underline = false;
    f32 underlineStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const u32 ch = codeOf(text[i]);
        if (isUnderlineMarker(ch)) {
            underline = true;
            underlineStart = x;
            continue;
        }
        const Glyph* g = glyph(ch);
        if (!g)
            continue;
        if (i > 0)
            x += g->pre * m_scale;
        m_texture.draw(snap ? std::trunc(x + 0.5f) : x, snap ? std::trunc(y + 0.5f) : y, g->x, g->y,
                       u16(g->w), u16(g->h), color, scale);
        x += (g->w + g->post + m_description.charSpacing) * m_scale;
        if (underline) {
            const f32 lineY = y + m_scale * m_description.underlineDY;
            s_gdi->drawLine(underlineStart - 0.5f, lineY, x + 0.5f, lineY);
            underline = false;
        }
    }
}

void aFont::printW(f32 x, f32 y, std::wstring_view text, u32 flags) {
    printText(x, y, text, flags);
}

void aFont::print(f32 x, f32 y, std::string_view text, u32 flags) {
    printText(x, y, text, flags);
}
