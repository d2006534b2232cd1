#include "GfxTestUtil.h"
#include "support/OffscreenGfx.h"

#include <cmath>
#include <cstring>

using namespace platform;
using namespace gfxtest;

namespace {

struct FormatCase {
    Format format;
    u32 pixels[2]; // written through a lock in the format's own bits
};

class TextureFormats : public ::testing::TestWithParam<FormatCase> {};

void writePixel(const LockedRect& locked, Format format, u32 x, u32 pixel) {
    u8* at = static_cast<u8*>(locked.bits) + x * bytesPerPixel(format);
    if (bytesPerPixel(format) == 4)
        std::memcpy(at, &pixel, 4);
    else {
        u16 p = u16(pixel);
        std::memcpy(at, &p, 2);
    }
}

u32 readPixel(const LockedRect& locked, Format format, u32 x) {
    u32 pixel = 0;
    std::memcpy(&pixel, static_cast<const u8*>(locked.bits) + x * bytesPerPixel(format),
                bytesPerPixel(format));
    return pixel;
}

// A channel of `bits` bits at `shift`, widened to 0..1 as the GPU samples it.
f32 widened(u32 pixel, int shift, int bits) {
    return f32((pixel >> shift) & ((1u << bits) - 1)) / f32((1u << bits) - 1);
}

// What the pixel shows over black: its colour scaled by its alpha (X8R8G8B8 shows opaque).
u32 overBlack(Format format, u32 p) {
    struct Layout {
        int a, aBits, r, rBits, g, gBits, b, bBits;
    };
    Layout l = format == FMT_R5G6B5     ? Layout{0, 0, 11, 5, 5, 6, 0, 5}
               : format == FMT_A1R5G5B5 ? Layout{15, 1, 10, 5, 5, 5, 0, 5}
               : format == FMT_A4R4G4B4 ? Layout{12, 4, 8, 4, 4, 4, 0, 4}
                                        : Layout{24, format == FMT_X8R8G8B8 ? 0 : 8, 16, 8, 8, 8, 0, 8};
    f32 alpha = l.aBits ? widened(p, l.a, l.aBits) : 1.0f;
    auto byte = [&](int shift, int bits) { return u32(std::lround(widened(p, shift, bits) * alpha * 255)); };
    return byte(l.r, l.rBits) << 16 | byte(l.g, l.gBits) << 8 | byte(l.b, l.bBits);
}

TEST_P(TextureFormats, LockedWritesReachTheScreenAndTheCopy) {
    const FormatCase c = GetParam();
    GraphicsDevice& device = offscreenDevice(2, 1);
    device.setLinearFilter(false);
    auto texture = Texture::create(2, 1, c.format);
    ASSERT_TRUE(texture);
    LockedRect locked;
    ASSERT_EQ(texture->lock(nullptr, false, locked), S_OK);
    for (u32 x = 0; x < 2; ++x)
        writePixel(locked, c.format, x, c.pixels[x]);
    ASSERT_EQ(texture->unlock(), S_OK);
    SpriteBatch(device).draw(*texture, at(0, 0, *texture));
    RgbaImage image = readBack(device);
    for (u32 x = 0; x < 2; ++x)
        EXPECT_TRUE(near(rgb(image, x, 0), overBlack(c.format, c.pixels[x]), 2))
            << "pixel " << x << ": 0x" << std::hex << rgb(image, x, 0) << " wanted 0x"
            << overBlack(c.format, c.pixels[x]);
    Rect second{1, 0, 1, 1};
    ASSERT_EQ(texture->lock(&second, true, locked), S_OK);
    EXPECT_EQ(readPixel(locked, c.format, 0), c.pixels[1]);
    texture->unlock();
}

INSTANTIATE_TEST_SUITE_P(EachFormat, TextureFormats,
                         ::testing::Values(FormatCase{FMT_A8R8G8B8, {0xFF336699, 0x80FF8000}},
                                           FormatCase{FMT_X8R8G8B8, {0x00336699, 0x12FF8000}},
                                           FormatCase{FMT_R5G6B5, {0xF800, 0x07FF}},
                                           FormatCase{FMT_A1R5G5B5, {0xFC1F, 0x7FFF}},
                                           FormatCase{FMT_A4R4G4B4, {0xF0F0, 0x8F00}}));

TEST(TextureConversions, FollowTheEngineTable) {
    struct Case {
        Format format;
        u32 argb, pixel, back;
    };
    const Case cases[] = {
        {FMT_A8R8G8B8, 0x12345678, 0x12345678, 0x12345678},
        {FMT_R5G6B5, 0x80FF8040, 0xFC08, 0xFFF88040},
        {FMT_A1R5G5B5, 0x80FF8040, 0xFE08, 0xFFF88040},
        {FMT_A1R5G5B5, 0x7FFF8040, 0x7E08, 0x00F88040},
        {FMT_A4R4G4B4, 0x9FFF8040, 0x9F84, 0x90F08040},
        {FMT_X8R8G8B8, 0xFFFFFFFF, 0, 0},
        {FMT_UNKNOWN, 0xFFFFFFFF, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pixelFromArgb(c.format, c.argb), c.pixel) << c.format;
        EXPECT_EQ(argbFromPixel(c.format, c.pixel), c.back) << c.format;
    }
    for (Format f : {FMT_R5G6B5, FMT_A1R5G5B5, FMT_A4R4G4B4})
        for (u32 p = 0; p < 0x10000; ++p)
            ASSERT_EQ(pixelFromArgb(f, argbFromPixel(f, p)), p) << "format " << f << " pixel " << p;
}

TEST(Textures, ConvertPicturesIntoTheirFormat) {
    offscreenDevice(4, 4);
    auto image = picture(3, 2, [](u32 x, u32 y) { return 0x80000000u | x << 22 | y << 14 | 0x3C; });
    for (Format f : {FMT_A8R8G8B8, FMT_X8R8G8B8, FMT_R5G6B5, FMT_A1R5G5B5, FMT_A4R4G4B4}) {
        auto texture = Texture::create(image, f);
        ASSERT_TRUE(texture) << f;
        EXPECT_EQ(texture->format(), f);
        LockedRect locked;
        ASSERT_EQ(texture->lock(nullptr, true, locked), S_OK);
        for (u32 y = 0; y < 2; ++y)
            for (u32 x = 0; x < 3; ++x) {
                LockedRect row{static_cast<u8*>(locked.bits) + y * locked.pitch, locked.pitch};
                u32 argb = image.argb[y * 3 + x];
                EXPECT_EQ(readPixel(row, f, x), f == FMT_X8R8G8B8 ? argb : pixelFromArgb(f, argb)) << f;
            }
        texture->unlock();
    }
}

TEST(Textures, PaddingKeepsThePictureAtTheTopLeft) {
    offscreenDevice(4, 4);
    auto texture = Texture::create(picture(5, 3, [](u32, u32) { return 0xFFABCDEF; }), FMT_A8R8G8B8, true);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->width(), 8u);
    EXPECT_EQ(texture->height(), 4u);
    EXPECT_EQ(texture->imageWidth(), 5u);
    EXPECT_EQ(texture->imageHeight(), 3u);
    LockedRect locked;
    ASSERT_EQ(texture->lock(nullptr, true, locked), S_OK);
    auto at = [&](u32 x, u32 y) { return static_cast<const u32*>(locked.bits)[y * locked.pitch / 4 + x]; };
    EXPECT_EQ(at(4, 2), 0xFFABCDEFu);
    EXPECT_EQ(at(5, 2), 0u);
    EXPECT_EQ(at(4, 3), 0u);
    texture->unlock();
}

TEST(Textures, TakeOverAPictureTheyKeepAsItIs) {
    offscreenDevice(4, 4);
    auto texel = [](u32 x, u32 y) { return 0x80000000u | x << 16 | y << 8 | 0x3C; };
    for (Format f : {FMT_A8R8G8B8, FMT_R5G6B5}) {
        DecodedImage image = picture(3, 2, texel);
        auto texture = Texture::create(std::move(image), f);
        ASSERT_TRUE(texture) << f;
        EXPECT_TRUE(image.argb.empty() && image.width == 0 && image.height == 0) << f;
        LockedRect locked;
        ASSERT_EQ(texture->lock(nullptr, true, locked), S_OK);
        for (u32 y = 0; y < 2; ++y) {
            LockedRect row{static_cast<u8*>(locked.bits) + y * locked.pitch, locked.pitch};
            for (u32 x = 0; x < 3; ++x)
                EXPECT_EQ(readPixel(row, f, x), pixelFromArgb(f, texel(x, y))) << f;
        }
        texture->unlock();
    }
}

struct OpacityCase {
    Format format;
    u32 argb;
    bool pad, opaque;
};

TEST(TextureOpacity, FollowsTheAlphaOfEveryTexel) {
    offscreenDevice(4, 4);
    const OpacityCase cases[] = {
        {FMT_A8R8G8B8, 0xFF123456, false, true},  {FMT_A8R8G8B8, 0xFE123456, false, false},
        {FMT_A8R8G8B8, 0xFF123456, true, false},  {FMT_UNKNOWN, 0xFF123456, false, true},
        {FMT_UNKNOWN, 0x7F123456, false, false},  {FMT_X8R8G8B8, 0x00123456, false, true},
        {FMT_R5G6B5, 0x00123456, true, true},     {FMT_A1R5G5B5, 0x80123456, false, true},
        {FMT_A1R5G5B5, 0x7F123456, false, false}, {FMT_A4R4G4B4, 0xF0123456, false, true},
        {FMT_A4R4G4B4, 0xEF123456, false, false},
    };
    for (const OpacityCase& c : cases) {
        // One texel differs from the rest, last of all, where a scan that stops early would miss it.
        auto texture = Texture::create(
            picture(3, 3, [&](u32 x, u32 y) { return x == 2 && y == 2 ? c.argb : 0xFFFFFFFF; }), c.format,
            c.pad);
        ASSERT_TRUE(texture);
        EXPECT_EQ(texture->isOpaque(), c.opaque) << c.format << " 0x" << std::hex << c.argb << " " << c.pad;
    }
}

TEST(TextureOpacity, FollowsWritesThroughLocks) {
    offscreenDevice(4, 4);
    auto texture = Texture::create(4, 4, FMT_A8R8G8B8);
    ASSERT_TRUE(texture);
    EXPECT_FALSE(texture->isOpaque()); // transparent black
    auto write = [&](const Rect* area, u32 argb) {
        LockedRect locked;
        ASSERT_EQ(texture->lock(area, false, locked), S_OK);
        const Rect whole{0, 0, 4, 4}, r = area ? *area : whole;
        for (i32 y = 0; y < r.h; ++y)
            for (i32 x = 0; x < r.w; ++x)
                std::memcpy(static_cast<u8*>(locked.bits) + y * locked.pitch + x * 4, &argb, 4);
        texture->unlock();
    };
    write(nullptr, 0xFF000000);
    EXPECT_TRUE(texture->isOpaque());
    const Rect corner{3, 3, 1, 1};
    write(&corner, 0xFFFF0000);
    EXPECT_TRUE(texture->isOpaque());
    write(&corner, 0x80FF0000);
    EXPECT_FALSE(texture->isOpaque());
    write(&corner, 0xFFFF0000);
    EXPECT_TRUE(texture->isOpaque());
    // A read-only lock changes nothing.
    LockedRect locked;
    ASSERT_EQ(texture->lock(nullptr, true, locked), S_OK);
    static_cast<u8*>(locked.bits)[3] = 0;
    texture->unlock();
    EXPECT_TRUE(texture->isOpaque());
}

TEST(Textures, UnknownFormatDrawsButDoesNotLock) {
    GraphicsDevice& device = offscreenDevice(2, 2);
    auto texture = Texture::create(picture(2, 2, [](u32, u32) { return 0xFF00FF00; }), FMT_UNKNOWN);
    ASSERT_TRUE(texture);
    LockedRect locked;
    EXPECT_EQ(texture->lock(nullptr, true, locked), D3DERR_INVALIDCALL);
    EXPECT_FALSE(texture->isLocked());
    SpriteBatch(device).draw(*texture, at(0, 0, *texture));
    EXPECT_EQ(rgb(readBack(device), 1, 1), 0x00FF00u);
}

TEST(Textures, RefuseBadLocks) {
    offscreenDevice(4, 4);
    auto texture = Texture::create(8, 4, FMT_R5G6B5);
    ASSERT_TRUE(texture);
    LockedRect locked;
    for (Rect bad :
         {Rect{-1, 0, 2, 2}, Rect{7, 0, 2, 1}, Rect{0, 3, 1, 2}, Rect{2, 2, 0, 1}, Rect{0, 0, 9, 4}})
        EXPECT_EQ(texture->lock(&bad, false, locked), D3DERR_INVALIDCALL) << bad.x << " " << bad.y;
    EXPECT_EQ(texture->unlock(), D3DERR_INVALIDCALL);
    ASSERT_EQ(texture->lock(nullptr, true, locked), S_OK);
    u8* base = static_cast<u8*>(locked.bits);
    texture->unlock();
    Rect corner{7, 3, 1, 1};
    ASSERT_EQ(texture->lock(&corner, false, locked), S_OK);
    EXPECT_EQ(locked.pitch, 16);
    EXPECT_EQ(static_cast<u8*>(locked.bits), base + 3 * 16 + 7 * 2);
    EXPECT_EQ(texture->lock(&corner, false, locked), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->unlock(), S_OK);
}

TEST(Textures, RefuseBadSizesFormatsAndPictures) {
    offscreenDevice(4, 4);
    Result result = S_OK;
    EXPECT_FALSE(Texture::create(0, 4, FMT_A8R8G8B8, &result));
    EXPECT_EQ(result, D3DERR_INVALIDCALL);
    EXPECT_FALSE(Texture::create(1u << 20, 4, FMT_A8R8G8B8, &result));
    EXPECT_EQ(result, D3DERR_INVALIDCALL);
    EXPECT_FALSE(Texture::create(4, 4, 99, &result));
    EXPECT_EQ(result, D3DERR_INVALIDCALL);
    DecodedImage broken;
    broken.width = 4;
    broken.height = 4;
    broken.argb.resize(3);
    EXPECT_FALSE(Texture::create(broken, FMT_A8R8G8B8, false, &result));
    EXPECT_EQ(result, D3DERR_INVALIDCALL);
    EXPECT_TRUE(Texture::create(4, 4, FMT_A4R4G4B4, &result));
    EXPECT_EQ(result, S_OK);
}

} // namespace
