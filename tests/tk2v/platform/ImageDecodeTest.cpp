#include "tk2v/platform/ImageDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

using Bytes = std::vector<u8>;

// ---- PNG writer -------------------------------------------------------------------------------

struct PngInput {
    u32 width, height;
    int colorType, bitDepth;
    bool interlaced = false;
    std::vector<u16> samples = {};  // row-major, channels of the colour type, each in bitDepth bits
    std::vector<u32> palette = {};  // ARGB; alpha below 0xFF goes into tRNS
    std::vector<u16> keyColor = {}; // tRNS for grey (1 value) or RGB (3 values)
};

int channels(int colorType) {
    switch (colorType) {
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGBA:
        return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    default:
        return 1;
    }
}

// Samples packed as PNG stores them: small depths high bits first, 16 bits big-endian.
Bytes packRow(const PngInput& s, u32 y) {
    const u32 count = s.width * channels(s.colorType);
    Bytes row((count * s.bitDepth + 7) / 8);
    for (u32 i = 0; i < count; ++i) {
        const u16 v = s.samples[y * count + i];
        if (s.bitDepth == 16) {
            row[i * 2] = u8(v >> 8);
            row[i * 2 + 1] = u8(v);
        } else {
            const u32 bit = i * s.bitDepth;
            row[bit / 8] |= u8(v << (8 - s.bitDepth - bit % 8));
        }
    }
    return row;
}

void appendPng(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void setPalette(png_structp png, png_infop info, const std::vector<u32>& palette) {
    std::vector<png_color> colors;
    std::vector<png_byte> alpha;
    for (u32 c : palette) {
        colors.push_back({u8(c >> 16), u8(c >> 8), u8(c)});
        alpha.push_back(u8(c >> 24));
    }
    png_set_PLTE(png, info, colors.data(), int(colors.size()));
    if (std::any_of(alpha.begin(), alpha.end(), [](png_byte a) { return a != 0xFF; }))
        png_set_tRNS(png, info, alpha.data(), int(alpha.size()), nullptr);
}

void setKeyColor(png_structp png, png_infop info, const std::vector<u16>& key) {
    png_color_16 color{};
    if (key.size() == 1)
        color.gray = key[0];
    else
        color = {0, key[0], key[1], key[2], 0};
    png_set_tRNS(png, info, nullptr, 0, &color);
}

Bytes writePng(const PngInput& s) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<Bytes> rows;
    for (u32 y = 0; y < s.height; ++y)
        rows.push_back(packRow(s, y));
    std::vector<png_bytep> pointers;
    for (Bytes& r : rows)
        pointers.push_back(r.data());
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &out, appendPng, nullptr);
        png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                     s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        if (!s.palette.empty())
            setPalette(png, info, s.palette);
        if (!s.keyColor.empty())
            setKeyColor(png, info, s.keyColor);
        png_write_info(png, info);
        png_write_image(png, pointers.data());
        png_write_end(png, nullptr);
    } else {
        out.clear();
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

// ---- JPEG writer ------------------------------------------------------------------------------

struct JpegInput {
    u32 width, height;
    J_COLOR_SPACE space; // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    bool progressive = false;
    std::function<std::vector<u8>(u32 x, u32 y)> pixel; // the components of one pixel
};

Bytes writeJpeg(const JpegInput& s) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = s.width;
    cinfo.image_height = s.height;
    cinfo.in_color_space = s.space;
    cinfo.input_components = s.space == JCS_RGB ? 3 : s.space == JCS_CMYK ? 4 : 1;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (s.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<u8> row;
    while (cinfo.next_scanline < s.height) {
        row.clear();
        for (u32 x = 0; x < s.width; ++x)
            for (u8 c : s.pixel(x, cinfo.next_scanline))
                row.push_back(c);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// ---- BMP writer -------------------------------------------------------------------------------

struct BmpInput {
    u32 headerSize = 40;
    i32 width, height; // negative height: rows stored top-down
    u16 bpp;
    u32 compression = 0;
    std::vector<u32> masks;        // written after the first 40 header bytes
    std::vector<u32> palette = {}; // ARGB; written as B, G, R(, 0)
    std::function<u32(u32 x, u32 y)> raw;
    u32 colorsUsed = 0; // 0: the palette's size
};

void put16(Bytes& b, size_t at, u32 v) {
    b[at] = u8(v);
    b[at + 1] = u8(v >> 8);
}

void put32(Bytes& b, size_t at, u32 v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

void putPixel(Bytes& row, u32 x, u32 bpp, u32 v) {
    if (bpp < 8)
        row[x * bpp / 8] |= u8(v << (8 - bpp - x * bpp % 8));
    else
        for (u32 i = 0; i < bpp / 8; ++i)
            row[x * bpp / 8 + i] = u8(v >> (8 * i));
}

void writeBmpHeader(Bytes& b, const BmpInput& s) {
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 14, s.headerSize);
    if (s.headerSize == 12) {
        put16(b, 18, u32(s.width));
        put16(b, 20, u32(s.height));
        put16(b, 22, 1);
        put16(b, 24, s.bpp);
        return;
    }
    put32(b, 18, u32(s.width));
    put32(b, 22, u32(s.height));
    put16(b, 26, 1);
    put16(b, 28, s.bpp);
    put32(b, 30, s.compression);
    put32(b, 46, s.colorsUsed ? s.colorsUsed : u32(s.palette.size()));
    for (size_t i = 0; i < s.masks.size(); ++i)
        put32(b, 54 + i * 4, s.masks[i]);
}

Bytes writeBmp(const BmpInput& s) {
    const u32 w = u32(s.width), h = u32(s.height < 0 ? -s.height : s.height);
    const u32 entry = s.headerSize == 12 ? 3 : 4;
    const size_t masksAfter = s.headerSize == 40 ? s.masks.size() * 4 : 0;
    const size_t paletteAt = 14 + s.headerSize + masksAfter;
    const size_t dataAt = paletteAt + s.palette.size() * entry;
    const size_t stride = (size_t(w) * s.bpp + 31) / 32 * 4;
    Bytes b(std::max(dataAt, size_t(54) + s.masks.size() * 4) + stride * h);
    writeBmpHeader(b, s);
    put32(b, 2, u32(b.size()));
    put32(b, 10, u32(dataAt));
    for (size_t i = 0; i < s.palette.size(); ++i)
        for (u32 k = 0; k < 3; ++k)
            b[paletteAt + i * entry + k] = u8(s.palette[i] >> (8 * k));
    for (u32 y = 0; y < h; ++y) {
        Bytes row(stride);
        for (u32 x = 0; x < w; ++x)
            putPixel(row, x, s.bpp, s.raw(x, y));
        const u32 fileRow = s.height < 0 ? y : h - 1 - y;
        std::copy(row.begin(), row.end(), b.begin() + dataAt + fileRow * stride);
    }
    return b;
}

// ---- checks -----------------------------------------------------------------------------------

platform::Result decode(const Bytes& b, platform::DecodedImage& out) {
    return platform::decodeImage(b.data(), u32(b.size()), out);
}

bool decodes(const Bytes& b) {
    platform::DecodedImage out;
    return decode(b, out) == platform::S_OK;
}

std::string hex(u32 v) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

void expectPixels(const Bytes& file, u32 w, u32 h, const std::function<u32(u32, u32)>& expected,
                  int tolerance = 0) {
    // A buffer left from a picture of the same size is reused as it is: every pixel must be written.
    platform::DecodedImage out;
    out.argb.assign(size_t(w) * h, 0x5A5A5A5A);
    ASSERT_EQ(decode(file, out), platform::S_OK);
    ASSERT_EQ(out.width, w);
    ASSERT_EQ(out.height, h);
    ASSERT_EQ(out.argb.size(), size_t(w) * h);
    for (u32 y = 0; y < h; ++y)
        for (u32 x = 0; x < w; ++x) {
            const u32 got = out.argb[y * w + x], want = expected(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF);
                ASSERT_LE(std::abs(d), tolerance)
                    << "pixel " << x << "," << y << " got " << hex(got) << " want " << hex(want);
            }
        }
}

// ---- PNG --------------------------------------------------------------------------------------

struct PngCase {
    const char* name;
    PngInput input;
    std::function<u32(u32 x, u32 y)> expected;
};

std::vector<u16> samples(u32 w, u32 h, int ch, const std::function<u16(u32 x, u32 y, int c)>& f) {
    std::vector<u16> v;
    for (u32 y = 0; y < h; ++y)
        for (u32 x = 0; x < w; ++x)
            for (int c = 0; c < ch; ++c)
                v.push_back(f(x, y, c));
    return v;
}

u32 argb(u32 a, u32 r, u32 g, u32 b) {
    return a << 24 | r << 16 | g << 8 | b;
}

std::vector<PngCase> pngCases() {
    std::vector<PngCase> cases;
    cases.push_back(
        {"rgba8",
         {5, 3, PNG_COLOR_TYPE_RGBA, 8, false,
          samples(5, 3, 4, [](u32 x, u32 y, int c) { return u16((x * 50 + y * 7 + c * 60) & 0xFF); })},
         [](u32 x, u32 y) {
             auto s = [&](int c) { return (x * 50 + y * 7 + c * 60) & 0xFF; };
             return argb(s(3), s(0), s(1), s(2));
         }});
    cases.push_back(
        {"rgb8 interlaced",
         {9, 9, PNG_COLOR_TYPE_RGB, 8, true,
          samples(9, 9, 3, [](u32 x, u32 y, int c) { return u16(c == 0   ? x * 28
                                                                : c == 1 ? y * 28
                                                                         : 99); })},
         [](u32 x, u32 y) { return argb(0xFF, x * 28, y * 28, 99); }});
    cases.push_back({"rgb16",
                     {4, 2, PNG_COLOR_TYPE_RGB, 16, false,
                      samples(4, 2, 3, [](u32 x, u32 y, int c) { return u16((x * 60 + y + c) * 257); })},
                     [](u32 x, u32 y) { return argb(0xFF, x * 60 + y, x * 60 + y + 1, x * 60 + y + 2); }});
    cases.push_back({"gray4",
                     {5, 2, PNG_COLOR_TYPE_GRAY, 4, false,
                      samples(5, 2, 1, [](u32 x, u32 y, int) { return u16((x + y * 5) % 16); })},
                     [](u32 x, u32 y) {
                         const u32 g = (x + y * 5) % 16 * 17;
                         return argb(0xFF, g, g, g);
                     }});
    cases.push_back(
        {"gray-alpha16",
         {3, 2, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false,
          samples(3, 2, 2, [](u32 x, u32 y, int c) { return u16((c ? 255 - x * 80 : x * 40 + y) * 257); })},
         [](u32 x, u32 y) {
             const u32 g = x * 40 + y;
             return argb(255 - x * 80, g, g, g);
         }});
    const std::vector<u32> palette = {0x00112233, 0x80445566, 0xFF778899, 0xFFAABBCC};
    cases.push_back({"palette2 + tRNS",
                     {7, 2, PNG_COLOR_TYPE_PALETTE, 2, false,
                      samples(7, 2, 1, [](u32 x, u32 y, int) { return u16((x + y) % 4); }), palette},
                     [palette](u32 x, u32 y) { return palette[(x + y) % 4]; }});
    cases.push_back({"rgb8 + key colour",
                     {4,
                      1,
                      PNG_COLOR_TYPE_RGB,
                      8,
                      false,
                      samples(4, 1, 3, [](u32 x, u32, int) { return u16(x % 2 ? 200 : 10); }),
                      {},
                      {10, 10, 10}},
                     [](u32 x, u32) { return x % 2 ? argb(0xFF, 200, 200, 200) : argb(0, 10, 10, 10); }});
    cases.push_back({"gray1 + key grey",
                     {10,
                      1,
                      PNG_COLOR_TYPE_GRAY,
                      1,
                      false,
                      samples(10, 1, 1, [](u32 x, u32, int) { return u16(x % 3 == 0); }),
                      {},
                      {1}},
                     [](u32 x, u32) { return x % 3 == 0 ? argb(0, 255, 255, 255) : argb(0xFF, 0, 0, 0); }});
    return cases;
}

TEST(ImageDecode, PngEveryColourTypeBecomesArgb) {
    for (const PngCase& c : pngCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = writePng(c.input);
        ASSERT_FALSE(file.empty());
        expectPixels(file, c.input.width, c.input.height, c.expected);
    }
}

// ---- JPEG -------------------------------------------------------------------------------------

std::vector<u8> smoothRgb(u32 x, u32 y) {
    return {u8(x * 12), u8(y * 12), u8(128 + x * 4 - y * 4)};
}

TEST(ImageDecode, JpegColourGreyProgressiveAndCmyk) {
    struct Case {
        const char* name;
        JpegInput input;
        std::function<u32(u32, u32)> expected;
    };
    auto rgb = [](u32 x, u32 y) {
        auto c = smoothRgb(x, y);
        return argb(0xFF, c[0], c[1], c[2]);
    };
    // Adobe CMYK is stored inverted: 255 means no ink.
    auto cmyk = [](u32 x, u32) -> std::vector<u8> {
        return x < 8 ? std::vector<u8>{255, 0, 0, 255} : std::vector<u8>{255, 255, 255, 128};
    };
    const Case cases[] = {
        {"baseline rgb", {16, 16, JCS_RGB, false, smoothRgb}, rgb},
        {"progressive rgb", {16, 16, JCS_RGB, true, smoothRgb}, rgb},
        {"grey",
         {16, 8, JCS_GRAYSCALE, false, [](u32 x, u32) { return std::vector<u8>{u8(x * 16)}; }},
         [](u32 x, u32) { return argb(0xFF, x * 16, x * 16, x * 16); }},
        {"cmyk",
         {16, 8, JCS_CMYK, false, cmyk},
         [](u32 x, u32) { return x < 8 ? argb(0xFF, 255, 0, 0) : argb(0xFF, 128, 128, 128); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectPixels(writeJpeg(c.input), c.input.width, c.input.height, c.expected, 8);
    }
}

// ---- BMP --------------------------------------------------------------------------------------

struct BmpCase {
    const char* name;
    BmpInput input;
    std::function<u32(u32 x, u32 y)> expected;
};

const std::vector<u32> kPalette16 = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                     0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                     0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

// Raw 16-bit values with the colours they stand for, picked where the widening is unambiguous.
struct Sample16 {
    u32 raw, argb;
};
const Sample16 k555[] = {{0x7C00, 0xFFFF0000},
                         {0x03E0, 0xFF00FF00},
                         {0x001F, 0xFF0000FF},
                         {0x8000, 0xFF000000},
                         {0x4210, 0xFF848484}};
const Sample16 k565[] = {{0xF800, 0xFFFF0000},
                         {0x07E0, 0xFF00FF00},
                         {0x001F, 0xFF0000FF},
                         {0x8410, 0xFF848284},
                         {0xFFFF, 0xFFFFFFFF}};

u32 pick(u32 x, u32 y) {
    return (x + 2 * y) % 5;
}

std::vector<BmpCase> bmpCases() {
    auto pal = [](u32 x, u32 y) { return (x * 3 + y) % 16; };
    auto rgb = [](u32 x, u32 y) { return (x * 40) << 16 | (y * 50) << 8 | 0x33; };
    return {
        {"1-bit bottom-up",
         {40, 9, 3, 1, 0, {}, {0xFF102030, 0xFFF0E0D0}, [](u32 x, u32 y) { return (x + y) % 2; }},
         [](u32 x, u32 y) { return (x + y) % 2 ? 0xFFF0E0D0u : 0xFF102030u; }},
        {"4-bit top-down",
         {40, 5, -3, 4, 0, {}, kPalette16, pal},
         [=](u32 x, u32 y) { return kPalette16[pal(x, y)]; }},
        // Three colours used; the index 3 points past them and reads as black.
        {"8-bit short palette",
         {40, 6, 2, 8, 0, {}, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, [](u32 x, u32) { return x % 4; }, 3},
         [](u32 x, u32) {
             return x % 4 == 3 ? 0xFF000000u : std::vector<u32>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}[x % 4];
         }},
        {"4-bit core header",
         {12, 3, 2, 4, 0, {}, kPalette16, pal},
         [=](u32 x, u32 y) { return kPalette16[pal(x, y)]; }},
        {"16-bit 5-5-5",
         {40, 5, 3, 16, 0, {}, {}, [](u32 x, u32 y) { return k555[pick(x, y)].raw; }},
         [](u32 x, u32 y) { return k555[pick(x, y)].argb; }},
        {"16-bit 5-6-5 bit fields",
         {40, 5, -3, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, [](u32 x, u32 y) { return k565[pick(x, y)].raw; }},
         [](u32 x, u32 y) { return k565[pick(x, y)].argb; }},
        {"24-bit bottom-up",
         {40, 3, 4, 24, 0, {}, {}, rgb},
         [=](u32 x, u32 y) { return 0xFF000000 | rgb(x, y); }},
        {"24-bit top-down",
         {40, 5, -2, 24, 0, {}, {}, rgb},
         [=](u32 x, u32 y) { return 0xFF000000 | rgb(x, y); }},
        // Without masks the fourth byte is padding, not alpha.
        {"32-bit",
         {40, 3, 3, 32, 0, {}, {}, [=](u32 x, u32 y) { return 0x12000000 | rgb(x, y); }},
         [=](u32 x, u32 y) { return 0xFF000000 | rgb(x, y); }},
        {"32-bit with alpha mask",
         {124,
          3,
          -3,
          32,
          3,
          {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
          {},
          [=](u32 x, u32 y) { return (x * 80) << 24 | rgb(x, y); }},
         [=](u32 x, u32 y) { return (x * 80) << 24 | rgb(x, y); }},
    };
}

TEST(ImageDecode, BmpEveryDepthAndRowOrder) {
    for (const BmpCase& c : bmpCases()) {
        SCOPED_TRACE(c.name);
        const u32 h = u32(c.input.height < 0 ? -c.input.height : c.input.height);
        expectPixels(writeBmp(c.input), u32(c.input.width), h, c.expected);
    }
}

// A run-length BMP with the 16-colour palette: RLE8 for 8 bits a pixel, RLE4 for 4.
Bytes writeRunLengthBmp(i32 width, i32 height, u16 bpp, const Bytes& stream) {
    const BmpInput s{40, width, height, bpp, bpp == 8 ? 1u : 2u, {}, kPalette16, {}};
    const u32 dataAt = u32(54 + kPalette16.size() * 4);
    Bytes b(dataAt);
    writeBmpHeader(b, s);
    for (size_t i = 0; i < kPalette16.size(); ++i)
        put32(b, 54 + i * 4, kPalette16[i] & 0xFFFFFF);
    put32(b, 10, dataAt);
    put32(b, 34, u32(stream.size()));
    b.insert(b.end(), stream.begin(), stream.end());
    put32(b, 2, u32(b.size()));
    return b;
}

TEST(ImageDecode, BmpRunLengthStreams) {
    struct Case {
        const char* name;
        i32 width, height;
        u16 bpp;
        Bytes stream;
        std::vector<std::string> rows; // top row first; a palette index in hex, "." transparent black
    };
    const Case cases[] = {
        {"RLE8 runs and line ends, rows bottom-up",
         4,
         3,
         8,
         {4, 1, 0, 0, 2, 2, 2, 3, 0, 0, 1, 5, 0, 1},
         {"5...", "2233", "1111"}},
        {"RLE8 absolute run padded to a word", 4, 1, 8, {0, 3, 7, 8, 9, 0, 1, 10, 0, 1}, {"789a"}},
        {"RLE8 delta skips right and up", 4, 2, 8, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1}, {"...2", "1..."}},
        {"RLE8 runs and absolute runs end at the row's edge",
         4,
         2,
         8,
         {6, 4, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0},
         {"1234", "4444"}},
        {"RLE8 deltas past the right edge and past the last row",
         3,
         2,
         8,
         {0, 2, 5, 0, 1, 7, 0, 0, 1, 8, 0, 2, 0, 9, 1, 9},
         {"8..", "..."}},
        {"RLE8 nothing after the end of bitmap", 3, 1, 8, {1, 4, 0, 1, 2, 5}, {"4.."}},
        {"RLE8 a stream that stops in a pair", 3, 2, 8, {3, 1, 0, 0, 2}, {"...", "111"}},
        {"RLE8 an absolute run cut short", 4, 1, 8, {0, 4, 1, 2}, {"12.."}},
        {"RLE8 a delta cut short", 4, 1, 8, {1, 3, 0, 2, 1}, {"3..."}},
        {"RLE8 top-down", 2, -2, 8, {2, 1, 0, 0, 1, 2, 0, 1}, {"11", "2."}},
        {"RLE4 runs alternate the halves of their byte", 4, 2, 4, {3, 0x12, 0, 0, 4, 0xcd}, {"cdcd", "121."}},
        {"RLE4 absolute runs of odd length padded to a word",
         6,
         2,
         4,
         {0, 5, 0x12, 0x34, 0x50, 0, 1, 0xf0, 0, 0, 0, 3, 0xab, 0xc0, 0, 1},
         {"abc...", "12345f"}},
        {"RLE4 an absolute run cut short inside a byte", 4, 1, 4, {0, 4, 0x9e}, {"9e.."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectPixels(writeRunLengthBmp(c.width, c.height, c.bpp, c.stream), u32(c.width), u32(c.rows.size()),
                     [&](u32 x, u32 y) {
                         const char pixel = c.rows[y][x];
                         return pixel == '.' ? 0u
                                             : kPalette16[std::stoul(std::string(1, pixel), nullptr, 16)];
                     });
    }
}

// ---- bad data ---------------------------------------------------------------------------------

TEST(ImageDecode, TruncatedFilesAreInvalidData) {
    const BmpInput bmp32{40, 4, 3, 32, 0, {}, {}, [](u32 x, u32 y) { return x * y; }};
    const BmpInput bmp8{40, 4, 3, 8, 0, {}, kPalette16, [](u32 x, u32) { return x; }};
    const std::vector<std::pair<const char*, Bytes>> files = {
        {"png", writePng(pngCases()[0].input)},
        {"interlaced png", writePng(pngCases()[1].input)},
        {"jpeg", writeJpeg({16, 16, JCS_RGB, false, smoothRgb})},
        {"progressive jpeg", writeJpeg({16, 16, JCS_RGB, true, smoothRgb})},
        {"bmp 32", writeBmp(bmp32)},
        {"bmp 8", writeBmp(bmp8)},
    };
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(decodes(file));
        for (size_t cut : {size_t(0), size_t(1), size_t(2), size_t(8), size_t(20), file.size() / 4,
                           file.size() / 2, file.size() - 2, file.size() - 1}) {
            platform::DecodedImage out;
            out.width = 7;
            out.argb.assign(3, 1);
            // A copy of exactly the cut length, so reading past it is caught by the sanitizers.
            const Bytes part(file.begin(), file.begin() + std::ptrdiff_t(cut));
            EXPECT_EQ(decode(part, out), platform::D3DXERR_INVALIDDATA) << "cut at " << cut;
            EXPECT_EQ(out.width, 0u);
            EXPECT_TRUE(out.argb.empty());
        }
    }
}

TEST(ImageDecode, DimensionsMustBePositiveAndBounded) {
    auto bmp24 = [](i32 w, i32 h) {
        return writeBmp({40, w, h, 24, 0, {}, {}, [](u32, u32) { return 0u; }});
    };
    EXPECT_TRUE(decodes(bmp24(16384, 1)));
    EXPECT_TRUE(decodes(bmp24(1, -16384)));
    EXPECT_FALSE(decodes(bmp24(16385, 1)));
    EXPECT_FALSE(decodes(bmp24(1, -16385)));
    EXPECT_FALSE(decodes(bmp24(0, 4)));
    EXPECT_FALSE(decodes(bmp24(4, 0)));
    Bytes negative = bmp24(4, 4);
    put32(negative, 18, u32(-4));
    EXPECT_FALSE(decodes(negative));
    // 10000 x 10000 fits the side limit but its 400 MB of pixels do not; no pixel data follows.
    Bytes big = bmp24(1, 1);
    put32(big, 18, 10000);
    put32(big, 22, 10000);
    EXPECT_FALSE(decodes(big));
    auto grey = [](u32, u32) { return std::vector<u8>{0}; };
    EXPECT_TRUE(decodes(writeJpeg({16384, 8, JCS_GRAYSCALE, false, grey})));
    EXPECT_FALSE(decodes(writeJpeg({16385, 8, JCS_GRAYSCALE, false, grey})));
    EXPECT_TRUE(decodes(writePng({16384, 1, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<u16>(16384)})));
    EXPECT_FALSE(decodes(writePng({16385, 1, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<u16>(16385)})));
}

TEST(ImageDecode, MalformedDataIsInvalid) {
    const Bytes bmp = writeBmp({40, 4, 2, 8, 0, {}, kPalette16, [](u32 x, u32) { return x; }});
    auto patched = [&](size_t at, u32 v, bool wide) {
        Bytes b = bmp;
        wide ? put32(b, at, v) : put16(b, at, v);
        return b;
    };
    Bytes rle8On4Bit = writeRunLengthBmp(4, 1, 4, {4, 1});
    put32(rle8On4Bit, 30, 1);
    Bytes rleOffsetPastEnd = writeRunLengthBmp(4, 1, 8, {4, 1});
    put32(rleOffsetPastEnd, 10, u32(rleOffsetPastEnd.size() + 1));
    Bytes png = writePng(pngCases()[0].input);
    png[20] ^= 0x01; // IHDR no longer matches its CRC
    Bytes jpeg = writeJpeg({16, 16, JCS_RGB, false, smoothRgb});
    jpeg.resize(jpeg.size() / 2);
    jpeg.insert(jpeg.end(), {0xFF, 0xD9}); // an end marker in the middle of the picture data
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"unknown magic", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}},
        {"bmp unknown depth", patched(28, 7, false)},
        {"bmp RLE4 on 8-bit", patched(30, 2, true)},
        {"bmp RLE8 on 4-bit", rle8On4Bit},
        {"bmp RLE8 pixel offset past the end", rleOffsetPastEnd},
        {"png bad crc", png},
        {"jpeg end marker too early", jpeg},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(decodes(file));
    }
    platform::DecodedImage out;
    EXPECT_EQ(platform::decodeImage(nullptr, 100, out), platform::D3DXERR_INVALIDDATA);
}

} // namespace
