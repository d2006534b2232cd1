#include "tk2v/platform/GraphicsDevice.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(PresentRect, KeepsTheAspectAndCentres) {
    struct Case {
        i32 windowW, windowH;
        Rect want;
    };
    const Case cases[] = {
        {1024, 768, {0, 0, 1024, 768}},    // equal
        {1280, 768, {128, 0, 1024, 768}},  // wider
        {1024, 1000, {0, 116, 1024, 768}}, // taller
        {1920, 1080, {240, 0, 1440, 1080}},
        {800, 600, {0, 0, 800, 600}}, // smaller, same shape
        {4, 3, {0, 0, 4, 3}},         // tiny
        {1, 100, {0, 49, 1, 1}},      // never below one pixel
        {0, 768, {}},                 // minimised
    };
    for (const Case& c : cases)
        EXPECT_EQ(presentRect(c.windowW, c.windowH, 1024, 768), c.want) << c.windowW << "x" << c.windowH;
    EXPECT_EQ(presentRect(800, 600, 0, 768), Rect{});
}

TEST(PresentRect, MapsMousePositionsIntoTheBackBuffer) {
    Rect wide = presentRect(1280, 768, 1024, 768);
    EXPECT_EQ(windowToBackBuffer({128, 0}, wide, 1024, 768), (Point{0, 0}));
    EXPECT_EQ(windowToBackBuffer({1151, 767}, wide, 1024, 768), (Point{1023, 767}));
    EXPECT_EQ(windowToBackBuffer({127, 0}, wide, 1024, 768), (Point{-1, 0}));
    EXPECT_EQ(windowToBackBuffer({1152, 0}, wide, 1024, 768), (Point{1024, 0}));
    Rect half = presentRect(512, 384, 1024, 768);
    EXPECT_EQ(windowToBackBuffer({10, 20}, half, 1024, 768), (Point{21, 41}));
    EXPECT_EQ(windowToBackBuffer({5, 5}, Rect{}, 1024, 768), (Point{0, 0}));
}

// From the finer grid to the coarser and back lands where it started.
TEST(PresentRect, RoundTripsThroughTheCoarserGrid) {
    for (Point window : {Point{1280, 768}, Point{1500, 1000}, Point{1025, 769}, Point{2048, 1536}}) {
        Rect r = presentRect(window.x, window.y, 1024, 768);
        for (i32 x = 0; x < 1024; x += 7)
            for (i32 y : {0, 383, 767}) {
                Point w = backBufferToWindow({x, y}, r, 1024, 768);
                ASSERT_EQ(windowToBackBuffer(w, r, 1024, 768), (Point{x, y}))
                    << window.x << " " << x << "," << y;
            }
    }
    for (Point window : {Point{800, 600}, Point{1000, 700}, Point{321, 240}, Point{5, 4}}) {
        Rect r = presentRect(window.x, window.y, 1024, 768);
        for (i32 x = r.x; x < r.x + r.w; x += 3) {
            Point b = windowToBackBuffer({x, r.y + r.h - 1}, r, 1024, 768);
            ASSERT_EQ(backBufferToWindow(b, r, 1024, 768), (Point{x, r.y + r.h - 1})) << window.x << " " << x;
        }
    }
}

} // namespace
