#include "tk2v/video/YuvToRgb.h"

#include <cstddef>

namespace {

constexpr i32 kRedFromV = 113443;
constexpr i32 kGreenFromU = 22020;
constexpr i32 kGreenFromV = 45744;
constexpr i32 kBlueFromU = 113508;

void fillTable(i32* table, i32 factor) {
    for (i32 i = 0; i < 256; ++i)
        table[i] = (factor * (i - 128) + 32768) >> 16;
}

YuvTables buildTables() {
    YuvTables t;
    fillTable(t.redV, kRedFromV);
    fillTable(t.greenU, kGreenFromU);
    fillTable(t.greenV, kGreenFromV);
    fillTable(t.blueU, kBlueFromU);
    return t;
}

// Indexed by a channel value + 320: the sums of luma and chroma terms stay within -222..475.
struct ClampTable {
    u8 values[832]{};
    constexpr ClampTable() {
        for (int i = 0; i < 832; ++i)
            values[i] = u8(i < 320 ? 0 : i > 575 ? 255 : i - 320);
    }
};

constexpr ClampTable kClamp;

inline u32 clampByte(i32 value) {
    return kClamp.values[value + 320];
}

// The chroma terms of one sample, shared by the 2 x 2 luma pixels that use it.
struct Chroma {
    i32 blue, green, red;
};

inline Chroma chromaOf(const YuvTables& t, u8 u, u8 v) {
    return {t.blueU[u], t.greenU[u] + t.greenV[v], t.redV[v]};
}

inline u32 pixel(i32 luma, const Chroma& chroma) {
    return 0xFF000000u | clampByte(luma + chroma.red) << 16 | clampByte(luma - chroma.green) << 8 |
           clampByte(luma + chroma.blue);
}

const u8* rowOf(const YuvPlane& plane, u32 row) {
    return plane.data + std::ptrdiff_t(row) * plane.stride;
}

inline void convertPair(const u8* y0, const u8* y1, u32* out0, u32* out1, u32 x, const Chroma& chroma) {
    out0[x] = pixel(y0[x], chroma);
    out1[x] = pixel(y1[x], chroma);
}

// One chroma row colours two luma rows; for the last row of an odd height both are the same row.
void convertRows(const YuvTables& t, const u8* y0, const u8* y1, const u8* u, const u8* v, u32 width,
                 u32* out0, u32* out1) {
    u32 x = 0;
    for (; x + 1 < width; x += 2) {
        const Chroma chroma = chromaOf(t, u[x / 2], v[x / 2]);
        convertPair(y0, y1, out0, out1, x, chroma);
        convertPair(y0, y1, out0, out1, x + 1, chroma);
    }
    if (x < width)
        convertPair(y0, y1, out0, out1, x, chromaOf(t, u[x / 2], v[x / 2]));
}

} // namespace

const YuvTables& yuvTables() {
    static const YuvTables tables = buildTables();
    return tables;
}

void convertYuv420(const YuvPlane& y, const YuvPlane& u, const YuvPlane& v, u32 width, u32 height, u32* out) {
    const YuvTables& t = yuvTables();
    for (u32 row = 0; row < height; row += 2) {
        const u32 next = row + 1 < height ? row + 1 : row;
        convertRows(t, rowOf(y, row), rowOf(y, next), rowOf(u, row / 2), rowOf(v, row / 2), width,
                    out + std::size_t(row) * width, out + std::size_t(next) * width);
    }
}
