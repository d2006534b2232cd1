#include "GfxTestUtil.h"
#include "support/OffscreenGfx.h"

#include <cmath>
#include <memory>
#include <vector>

using namespace platform;
using namespace gfxtest;

namespace {

constexpr u32 kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// Texel of the colour-operation texture: red and green ramps, opaque on the left half.
u32 rampTexel(u32 x, u32 y) {
    return (x < 8 ? 0xFF000000u : 0x80000000u) | (x * 17) << 16 | (y * 17) << 8 | 0x80;
}

f32 channel(u32 argb, int shift) {
    return f32((argb >> shift) & 0xFF) / 255.0f;
}

// What the device must make of texel t, diffuse d and background b for one channel.
f32 expectedChannel(u32 op, u32 blend, u32 t, u32 d, u32 b, int shift) {
    f32 tc = channel(t, shift), dc = channel(d, shift), bc = channel(b, shift);
    f32 c[] = {tc * dc, std::min(tc + dc, 1.0f), std::max(tc - dc, 0.0f), std::max(dc - tc, 0.0f), dc};
    f32 a = channel(t, 24) * channel(d, 24);
    return std::min(1.0f, a * c[op] + (blend == BLEND_ADDITIVE ? bc : (1 - a) * bc));
}

u32 expectedRgb(u32 op, u32 blend, u32 t, u32 d, u32 b) {
    u32 out = 0;
    for (int shift : {16, 8, 0})
        out |= u32(std::lround(expectedChannel(op, blend, t, d, b, shift) * 255)) << shift;
    return out;
}

TEST(Sprites, ColourOperationsAndBlendModes) {
    constexpr u32 kBackground = 0xFF406080, kDiffuse = 0xC0A06040;
    GraphicsDevice& device = offscreenDevice(80, 32);
    device.clear(kBackground);
    device.setLinearFilter(false);
    auto texture = Texture::create(picture(16, 16, rampTexel), FMT_A8R8G8B8);
    SpriteBatch batch(device);
    batch.begin();
    for (u32 blend : {BLEND_ALPHA, BLEND_ADDITIVE})
        for (u32 op = COLOUR_MODULATE; op <= COLOUR_DIFFUSE; ++op) {
            ASSERT_EQ(device.setColourOp(op), S_OK);
            ASSERT_EQ(device.setBlendMode(blend), S_OK);
            batch.draw(*texture, at(f32(op * 16), f32(blend * 16), *texture, kDiffuse));
        }
    batch.end();
    RgbaImage image = readBack(device);
    for (u32 blend : {BLEND_ALPHA, BLEND_ADDITIVE})
        for (u32 op = COLOUR_MODULATE; op <= COLOUR_DIFFUSE; ++op)
            for (u32 texel : {3u, 12u}) {
                u32 got = rgb(image, op * 16 + texel, blend * 16 + 5);
                u32 want = expectedRgb(op, blend, rampTexel(texel, 5), kDiffuse, kBackground);
                EXPECT_TRUE(near(got, want, 2)) << "op " << op << " blend " << blend << " texel " << texel
                                                << ": 0x" << std::hex << got << " wanted 0x" << want;
            }
    EXPECT_TRUE(matchesGolden("colour_ops", image));
}

TEST(Sprites, RotateClockwiseAboutTheirCentre) {
    GraphicsDevice& device = offscreenDevice(32, 24);
    device.setLinearFilter(false);
    // Left half red, right half blue.
    auto texture =
        Texture::create(picture(8, 4, [](u32 x, u32) { return x < 4 ? kRed : kBlue; }), FMT_A8R8G8B8);
    SpriteDraw s = at(10, 10, *texture);
    s.centreX = 4;
    s.centreY = 2;
    s.angle = f32(M_PI / 2);
    SpriteBatch batch(device);
    batch.draw(*texture, s);
    RgbaImage image = readBack(device);
    // The 8 x 4 sprite around (14, 12) now stands 4 wide and 8 high, its left half on top.
    EXPECT_EQ(rgb(image, 13, 9), 0xFF0000u);
    EXPECT_EQ(rgb(image, 15, 11), 0xFF0000u);
    EXPECT_EQ(rgb(image, 13, 13), 0x0000FFu);
    EXPECT_EQ(rgb(image, 15, 15), 0x0000FFu);
    EXPECT_EQ(rgb(image, 11, 12), 0u);
    EXPECT_EQ(rgb(image, 16, 12), 0u);
    EXPECT_EQ(rgb(image, 14, 7), 0u);
    EXPECT_EQ(rgb(image, 14, 16), 0u);
    EXPECT_TRUE(matchesGolden("sprite_rotated", image));
}

TEST(Sprites, ScaleTheSourceRectangleFromTheirCorner) {
    GraphicsDevice& device = offscreenDevice(24, 24);
    device.setLinearFilter(false);
    // Quadrants: red, green / blue, white.
    auto texture = Texture::create(picture(4, 4,
                                           [](u32 x, u32 y) {
                                               u32 q[] = {kRed, kGreen, kBlue, 0xFFFFFFFF};
                                               return q[(y / 2) * 2 + x / 2];
                                           }),
                                   FMT_A8R8G8B8);
    SpriteDraw s = at(5, 6, *texture);
    s.scaleX = 2;
    s.scaleY = 3;
    SpriteBatch batch(device);
    batch.draw(*texture, s);
    SpriteDraw quadrant = at(18, 1, *texture);
    quadrant.source = {2, 2, 2, 2};
    batch.draw(*texture, quadrant);
    RgbaImage image = readBack(device);
    for (u32 y = 0; y < 24; ++y)
        for (u32 x = 0; x < 18; ++x)
            EXPECT_EQ(rgb(image, x, y) != 0, x >= 5 && x < 13 && y >= 6 && y < 18) << x << ", " << y;
    EXPECT_EQ(rgb(image, 8, 8), 0xFF0000u);
    EXPECT_EQ(rgb(image, 9, 8), 0x00FF00u);
    EXPECT_EQ(rgb(image, 8, 12), 0x0000FFu);
    EXPECT_EQ(rgb(image, 19, 2), 0xFFFFFFu);
    EXPECT_EQ(rgb(image, 20, 2), 0u);
    EXPECT_TRUE(matchesGolden("sprite_scaled", image));
}

TEST(Sprites, ViewportClipsDrawingAndClearing) {
    GraphicsDevice& device = offscreenDevice(40, 30);
    auto white = solid(0xFFFFFFFF, 40, 30);
    device.setViewport({10, 8, 20, 12});
    device.clear(0xFF0000FF);
    SpriteBatch batch(device);
    SpriteDraw half = at(0, 0, *white);
    half.source.w = 20;
    batch.draw(*white, half);
    RgbaImage image = readBack(device);
    for (u32 y = 0; y < 30; ++y)
        for (u32 x = 0; x < 40; ++x) {
            bool inside = x >= 10 && x < 30 && y >= 8 && y < 20;
            u32 want = !inside ? 0u : x < 20 ? 0xFFFFFFu : 0x0000FFu;
            ASSERT_EQ(rgb(image, x, y), want) << x << ", " << y;
        }
    EXPECT_TRUE(matchesGolden("scissor", image));
}

TEST(SpriteBatching, KeepsDrawOrderAcrossTextureSwitches) {
    GraphicsDevice& device = offscreenDevice(8, 8);
    auto a = solid(kRed), b = solid(kGreen);
    SpriteBatch batch(device);
    batch.begin();
    batch.draw(*a, at(0, 0, *a));
    batch.draw(*b, at(0, 0, *b));
    batch.draw(*a, at(0, 0, *a));
    batch.draw(*b, at(4, 4, *b));
    batch.draw(*a, at(4, 4, *a));
    batch.draw(*b, at(4, 4, *b));
    batch.end();
    RgbaImage image = readBack(device);
    EXPECT_EQ(rgb(image, 1, 1), 0xFF0000u);
    EXPECT_EQ(rgb(image, 6, 6), 0x00FF00u);
}

// A white diffuse and an opaque texture each have a cheaper way to be drawn; either must give what
// the full colour operation and blending give, on whole texels and in between.
TEST(SpriteBatching, ShortcutsDrawWhatTheFullRecipeDraws) {
    const u32 background = 0xFF204060;
    struct Case {
        u32 texel, blend, diffuse, op;
    };
    const Case cases[] = {
        {0xFF806040, BLEND_ALPHA, 0xFFFFFFFF, COLOUR_MODULATE},
        {0xFF806040, BLEND_ALPHA, 0x80FFFFFF, COLOUR_MODULATE},
        {0xFF806040, BLEND_ALPHA, 0xFF8080FF, COLOUR_MODULATE},
        {0xFF806040, BLEND_ADDITIVE, 0xFFFFFFFF, COLOUR_MODULATE},
        {0xFF806040, BLEND_ALPHA, 0x40102030, COLOUR_ADD},
        {0x80806040, BLEND_ALPHA, 0xFFFFFFFF, COLOUR_MODULATE},
        {0x40C0A080, BLEND_ADDITIVE, 0xFFFFFFFF, COLOUR_MODULATE},
    };
    for (const Case& c : cases)
        for (f32 offset : {0.0f, 0.5f}) {
            GraphicsDevice& device = offscreenDevice(8, 8);
            device.clear(background);
            device.setBlendMode(c.blend);
            device.setColourOp(c.op);
            auto texture = solid(c.texel);
            ASSERT_EQ(texture->isOpaque(), c.texel >> 24 == 0xFF);
            SpriteBatch(device).draw(*texture, at(offset, offset, *texture, c.diffuse));
            const u32 want = expectedRgb(c.op, c.blend, c.texel, c.diffuse, background);
            const u32 got = rgb(readBack(device), 2, 2);
            EXPECT_TRUE(near(got, want, 1)) << std::hex << c.texel << " " << c.blend << " " << c.diffuse
                                            << " at " << offset << ": 0x" << got << " wanted 0x" << want;
        }
}

// Quads that join an earlier run of their texture must leave every pixel as drawing them one at a time
// does, whatever their placement.
TEST(SpriteBatching, JoiningEarlierRunsKeepsThePicture) {
    const u32 colours[3] = {0xC0FF4020, 0x8020FF40, 0xFF4020FF};
    std::vector<std::unique_ptr<Texture>> textures;
    offscreenDevice(48, 40);
    for (u32 c : colours)
        textures.push_back(solid(c, 4, 4));
    auto next = seededDraws(99);
    std::vector<SpriteDraw> sprites;
    for (int i = 0; i < 400; ++i) {
        SpriteDraw s = at(f32(next(44 * 4)) / 4 - 2, f32(next(36 * 4)) / 4 - 2, *textures[0]);
        s.scaleX = s.scaleY = f32(1 + next(3));
        s.angle = next(4) == 0 ? f32(next(628)) / 100 : 0;
        s.argb = next(2) ? 0xFFFFFFFF : 0xC0FFFFFF;
        sprites.push_back(s);
    }
    auto drawAll = [&](bool batched) {
        GraphicsDevice& device = offscreenDevice(48, 40);
        SpriteBatch batch(device);
        if (batched)
            batch.begin();
        for (size_t i = 0; i < sprites.size(); ++i)
            batch.draw(*textures[i % 3 == 2 ? i / 3 % 3 : i % 3], sprites[i]);
        if (batched)
            batch.end();
        return readBack(device);
    };
    const RgbaImage oneByOne = drawAll(false), batched = drawAll(true);
    for (u32 y = 0; y < 40; ++y)
        for (u32 x = 0; x < 48; ++x)
            ASSERT_EQ(batched.pixel(x, y), oneByOne.pixel(x, y)) << x << ", " << y;
}

// Queued quads that a later opaque quad overwrites are cut away or left out; what shows must be what
// drawing each quad at once shows: pictures of distinct texels, whole, in part or scaled, under opaque
// covers on whole pixels and between them, some clipped to a viewport, among translucent sprites.
TEST(SpriteBatching, QuadsUnderOpaqueOnesKeepThePicture) {
    offscreenDevice(48, 40);
    auto scenery = Texture::create(
        picture(24, 20, [](u32 x, u32 y) { return 0xFF000000u | x * 10 << 16 | y * 12 << 8 | (x ^ y) * 7; }),
        FMT_A8R8G8B8);
    auto cover = solid(kBlue, 6, 5), glass = solid(0x80FF8000, 5, 5);
    ASSERT_TRUE(scenery && scenery->isOpaque() && cover->isOpaque());
    auto next = seededDraws(7);
    struct Step {
        const Texture* texture;
        SpriteDraw sprite;
        Rect viewport;
    };
    std::vector<Step> steps;
    for (int i = 0; i < 300; ++i) {
        const u32 kind = next(4);
        const Texture& texture = kind < 2 ? *scenery : kind == 2 ? *cover : *glass;
        SpriteDraw s = at(f32(next(52)) - 6, f32(next(44)) - 6, texture);
        if (next(4) == 0)
            s.x += 0.5f;
        if (kind == 0)
            s.source = {i32(next(12)), i32(next(10)), i32(1 + next(12)), i32(1 + next(10))};
        if (kind == 1 && next(3) == 0)
            s.scaleX = s.scaleY = 2;
        const Rect viewport = next(5) == 0 ? Rect{i32(next(20)), i32(next(20)), 20, 16} : Rect{0, 0, 48, 40};
        steps.push_back({&texture, s, viewport});
    }
    auto drawAll = [&](bool batched) {
        GraphicsDevice& device = offscreenDevice(48, 40);
        device.clear(0xFF102030);
        SpriteBatch batch(device);
        if (batched)
            batch.begin();
        for (const Step& step : steps) {
            device.setViewport(step.viewport);
            batch.draw(*step.texture, step.sprite);
        }
        if (batched)
            batch.end();
        return readBack(device);
    };
    const RgbaImage oneByOne = drawAll(false), batched = drawAll(true);
    for (u32 y = 0; y < 40; ++y)
        for (u32 x = 0; x < 48; ++x)
            ASSERT_EQ(batched.pixel(x, y), oneByOne.pixel(x, y)) << x << ", " << y;
}

TEST(SpriteBatching, QueuedQuadsKeepThePixelsTheyWereDrawnWith) {
    GraphicsDevice& device = offscreenDevice(8, 4);
    auto texture = solid(kRed);
    SpriteBatch batch(device);
    batch.begin();
    batch.draw(*texture, at(0, 0, *texture));
    LockedRect locked;
    ASSERT_EQ(texture->lock(nullptr, false, locked), S_OK);
    for (i32 y = 0; y < 4; ++y)
        for (i32 x = 0; x < 4; ++x)
            static_cast<u32*>(locked.bits)[y * locked.pitch / 4 + x] = kGreen;
    texture->unlock();
    batch.draw(*texture, at(4, 0, *texture));
    texture.reset(); // released with quads queued: they must still be drawn first
    batch.end();
    RgbaImage image = readBack(device);
    EXPECT_EQ(rgb(image, 1, 1), 0xFF0000u);
    EXPECT_EQ(rgb(image, 5, 1), 0x00FF00u);
}

TEST(SpriteBatching, BeginAndEndPairUp) {
    GraphicsDevice& device = offscreenDevice(4, 4);
    SpriteBatch batch(device);
    EXPECT_EQ(batch.end(), D3DERR_INVALIDCALL);
    EXPECT_EQ(batch.begin(), S_OK);
    EXPECT_EQ(batch.begin(), D3DERR_INVALIDCALL);
    EXPECT_EQ(batch.end(), S_OK);
    // An empty source rectangle draws nothing.
    auto texture = solid(kRed);
    SpriteDraw s = at(0, 0, *texture);
    s.source.w = 0;
    EXPECT_EQ(batch.draw(*texture, s), S_OK);
    EXPECT_EQ(rgb(readBack(device), 1, 1), 0u);
}

} // namespace
