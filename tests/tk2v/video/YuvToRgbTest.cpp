#include "tk2v/video/YuvToRgb.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

u32 convertOne(u8 y, u8 u, u8 v) {
    const u8 luma[1] = {y}, cb[1] = {u}, cr[1] = {v};
    u32 out = 0;
    convertYuv420({luma, 1}, {cb, 1}, {cr, 1}, 1, 1, &out);
    return out;
}

TEST(YuvTables, FixedPointEntries) {
    const YuvTables& t = yuvTables();
    struct Case {
        const i32* table;
        int index;
        i32 value;
    } cases[] = {
        {t.redV, 255, 220},  {t.redV, 0, -222},  {t.redV, 128, 0},    {t.redV, 129, 2},
        {t.greenU, 255, 43}, {t.greenU, 0, -43}, {t.greenV, 255, 89}, {t.greenV, 0, -89},
        {t.blueU, 255, 220}, {t.blueU, 0, -222}, {t.blueU, 127, -2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.table[c.index], c.value) << "index " << c.index;
}

TEST(YuvToRgb, PixelsAreClampedArgb) {
    struct Case {
        u8 y, u, v;
        u32 argb;
    } cases[] = {
        {128, 128, 128, 0xFF808080}, // grey
        {0, 128, 255, 0xFFDC0000},   // red 220, green and blue clamped at 0
        {255, 0, 255, 0xFFFFD121},   // red clamped at 255, green 255 + 43 - 89, blue 255 - 222
        {235, 128, 128, 0xFFEBEBEB},
        {16, 255, 0, 0xFF003EEC}, // red clamped at 0, green 16 - 43 + 89, blue 16 + 220
    };
    for (const Case& c : cases)
        EXPECT_EQ(convertOne(c.y, c.u, c.v), c.argb) << int(c.y) << " " << int(c.u) << " " << int(c.v);
}

// Each chroma sample colours a 2 x 2 block; rows may run upwards through a negative stride.
TEST(YuvToRgb, ChromaIsSharedByTwoByTwoBlocks) {
    const u8 luma[] = {100, 100, 100, 100, 100, 100, 100, 100, 100}; // 3 x 3
    // 2 x 2 with rows 4 bytes apart, the second row stored before the first.
    const u8 cb[] = {128, 255, 9, 9, 0, 128, 9, 9};
    const u8 cr[] = {128, 128, 128, 128};
    std::vector<u32> out(9);
    convertYuv420({luma, 3}, {cb + 4, -4}, {cr, 2}, 3, 3, out.data());
    const u32 yellowish = convertOne(100, 0, 128), grey = convertOne(100, 128, 128),
              bluish = convertOne(100, 255, 128);
    const u32 expected[] = {yellowish, yellowish, grey, yellowish, yellowish, grey, grey, grey, bluish};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(out[i], expected[i]) << "pixel " << i;
}

} // namespace
