#pragma once
#include "tk2v/util/types.h"

// jpeglib.h needs FILE declared before it.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

// Small picture files made in memory for the image tests, from 0xAARRGGBB pixels in rows.
namespace imagefiles {

using Bytes = std::vector<u8>;

inline void appendBytes(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

// Without alpha the file is plain RGB.
inline Bytes png(u32 width, u32 height, const std::vector<u32>& argb, bool withAlpha = true) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, width, height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const u32 channels = withAlpha ? 4 : 3;
    Bytes row(size_t(width) * channels);
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            u32 p = argb[size_t(y) * width + x];
            u8* out = &row[x * channels];
            out[0] = u8(p >> 16);
            out[1] = u8(p >> 8);
            out[2] = u8(p);
            if (withAlpha)
                out[3] = u8(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Opaque; alpha is dropped. The default, quality 100 without chroma subsampling, keeps flat colours
// close; a lower quality keeps the library's usual subsampling, as photographs are made.
inline Bytes jpeg(u32 width, u32 height, const std::vector<u32>& argb, int quality = 100) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (quality == 100)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(size_t(width) * 3);
    while (cinfo.next_scanline < height) {
        for (u32 x = 0; x < width; ++x) {
            u32 p = argb[size_t(cinfo.next_scanline) * width + x];
            row[x * 3] = u8(p >> 16);
            row[x * 3 + 1] = u8(p >> 8);
            row[x * 3 + 2] = u8(p);
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

inline void le(Bytes& out, u32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(u8(value >> (8 * i)));
}

// 24 bits a pixel, rows bottom-up.
inline Bytes bmp(u32 width, u32 height, const std::vector<u32>& argb) {
    const u32 rowBytes = (width * 3 + 3) & ~3u, pixelBytes = rowBytes * height;
    Bytes out = {'B', 'M'};
    le(out, 54 + pixelBytes, 4);
    le(out, 0, 4);
    le(out, 54, 4);
    for (u32 v : {40u, width, height})
        le(out, v, 4);
    le(out, 1, 2);
    le(out, 24, 2);
    for (u32 v : {0u, pixelBytes, 2835u, 2835u, 0u, 0u})
        le(out, v, 4);
    for (u32 y = height; y-- > 0;) {
        for (u32 x = 0; x < width; ++x)
            le(out, argb[size_t(y) * width + x], 3);
        out.resize(out.size() + rowBytes - width * 3, 0);
    }
    return out;
}

inline void be32(Bytes& out, u32 value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(u8(value >> shift));
}

inline void chunk(Bytes& out, const char* type, const Bytes& data) {
    be32(out, u32(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    be32(out, u32(crc32(0, typed.data(), uInt(typed.size()))));
}

// A JNG: the colour as a JPEG in JDAT and, when `withAlpha`, the alpha as 8-bit grey PNG samples in
// IDAT. JHDR claims the claimed size, or the real one where a claimed side is 0.
inline Bytes jng(u32 width, u32 height, const std::vector<u32>& argb, bool withAlpha, u32 claimedWidth = 0,
                 u32 claimedHeight = 0) {
    Bytes out = {0x8B, 'J', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    be32(header, claimedWidth ? claimedWidth : width);
    be32(header, claimedHeight ? claimedHeight : height);
    const u8 fields[] = {u8(withAlpha ? 14 : 10), 8, 8, 0, u8(withAlpha ? 8 : 0), 0, 0, 0};
    header.insert(header.end(), fields, fields + sizeof fields);
    chunk(out, "JHDR", header);
    if (withAlpha) {
        Bytes raw;
        for (u32 y = 0; y < height; ++y) {
            raw.push_back(0); // filter: none
            for (u32 x = 0; x < width; ++x)
                raw.push_back(u8(argb[size_t(y) * width + x] >> 24));
        }
        uLongf size = compressBound(uLong(raw.size()));
        Bytes packed(size);
        compress(packed.data(), &size, raw.data(), uLong(raw.size()));
        packed.resize(size);
        chunk(out, "IDAT", packed);
    }
    chunk(out, "JDAT", jpeg(width, height, argb));
    chunk(out, "IEND", {});
    return out;
}

inline std::string text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace imagefiles
