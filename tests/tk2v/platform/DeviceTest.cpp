#include "GfxTestUtil.h"
#include "support/FakeClock.h"
#include "support/FakeDeviceStates.h"
#include "support/OffscreenGfx.h"
#include "support/TempDir.h"
#include "tk2v/platform/BmpFile.h"
#include "tk2v/platform/GlDevice.h"
#include "tk2v/platform/Window.h"

#include <epoxy/gl.h>

using namespace platform;
using namespace gfxtest;

namespace {

TEST(Device, ScenesPairUpAndResetWaitsForTheirEnd) {
    GraphicsDevice& device = offscreenDevice(8, 8); // a scene is open
    EXPECT_EQ(device.beginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.reset({8, 8, 0}), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.endScene(), S_OK);
    EXPECT_EQ(device.endScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.testCooperativeLevel(), S_OK);
}

TEST(Device, ResetTakesTheNewSizeAndRestoresDefaultState) {
    GraphicsDevice& device = offscreenDevice(8, 8);
    device.endScene();
    device.setColourOp(COLOUR_ADD);
    device.setBlendMode(BLEND_ADDITIVE);
    device.setLinearFilter(false);
    device.setViewport({1, 1, 2, 2});
    EXPECT_EQ(device.reset({0, 8, 0}), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.backBufferWidth(), 8u);
    ASSERT_EQ(device.reset({20, 10, 1}), S_OK);
    EXPECT_EQ(device.backBufferWidth(), 20u);
    EXPECT_EQ(device.backBufferHeight(), 10u);
    EXPECT_EQ(device.colourOp(), COLOUR_MODULATE);
    EXPECT_EQ(device.blendMode(), BLEND_ALPHA);
    EXPECT_TRUE(device.linearFilter());
    EXPECT_EQ(device.viewport(), (Rect{0, 0, 20, 10}));
    device.beginScene();
    device.clear(0xFF102030);
    RgbaImage image = readBack(device);
    EXPECT_EQ(image.width, 20u);
    EXPECT_EQ(rgb(image, 19, 9), 0x102030u);
}

TEST(Device, RefusesUnknownRenderStatesAndKeepsTheOldOnes) {
    GraphicsDevice& device = offscreenDevice(4, 4);
    device.setColourOp(COLOUR_SUBTRACT);
    EXPECT_EQ(device.setColourOp(5), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.colourOp(), COLOUR_SUBTRACT);
    EXPECT_EQ(device.setBlendMode(2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.blendMode(), BLEND_ALPHA);
}

TEST(Device, ClearWithZeroLeavesTheBackBuffer) {
    GraphicsDevice& device = offscreenDevice(4, 4);
    device.clear(0xFF00FF00);
    EXPECT_EQ(device.clear(0), S_OK);
    EXPECT_EQ(rgb(readBack(device), 2, 2), 0x00FF00u);
}

TEST(Device, ClearAndReadBackGoToTheirOwnDeviceWhileAnotherIsCurrent) {
    GraphicsDevice& first = offscreenDevice(4, 4);
    WindowConfig config;
    config.visible = false;
    auto window = Window::create(config);
    ASSERT_TRUE(window);
    Result result = E_FAIL;
    auto second = createGraphicsDevice(*window, {4, 4, 0}, result); // its context is now the current one
    ASSERT_TRUE(second);
    first.clear(0xFFFF0000);
    EXPECT_EQ(rgb(readBack(first), 1, 1), 0xFF0000u);
    EXPECT_EQ(rgb(readBack(*second), 1, 1), 0x000000u);
}

TEST(Device, ReadsBackAreasTopDownAndRefusesOutsideOnes) {
    GraphicsDevice& device = offscreenDevice(6, 4);
    auto red = solid(0xFFFF0000, 1, 1);
    SpriteBatch(device).draw(*red, at(5, 0, *red));
    std::vector<u8> rgba;
    ASSERT_EQ(device.readBackBuffer({4, 0, 2, 1}, rgba), S_OK);
    EXPECT_EQ(rgba, (std::vector<u8>{0, 0, 0, 255, 255, 0, 0, 255}));
    for (Rect bad : {Rect{5, 0, 2, 1}, Rect{0, -1, 1, 1}, Rect{0, 0, 0, 1}})
        EXPECT_EQ(device.readBackBuffer(bad, rgba), D3DERR_INVALIDCALL);
}

TEST(Device, PresentLeavesTheBackBufferAndItsClippingAlone) {
    GraphicsDevice& device = offscreenDevice(8, 6);
    auto white = solid(0xFFFFFFFF, 8, 6);
    device.setViewport({0, 0, 4, 6});
    SpriteBatch batch(device);
    batch.draw(*white, at(0, 0, *white));
    device.endScene();
    EXPECT_EQ(device.present(), S_OK);
    device.beginScene();
    batch.draw(*white, at(0, 0, *white, 0xFF0000FF));
    RgbaImage image = readBack(device);
    EXPECT_EQ(rgb(image, 1, 1), 0x0000FFu);
    EXPECT_EQ(rgb(image, 6, 1), 0u);
}

TEST(Device, WithASwapIntervalPresentsAreHeldToTheRefreshRateWhereTheSwapReturnsAtOnce) {
    GraphicsDevice& device = offscreenDevice(8, 8);
    device.endScene();
    // The offscreen driver tells no refresh rate, which counts as 100, and swaps at once.
    ASSERT_EQ(device.refreshRate(), 0u);
    struct Case {
        i32 swapInterval;
        u64 workMs; // each frame's own time before its present
        u64 sleptMs;
    };
    const Case cases[] = {
        {1, 0, 1000}, // 100 intervals of 10 ms
        {1, 3, 700},  // the rest of each interval
        {1, 15, 0},   // slower than the display: never held
        {0, 0, 0},    // without an interval the main loop caps the rate, not the device
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.swapInterval << ", " << c.workMs << " ms");
        FakeClock clock;
        ASSERT_EQ(device.reset({8, 8, c.swapInterval}), S_OK);
        const u64 start = clock.counter();
        for (int frame = 0; frame <= 100; ++frame) {
            clock.advanceMs(c.workMs);
            ASSERT_EQ(device.present(), S_OK);
        }
        EXPECT_EQ(clock.sleptMs(), c.sleptMs);
        if (c.swapInterval == 1 && c.workMs < 10) {
            const double fps = 100 / (double(clock.counter() - start - c.workMs * 1000000) / 1e9);
            EXPECT_NEAR(fps, 100, 5);
        }
    }
    device.reset({8, 8, 0});
    device.beginScene();
}

// What the window holds after a present (the offscreen driver's swap leaves it), rows from the top.
// The first read after a swap gives black on that driver, whatever the window holds; the second
// gives the picture.
RgbaImage readWindow() {
    const Point size = offscreenWindow().clientSize();
    RgbaImage image;
    image.width = u32(size.x);
    image.height = u32(size.y);
    std::vector<u8> bottomUp(image.width * image.height * 4);
    GLint framebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    for (int pass = 0; pass < 2; ++pass)
        glReadPixels(0, 0, size.x, size.y, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(framebuffer));
    const size_t row = image.width * 4;
    for (u32 y = 0; y < image.height; ++y)
        image.rgba.insert(image.rgba.end(), bottomUp.begin() + std::ptrdiff_t((image.height - 1 - y) * row),
                          bottomUp.begin() + std::ptrdiff_t((image.height - y) * row));
    return image;
}

// A picture whose left half is red and right half blue, with a green top row: presented one to one,
// scaled, and letterboxed, the window shows it upright in its place with black bars around it.
TEST(Device, PresentShowsTheBackBufferUprightInItsPlace) {
    const Point window = offscreenWindow().clientSize();
    ASSERT_EQ(window, (Point{320, 240}));
    struct Case {
        u32 width, height;
        Rect shown;
    };
    for (const Case& c : {Case{320, 240, {0, 0, 320, 240}}, Case{32, 24, {0, 0, 320, 240}},
                          Case{32, 48, {80, 0, 160, 240}}}) {
        SCOPED_TRACE(c.width);
        GraphicsDevice& device = offscreenDevice(c.width, c.height);
        auto picture = Texture::create(
            gfxtest::picture(c.width, c.height,
                             [&](u32 x, u32 y) {
                                 return y == 0 ? 0xFF00FF00 : x < c.width / 2 ? 0xFFFF0000 : 0xFF0000FF;
                             }),
            FMT_A8R8G8B8);
        SpriteBatch(device).draw(*picture, at(0, 0, *picture));
        device.endScene();
        ASSERT_EQ(device.present(), S_OK);
        const RgbaImage shown = readWindow();
        auto windowPixel = [&](Point p) { return rgb(shown, u32(p.x), u32(p.y)); };
        const Rect& r = c.shown;
        EXPECT_EQ(windowPixel({r.x + r.w / 4, r.y + r.h / 2}), 0xFF0000u);
        EXPECT_EQ(windowPixel({r.x + r.w * 3 / 4, r.y + r.h / 2}), 0x0000FFu);
        EXPECT_EQ(windowPixel({r.x + r.w / 4, r.y}), 0x00FF00u);
        EXPECT_EQ(windowPixel({r.x + r.w / 4, r.y + r.h - 1}), 0xFF0000u);
        if (r.x > 0) {
            EXPECT_EQ(windowPixel({r.x - 1, r.y + r.h / 2}), 0u);
            EXPECT_EQ(windowPixel({r.x + r.w, r.y + r.h / 2}), 0u);
        }
        device.beginScene();
    }
}

// One to one, every texel lands on its own pixel unfiltered, so single-pixel detail survives.
TEST(Device, PresentOneToOneKeepsEveryPixel) {
    const Point window = offscreenWindow().clientSize();
    GraphicsDevice& device = offscreenDevice(u32(window.x), u32(window.y));
    auto checks =
        Texture::create(gfxtest::picture(u32(window.x), u32(window.y),
                                         [](u32 x, u32 y) { return (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000; }),
                        FMT_A8R8G8B8);
    SpriteBatch(device).draw(*checks, at(0, 0, *checks));
    device.endScene();
    ASSERT_EQ(device.present(), S_OK);
    const RgbaImage shown = readWindow();
    for (Point p : {Point{0, 0}, Point{1, 0}, Point{101, 57}, Point{window.x - 1, window.y - 1}})
        EXPECT_EQ(rgb(shown, u32(p.x), u32(p.y)), (p.x + p.y) % 2 ? 0xFFFFFFu : 0u) << p.x << "," << p.y;
    device.beginScene();
}

// Frames on an 8 x 8 back buffer: an opaque background over all of it (or, clipped, over part of it),
// and a half-transparent red square on it.
struct KeptFrames {
    GraphicsDevice& device = offscreenDevice(8, 8);
    std::unique_ptr<Texture> background = solid(0xFF000080, 8, 8);
    std::unique_ptr<Texture> red = solid(0x80FF0000, 4, 4);

    u64 kept() const { return dynamic_cast<const GlDevice&>(device).framesKept(); }
    // Draws a frame and presents it; the number of frames kept rather than drawn again comes back.
    u64 frame(f32 redX = 2, bool withBackground = true) {
        const u64 before = kept();
        SpriteBatch batch(device);
        if (withBackground)
            batch.draw(*background, at(0, 0, *background));
        batch.draw(*red, at(redX, 2, *red));
        device.endScene();
        EXPECT_EQ(device.present(), S_OK);
        device.beginScene();
        return kept() - before;
    }
    void refill(Texture& texture, u32 argb) {
        LockedRect locked;
        ASSERT_EQ(texture.lock(nullptr, false, locked), S_OK);
        for (u32 y = 0; y < texture.height(); ++y)
            for (u32 x = 0; x < texture.width(); ++x)
                static_cast<u32*>(locked.bits)[y * u32(locked.pitch) / 4 + x] = argb;
        texture.unlock();
    }
    u32 pixel(u32 x, u32 y) { return rgb(readBack(device), x, y); }
};

TEST(Device, AFrameThatOverwritesAllAndDrawsTheSameAsTheLastIsKept) {
    KeptFrames f;
    EXPECT_EQ(f.frame(), 0u);
    EXPECT_EQ(f.frame(), 0u); // the first frame also cleared
    EXPECT_EQ(f.frame(), 1u);
    EXPECT_EQ(f.frame(), 1u);
    EXPECT_TRUE(near(f.pixel(3, 3), 0x800040, 1)) << std::hex << f.pixel(3, 3);
    // Moved: drawn.
    EXPECT_EQ(f.frame(3), 0u);
    EXPECT_EQ(f.pixel(2, 3), 0x000080u);
    // A frame read back before its end was partly drawn then: drawn whole, and the next is drawn too.
    SpriteBatch(f.device).draw(*f.background, at(0, 0, *f.background));
    readBack(f.device);
    EXPECT_EQ(f.frame(3, false), 0u);
    EXPECT_EQ(f.frame(3), 0u);
    EXPECT_EQ(f.frame(3), 1u);
    // The window still shows every frame (its reading makes the back buffer anew: last).
    const RgbaImage window = readWindow();
    EXPECT_EQ(rgb(window, 60, 10), 0x000080u);
    EXPECT_TRUE(near(rgb(window, 160, 120), 0x800040, 1));
}

TEST(Device, AFrameIsDrawnAgainWhenATextureItUsesChanged) {
    KeptFrames f;
    f.frame();
    f.refill(*f.background, 0xFF00FF00);
    EXPECT_EQ(f.frame(), 0u);
    EXPECT_TRUE(near(f.pixel(3, 3), 0x808000, 1)) << std::hex << f.pixel(3, 3);
    EXPECT_EQ(f.pixel(0, 0), 0x00FF00u);
    // Released and made anew, a texture may come back under the same GL name with other pixels.
    f.background.reset();
    f.background = solid(0xFFFFFFFF, 8, 8);
    EXPECT_EQ(f.frame(), 0u);
    EXPECT_EQ(f.pixel(0, 0), 0xFFFFFFu);
    // Textures the frame does not use change nothing.
    auto other = solid(0xFF123456);
    f.refill(*other, 0xFF654321);
    EXPECT_EQ(f.frame(), 1u);
}

// Without a whole overwrite, each frame blends over the one before, so each must be drawn.
TEST(Device, AFrameThatLeavesOlderPixelsIsAlwaysDrawn) {
    KeptFrames f;
    u32 red = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.frame(2, false), 0u);
        red += (255 - red) * 128 / 255;
        EXPECT_TRUE(near(f.pixel(3, 3), red << 16, 2)) << i << ": " << std::hex << f.pixel(3, 3);
    }
    // A background clipped to part of the back buffer does not overwrite all of it.
    f.device.setViewport({0, 0, 8, 4});
    f.frame();
    EXPECT_EQ(f.frame(), 0u);
}

// Frames that each change a little of the one before (a sprite moved, turned, recoloured, added or
// taken away, a line, a clip): each presented frame, drawn again only where it changed, holds the
// pixels the same frame gets when drawn whole.
TEST(Device, AFrameDrawnOnlyWhereItChangedHoldsThePixelsOfTheWholeFrame) {
    GraphicsDevice& device = offscreenDevice(64, 48);
    auto scenery = Texture::create(
        picture(64, 48, [](u32 x, u32 y) { return 0xFF000000u | x * 4 << 16 | y * 5 << 8 | (x ^ y) * 3; }),
        FMT_A8R8G8B8);
    auto glass = Texture::create(
        picture(8, 8, [](u32 x, u32 y) { return u32(x * 30 + 10) << 24 | 0xFF8000 | y; }), FMT_A8R8G8B8);
    auto opaque = solid(0xFF2040C0, 6, 5);
    auto next = seededDraws(11);
    struct Sprite {
        const Texture* texture;
        SpriteDraw draw;
        u32 blend;
        Rect viewport;
    };
    auto randomSprite = [&] {
        const Texture* texture = next(3) == 0 ? opaque.get() : glass.get();
        SpriteDraw d = at(f32(next(70)) - 6 + f32(next(4)) / 4, f32(next(54)) - 6, *texture, 0xFFFFFFFF);
        if (next(3) == 0)
            d.angle = f32(next(628)) / 100;
        if (next(4) == 0)
            d.argb = 0x40000000u * (1 + next(3)) | next(0x1000000);
        const Rect viewport = next(6) == 0 ? Rect{i32(next(30)), i32(next(20)), 30, 24} : Rect{0, 0, 64, 48};
        return Sprite{texture, d, next(4) == 0 ? BLEND_ADDITIVE : BLEND_ALPHA, viewport};
    };
    std::vector<std::vector<Sprite>> frames(1);
    for (int i = 0; i < 5; ++i)
        frames[0].push_back(randomSprite());
    for (int f = 1; f < 60; ++f) {
        std::vector<Sprite> sprites = frames.back();
        const u32 change = next(6);
        Sprite& one = sprites[next(u32(sprites.size()))];
        if (change == 0)
            one.draw.x += f32(next(9)) - 4;
        else if (change == 1)
            one.draw.angle += 0.3f;
        else if (change == 2)
            one.draw.argb ^= 0x30000000u | next(0x1000000);
        else if (change == 3 && sprites.size() < 9)
            sprites.push_back(randomSprite());
        else if (change == 4 && sprites.size() > 1)
            sprites.erase(sprites.begin());
        frames.push_back(sprites);
    }
    const TLVertex line[2] = {{3, 40, 0, 1, 0xFFFFFF00}, {60, 44, 0, 1, 0xFFFFFF00}};
    auto draw = [&](const std::vector<Sprite>& sprites, size_t f) {
        device.setViewport({0, 0, 64, 48});
        device.setBlendMode(BLEND_ALPHA);
        SpriteBatch batch(device);
        batch.begin();
        batch.draw(*scenery, at(0, 0, *scenery));
        for (const Sprite& sprite : sprites) {
            device.setViewport(sprite.viewport);
            device.setBlendMode(sprite.blend);
            batch.draw(*sprite.texture, sprite.draw);
        }
        batch.end();
        device.setViewport({0, 0, 64, 48});
        if (f % 7 < 3)
            device.drawPrimitiveUP(PrimitiveType::LineList, 1, line);
    };
    auto& gl = dynamic_cast<const GlDevice&>(device);
    std::vector<RgbaImage> inPart;
    const u64 partsBefore = gl.framesDrawnInPart();
    for (size_t f = 0; f < frames.size(); ++f) {
        draw(frames[f], f);
        device.endScene();
        ASSERT_EQ(device.present(), S_OK);
        device.beginScene();
        inPart.push_back(readBack(device));
    }
    EXPECT_GE(gl.framesDrawnInPart() - partsBefore, 10u);
    for (size_t f = 0; f < frames.size(); ++f) {
        offscreenDevice(64, 48);
        draw(frames[f], f);
        const RgbaImage whole = readBack(device);
        for (u32 y = 0; y < 48; ++y)
            for (u32 x = 0; x < 64; ++x)
                ASSERT_EQ(inPart[f].pixel(x, y), whole.pixel(x, y))
                    << "frame " << f << " at " << x << ", " << y;
    }
}

TEST(Device, DescribesTheAdapterAndTheDisplay) {
    GraphicsDevice& device = offscreenDevice(4, 4);
    AdapterInfo info = device.adapterInfo();
    EXPECT_FALSE(info.renderer.empty());
    EXPECT_FALSE(info.version.empty());
    EXPECT_GE(info.maxTextureSize, 2048u);
    EXPECT_LE(device.refreshRate(), 1000u);
    DisplayMode desktop = desktopDisplayMode();
    EXPECT_GT(desktop.width, 0u);
    EXPECT_EQ(desktop.format, DISPLAY_FORMAT_X8R8G8B8);
    for (const DisplayMode& mode : displayModes())
        EXPECT_EQ(mode.format, DISPLAY_FORMAT_X8R8G8B8);
}

TEST(Device, ResultNamesForTheLog) {
    EXPECT_STREQ(resultName(D3DERR_DEVICELOST), "D3DERR_DEVICELOST");
    EXPECT_STREQ(resultName(D3DERR_INVALIDCALL), "D3DERR_INVALIDCALL");
    EXPECT_STREQ(resultName(S_OK), "S_OK");
    EXPECT_STREQ(resultName(0x12345678), "Unknown");
    EXPECT_TRUE(failed(D3DERR_DEVICENOTRESET));
    EXPECT_TRUE(succeeded(S_OK));
}

TEST(FakeDevice, PlaysLostAndNotResetAroundTheRealDevice) {
    WindowConfig config;
    config.visible = false;
    auto window = Window::create(config);
    ASSERT_TRUE(window);
    FakeDeviceStates::Install install;
    Result result = E_FAIL;
    auto device = createGraphicsDevice(*window, {16, 16, 0}, result);
    ASSERT_TRUE(device);
    FakeDeviceStates* fake = install.newest();
    ASSERT_EQ(fake, device.get());

    fake->setState(D3DERR_DEVICELOST);
    EXPECT_EQ(device->testCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->present(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->reset({16, 16, 0}), D3DERR_DEVICELOST);
    fake->setState(D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->present(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->reset({32, 16, 0}), S_OK);
    EXPECT_EQ(device->testCooperativeLevel(), S_OK);
    EXPECT_EQ(device->backBufferWidth(), 32u);
    EXPECT_EQ(fake->resets(), 1);
    EXPECT_EQ(device->present(), S_OK);
}

TEST(BmpFile, WritesBottomUpBgraRows) {
    TempDir dir;
    std::vector<u8> rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_TRUE(writeBmp32(dir.file("shot.bmp"), 2, 2, rgba));
    std::string bytes = dir.read("shot.bmp");
    ASSERT_EQ(bytes.size(), 54u + 16u);
    auto u32At = [&](size_t at) {
        return u32(u8(bytes[at])) | u32(u8(bytes[at + 1])) << 8 | u32(u8(bytes[at + 2])) << 16 |
               u32(u8(bytes[at + 3])) << 24;
    };
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(u32At(2), 70u);
    EXPECT_EQ(u32At(10), 54u);
    EXPECT_EQ(u32At(18), 2u);
    EXPECT_EQ(u32At(22), 2u);
    EXPECT_EQ(u8(bytes[28]), 32);
    // First the bottom row (pixels 9.. and 13..), each as B, G, R, A.
    EXPECT_EQ(bytes.substr(54),
              std::string("\x0B\x0A\x09\x0C\x0F\x0E\x0D\x10\x03\x02\x01\x04\x07\x06\x05\x08", 16));
    EXPECT_FALSE(writeBmp32(dir.file("short.bmp"), 2, 3, rgba));
    EXPECT_FALSE(writeBmp32(dir.file("none/shot.bmp"), 2, 2, rgba));
}

} // namespace
