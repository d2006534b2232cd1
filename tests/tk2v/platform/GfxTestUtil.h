#pragma once
#include "support/Golden.h"
#include "tk2v/platform/DecodedImage.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/platform/Texture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Small helpers shared by the graphics tests of this folder.
namespace gfxtest {

inline platform::DecodedImage picture(u32 width, u32 height, const std::function<u32(u32 x, u32 y)>& argb) {
    platform::DecodedImage image;
    image.width = width;
    image.height = height;
    for (u32 y = 0; y < height; ++y)
        for (u32 x = 0; x < width; ++x)
            image.argb.push_back(argb(x, y));
    return image;
}

inline std::unique_ptr<platform::Texture> solid(u32 argb, u32 width = 4, u32 height = 4) {
    auto texture = platform::Texture::create(picture(width, height, [&](u32, u32) { return argb; }),
                                             platform::FMT_A8R8G8B8);
    EXPECT_TRUE(texture);
    return texture;
}

inline platform::SpriteDraw at(f32 x, f32 y, const platform::Texture& texture, u32 argb = 0xFFFFFFFF) {
    platform::SpriteDraw s;
    s.source = {0, 0, i32(texture.width()), i32(texture.height())};
    s.x = x;
    s.y = y;
    s.argb = argb;
    return s;
}

// Draws of 0 .. range - 1 from a seed: the same cases every run.
inline auto seededDraws(u32 seed) {
    return [state = seed](u32 range) mutable {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
}

// 0xRRGGBB of a read-back pixel.
inline u32 rgb(const RgbaImage& image, u32 x, u32 y) {
    return image.pixel(x, y) >> 8;
}

inline bool near(u32 rgbA, u32 rgbB, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((rgbA >> shift) & 0xFF) - int((rgbB >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

} // namespace gfxtest
