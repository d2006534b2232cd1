#include "tk2v/gfx/aSprite.h"
#include "SceneCapture.h"
#include "support/LogCapture.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aImage.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace {

constexpr f32 kTick = 0.5f; // exact in binary, so elapsed time adds up without rounding

// Frames 0..count-1 without an image, each `delay` ticks long.
void addFrames(aSprite& sprite, int count, u16 delay = 1) {
    for (int i = 0; i < count; ++i)
        sprite.addFrame(delay, nullptr, aRect{i16(i * 10), 0, 10, 12});
}

aAnim playing(u32 mode, int frames, u16 delay = 1) {
    aAnim anim;
    addFrames(anim, frames, delay);
    anim.frameTime = kTick;
    anim.playMode = mode;
    anim.play();
    return anim;
}

TEST(aAnimTest, ModesPlayTheFramesInTheirOrderAndTurnWithAnExtraTick) {
    struct Case {
        u32 mode;
        bool fromLast;
        const char* frames; // the frame after each of 12 updates of one tick
        int stopsAt;        // the update after which it is stopped, 0 for never
    };
    const Case cases[] = {
        {0, false, "123333333333", 4}, {1, false, "123012301230", 0}, {2, true, "210000000000", 4},
        {3, true, "210321032103", 0},  {4, false, "123321000000", 8}, {5, false, "123321001233", 0},
    };
    for (const Case& c : cases) {
        aAnim anim = playing(c.mode, 4);
        if (c.fromLast)
            anim.gotoLastFrame();
        std::string frames;
        int stoppedAt = 0;
        for (int update = 1; update <= 12; ++update) {
            anim.update(kTick);
            frames += char('0' + anim.getFrameIndex());
            if (anim.stopped && stoppedAt == 0)
                stoppedAt = update;
        }
        EXPECT_EQ(frames, c.frames) << "mode " << c.mode;
        EXPECT_EQ(stoppedAt, c.stopsAt) << "mode " << c.mode;
    }
}

TEST(aAnimTest, SingleFrameLoopsEveryDelayAndStopsWhenPlayedOnce) {
    aSprite sprite;
    addFrames(sprite, 1, 2);
    EXPECT_FALSE(sprite.stepForward());
    EXPECT_TRUE(sprite.stepForward());
    EXPECT_EQ(sprite.getFrameTicks(), 2);
    EXPECT_FALSE(sprite.stepBackward());
    EXPECT_TRUE(sprite.stepBackward());

    aAnim looping = playing(aAnim::MODE_LOOP, 1);
    for (int i = 0; i < 3; ++i)
        looping.update(kTick);
    EXPECT_FALSE(looping.stopped);
    EXPECT_EQ(looping.getFrameIndex(), 0);

    aAnim once = playing(aAnim::MODE_ONCE, 1);
    once.update(kTick);
    EXPECT_TRUE(once.stopped);
}

TEST(aAnimTest, LargeStepRunsSeveralTicksAndKeepsTheRemainder) {
    aAnim anim = playing(aAnim::MODE_LOOP, 4);
    anim.update(3.5f * kTick);
    EXPECT_EQ(anim.getFrameIndex(), 3);
    EXPECT_FLOAT_EQ(anim.elapsed, 0.5f * kTick);
    anim.update(0.5f * kTick);
    EXPECT_EQ(anim.getFrameIndex(), 0);

    // Stopping ends the update there: the time after it is not played.
    aAnim once = playing(aAnim::MODE_ONCE, 2);
    once.update(10 * kTick);
    EXPECT_TRUE(once.stopped);
    EXPECT_EQ(once.getFrameIndex(), 1);
}

TEST(aAnimTest, UpdatesThatCouldNeverUseUpTheirTimeReturn) {
    aAnim huge = playing(aAnim::MODE_LOOP, 4);
    huge.update(1e9f); // subtracting one frame time no longer changes a float this large
    EXPECT_LT(huge.getFrameIndex(), 4);
    EXPECT_LT(huge.elapsed, 65537 * kTick);

    aAnim zero = playing(aAnim::MODE_LOOP, 4);
    zero.frameTime = 0;
    zero.update(1);
    EXPECT_EQ(zero.getFrameIndex(), 0);

    aAnim nan = playing(aAnim::MODE_LOOP, 4);
    nan.update(std::numeric_limits<f32>::infinity());
    nan.update(kTick);
    EXPECT_EQ(nan.getFrameIndex(), 1);
}

TEST(aAnimTest, PlayKeepsTheFrameAndCopiesTakeTheStateWithAFullDelay) {
    aAnim anim = playing(aAnim::MODE_PINGPONG | aAnim::MODE_LOOP, 3, 3);
    anim.setFrame(2, 1);
    anim.update(kTick); // turns at the end
    anim.play();
    EXPECT_EQ(anim.getFrameIndex(), 2);
    EXPECT_EQ(anim.currentMode, anim.playMode);

    anim.currentMode = aAnim::MODE_BACKWARD;
    anim.elapsed = 0.25f;
    anim.stopped = true;
    const aAnim copy(anim);
    EXPECT_EQ(copy.getFrameCount(), 3);
    EXPECT_EQ(copy.getFrameIndex(), 2);
    EXPECT_EQ(copy.getFrameTicks(), 3);
    EXPECT_EQ(copy.currentMode, u32(aAnim::MODE_BACKWARD));
    EXPECT_EQ(copy.playMode, anim.playMode);
    EXPECT_EQ(copy.elapsed, 0.25f);
    EXPECT_TRUE(copy.stopped);

    aAnim assigned;
    assigned = anim;
    assigned = assigned;
    EXPECT_EQ(assigned.getFrameIndex(), 2);
    EXPECT_EQ(assigned.getFrameCount(), 3);
    EXPECT_EQ(assigned.getPlayMode16(), u16(anim.playMode));
}

TEST(aAnimTest, FrameTimeNotAboveZeroIsLoggedAndStored) {
    LogCapture captured;
    aAnim anim;
    anim.setFrameTime(0);
    EXPECT_EQ(anim.frameTime, 0);
    ASSERT_EQ(captured.messages().size(), 1u);
    EXPECT_EQ(captured.messages()[0].rfind("aAnim::setFrameTime: t>0 (", 0), 0u);
}

TEST(aSpriteTest, WithoutFramesEverythingIsZero) {
    aSprite sprite;
    sprite.gotoLastFrame();
    sprite.setFrame(0, 5);
    EXPECT_FALSE(sprite.stepForward());
    EXPECT_FALSE(sprite.stepBackward());
    EXPECT_FALSE(sprite.isFirstFrame());
    EXPECT_FALSE(sprite.isLastFrame());
    EXPECT_EQ(sprite.getFrameTicks(), 0);
    EXPECT_EQ(sprite.getFrameDelay() + sprite.getFrameWidth() + sprite.getFrameHeight(), 0);
    EXPECT_EQ(sprite.getPixel(0, 0), 0u);
    EXPECT_EQ(sprite.getFrame(), nullptr);
}

TEST(aSpriteTest, StepsWrapAroundAndSetFrameChecksTheIndex) {
    aSprite sprite;
    addFrames(sprite, 3, 2);
    EXPECT_EQ(sprite.getFrameTicks(), 2);
    EXPECT_FALSE(sprite.stepBackward());
    EXPECT_TRUE(sprite.stepBackward());
    EXPECT_TRUE(sprite.isLastFrame());
    EXPECT_EQ(sprite.getFrameWidth(), 10);
    EXPECT_EQ(sprite.getFrame()->rect.x, 20);

    sprite.setFrame(3, 1);
    EXPECT_EQ(sprite.getFrameIndex(), 2);
    sprite.setFrame(1, 0);
    EXPECT_EQ(sprite.getFrameTicks(), 2);
    sprite.setFrame(1, 7);
    EXPECT_EQ(sprite.getFrameTicks(), 7);
    sprite.gotoFirstFrame();
    EXPECT_TRUE(sprite.isFirstFrame());
    EXPECT_EQ(sprite.getFrameTicks(), 2);
}

TEST(aSpriteTest, SharingSpritesSeeAddedFramesAndClearingDetaches) {
    auto a = std::make_unique<aSprite>();
    addFrames(*a, 2);
    aSprite b;
    b = *a;
    aSprite c(b);
    EXPECT_TRUE(a->isShared());

    c.addFrame(4, nullptr, aRect{});
    EXPECT_EQ(a->getFrameCount(), 3);
    EXPECT_EQ(b.getFrameCount(), 3);

    b.clearFrames();
    EXPECT_EQ(b.getFrameCount(), 0);
    EXPECT_EQ(c.getFrameCount(), 3);
    a.reset();
    EXPECT_FALSE(c.isShared());
    c.gotoLastFrame();
    EXPECT_EQ(c.getFrameDelay(), 4);

    c.clearFrames(); // sole owner: the block empties in place
    EXPECT_EQ(c.getFrameCount(), 0);
    EXPECT_EQ(b.getFrameCount(), 0);
}

TEST(aSpriteTest, MakeFramesWithoutImageOrWidthMakesNone) {
    aSprite sprite;
    addFrames(sprite, 2);
    sprite.makeFrames(nullptr, nullptr, 8, 8, 4);
    EXPECT_EQ(sprite.getFrameCount(), 0);
}

// The tests below need the shared graph server.

aImage sheet(u32 width, u32 height) {
    testGraphServer();
    aImage image;
    image.create(width, height);
    return image;
}

TEST(aSpriteTest, MakeFramesCutsRowsFromTheAreaOrTheImageWidth) {
    const aImage image = sheet(256, 64);
    ASSERT_TRUE(image.hasTexture());
    aSprite sprite;
    sprite.makeFrames(&image, nullptr, 64, 16, 6);
    ASSERT_EQ(sprite.getFrameCount(), 6);
    const i16 expected[6][2] = {{0, 0}, {64, 0}, {128, 0}, {192, 0}, {0, 16}, {64, 16}};
    for (u16 i = 0; i < 6; ++i) {
        sprite.setFrame(i);
        EXPECT_EQ(sprite.getFrame()->rect, (aRect{expected[i][0], expected[i][1], 64, 16})) << i;
        EXPECT_EQ(sprite.getFrameDelay(), 1);
    }
    EXPECT_EQ(sprite.getFrameIndex(), 5);

    const aRect area{10, 20, 130, 0};
    sprite.makeFrames(&image, &area, 64, 16, 3);
    sprite.gotoLastFrame();
    EXPECT_EQ(sprite.getFrame()->rect, (aRect{10, 36, 64, 16}));

    const aRect narrow{0, 0, 63, 64};
    sprite.makeFrames(&image, &narrow, 64, 16, 3);
    EXPECT_EQ(sprite.getFrameCount(), 0);
    sprite.makeFrames(&image, nullptr, 0, 16, 3);
    EXPECT_EQ(sprite.getFrameCount(), 0);
}

TEST(aSpriteTest, PixelsAreReadFromTheFrameRectangle) {
    aImage image = sheet(8, 8);
    u32* bits = nullptr;
    i32 pitch = 0;
    ASSERT_TRUE(image.lock(&bits, &pitch, nullptr, false));
    bits[3 * pitch + 5] = 0xFF112233;
    image.unlock();
    aSprite sprite;
    sprite.addFrame(1, &image, aRect{4, 2, 4, 4});
    EXPECT_EQ(sprite.getPixel(1, 1), 0xFF112233u);
    EXPECT_EQ(sprite.getPixel(0, 0), image.getPixel(4, 2));
}

TEST(aSpriteTest, DrawsTheCurrentFrameButNotAHiddenOne) {
    aImage image = sheet(8, 4);
    u32* bits = nullptr;
    i32 pitch = 0;
    ASSERT_TRUE(image.lock(&bits, &pitch, nullptr, false));
    for (i32 y = 0; y < 4; ++y)
        for (i32 x = 0; x < 8; ++x)
            bits[y * pitch + x] = x < 4 ? 0xFFFF0000 : 0xFF00FF00;
    image.unlock();
    aSprite sprite;
    sprite.addFrame(1, &image, aRect{0, 0, 4, 4});
    sprite.addFrame(1, &image, aRect{4, 0, 4, 4});
    sprite.setFrame(1);

    const platform::Rect area{0, 0, 16, 16};
    RgbaImage shown = drawScene(area, [&] { sprite.drawAt(2, 3); });
    EXPECT_EQ(shown.pixel(2, 3), 0x00FF00FFu);
    EXPECT_EQ(shown.pixel(5, 6), 0x00FF00FFu);
    EXPECT_EQ(countLit(shown), 16);

    sprite.setFrameHidden(1, true);
    EXPECT_EQ(countLit(drawScene(area, [&] { sprite.draw(2, 3); })), 0);
}

} // namespace
