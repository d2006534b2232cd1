#include "tk2v/gfx/aGDI.h"
#include "SceneCapture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const platform::Rect kArea{0, 0, 32, 32};
constexpr u32 kGreen = 0xFF00FF00;
constexpr u32 kGreenRgba = 0x00FF00FF;

aGDI& gdi() {
    testGraphServer();
    static aGDI shared;
    shared.color = kGreen;
    shared.segments = 50;
    return shared;
}

bool onOutline(i32 x, i32 y, const aRect& r) {
    return aRect(r).contains(x, y) && (x == r.x || x == r.x + r.w - 1 || y == r.y || y == r.y + r.h - 1);
}

TEST(aGDITest, RectanglesCoverExactlyTheirPixels) {
    const aRect rects[] = {{3, 4, 6, 5}, {0, 0, 2, 7}, {20, 3, 5, 1}};
    for (const aRect& r : rects) {
        const RgbaImage outline =
            drawScene(kArea, [&] { EXPECT_EQ(gdi().drawRectS(r, false), platform::S_OK); });
        const RgbaImage filled = drawScene(kArea, [&] { gdi().drawRectS(r, true); });
        for (i32 y = 0; y < kArea.h; ++y)
            for (i32 x = 0; x < kArea.w; ++x) {
                EXPECT_EQ(outline.pixel(x, y) == kGreenRgba, onOutline(x, y, r)) << x << "," << y;
                EXPECT_EQ(filled.pixel(x, y) == kGreenRgba, aRect(r).contains(x, y)) << x << "," << y;
            }
    }
    EXPECT_EQ(countLit(drawScene(kArea, [] { gdi().drawRect(5, 5, 0, 0, true); })), 0);
    // A 1 x 1 outline is a strip of zero-length lines, which light at most their one pixel.
    const RgbaImage dot = drawScene(kArea, [] { gdi().drawRect(10, 10, 1, 1, false); });
    EXPECT_EQ(countLit(dot), dot.pixel(10, 10) == kGreenRgba ? 1 : 0);
}

TEST(aGDITest, PointsGoOutInBatchesAndThePenEndsOnTheLast) {
    std::vector<f32> xy;
    for (int i = 0; i < 401; ++i) {
        xy.push_back(f32(i % 25));
        xy.push_back(f32(i / 25));
    }
    const RgbaImage image = drawScene(kArea, [&] {
        EXPECT_EQ(gdi().drawPoints(xy.data(), 401), platform::S_OK);
        EXPECT_EQ(gdi().getPenX(), xy[800]);
        EXPECT_EQ(gdi().getPenY(), xy[801]);
        EXPECT_EQ(gdi().drawPoints(xy.data(), 0), platform::S_OK);
        EXPECT_EQ(gdi().getPenY(), xy[801]);
    });
    EXPECT_EQ(countLit(image), 401);
    EXPECT_EQ(image.pixel(0, 16), kGreenRgba); // the 401st
    EXPECT_EQ(image.pixel(1, 16), 0x000000FFu);
}

TEST(aGDITest, LinesAndPointsMoveThePen) {
    const RgbaImage image = drawScene(kArea, [] {
        gdi().drawLine(2, 5, 12, 5);
        EXPECT_EQ(gdi().getPenX(), 12);
        gdi().drawPoint(20, 21);
        EXPECT_EQ(gdi().getPenY(), 21);
    });
    EXPECT_EQ(image.pixel(2, 5), kGreenRgba);
    EXPECT_EQ(image.pixel(11, 5), kGreenRgba);
    EXPECT_EQ(image.pixel(20, 21), kGreenRgba);
    EXPECT_EQ(countLit(image), 11);
}

TEST(aGDITest, FourSegmentsMakeATriangleFilledAndASquareOutlined) {
    const RgbaImage filled = drawScene(kArea, [] {
        aGDI& g = gdi();
        g.segments = 4;
        g.drawEllipse(16, 16, 8, 8, true);
    });
    EXPECT_EQ(filled.pixel(16, 16), kGreenRgba);
    EXPECT_EQ(filled.pixel(22, 16), kGreenRgba);
    EXPECT_EQ(filled.pixel(10, 16), 0x000000FFu); // left of the triangle's side at x 12
    EXPECT_EQ(filled.pixel(16, 23), 0x000000FFu); // no rim point straight below

    const RgbaImage outline = drawScene(kArea, [] {
        aGDI& g = gdi();
        g.segments = 4;
        g.drawEllipse(16, 16, 8, 8, false);
    });
    for (auto [x, y] : {std::pair{24, 16}, {16, 24}, {8, 16}, {16, 8}, {20, 12}})
        EXPECT_EQ(outline.pixel(x, y), kGreenRgba) << x << "," << y;
    EXPECT_EQ(outline.pixel(16, 16), 0x000000FFu);
}

TEST(aGDITest, RingFillsTheBandBetweenItsEllipses) {
    const RgbaImage image = drawScene(kArea, [] { gdi().drawRing(16, 16, 4, 4, 16, 16, 10, 10); });
    EXPECT_EQ(image.pixel(16, 16), 0x000000FFu);
    EXPECT_EQ(image.pixel(23, 16), kGreenRgba);
    EXPECT_EQ(image.pixel(16, 9), kGreenRgba);
    EXPECT_EQ(image.pixel(28, 16), 0x000000FFu);
}

TEST(aGDITest, SegmentCountsTheVerticesCannotHoldAreRefused) {
    const RgbaImage image = drawScene(kArea, [] {
        aGDI& g = gdi();
        g.segments = aGDI::MaxEllipseSegments + 1;
        EXPECT_EQ(g.drawEllipse(16, 16, 8, 8, false), platform::D3DERR_INVALIDCALL);
        g.segments = aGDI::MaxRingSegments + 1;
        EXPECT_EQ(g.drawRing(16, 16, 4, 4, 16, 16, 8, 8), platform::D3DERR_INVALIDCALL);
        g.segments = 1;
        EXPECT_EQ(g.drawEllipse(16, 16, 8, 8, true), platform::D3DERR_INVALIDCALL);
        g.segments = 0;
        EXPECT_EQ(g.drawEllipse(16, 16, 8, 8, false), platform::D3DERR_INVALIDCALL);
        EXPECT_EQ(g.drawRing(16, 16, 4, 4, 16, 16, 8, 8), platform::D3DERR_INVALIDCALL);
        g.segments = aGDI::MaxEllipseSegments;
        EXPECT_EQ(g.drawEllipse(100, 100, 8, 8, true), platform::S_OK);
        g.segments = aGDI::MaxRingSegments;
        EXPECT_EQ(g.drawRing(100, 100, 4, 4, 100, 100, 8, 8), platform::S_OK);
    });
    EXPECT_EQ(countLit(image), 0);
}

} // namespace
