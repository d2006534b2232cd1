#include "support/BmpWriter.h"

namespace bmpfiles {

namespace {

void put16(std::string& out, u32 v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

u32 oneBitRowBytes(u32 width) {
    return (width + 31) / 32 * 4;
}

std::string oneBit(u32 width, u32 height, const std::vector<bool>& bits, OneBitOptions options) {
    constexpr u32 headers = 14 + 40 + 8;
    const u32 rowBytes = oneBitRowBytes(width);
    const u32 imageSize = rowBytes * height;
    std::string out;
    out += "BM";
    put32(out, headers + imageSize);
    put32(out, 0);
    put32(out, headers);
    put32(out, 40);
    put32(out, width);
    put32(out, options.topDown ? u32(-i32(height)) : height);
    put16(out, 1); // planes
    put16(out, 1); // bits per pixel
    put32(out, 0); // no compression
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 2);
    put32(out, 0);
    const std::string black(4, '\0'), white("\xFF\xFF\xFF\0", 4);
    out += options.blackFirst ? black + white : white + black;
    for (u32 row = 0; row < height; ++row) {
        const u32 y = options.topDown ? row : height - 1 - row;
        std::string bytes(rowBytes, '\0');
        for (u32 x = 0; x < width; ++x)
            if (bits[size_t(y) * width + x])
                bytes[x / 8] = char(u8(bytes[x / 8]) | (0x80 >> (x % 8)));
        out += bytes;
    }
    return out;
}

} // namespace bmpfiles
