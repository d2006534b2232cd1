#include "tk2v/gui/Region.h"
#include "tk2v/file/aFileBuffer.h"
#include "tk2v/util/log.h"

namespace GUI {

namespace {

constexpr u32 kFileHeaderSize = 14;
constexpr u32 kInfoHeaderSize = 40;

u32 readU32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}
u16 readU16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}

// Where the parts of a 1-bit bitmap lie, once each is known to lie inside the file.
struct BitmapLayout {
    u32 width = 0, height = 0;
    bool topDown = false;
    u32 rowBytes = 0;
    u32 bitsOffset = 0;
    bool blackFirst = false;
};

bool readLayout(const u8* data, u64 size, BitmapLayout& out) {
    if (size < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M')
        return false;
    const u8* info = data + kFileHeaderSize;
    const u32 infoSize = readU32(info);
    const i32 width = i32(readU32(info + 4));
    const i32 height = i32(readU32(info + 8));
    if (infoSize < kInfoHeaderSize || readU16(info + 14) != 1 || width <= 0 || height == 0)
        return false;
    const u64 paletteOffset = u64(kFileHeaderSize) + infoSize;
    if (paletteOffset + 4 > size)
        return false;
    out.width = u32(width);
    out.topDown = height < 0;
    out.height = out.topDown ? u32(-i64(height)) : u32(height);
    out.rowBytes = (out.width + 31) / 32 * 4;
    out.bitsOffset = readU32(data + 10);
    if (u64(out.bitsOffset) + u64(out.rowBytes) * out.height > size)
        return false;
    out.blackFirst = readU32(data + paletteOffset) == 0;
    return true;
}

} // namespace

bool Region::LoadFromBitmap(const std::string& fileName) {
    aFileBuffer file(fileName);
    BitmapLayout layout;
    if (!readLayout(file.getData(), file.getSize(), layout)) {
        log("Region::LoadFromBitmap - invalid bitmap file '%s'", fileName.c_str());
        return false;
    }
    m_width = layout.width;
    m_height = layout.height;
    m_mask.assign(size_t(m_width) * m_height, 0);
    const u8 setMeansInside = layout.blackFirst ? 1 : 0;
    for (u32 row = 0; row < m_height; ++row) {
        const u32 fileRow = layout.topDown ? row : m_height - 1 - row;
        const u8* bits = file.getData() + layout.bitsOffset + size_t(fileRow) * layout.rowBytes;
        u8* mask = &m_mask[size_t(row) * m_width];
        for (u32 x = 0; x < m_width; ++x) {
            const u8 bit = (bits[x >> 3] >> (7 - (x & 7))) & 1;
            mask[x] = bit == setMeansInside;
        }
    }
    return true;
}

bool Region::IsSet(u32 x, u32 y) const {
    if (m_mask.empty() || x >= m_width || y >= m_height)
        return false;
    return m_mask[size_t(y) * m_width + x] != 0;
}

} // namespace GUI
