#include "tk2v/gui/Region.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Mask = std::function<bool(u32 x, u32 y)>;

void putU32(std::string& out, size_t at, u32 v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = char(v >> (8 * i));
}

// A 1-bit bitmap whose pixel (x, y), counted from the top, is `ink` where the mask says so. With a
// black first palette entry the ink is bit 1, otherwise bit 0.
std::string monochromeBmp(u32 width, i32 height, const Mask& inside, bool blackFirst) {
    const u32 rows = u32(height < 0 ? -height : height);
    const u32 rowBytes = (width + 31) / 32 * 4;
    std::string bmp(62 + size_t(rowBytes) * rows, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    putU32(bmp, 2, u32(bmp.size()));
    putU32(bmp, 10, 62);
    putU32(bmp, 14, 40);
    putU32(bmp, 18, width);
    putU32(bmp, 22, u32(height));
    bmp[26] = 1;
    bmp[28] = 1;
    putU32(bmp, 54, blackFirst ? 0x00000000 : 0x00FFFFFF);
    putU32(bmp, 58, blackFirst ? 0x00FFFFFF : 0x00000000);
    for (u32 y = 0; y < rows; ++y) {
        const size_t row = 62 + size_t(height < 0 ? y : rows - 1 - y) * rowBytes;
        for (u32 x = 0; x < width; ++x)
            if (inside(x, y) == blackFirst)
                bmp[row + x / 8] = char(bmp[row + x / 8] | 0x80 >> (x % 8));
    }
    return bmp;
}

// Lit at the left and right edges of every row and along one diagonal, so that a row read from the
// wrong end, a bit read in the wrong order or a wrong row stride shows.
bool pattern(u32 x, u32 y) {
    return x == 0 || x == 32 || x == y * 5 + 1;
}

struct Layout {
    bool topDown;
    bool blackFirst;
};

class RegionLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(RegionLayouts, ThirtyThreeWideRowsReadWithTheirPaddingAndPolarity) {
    TempDir dir;
    const Layout layout = GetParam();
    const std::string bmp = monochromeBmp(33, layout.topDown ? -4 : 4, pattern, layout.blackFirst);
    ASSERT_EQ(bmp.size(), 62u + 8u * 4u); // 33 pixels take 8 bytes a row
    dir.write("mask.bmp", bmp);
    GUI::Region region;
    ASSERT_TRUE(region.LoadFromBitmap(dir.file("mask.bmp")));
    ASSERT_EQ(region.GetWidth(), 33u);
    ASSERT_EQ(region.GetHeight(), 4u);
    for (u32 y = 0; y < 4; ++y)
        for (u32 x = 0; x < 33; ++x)
            EXPECT_EQ(region.IsSet(x, y), pattern(x, y)) << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Rows, RegionLayouts,
                         ::testing::Values(Layout{false, true}, Layout{false, false}, Layout{true, true},
                                           Layout{true, false}));

TEST(Region, OutsideTheMaskOrWithoutOneNothingIsSet) {
    TempDir dir;
    GUI::Region region;
    EXPECT_FALSE(region.IsSet(0, 0));
    dir.write("full.bmp", monochromeBmp(
                              3, 2, [](u32, u32) { return true; }, true));
    ASSERT_TRUE(region.LoadFromBitmap(dir.file("full.bmp")));
    EXPECT_TRUE(region.IsSet(2, 1));
    EXPECT_FALSE(region.IsSet(3, 0));
    EXPECT_FALSE(region.IsSet(0, 2));
    EXPECT_FALSE(region.IsSet(u32(-1), 0)); // a negative widget coordinate
}

struct BadFile {
    const char* name;
    std::function<void(std::string&)> spoil;
};

class RegionBadFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(RegionBadFiles, AreLoggedAndKeepTheOldMask) {
    TempDir dir;
    LogCapture logs;
    dir.write("good.bmp", monochromeBmp(9, 3, pattern, true));
    std::string bad = monochromeBmp(
        9, 3, [](u32, u32) { return true; }, true);
    GetParam().spoil(bad);
    dir.write("bad.bmp", bad);

    GUI::Region region;
    ASSERT_TRUE(region.LoadFromBitmap(dir.file("good.bmp")));
    EXPECT_FALSE(region.LoadFromBitmap(dir.file("bad.bmp")));
    EXPECT_TRUE(logs.contains("Region::LoadFromBitmap - invalid bitmap file '" + dir.file("bad.bmp") + "'"));
    EXPECT_EQ(region.GetWidth(), 9u);
    EXPECT_TRUE(region.IsSet(0, 0));
    EXPECT_FALSE(region.IsSet(2, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegionBadFiles,
    ::testing::Values(BadFile{"Empty", [](std::string& b) { b.clear(); }},
                      BadFile{"NineBytes", [](std::string& b) { b.resize(9); }},
                      BadFile{"NotBM", [](std::string& b) { b[1] = 'X'; }},
                      BadFile{"EightBitsAPixel", [](std::string& b) { b[28] = 8; }},
                      BadFile{"HeaderCut", [](std::string& b) { b.resize(40); }},
                      BadFile{"PaletteCut", [](std::string& b) { b.resize(56); }},
                      BadFile{"LastRowShortByOneByte", [](std::string& b) { b.pop_back(); }},
                      BadFile{"BitsOffsetPastTheEnd", [](std::string& b) { putU32(b, 10, 0xFFFFFFF0u); }},
                      BadFile{"HeaderSizePastTheEnd", [](std::string& b) { putU32(b, 14, 0x7FFFFFFFu); }},
                      BadFile{"ZeroWidth", [](std::string& b) { putU32(b, 18, 0); }},
                      BadFile{"NegativeWidth", [](std::string& b) { putU32(b, 18, u32(-9)); }},
                      BadFile{"ZeroHeight", [](std::string& b) { putU32(b, 22, 0); }},
                      BadFile{"HugeHeight", [](std::string& b) { putU32(b, 22, 0x40000000u); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Region, AMissingFileIsAnInvalidBitmap) {
    TempDir dir;
    LogCapture logs;
    GUI::Region region;
    EXPECT_FALSE(region.LoadFromBitmap(dir.file("none.bmp")));
    EXPECT_TRUE(logs.contains("Region::LoadFromBitmap - invalid bitmap file '" + dir.file("none.bmp") + "'"));
    EXPECT_FALSE(region.IsSet(0, 0));
}

} // namespace
