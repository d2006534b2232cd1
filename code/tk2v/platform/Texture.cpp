#include "tk2v/platform/Texture.h"
#include "tk2v/platform/GlRenderer.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstring>
#include <new>

namespace platform {
namespace {

bool knownFormat(Format f) {
    return f == FMT_UNKNOWN || f == FMT_A8R8G8B8 || f == FMT_X8R8G8B8 || f == FMT_R5G6B5 ||
           f == FMT_A1R5G5B5 || f == FMT_A4R4G4B4;
}

// A texture of unknown format keeps the picture as it came, in 32 bits.
u32 storageBytes(Format f) {
    return f == FMT_UNKNOWN ? 4 : bytesPerPixel(f);
}

struct GlPixelFormat {
    GLint internal;
    GLenum format, type;
};

// 16-bit pixels are widened to 8 bits a channel. 32-bit ones ask for no size: the driver then keeps
// the B, G, R, A bytes as they come, where a sized RGBA8 makes it reorder every texel on each upload.
GlPixelFormat glFormat(Format f) {
    switch (f) {
    case FMT_R5G6B5:
        return {GL_RGBA8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    case FMT_A1R5G5B5:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case FMT_A4R4G4B4:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    default:
        return {GL_RGBA, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
    }
}

u32 nextPowerOfTwo(u32 v) {
    u32 p = 1;
    while (p < v && p < 0x80000000u)
        p <<= 1;
    return p;
}

u32 channel(u32 argb, int shift) {
    return (argb >> shift) & 0xFF;
}

// Formats whose stored pixel is the picture's ARGB word itself.
bool keepsArgb(Format f) {
    return f == FMT_UNKNOWN || f == FMT_A8R8G8B8 || f == FMT_X8R8G8B8;
}

// The alpha bits of a stored pixel; none for formats that are opaque by nature.
u32 alphaMask(Format f) {
    switch (f) {
    case FMT_UNKNOWN:
    case FMT_A8R8G8B8:
        return 0xFF000000;
    case FMT_A1R5G5B5:
        return 0x8000;
    case FMT_A4R4G4B4:
        return 0xF000;
    default:
        return 0;
    }
}

template <typename Pixel> bool rowOpaque(const u8* row, u32 pixels, u32 mask) {
    for (u32 x = 0; x < pixels; ++x) {
        Pixel p;
        std::memcpy(&p, row + x * sizeof(Pixel), sizeof(Pixel));
        if ((p & mask) != mask)
            return false;
    }
    return true;
}

// One conversion a whole row, so that the format's switch is decided once per row, not per pixel.
template <Format F> void convertRow16(const u32* argb, u8* row, u32 pixels) {
    for (u32 x = 0; x < pixels; ++x) {
        const u16 p = u16(pixelFromArgb(F, argb[x]));
        std::memcpy(row + x * 2, &p, 2);
    }
}

void convertRow(Format f, const u32* argb, u8* row, u32 pixels) {
    switch (f) {
    case FMT_R5G6B5:
        return convertRow16<FMT_R5G6B5>(argb, row, pixels);
    case FMT_A1R5G5B5:
        return convertRow16<FMT_A1R5G5B5>(argb, row, pixels);
    case FMT_A4R4G4B4:
        return convertRow16<FMT_A4R4G4B4>(argb, row, pixels);
    default:
        std::memcpy(row, argb, size_t(pixels) * 4);
    }
}

} // namespace

u32 bytesPerPixel(Format format) {
    switch (format) {
    case FMT_A8R8G8B8:
    case FMT_X8R8G8B8:
        return 4;
    case FMT_R5G6B5:
    case FMT_A1R5G5B5:
    case FMT_A4R4G4B4:
        return 2;
    default:
        return 0;
    }
}

u32 pixelFromArgb(Format format, u32 argb) {
    u32 a = channel(argb, 24), r = channel(argb, 16), g = channel(argb, 8), b = channel(argb, 0);
    switch (format) {
    case FMT_A8R8G8B8:
        return argb;
    case FMT_R5G6B5:
        return (r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3;
    case FMT_A1R5G5B5:
        return (r & 0xF8) << 7 | (g & 0xF8) << 2 | b >> 3 | (a >= 128 ? 0x8000 : 0);
    case FMT_A4R4G4B4:
        return (a & 0xF0) << 8 | (r & 0xF0) << 4 | (g & 0xF0) | b >> 4;
    default:
        return 0;
    }
}

u32 argbFromPixel(Format format, u32 p) {
    switch (format) {
    case FMT_A8R8G8B8:
        return p;
    case FMT_R5G6B5:
        return 0xFF000000 | ((p >> 11) & 0x1F) << 19 | ((p >> 5) & 0x3F) << 10 | (p & 0x1F) << 3;
    case FMT_A1R5G5B5:
        return (p & 0x8000 ? 0xFF000000 : 0) | ((p >> 10) & 0x1F) << 19 | ((p >> 5) & 0x1F) << 11 |
               (p & 0x1F) << 3;
    case FMT_A4R4G4B4:
        return ((p >> 12) & 0xF) << 28 | ((p >> 8) & 0xF) << 20 | ((p >> 4) & 0xF) << 12 | (p & 0xF) << 4;
    default:
        return 0;
    }
}

Texture::Texture(u32 width, u32 height, Format format)
    : m_width(width), m_height(height), m_imageWidth(width), m_imageHeight(height), m_format(format),
      m_stride(width * storageBytes(format)) {}

Texture::~Texture() {
    if (m_handle && SDL_GL_GetCurrentContext()) {
        GlRenderer::beforeTextureChange(m_handle);
        glDeleteTextures(1, &m_handle);
    }
}

std::unique_ptr<Texture> Texture::make(u32 width, u32 height, Format format, const DecodedImage* image,
                                       PixelWords* takeable, Result* result) {
    Result r = D3DERR_INVALIDCALL;
    std::unique_ptr<Texture> texture;
    GLint maxSize = 0;
    if (SDL_GL_GetCurrentContext() && knownFormat(format)) {
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        if (width > 0 && height > 0 && width <= u32(maxSize) && height <= u32(maxSize)) {
            texture.reset(new Texture(width, height, format));
            r = texture->allocate(image, takeable);
        }
    }
    if (result)
        *result = r;
    return failed(r) ? nullptr : std::move(texture);
}

bool Texture::storesAsIs(const DecodedImage& image) const {
    return keepsArgb(m_format) && image.width == m_width && image.height == m_height;
}

Result Texture::allocate(const DecodedImage* image, PixelWords* takeable) {
    if (image && takeable && storesAsIs(*image)) {
        m_imageWidth = image->width;
        m_imageHeight = image->height;
        m_words = std::move(*takeable);
    } else {
        try {
            m_words.assign((size_t(m_stride) * m_height + 3) / 4, 0);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        if (image)
            fill(*image);
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(1, &m_handle);
    glBindTexture(GL_TEXTURE_2D, m_handle);
    GlPixelFormat f = glFormat(m_format);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, f.internal, GLsizei(m_width), GLsizei(m_height), 0, f.format, f.type,
                 m_words.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (m_format == FMT_X8R8G8B8)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    return glGetError() == GL_NO_ERROR ? S_OK : D3DERR_OUTOFVIDEOMEMORY;
}

std::unique_ptr<Texture> Texture::create(u32 width, u32 height, Format format, Result* result) {
    return make(width, height, format, nullptr, nullptr, result);
}

std::unique_ptr<Texture> Texture::create(const DecodedImage& image, Format format, bool padToPowerOfTwo,
                                         Result* result) {
    return fromImage(image, nullptr, format, padToPowerOfTwo, result);
}

std::unique_ptr<Texture> Texture::create(DecodedImage&& image, Format format, bool padToPowerOfTwo,
                                         Result* result) {
    auto texture = fromImage(image, &image.argb, format, padToPowerOfTwo, result);
    image = DecodedImage{};
    return texture;
}

std::unique_ptr<Texture> Texture::fromImage(const DecodedImage& image, PixelWords* takeable, Format format,
                                            bool padToPowerOfTwo, Result* result) {
    if (image.argb.size() != size_t(image.width) * image.height) {
        if (result)
            *result = D3DERR_INVALIDCALL;
        return nullptr;
    }
    u32 width = padToPowerOfTwo ? nextPowerOfTwo(image.width) : image.width;
    u32 height = padToPowerOfTwo ? nextPowerOfTwo(image.height) : image.height;
    return make(width, height, format, &image, takeable, result);
}

void Texture::fill(const DecodedImage& image) {
    m_imageWidth = image.width;
    m_imageHeight = image.height;
    for (u32 y = 0; y < image.height; ++y)
        convertRow(m_format, image.argb.data() + size_t(y) * image.width, bytes() + size_t(y) * m_stride,
                   image.width);
}

bool Texture::isOpaque() const {
    if (m_opacity == Opacity::Unknown)
        m_opacity = areaOpaque({0, 0, i32(m_width), i32(m_height)}) ? Opacity::Opaque : Opacity::Translucent;
    return m_opacity == Opacity::Opaque;
}

bool Texture::areaOpaque(const Rect& area) const {
    const u32 mask = alphaMask(m_format);
    const u32 bpp = storageBytes(m_format);
    const u8* first =
        reinterpret_cast<const u8*>(m_words.data()) + size_t(area.y) * m_stride + size_t(area.x) * bpp;
    for (i32 y = 0; mask && y < area.h; ++y) {
        const u8* row = first + size_t(y) * m_stride;
        if (!(bpp == 4 ? rowOpaque<u32>(row, u32(area.w), mask) : rowOpaque<u16>(row, u32(area.w), mask)))
            return false;
    }
    return true;
}

Result Texture::lock(const Rect* area, bool readOnly, LockedRect& out) {
    Rect whole{0, 0, i32(m_width), i32(m_height)};
    Rect wanted = area ? *area : whole;
    if (m_locked || m_format == FMT_UNKNOWN || wanted.empty() || wanted.intersect(whole) != wanted)
        return D3DERR_INVALIDCALL;
    m_locked = true;
    m_lockReadOnly = readOnly;
    m_lockArea = wanted;
    out.bits = bytes() + size_t(wanted.y) * m_stride + size_t(wanted.x) * storageBytes(m_format);
    out.pitch = i32(m_stride);
    return S_OK;
}

Result Texture::unlock() {
    if (!m_locked)
        return D3DERR_INVALIDCALL;
    m_locked = false;
    if (!m_lockReadOnly) {
        // An opaque texture stays so when the rewritten area is; anything else is looked at again when
        // it matters.
        if (m_opacity == Opacity::Opaque)
            m_opacity = areaOpaque(m_lockArea) ? Opacity::Opaque : Opacity::Translucent;
        else
            m_opacity = Opacity::Unknown;
        upload(u32(m_lockArea.y), u32(m_lockArea.h));
    }
    return S_OK;
}

void Texture::upload(u32 firstRow, u32 rows) {
    if (!SDL_GL_GetCurrentContext())
        return;
    // Quads queued with the old pixels must be drawn with them.
    GlRenderer::beforeTextureChange(m_handle);
    GlPixelFormat f = glFormat(m_format);
    glBindTexture(GL_TEXTURE_2D, m_handle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, GLint(firstRow), GLsizei(m_width), GLsizei(rows), f.format, f.type,
                    bytes() + size_t(firstRow) * m_stride);
}

} // namespace platform
