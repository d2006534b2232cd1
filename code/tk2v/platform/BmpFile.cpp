#include "tk2v/platform/BmpFile.h"

#include <cstdio>

namespace platform {
namespace {

void put16(std::vector<u8>& out, u32 v) {
    out.push_back(u8(v));
    out.push_back(u8(v >> 8));
}

void put32(std::vector<u8>& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

constexpr u32 kHeaderBytes = 14 + 40;

std::vector<u8> header(u32 width, u32 height, u32 pixelBytes) {
    std::vector<u8> h;
    h.push_back('B');
    h.push_back('M');
    put32(h, kHeaderBytes + pixelBytes);
    put32(h, 0);
    put32(h, kHeaderBytes);
    put32(h, 40);
    put32(h, width);
    put32(h, height); // positive: rows bottom-up
    put16(h, 1);
    put16(h, 32);
    put32(h, 0); // no compression
    put32(h, pixelBytes);
    put32(h, 2835); // 72 dpi
    put32(h, 2835);
    put32(h, 0);
    put32(h, 0);
    return h;
}

} // namespace

bool writeBmp32(const std::string& path, u32 width, u32 height, const std::vector<u8>& rgba) {
    u64 pixelBytes = u64(width) * height * 4;
    if (width == 0 || height == 0 || rgba.size() != pixelBytes || pixelBytes > 0x7FFFFFFF)
        return false;
    std::vector<u8> file = header(width, height, u32(pixelBytes));
    file.reserve(file.size() + pixelBytes);
    for (u32 row = height; row-- > 0;)
        for (u32 x = 0; x < width; ++x) {
            const u8* p = &rgba[(size_t(row) * width + x) * 4];
            file.insert(file.end(), {p[2], p[1], p[0], p[3]});
        }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace platform
