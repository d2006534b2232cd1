#include "tk2v/platform/ImageDecode.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

// The decoders write each pixel as the bytes B, G, R, A, which is the word 0xAARRGGBB only here.
static_assert(std::endian::native == std::endian::little);

namespace platform {
namespace {

bool sizeAllowed(u64 width, u64 height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height * 4 <= kMaxImageBytes;
}

// Every decoder writes each pixel (the run-length one clears the picture first), so a buffer kept
// from an earlier picture is reused unfilled.
void allocate(DecodedImage& image, u32 width, u32 height) {
    image.width = width;
    image.height = height;
    image.argb.resize(size_t(width) * height);
}

u8* rowBytes(DecodedImage& image, u32 y) {
    return reinterpret_cast<u8*>(image.argb.data() + size_t(y) * image.width);
}

bool startsWith(const u8* bytes, u32 size, const char* magic, u32 magicSize) {
    return size >= magicSize && std::memcmp(bytes, magic, magicSize) == 0;
}

// ---- PNG -------------------------------------------------------------------------------------
// libpng reports errors by longjmp back to the setjmp in readPng; the frames it skips hold only
// trivially destructible objects.

struct PngSource {
    const u8* data;
    size_t size;
    size_t pos;
};

[[noreturn]] void pngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep dst, size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos)
        png_error(png, "truncated");
    std::memcpy(dst, src->data + src->pos, count);
    src->pos += count;
}

class PngReader {
public:
    PngReader() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
        if (m_png)
            m_info = png_create_info_struct(m_png);
    }
    ~PngReader() { png_destroy_read_struct(&m_png, &m_info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool valid() const { return m_png && m_info; }
    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// Every colour type and bit depth becomes 8-bit B, G, R, A; tRNS becomes real alpha.
void expandPngToBgra(png_structp png, png_infop info) {
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    bool alpha = (type & PNG_COLOR_MASK_ALPHA) != 0;
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        alpha = true;
    }
    if (depth == 16)
        png_set_scale_16(png);
    if ((type & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    if (!alpha)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
}

bool readPngBody(png_structp png, png_infop info, PngSource* src, DecodedImage& out) {
    png_set_read_fn(png, src, pngRead);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    const u32 width = png_get_image_width(png, info);
    const u32 height = png_get_image_height(png, info);
    if (!sizeAllowed(width, height))
        return false;
    expandPngToBgra(png, info);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4)
        return false;
    allocate(out, width, height);
    for (int pass = 0; pass < passes; ++pass)
        for (u32 y = 0; y < height; ++y)
            png_read_row(png, rowBytes(out, y), nullptr);
    // Reading to IEND makes a file cut short after its pixel data count as truncated too.
    png_read_end(png, nullptr);
    return true;
}

bool readPng(png_structp png, png_infop info, PngSource* src, DecodedImage& out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    return readPngBody(png, info, src, out);
}

bool decodePng(const u8* bytes, u32 size, DecodedImage& out) {
    PngReader reader;
    PngSource src{bytes, size, 0};
    return reader.valid() && readPng(reader.png(), reader.info(), &src, out);
}

// ---- JPEG ------------------------------------------------------------------------------------
// Same scheme as PNG: libjpeg's error exit longjmps back to readJpeg instead of ending the process.

// A progressive file may hold any number of scans; a cap keeps hostile files from taking minutes.
constexpr int kMaxJpegScans = 500;

struct JpegDecoder {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump;
    JpegDecoder() = default;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    ~JpegDecoder() { jpeg_destroy_decompress(&cinfo); }
};

[[noreturn]] void jpegFail(j_common_ptr cinfo) {
    std::longjmp(static_cast<JpegDecoder*>(cinfo->client_data)->jump, 1);
}

// libjpeg fills picture data that is missing (the file ends, or a marker cuts the data short) with
// grey and only warns; such a picture is bad data. Other warnings are harmless and ignored.
void jpegMessage(j_common_ptr cinfo, int level) {
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        jpegFail(cinfo);
}

void jpegSilent(j_common_ptr) {}

void jpegProgress(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans)
        jpegFail(cinfo);
}

u8 cmykChannel(u32 ink, u32 black, bool inverted) {
    return inverted ? u8(ink * black / 255) : u8((255 - ink) * (255 - black) / 255);
}

// Adobe writers store CMYK inverted, which the Adobe marker tells.
void cmykToArgb(DecodedImage& image, bool inverted) {
    for (u32& px : image.argb) {
        const u32 c = px & 0xFF, m = (px >> 8) & 0xFF, y = (px >> 16) & 0xFF, k = px >> 24;
        px = 0xFF000000u | u32(cmykChannel(c, k, inverted)) << 16 | u32(cmykChannel(m, k, inverted)) << 8 |
             cmykChannel(y, k, inverted);
    }
}

bool readJpegBody(JpegDecoder& dec, const u8* bytes, u32 size, DecodedImage& out) {
    j_decompress_ptr cinfo = &dec.cinfo;
    cinfo->progress = &dec.progress;
    jpeg_mem_src(cinfo, bytes, size);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK ||
        !sizeAllowed(cinfo->image_width, cinfo->image_height))
        return false;
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 4 || cinfo->output_width != cinfo->image_width ||
        cinfo->output_height != cinfo->image_height)
        return false;
    allocate(out, cinfo->output_width, cinfo->output_height);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = rowBytes(out, cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            return false;
    }
    if (cmyk)
        cmykToArgb(out, cinfo->saw_Adobe_marker);
    jpeg_finish_decompress(cinfo);
    return true;
}

bool readJpeg(JpegDecoder& dec, const u8* bytes, u32 size, DecodedImage& out) {
    if (setjmp(dec.jump))
        return false;
    jpeg_create_decompress(&dec.cinfo);
    return readJpegBody(dec, bytes, size, out);
}

bool decodeJpeg(const u8* bytes, u32 size, DecodedImage& out) {
    JpegDecoder dec;
    dec.cinfo.err = jpeg_std_error(&dec.errors);
    dec.cinfo.client_data = &dec;
    dec.errors.error_exit = jpegFail;
    dec.errors.emit_message = jpegMessage;
    dec.errors.output_message = jpegSilent;
    dec.progress.progress_monitor = jpegProgress;
    return readJpeg(dec, bytes, size, out);
}

// ---- BMP -------------------------------------------------------------------------------------

constexpr u32 kFileHeaderSize = 14;
constexpr u32 kCoreHeaderSize = 12;
constexpr u32 kInfoHeaderSize = 40;
constexpr u32 kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3, kBiAlphaBitFields = 6;

u16 le16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}
u32 le32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

// One colour channel of a 16/32-bit pixel, widened to 8 bits with rounding.
struct BmpChannel {
    u32 mask = 0, shift = 0, max = 0;
    explicit BmpChannel(u32 m = 0) : mask(m), shift(m ? u32(std::countr_zero(m)) : 0), max(m >> shift) {}
    u32 expand(u32 pixel, u32 absent) const {
        return max ? u32((u64((pixel & mask) >> shift) * 255 + max / 2) / max) : absent;
    }
};

struct BmpLayout {
    u32 headerSize = 0, compression = kBiRgb, colorsUsed = 0;
    u32 width = 0, height = 0, bpp = 0;
    bool topDown = false;
    BmpChannel red, green, blue, alpha;
    u32 palette[256] = {};
    u64 dataOffset = 0, stride = 0;
};

bool validBitsPerPixel(u32 bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

bool knownHeaderSize(u32 size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

// Masks follow the first 40 header bytes, inside the larger headers or right after the short one.
bool readBmpMasks(const u8* bytes, u32 size, BmpLayout& bmp) {
    if (bmp.compression == kBiRgb) {
        bmp.red = BmpChannel(bmp.bpp == 16 ? 0x7C00 : 0xFF0000);
        bmp.green = BmpChannel(bmp.bpp == 16 ? 0x03E0 : 0xFF00);
        bmp.blue = BmpChannel(bmp.bpp == 16 ? 0x001F : 0xFF);
        return true;
    }
    const u32 at = kFileHeaderSize + kInfoHeaderSize;
    const u32 count = (bmp.compression == kBiAlphaBitFields || bmp.headerSize >= 56) ? 4 : 3;
    if (u64(at) + count * 4 > size)
        return false;
    bmp.red = BmpChannel(le32(bytes + at));
    bmp.green = BmpChannel(le32(bytes + at + 4));
    bmp.blue = BmpChannel(le32(bytes + at + 8));
    if (count == 4)
        bmp.alpha = BmpChannel(le32(bytes + at + 12));
    return true;
}

// Entries past the palette's end stay opaque black, so any index is safe to look up.
bool readBmpPalette(const u8* bytes, u32 size, BmpLayout& bmp) {
    const u32 full = 1u << bmp.bpp;
    const u32 count = (bmp.colorsUsed && bmp.colorsUsed < full) ? bmp.colorsUsed : full;
    const u32 entrySize = bmp.headerSize == kCoreHeaderSize ? 3 : 4;
    const u64 at = kFileHeaderSize + u64(bmp.headerSize);
    if (at + u64(count) * entrySize > size)
        return false;
    for (u32 i = 0; i < full; ++i)
        bmp.palette[i] = 0xFF000000u;
    for (u32 i = 0; i < count; ++i) {
        const u8* e = bytes + at + u64(i) * entrySize;
        bmp.palette[i] |= u32(e[2]) << 16 | u32(e[1]) << 8 | e[0];
    }
    return true;
}

bool readBmpHeader(const u8* bytes, u32 size, BmpLayout& bmp) {
    if (size < kFileHeaderSize + 4)
        return false;
    bmp.headerSize = le32(bytes + kFileHeaderSize);
    if (!knownHeaderSize(bmp.headerSize) || u64(kFileHeaderSize) + bmp.headerSize > size)
        return false;
    const u8* h = bytes + kFileHeaderSize;
    i64 width = 0, height = 0;
    if (bmp.headerSize == kCoreHeaderSize) {
        width = le16(h + 4);
        height = le16(h + 6);
        bmp.bpp = le16(h + 10);
    } else {
        width = i32(le32(h + 4));
        height = i32(le32(h + 8));
        bmp.bpp = le16(h + 14);
        bmp.compression = le32(h + 16);
        bmp.colorsUsed = le32(h + 32);
    }
    bmp.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (!sizeAllowed(width < 0 ? 0 : u64(width), u64(height)))
        return false;
    bmp.width = u32(width);
    bmp.height = u32(height);
    return true;
}

bool runLength(const BmpLayout& bmp) {
    return (bmp.compression == kBiRle8 && bmp.bpp == 8) || (bmp.compression == kBiRle4 && bmp.bpp == 4);
}

bool parseBmp(const u8* bytes, u32 size, BmpLayout& bmp) {
    if (!readBmpHeader(bytes, size, bmp) || !validBitsPerPixel(bmp.bpp))
        return false;
    const bool masked = bmp.compression == kBiBitFields || bmp.compression == kBiAlphaBitFields;
    if (bmp.compression != kBiRgb && !runLength(bmp) && !(masked && (bmp.bpp == 16 || bmp.bpp == 32)))
        return false;
    const bool ok =
        bmp.bpp <= 8 ? readBmpPalette(bytes, size, bmp) : bmp.bpp == 24 || readBmpMasks(bytes, size, bmp);
    if (!ok)
        return false;
    bmp.dataOffset = le32(bytes + 10);
    if (runLength(bmp))
        return bmp.dataOffset <= size;
    // Rows are padded to 4 bytes; the last row's padding may be missing.
    const u64 rowBits = u64(bmp.width) * bmp.bpp;
    bmp.stride = (rowBits + 31) / 32 * 4;
    return bmp.dataOffset + (bmp.height - 1) * bmp.stride + (rowBits + 7) / 8 <= size;
}

void bmpRowIndexed(const u8* src, u32* dst, const BmpLayout& bmp) {
    const u32 perByte = 8 / bmp.bpp, mask = (1u << bmp.bpp) - 1;
    for (u32 x = 0; x < bmp.width; ++x) {
        const u32 shift = 8 - bmp.bpp * (x % perByte + 1);
        dst[x] = bmp.palette[(src[x / perByte] >> shift) & mask];
    }
}

void bmpRow24(const u8* src, u32* dst, const BmpLayout& bmp) {
    for (u32 x = 0; x < bmp.width; ++x, src += 3)
        dst[x] = 0xFF000000u | u32(src[2]) << 16 | u32(src[1]) << 8 | src[0];
}

void bmpRowMasked(const u8* src, u32* dst, const BmpLayout& bmp) {
    const u32 step = bmp.bpp / 8;
    for (u32 x = 0; x < bmp.width; ++x, src += step) {
        const u32 px = step == 2 ? le16(src) : le32(src);
        dst[x] = bmp.alpha.expand(px, 0xFF) << 24 | bmp.red.expand(px, 0) << 16 |
                 bmp.green.expand(px, 0) << 8 | bmp.blue.expand(px, 0);
    }
}

// Pixels of a run-length stream. Writes past a row's end or below the last row are dropped.
class BmpRuns {
public:
    BmpRuns(const BmpLayout& bmp, DecodedImage& out) : m_bmp(bmp), m_out(out) {}

    // Writes `count` pixels from the pen on, pixel i with the palette index `index(i)`.
    template <class Index> void write(u32 count, Index index) {
        if (y < m_bmp.height) {
            u32* row = m_out.argb.data() + size_t(m_bmp.topDown ? y : m_bmp.height - 1 - y) * m_bmp.width;
            for (u32 i = 0; i < count && x + i < m_bmp.width; ++i)
                row[x + i] = m_bmp.palette[index(i)];
        }
        x += count;
    }

    u64 x = 0, y = 0; // the pen; y counts rows in file order

private:
    const BmpLayout& m_bmp;
    DecodedImage& m_out;
};

// RLE4 runs take their pixels from the high then the low half of each byte.
u32 nibble(u8 byte, u32 i) {
    return i % 2 ? byte & 15u : u32(byte >> 4);
}

// The RLE8 and RLE4 stream: pairs of a count and a colour, or of a zero and an escape (end of
// line, end of bitmap, delta, or an absolute run padded to a 16-bit word). A stream may end
// anywhere; pixels it never sets, also those skipped by deltas and line ends, stay transparent black.
void decodeBmpRuns(const u8* at, const u8* end, const BmpLayout& bmp, DecodedImage& out) {
    std::fill(out.argb.begin(), out.argb.end(), 0u);
    const bool four = bmp.bpp == 4;
    BmpRuns pen(bmp, out);
    while (pen.y < bmp.height && end - at >= 2) {
        const u8 count = at[0], code = at[1];
        at += 2;
        if (count > 0) {
            pen.write(count, [&](u32 i) { return four ? nibble(code, i) : code; });
        } else if (code == 0) {
            pen.x = 0;
            ++pen.y;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (end - at < 2)
                return;
            pen.x += at[0];
            pen.y += at[1];
            at += 2;
        } else {
            const size_t left = size_t(end - at), bytes = four ? (code + 1u) / 2 : code;
            const u32 present = u32(std::min<size_t>(code, four ? left * 2 : left));
            pen.write(present, [&](u32 i) { return four ? nibble(at[i / 2], i) : at[i]; });
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (left < padded)
                return;
            at += padded;
        }
    }
}

bool decodeBmp(const u8* bytes, u32 size, DecodedImage& out) {
    BmpLayout bmp;
    if (!parseBmp(bytes, size, bmp))
        return false;
    if (runLength(bmp)) {
        allocate(out, bmp.width, bmp.height);
        decodeBmpRuns(bytes + bmp.dataOffset, bytes + size, bmp, out);
        return true;
    }
    auto row = bmp.bpp <= 8 ? bmpRowIndexed : bmp.bpp == 24 ? bmpRow24 : bmpRowMasked;
    allocate(out, bmp.width, bmp.height);
    for (u32 y = 0; y < bmp.height; ++y) {
        const u32 fileRow = bmp.topDown ? y : bmp.height - 1 - y;
        row(bytes + bmp.dataOffset + fileRow * bmp.stride, out.argb.data() + size_t(y) * bmp.width, bmp);
    }
    return true;
}

bool decodeByContent(const u8* bytes, u32 size, DecodedImage& out) {
    if (startsWith(bytes, size, "\x89PNG\r\n\x1a\n", 8))
        return decodePng(bytes, size, out);
    if (startsWith(bytes, size, "\xFF\xD8\xFF", 3))
        return decodeJpeg(bytes, size, out);
    if (startsWith(bytes, size, "BM", 2))
        return decodeBmp(bytes, size, out);
    return false;
}

void clear(DecodedImage& image) {
    image.width = image.height = 0;
    image.argb.clear();
}

} // namespace

Result decodeImage(const u8* bytes, u32 size, DecodedImage& out) {
    bool ok = false;
    try {
        ok = bytes && decodeByContent(bytes, size, out);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok)
        clear(out);
    return ok ? S_OK : D3DXERR_INVALIDDATA;
}

} // namespace platform
