#include "tk2v/gui/DrawHelpers.h"
#include "GuiDraw.h"
#include "tk2v/gfx/aAnim.h"

#include <gtest/gtest.h>

#include <functional>

using namespace guidraw;

namespace {

class DrawHelpers : public ::testing::Test {
protected:
    void SetUp() override { testGraphServer(); }

    // Every pixel of the capture is the texel `source` names for it, or black where it gives none.
    static void expectPixels(const RgbaImage& frame, const std::vector<u32>& picture, u32 pictureWidth,
                             const std::function<bool(u32 x, u32 y, u32& sx, u32& sy)>& source) {
        for (u32 y = 0; y < frame.height; ++y)
            for (u32 x = 0; x < frame.width; ++x) {
                u32 sx = 0, sy = 0;
                const u32 want = source(x, y, sx, sy) ? picture[sy * pictureWidth + sx] & 0xFFFFFF : 0;
                ASSERT_EQ(rgb(frame, x, y), want) << "at " << x << ", " << y;
            }
    }

    TempDir dir;
};

TEST_F(DrawHelpers, TilesAreCutAtTheTargetsRightAndBottomEdges) {
    // A 16 x 16 slice at (2, 1) of an 18 x 17 picture, tiled into 40 x 20 at (3, 2): columns of 16,
    // 16 and 8 in rows of 16 and 4.
    const std::vector<u32> picture = gridPixels(18, 17);
    aImage image = loadImage(dir, "grid.png", 18, 17, picture);
    const RgbaImage frame = capture(48, 26, [&] {
        GUI::DrawImageTiled(&image, aRect{2, 1, 16, 16}, aRect{3, 2, 40, 20}, 0xFFFFFFFF);
    });
    expectPixels(frame, picture, 18, [](u32 x, u32 y, u32& sx, u32& sy) {
        if (x < 3 || x >= 43 || y < 2 || y >= 22)
            return false;
        sx = 2 + (x - 3) % 16;
        sy = 1 + (y - 2) % 16;
        return true;
    });
}

TEST_F(DrawHelpers, ATileLargerThanTheTargetIsCutToIt) {
    const std::vector<u32> picture = gridPixels(12, 12);
    aImage image = loadImage(dir, "grid.png", 12, 12, picture);
    const RgbaImage frame = capture(16, 16, [&] {
        GUI::DrawImageTiled(&image, aRect{0, 0, 12, 12}, aRect{1, 1, 5, 3}, 0xFFFFFFFF);
    });
    expectPixels(frame, picture, 12, [](u32 x, u32 y, u32& sx, u32& sy) {
        sx = x - 1;
        sy = y - 1;
        return x >= 1 && x < 6 && y >= 1 && y < 4;
    });
}

TEST_F(DrawHelpers, ScaledDrawingStretchesTheSourceOverTheTarget) {
    const std::vector<u32> picture = gridPixels(4, 4);
    aImage image = loadImage(dir, "grid.png", 4, 4, picture);
    // The 2 x 2 source at (1, 1) doubled across and tripled down at (2, 3).
    const RgbaImage frame = capture(10, 12, [&] {
        GUI::DrawImageScaled(&image, aRect{1, 1, 2, 2}, aRect{2, 3, 4, 6}, 0xFFFFFFFF);
    });
    expectPixels(frame, picture, 4, [](u32 x, u32 y, u32& sx, u32& sy) {
        sx = 1 + (x - 2) / 2;
        sy = 1 + (y - 3) / 3;
        return x >= 2 && x < 6 && y >= 3 && y < 9;
    });
}

TEST_F(DrawHelpers, TheRotationCentreIsInSourcePixelsAndDefaultsToTheMiddle) {
    const std::vector<u32> picture = gridPixels(4, 2);
    aImage image = loadImage(dir, "grid.png", 4, 2, picture);
    const f32 halfTurn = 3.14159265f;
    // Doubled to 8 x 4 and turned about its middle: it stays where it was, upside down.
    const RgbaImage middle = capture(12, 8, [&] {
        GUI::DrawImageScaled(&image, aRect{0, 0, 4, 2}, aRect{2, 2, 8, 4}, 0xFFFFFFFF, halfTurn);
    });
    expectPixels(middle, picture, 4, [](u32 x, u32 y, u32& sx, u32& sy) {
        sx = 3 - (x - 2) / 2;
        sy = 1 - (y - 2) / 2;
        return x >= 2 && x < 10 && y >= 2 && y < 6;
    });
    // Turned about source pixel (4, 2), the bottom-right corner, which lands on the target's (8, 4).
    const f32 corner[2] = {4, 2};
    const RgbaImage turned = capture(20, 12, [&] {
        GUI::DrawImageScaled(&image, aRect{0, 0, 4, 2}, aRect{2, 2, 8, 4}, 0xFFFFFFFF, halfTurn, corner);
    });
    expectPixels(turned, picture, 4, [](u32 x, u32 y, u32& sx, u32& sy) {
        sx = 3 - (x - 10) / 2;
        sy = 1 - (y - 6) / 2;
        return x >= 10 && x < 18 && y >= 6 && y < 10;
    });
}

TEST_F(DrawHelpers, AnAnimationIsScaledFromItsFrameSize) {
    const std::vector<u32> picture = gridPixels(4, 2);
    aImage image = loadImage(dir, "strip.png", 4, 2, picture);
    aAnim anim;
    anim.makeFrames(&image, nullptr, 2, 2, 2);
    anim.setFrame(1);
    const RgbaImage frame = capture(8, 8, [&] { GUI::DrawAnimScaled(&anim, aRect{0, 0, 6, 4}, 0xFFFFFFFF); });
    expectPixels(frame, picture, 4, [](u32 x, u32 y, u32& sx, u32& sy) {
        sx = 2 + x / 3;
        sy = y / 2;
        return x < 6 && y < 4;
    });
}

TEST_F(DrawHelpers, NothingIsDrawnWhereThereIsNothingToDraw) {
    aImage image = loadImage(dir, "grid.png", 4, 4, gridPixels(4, 4));
    aAnim empty;
    const aRect whole{0, 0, 4, 4}, target{0, 0, 8, 8}, none{1, 1, 0, 0};
    const std::function<void()> draws[] = {
        [&] { GUI::DrawImageTiled(&image, whole, target, 0x00FFFFFF); },
        [&] { GUI::DrawImageTiled(&image, none, target, 0xFFFFFFFF); }, // an empty tile must not loop
        [&] {
            GUI::DrawImageTiled(&image, aRect{0, 0, 4, 0}, target, 0xFFFFFFFF);
        },
        [&] { GUI::DrawImageTiled(&image, whole, none, 0xFFFFFFFF); },
        [&] { GUI::DrawImageTiled(nullptr, whole, target, 0xFFFFFFFF); },
        [&] { GUI::DrawImageScaled(&image, none, target, 0xFFFFFFFF); }, // no division by zero
        [&] { GUI::DrawImageScaled(&image, whole, target, 0x00FFFFFF); },
        [&] { GUI::DrawImageScaled(nullptr, whole, target, 0xFFFFFFFF); },
        [&] { GUI::DrawAnimScaled(&empty, target, 0xFFFFFFFF); },
        [&] { GUI::DrawAnimScaled(nullptr, target, 0xFFFFFFFF); },
    };
    for (size_t i = 0; i < std::size(draws); ++i)
        EXPECT_EQ(countLit(capture(10, 10, draws[i])), 0) << "draw " << i;
}

TEST_F(DrawHelpers, AnImageReferenceIsRemadeOnlyForAnotherImage) {
    aImage first = loadImage(dir, "a.png", 4, 3, gridPixels(4, 3));
    aImage second = loadImage(dir, "b.png", 5, 2, gridPixels(5, 2));
    std::unique_ptr<aImage> ref;
    aRect rect{7, 7, 9, 9};

    GUI::SetImageRef(&first, nullptr, ref, rect);
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->getTexture(), first.getTexture());
    EXPECT_EQ(rect, (aRect{0, 0, 4, 3}));

    const aImage* held = ref.get();
    const aRect part{1, 1, 2, 2};
    GUI::SetImageRef(&first, &part, ref, rect);
    EXPECT_EQ(ref.get(), held);
    EXPECT_EQ(rect, part);

    GUI::SetImageRef(&second, nullptr, ref, rect);
    EXPECT_EQ(ref->getTexture(), second.getTexture());
    EXPECT_EQ(rect, (aRect{0, 0, 5, 2}));

    rect = aRect{3, 4, 5, 6};
    GUI::SetImageRef(nullptr, nullptr, ref, rect);
    EXPECT_FALSE(ref);
    EXPECT_EQ(rect, (aRect{0, 0, 5, 6}));
}

} // namespace
