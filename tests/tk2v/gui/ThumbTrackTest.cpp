#include "tk2v/gui/ThumbTrack.h"

#include <gtest/gtest.h>

#include <limits>

using namespace GUI;

namespace {
constexpr f32 Inf = std::numeric_limits<f32>::infinity();
constexpr f32 NaN = std::numeric_limits<f32>::quiet_NaN();
} // namespace

TEST(ThumbTrack, ClampsValuesZeroFirstAndNonFiniteToZero) {
    struct Case {
        f32 in, slider, scrollOverRange300, scrollOverNegativeRange;
    } cases[] = {
        {0.5f, 0.5f, 0.5f, -50}, {-3, 0, 0, -50},  {2, 1, 2, -50},    {500, 1, 300, -50},
        {NaN, 0, 0, -50},        {Inf, 0, 0, -50}, {-Inf, 0, 0, -50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(ClampSliderValue(c.in), c.slider);
        EXPECT_EQ(ClampScrollPosition(c.in, 300), c.scrollOverRange300);
        EXPECT_EQ(ClampScrollPosition(c.in, -50), c.scrollOverNegativeRange);
    }
}

TEST(ThumbTrack, OffsetOnTrackTruncatesAndStaysOnTrack) {
    struct Case {
        f32 fraction;
        i32 track, offset;
    } cases[] = {
        {0.5f, 180, 90}, {1, 180, 180}, {0.999f, 10, 9}, {0, 75, 0},
        {1.5f, 75, 75},  {-1, 75, 0},   {NaN, 75, 0},    {Inf, 75, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThumbOffset(c.fraction, c.track), c.offset) << c.fraction << " of " << c.track;
}

TEST(ThumbTrack, ScrollFractionWithoutRangeIsTrackStart) {
    EXPECT_EQ(ScrollFraction(150, 300), 0.5f);
    EXPECT_EQ(ScrollFraction(-50, -50), 0.0f);
    EXPECT_EQ(ScrollFraction(0, 0), 0.0f);
    EXPECT_EQ(ThumbOffset(ScrollFraction(300, 300), 75), 75);
}

TEST(ThumbTrack, DragFollowsPointerPastItsGrabPoint) {
    struct Case {
        i32 delta, pointer, anchor, offset, track;
        std::optional<i32> result;
    } cases[] = {
        {30, 40, 10, 0, 75, 30},             // down past the grab point
        {30, 5, 10, 0, 75, std::nullopt},    // pointer still above the grab point
        {30, 40, 10, 60, 75, 75},            // stops at the track's end
        {5, 40, 10, 75, 75, std::nullopt},   // already at the end
        {-20, 5, 10, 30, 75, 10},            // up past the grab point
        {-20, 15, 10, 30, 75, std::nullopt}, // pointer still below the grab point
        {-50, 5, 10, 30, 75, 0},             // stops at the track's start
        {-5, 5, 10, 0, 75, std::nullopt},    // already at the start
        {0, 40, 10, 30, 75, std::nullopt},   // no movement
        {10, 40, 10, 0, 0, std::nullopt},    // a track without length never moves
    };
    for (const Case& c : cases)
        EXPECT_EQ(DragThumb(c.delta, c.pointer, c.anchor, c.offset, c.track), c.result)
            << c.delta << " from " << c.offset;
}

TEST(ThumbTrack, OffsetGivesValueAndPositionWithoutDividingByAnEmptyTrack) {
    EXPECT_EQ(ScrollPositionAt(300, 30, 75), 120.0f);
    EXPECT_EQ(SliderValueAt(90, 180), 0.5f);
    EXPECT_EQ(SliderValueAt(5, 0), 0.0f);
    EXPECT_EQ(ScrollPositionAt(300, 5, 0), 0.0f);
    EXPECT_EQ(ScrollPositionAt(300, 5, -3), 0.0f);
}

TEST(ThumbTrack, FitThumbSizesByPageOverDocument) {
    struct Case {
        f32 document, page;
        i32 bar;
        bool fits;
        i32 length;
    } cases[] = {
        {400, 100, 100, false, 25}, {100, 100, 80, true, 80}, {50, 100, 80, true, 80},
        {300, 100, 100, false, 33}, {100, 0, 80, false, 0},   {0, 0, 80, true, 80},
        {100, -5, 80, false, 0},    {NaN, 100, 80, true, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.document << " over " << c.page);
        ThumbFit fit = FitThumb(c.document, c.page, c.bar);
        EXPECT_EQ(fit.fits, c.fits);
        EXPECT_EQ(fit.thumbLength, c.length);
    }
}
