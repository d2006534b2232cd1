#include "tk2v/platform/DeviceFont.h"
#include "GfxTestUtil.h"
#include "support/OffscreenGfx.h"
#include "support/TempDir.h"

#include <cstdlib>

using namespace platform;
using namespace gfxtest;

namespace {

const LogFont kSystemFont{"Arial", -15, 700, 0, false};

// Lit pixels inside and outside the rectangle.
std::pair<int, int> litInsideAndOutside(const RgbaImage& image, const Rect& r) {
    int inside = 0, outside = 0;
    for (u32 y = 0; y < image.height; ++y)
        for (u32 x = 0; x < image.width; ++x)
            if (rgb(image, x, y) != 0)
                ++(i32(x) >= r.x && i32(x) < r.x + r.w && i32(y) >= r.y && i32(y) < r.y + r.h ? inside
                                                                                              : outside);
    return {inside, outside};
}

TEST(DeviceFont, DrawsInsideItsRectangleOnly) {
    GraphicsDevice& device = offscreenDevice(120, 40);
    auto font = DeviceFont::create(kSystemFont);
    ASSERT_TRUE(font);
    SpriteBatch batch(device);
    for (Rect r : {Rect{10, 10, 100, 20}, Rect{10, 10, 14, 7}}) {
        device.clear(0xFF000000);
        EXPECT_EQ(font->drawText(batch, "fps: 60.0", r, 0xFFFFFFFF), font->lineHeight());
        auto [inside, outside] = litInsideAndOutside(readBack(device), r);
        EXPECT_GT(inside, 10) << r.w;
        EXPECT_EQ(outside, 0) << r.w;
    }
}

TEST(DeviceFont, DrawsWithNormalBlendingAndLeavesTheRenderStateAsItWas) {
    GraphicsDevice& device = offscreenDevice(60, 20);
    auto font = DeviceFont::create(kSystemFont);
    ASSERT_TRUE(font);
    device.clear(0xFFFFFFFF);
    device.setColourOp(COLOUR_ADD);
    device.setBlendMode(BLEND_ADDITIVE);
    SpriteBatch batch(device);
    font->drawText(batch, "H", {0, 0, 60, 20}, 0xFF000000);
    EXPECT_EQ(device.colourOp(), COLOUR_ADD);
    EXPECT_EQ(device.blendMode(), BLEND_ADDITIVE);
    // Black text over white shows only with the font's own modulate and alpha blend.
    RgbaImage image = readBack(device);
    int dark = 0;
    for (u32 y = 0; y < 20; ++y)
        for (u32 x = 0; x < 60; ++x)
            dark += rgb(image, x, y) < 0x404040;
    EXPECT_GT(dark, 10);
}

TEST(DeviceFont, HeightFollowsTheSignLikeLogFont) {
    offscreenDevice(4, 4);
    auto cell = DeviceFont::create({"Arial", 20, 400, 0, false});
    auto em = DeviceFont::create({"Arial", -20, 400, 0, false});
    ASSERT_TRUE(cell && em);
    EXPECT_NEAR(cell->lineHeight(), 20, 1);
    EXPECT_GT(em->lineHeight(), 21);
    auto bold = DeviceFont::create({"Arial", 20, 700, 0, false});
    ASSERT_TRUE(bold);
    EXPECT_GT(bold->textWidth("mmmm"), cell->textWidth("mmmm"));
    EXPECT_EQ(cell->textWidth("ab\ncdef"), cell->textWidth("ab"));
}

// fontconfig reads its configuration once, so the case without fonts runs in a fresh process.
TEST(DeviceFontDeathTest, CreationFailsWhenNoFontExists) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    dir.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + dir.path() +
                                "cache</cachedir></fontconfig>\n");
    EXPECT_EXIT(
        {
            setenv("FONTCONFIG_FILE", dir.file("fonts.conf").c_str(), 1);
            offscreenDevice(4, 4);
            std::exit(DeviceFont::create(kSystemFont) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
