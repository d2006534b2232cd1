#include "GfxTestUtil.h"
#include "support/FakeDeviceStates.h"
#include "support/OffscreenGfx.h"
#include "support/TempDir.h"
#include "tk2v/platform/BmpFile.h"

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
