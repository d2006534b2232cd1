#include "tk2v/gfx/StackBlur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// One pass written out the long way: the weighted window around every pixel of every line, edges
// clamped, each channel divided by (r + 1)^2 and rounded down.
std::vector<u32> referencePass(const std::vector<u32>& in, int width, int height, int radius, bool rows) {
    std::vector<u32> out(in.size());
    const int divisor = (radius + 1) * (radius + 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            u32 result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                int sum = 0;
                for (int i = -radius; i <= radius; ++i) {
                    int sx = rows ? std::clamp(x + i, 0, width - 1) : x;
                    int sy = rows ? y : std::clamp(y + i, 0, height - 1);
                    sum += (radius + 1 - std::abs(i)) * int((in[size_t(sy * width + sx)] >> shift) & 0xFF);
                }
                result |= u32(sum / divisor) << shift;
            }
            out[size_t(y * width + x)] = result;
        }
    return out;
}

std::vector<u32> reference(const std::vector<u32>& in, int width, int height, int radius) {
    return referencePass(referencePass(in, width, height, radius, true), width, height, radius, false);
}

// Every channel differs from the others and from its neighbours, so a channel mix-up or an
// off-by-one in the window shows.
std::vector<u32> pattern(int width, int height) {
    std::vector<u32> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(u32((x * 37 + y * 11) & 0xFF) << 24 | u32((x * 91 + y * 53) % 256) << 16 |
                             u32((x * x * 7 + y * 3) & 0xFF) << 8 | u32(255 - ((x + y * y) * 29) % 256));
    return pixels;
}

struct BlurCase {
    int width, height, radius;
};

class StackBlurCases : public ::testing::TestWithParam<BlurCase> {};

TEST_P(StackBlurCases, MatchesTheWeightedWindowWithClampedEdges) {
    const BlurCase c = GetParam();
    std::vector<u32> pixels = pattern(c.width, c.height);
    const std::vector<u32> expected = reference(pixels, c.width, c.height, c.radius);
    stackBlur(pixels.data(), u32(c.width), u32(c.height), u32(c.radius));
    EXPECT_EQ(pixels, expected);
}

// The radius beyond the buffer's size and the one-pixel lines are all edge clamping; 70 is past the
// quotient table.
INSTANTIATE_TEST_SUITE_P(Radii, StackBlurCases,
                         ::testing::Values(BlurCase{7, 5, 1}, BlurCase{9, 6, 2}, BlurCase{5, 4, 3},
                                           BlurCase{3, 2, 6}, BlurCase{1, 6, 2}, BlurCase{6, 1, 2},
                                           BlurCase{4, 3, 70}));

TEST(StackBlur, FlatBuffersAndRadiusZeroStayAsTheyAre) {
    std::vector<u32> flat(12, 0xFFFFFFFF);
    stackBlur(flat.data(), 4, 3, 3);
    EXPECT_EQ(flat, std::vector<u32>(12, 0xFFFFFFFF));
    std::vector<u32> pixels = pattern(4, 3), before = pixels;
    stackBlur(pixels.data(), 4, 3, 0);
    EXPECT_EQ(pixels, before);
}

} // namespace
