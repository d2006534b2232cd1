#include "tk2v/gui/Region.h"
#include "support/BmpWriter.h"
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

// A 1-bit bitmap whose pixel (x, y), counted from the top, is inside where the mask says so. With a
// black first palette entry inside is bit 1, otherwise bit 0.
std::string monochromeBmp(u32 width, u32 height, const Mask& inside, bmpfiles::OneBitOptions options = {}) {
    std::vector<bool> bits;
    for (u32 y = 0; y < height; ++y)
        for (u32 x = 0; x < width; ++x)
            bits.push_back(inside(x, y) == options.blackFirst);
    return bmpfiles::oneBit(width, height, bits, options);
}

bool everywhere(u32, u32) {
    return true;
}

// Lit at the left and right edges of every row and along one diagonal, so that a row read from the
// wrong end, a bit read in the wrong order or a wrong row stride shows.
bool pattern(u32 x, u32 y) {
    return x == 0 || x == 32 || x == y * 5 + 1;
}

class RegionLayouts : public ::testing::TestWithParam<bmpfiles::OneBitOptions> {};

TEST_P(RegionLayouts, ThirtyThreeWideRowsReadWithTheirPaddingAndPolarity) {
    TempDir dir;
    const std::string bmp = monochromeBmp(33, 4, pattern, GetParam());
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
                         ::testing::Values(bmpfiles::OneBitOptions{false, true},
                                           bmpfiles::OneBitOptions{false, false},
                                           bmpfiles::OneBitOptions{true, true},
                                           bmpfiles::OneBitOptions{true, false}));

TEST(Region, OutsideTheMaskOrWithoutOneNothingIsSet) {
    TempDir dir;
    GUI::Region region;
    EXPECT_FALSE(region.IsSet(0, 0));
    dir.write("full.bmp", monochromeBmp(3, 2, everywhere));
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
    dir.write("good.bmp", monochromeBmp(9, 3, pattern));
    std::string bad = monochromeBmp(9, 3, everywhere);
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
