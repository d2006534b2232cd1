#include "GfxTestUtil.h"
#include "support/OffscreenGfx.h"

#include <vector>

using namespace platform;
using namespace gfxtest;

namespace {

constexpr u32 kWhite = 0xFFFFFFFF;

TLVertex vertex(f32 x, f32 y) {
    TLVertex v;
    v.x = x;
    v.y = y;
    v.diffuse = kWhite;
    return v;
}

// The pixels that are lit, as a string of '#' and '.' rows, to show a mismatch whole.
std::string litPixels(const RgbaImage& image) {
    std::string out;
    for (u32 y = 0; y < image.height; ++y) {
        for (u32 x = 0; x < image.width; ++x)
            out += rgb(image, x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

std::string expectedPixels(u32 width, u32 height, const std::function<bool(i32, i32)>& lit) {
    std::string out;
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x)
            out += lit(i32(x), i32(y)) ? '#' : '.';
        out += '\n';
    }
    return out;
}

struct Box {
    i32 x, y, w, h;
};

class Primitives : public ::testing::TestWithParam<Box> {};

TEST_P(Primitives, OutlineCoversExactlyTheRectangleEdge) {
    const Box b = GetParam();
    GraphicsDevice& device = offscreenDevice(16, 12);
    f32 x = f32(b.x), y = f32(b.y), r = f32(b.x + b.w - 1), bottom = f32(b.y + b.h - 1);
    TLVertex strip[] = {vertex(x, y), vertex(r, y), vertex(r, bottom), vertex(x, bottom), vertex(x, y)};
    ASSERT_EQ(device.drawPrimitiveUP(PrimitiveType::LineStrip, 4, strip), S_OK);
    EXPECT_EQ(litPixels(readBack(device)), expectedPixels(16, 12, [&](i32 px, i32 py) {
                  bool inside = px >= b.x && px < b.x + b.w && py >= b.y && py < b.y + b.h;
                  bool edge = px == b.x || px == b.x + b.w - 1 || py == b.y || py == b.y + b.h - 1;
                  return inside && edge;
              }));
}

TEST_P(Primitives, FilledRectangleCoversExactlyItsPixels) {
    const Box b = GetParam();
    GraphicsDevice& device = offscreenDevice(16, 12);
    f32 x = f32(b.x), y = f32(b.y), r = f32(b.x + b.w), bottom = f32(b.y + b.h);
    TLVertex quad[] = {vertex(x, y), vertex(r, y), vertex(x, bottom), vertex(r, bottom)};
    ASSERT_EQ(device.drawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad), S_OK);
    EXPECT_EQ(litPixels(readBack(device)), expectedPixels(16, 12, [&](i32 px, i32 py) {
                  return px >= b.x && px < b.x + b.w && py >= b.y && py < b.y + b.h;
              }));
}

INSTANTIATE_TEST_SUITE_P(Boxes, Primitives,
                         ::testing::Values(Box{2, 3, 5, 4}, Box{10, 2, 1, 3}, Box{0, 0, 16, 12},
                                           Box{4, 9, 9, 2}, Box{6, 6, 2, 1}));

TEST(PrimitivesDraw, PointsAndLinesLandOnTheirPixels) {
    GraphicsDevice& device = offscreenDevice(8, 6);
    TLVertex points[] = {vertex(0, 0), vertex(7, 5), vertex(3, 2)};
    TLVertex line[] = {vertex(1, 4), vertex(5, 4)}; // the end pixel is left out, as in a strip
    ASSERT_EQ(device.drawPrimitiveUP(PrimitiveType::PointList, 3, points), S_OK);
    ASSERT_EQ(device.drawPrimitiveUP(PrimitiveType::LineList, 1, line), S_OK);
    EXPECT_EQ(litPixels(readBack(device)), "#.......\n"
                                           "........\n"
                                           "...#....\n"
                                           "........\n"
                                           ".####...\n"
                                           ".......#\n");
}

TEST(PrimitivesDraw, TakeTheDiffuseColourThroughTheColourOperation) {
    GraphicsDevice& device = offscreenDevice(4, 2);
    TLVertex quad[] = {vertex(0, 0), vertex(4, 0), vertex(0, 2), vertex(4, 2)};
    for (TLVertex& v : quad)
        v.diffuse = 0xFF336699;
    device.drawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad);
    EXPECT_EQ(rgb(readBack(device), 1, 1), 0x336699u);
    // The white texture behind them makes an additive operation saturate.
    device.setColourOp(COLOUR_ADD);
    device.drawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad);
    EXPECT_EQ(rgb(readBack(device), 1, 1), 0xFFFFFFu);
}

TEST(PrimitivesDraw, RefusesMissingOrAbsurdVertexData) {
    GraphicsDevice& device = offscreenDevice(4, 4);
    TLVertex one = vertex(1, 1);
    EXPECT_EQ(device.drawPrimitiveUP(PrimitiveType::PointList, 1, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.drawPrimitiveUP(PrimitiveType::TriangleList, 0x7FFFFFFF, &one), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.drawPrimitiveUP(PrimitiveType::LineStrip, 0, &one), S_OK);
    EXPECT_EQ(rgb(readBack(device), 1, 1), 0u);
}

} // namespace
