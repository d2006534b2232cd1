#include "GfxTestUtil.h"
#include "support/OffscreenGfx.h"

using namespace platform;
using namespace gfxtest;

namespace {

// Black and white texels, so any filtering between them shows as grey.
u32 checker(u32 x, u32 y) {
    return (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
}

bool hasGrey(const RgbaImage& image, u32 x0, u32 y0, u32 w, u32 h) {
    for (u32 y = y0; y < y0 + h; ++y)
        for (u32 x = x0; x < x0 + w; ++x)
            if (u32 c = rgb(image, x, y) & 0xFF; c > 8 && c < 247)
                return true;
    return false;
}

// With the linear filter on, a sprite laid texel for pixel on whole pixels shows its texels as they
// are, and every other placement is still filtered.
TEST(SpriteFilter, LinearFilteringShowsOnlyOffTheTexelGrid) {
    GraphicsDevice& device = offscreenDevice(64, 16);
    ASSERT_TRUE(device.linearFilter());
    auto texture = Texture::create(picture(8, 8, checker), FMT_A8R8G8B8);
    ASSERT_TRUE(texture);
    SpriteBatch batch(device);
    batch.begin();
    batch.draw(*texture, at(2, 2, *texture));
    batch.draw(*texture, at(20.5f, 2, *texture));
    SpriteDraw scaled = at(40, 2, *texture);
    scaled.scaleX = 1.5f;
    batch.draw(*texture, scaled);
    batch.end();
    RgbaImage image = readBack(device);
    for (u32 y = 0; y < 8; ++y)
        for (u32 x = 0; x < 8; ++x)
            ASSERT_EQ(rgb(image, 2 + x, 2 + y), checker(x, y) & 0xFFFFFF) << x << "," << y;
    EXPECT_TRUE(hasGrey(image, 21, 2, 7, 8));
    EXPECT_TRUE(hasGrey(image, 41, 2, 10, 8));
}

} // namespace
