#pragma once
#include "tk2v/platform/DecodedImage.h"
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/Result.h"
#include "tk2v/util/types.h"

#include <memory>
#include <vector>

namespace platform {

// Texture format codes as the engine stores them.
using Format = u32;
constexpr Format FMT_UNKNOWN = 0; // "the file's own": drawable, but locks fail and pixels read 0
constexpr Format FMT_A8R8G8B8 = 21;
constexpr Format FMT_X8R8G8B8 = 22;
constexpr Format FMT_R5G6B5 = 23;
constexpr Format FMT_A1R5G5B5 = 25;
constexpr Format FMT_A4R4G4B4 = 26;

// Bytes per pixel of a format's locked rows (FMT_UNKNOWN: 0).
u32 bytesPerPixel(Format format);
// The engine's conversions between 0xAARRGGBB and a pixel of the format; other formats give 0.
u32 pixelFromArgb(Format format, u32 argb);
u32 argbFromPixel(Format format, u32 pixel);

struct LockedRect {
    void* bits = nullptr; // the rectangle's top-left pixel
    i32 pitch = 0;        // bytes from one row to the next
};

// A single-level texture with a copy of its pixels in its own format. The copy is what locks see and
// what survives a device reset; unlocking a writable lock sends the locked rows to the GPU.
// Needs the device's GL context.
class Texture {
public:
    // An empty (transparent black) texture; null with the reason in `result` on failure.
    static std::unique_ptr<Texture> create(u32 width, u32 height, Format format, Result* result = nullptr);
    // The picture converted into the format at the top left. With `padToPowerOfTwo` the texture
    // grows to the next powers of two and the rest stays transparent black.
    static std::unique_ptr<Texture> create(const DecodedImage& image, Format format,
                                           bool padToPowerOfTwo = false, Result* result = nullptr);
    // The same, taking the picture's pixels over where the texture keeps them as they are (a 32-bit
    // format, no padding); the picture is left empty either way.
    static std::unique_ptr<Texture> create(DecodedImage&& image, Format format, bool padToPowerOfTwo = false,
                                           Result* result = nullptr);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    u32 width() const { return m_width; }
    u32 height() const { return m_height; }
    // The picture's size; smaller than the texture when padded.
    u32 imageWidth() const { return m_imageWidth; }
    u32 imageHeight() const { return m_imageHeight; }
    Format format() const { return m_format; }

    // Locks a rectangle (null = the whole texture). Fails for an empty or outside rectangle, for
    // FMT_UNKNOWN and while locked already.
    Result lock(const Rect* area, bool readOnly, LockedRect& out);
    Result unlock();
    bool isLocked() const { return m_locked; }
    // Every texel's alpha is the largest (always so for formats without alpha); padding counts.
    bool isOpaque() const;

    // The GL texture name, for the device.
    u32 handle() const { return m_handle; }

private:
    enum class Opacity { Unknown, Opaque, Translucent };

    Texture(u32 width, u32 height, Format format);
    // `takeable`, when given, is the picture's own pixel buffer, which the texture may take over.
    static std::unique_ptr<Texture> fromImage(const DecodedImage& image, PixelWords* takeable, Format format,
                                              bool padToPowerOfTwo, Result* result);
    static std::unique_ptr<Texture> make(u32 width, u32 height, Format format, const DecodedImage* image,
                                         PixelWords* takeable, Result* result);
    Result allocate(const DecodedImage* image, PixelWords* takeable);
    bool storesAsIs(const DecodedImage& image) const;
    void upload(u32 firstRow, u32 rows);
    void fill(const DecodedImage& image);
    u8* bytes() { return reinterpret_cast<u8*>(m_words.data()); }
    bool areaOpaque(const Rect& area) const;

    u32 m_width, m_height, m_imageWidth, m_imageHeight;
    Format m_format;
    u32 m_stride;
    // The pixels in rows of m_stride bytes; words, so that a decoded picture can be taken over.
    PixelWords m_words;
    u32 m_handle = 0;
    bool m_locked = false;
    bool m_lockReadOnly = false;
    Rect m_lockArea;
    mutable Opacity m_opacity = Opacity::Unknown;
};

} // namespace platform
