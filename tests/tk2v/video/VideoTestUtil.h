#pragma once
#include "TheoraClip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The flat colours of the test clips: frame i shows kColours[i % 5].
inline const std::vector<Yuv> kColours = {
    {81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {128, 128, 128}, {200, 100, 160}};

inline ClipSpec flatClip(u32 frames, u32 fpsNumerator = 25, u32 fpsDenominator = 1) {
    ClipSpec spec;
    spec.frameCount = frames;
    spec.fpsNumerator = fpsNumerator;
    spec.fpsDenominator = fpsDenominator;
    spec.fill = flatFrames(kColours);
    return spec;
}

// The colour a flat frame should come out in, worked out in floating point.
inline u32 expectedArgb(const Yuv& c) {
    auto channel = [](double value) { return u32(std::clamp(std::lround(value), 0l, 255l)); };
    const double u = c.u - 128.0, v = c.v - 128.0;
    return 0xFF000000u | channel(c.y + 113443 / 65536.0 * v) << 16 |
           channel(c.y - 22020 / 65536.0 * u - 45744 / 65536.0 * v) << 8 |
           channel(c.y + 113508 / 65536.0 * u);
}

// Channel by channel, allowing for the encoder's loss.
inline ::testing::AssertionResult near(u32 actual, u32 expected, int tolerance = 8) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = int(actual >> shift & 0xFF), e = int(expected >> shift & 0xFF);
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    }
    return ::testing::AssertionSuccess();
}

// Which of kColours the ARGB colour is, or -1.
inline int colourIndex(u32 argb) {
    for (size_t i = 0; i < kColours.size(); ++i)
        if (near(argb, expectedArgb(kColours[i])))
            return int(i);
    return -1;
}
