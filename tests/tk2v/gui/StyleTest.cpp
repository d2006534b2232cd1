#include "tk2v/gui/Style.h"
#include "GuiDraw.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace guidraw;
using GUI::Style;

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

// The slices of a 3 x 3 grid, row by row.
const Style::Slice kGrid[3][3] = {{Style::SLICE_TOP_LEFT, Style::SLICE_TOP, Style::SLICE_TOP_RIGHT},
                                  {Style::SLICE_LEFT, Style::SLICE_INTERIOR, Style::SLICE_RIGHT},
                                  {Style::SLICE_BOTTOM_LEFT, Style::SLICE_BOTTOM, Style::SLICE_BOTTOM_RIGHT}};

class StyleTest : public ::testing::Test {
protected:
    // A style as a script section makes it.
    static std::unique_ptr<Style> make(const Props& props) {
        auto style = std::make_unique<Style>();
        style->ClearChanged();
        for (const auto& [name, value] : props)
            style->Set(name, value);
        style->MakeFromScript();
        return style;
    }

    // The 12 x 12 grid picture cut into 4 x 4 cells, with these edge and fill types.
    std::unique_ptr<Style> gridStyle(const std::string& edges, const std::string& fill) {
        gui.add("grid", 12, 12, gridPixels(12, 12));
        return make({{"Image", "grid"}, {"AutoSlice", "all"}, {"EdgeGlobal", edges}, {"FillType", fill}});
    }

    GuiImages gui;
    LogCapture logs;
};

TEST_F(StyleTest, AutoSliceCutsTheAreaIntoThreeByThreeCellsFromItsCorner) {
    gui.add("sq30", 30, 30, std::vector<u32>(900, 0xFFFFFFFF));
    gui.add("sq31", 31, 31, std::vector<u32>(961, 0xFFFFFFFF));
    const struct {
        const char* image;
        const char* area;
        aRect cell; // the top-left cell
    } cases[] = {
        {"sq30", "all", {0, 0, 10, 10}},
        {"sq31", "ALL", {0, 0, 10, 10}},
        {"sq30", "3 6 9 7", {3, 6, 3, 2}},
        {"none", "all", {0, 0, 0, 0}}, // no image: every slice empty
    };
    for (const auto& c : cases) {
        const auto style = make({{"Image", c.image}, {"AutoSlice", c.area}, {"TopLeft", "1 1 1 1"}});
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(style->GetSlice(kGrid[row][col]),
                          (aRect{i16(c.cell.x + col * c.cell.w), i16(c.cell.y + row * c.cell.h), c.cell.w,
                                 c.cell.h}))
                    << c.image << " " << c.area << " cell " << row << ", " << col;
    }
}

TEST_F(StyleTest, EdgeGlobalWinsOverEachEdgeAndBadKeywordsAreLoggedAndKept) {
    const struct {
        Props props;
        i32 left, top, right, bottom, fill;
        std::vector<std::string> logged;
    } cases[] = {
        {{{"EdgeGlobal", "TILE"}, {"EdgeLeft", "none"}, {"FillType", "Stretch"}}, 3, 3, 3, 3, 2, {}},
        {{{"EdgeGlobal", "wavy"}, {"FillType", "none"}},
         0,
         0,
         0,
         0,
         1,
         {"Style::MakeFromScript - invalid EdgeType = 'wavy'"}},
        // Without EdgeGlobal every edge is read, set or not.
        {{{"EdgeLeft", "stretch"}, {"EdgeTop", "None"}, {"EdgeRight", "x"}, {"FillType", "tiles"}},
         2,
         1,
         0,
         0,
         0,
         {"Style::MakeFromScript - invalid EdgeRight = 'x'",
          "Style::MakeFromScript - invalid EdgeBottom = ''",
          "Style::MakeFromScript - invalid FillType = 'tiles'"}},
    };
    for (const auto& c : cases) {
        logs.clear();
        const auto style = make(c.props);
        EXPECT_EQ(style->GetEdgeType(Style::EDGE_LEFT), c.left);
        EXPECT_EQ(style->GetEdgeType(Style::EDGE_TOP), c.top);
        EXPECT_EQ(style->GetEdgeType(Style::EDGE_RIGHT), c.right);
        EXPECT_EQ(style->GetEdgeType(Style::EDGE_BOTTOM), c.bottom);
        EXPECT_EQ(style->GetFillType(), c.fill);
        for (const std::string& line : c.logged)
            EXPECT_TRUE(logs.contains(line)) << line;
    }
}

TEST_F(StyleTest, SlicesOfPartsLeftOutAreNotRead) {
    const auto style = make({{"EdgeGlobal", "stretch"},
                             {"EdgeTop", "none"},
                             {"FillType", "none"},
                             {"Top", "1 2 3 4"},
                             {"Left", "5 6 7 8"},
                             {"Interior", "1 1 1 1"}});
    EXPECT_EQ(style->GetSlice(Style::SLICE_LEFT), (aRect{5, 6, 7, 8}));
    EXPECT_EQ(style->GetSlice(Style::SLICE_INTERIOR), aRect{});

    const auto noTop = make({{"EdgeTop", "none"}, {"Top", "1 2 3 4"}, {"Left", "5 6 7 8"}});
    EXPECT_EQ(noTop->GetSlice(Style::SLICE_TOP), aRect{});
    EXPECT_EQ(noTop->GetSlice(Style::SLICE_LEFT), (aRect{5, 6, 7, 8}));
}

TEST_F(StyleTest, MinimumSizeIsTheWiderPairOfCornersAndTheTallerStack) {
    const auto style = make({{"TopLeft", "0 0 4 5"},
                             {"TopRight", "0 0 6 3"},
                             {"BottomLeft", "0 0 2 2"},
                             {"BottomRight", "0 0 3 7"}});
    EXPECT_EQ(style->GetMinWidth(), 10);
    EXPECT_EQ(style->GetMinHeight(), 10);
}

// Where each pixel of a 4 x 4-celled grid style drawn in `r` comes from when everything is tiled:
// the corners' own texels, the edges and the interior repeating from their cell's corner.
bool tiledSource(const aRect& r, u32 x, u32 y, u32& sx, u32& sy) {
    const auto axis = [](i32 at, i32 size, u32& s) {
        s = at < 4 ? at : at >= size - 4 ? 8 + at - (size - 4) : 4 + (at - 4) % 4;
    };
    const i32 lx = i32(x) - r.x, ly = i32(y) - r.y;
    if (lx < 0 || ly < 0 || lx >= r.w || ly >= r.h)
        return false;
    axis(lx, r.w, sx);
    axis(ly, r.h, sy);
    return true;
}

TEST_F(StyleTest, TiledEdgesAndInteriorRepeatExactlyBetweenTheCorners) {
    const auto style = gridStyle("tile", "tile");
    const std::vector<u32> picture = gridPixels(12, 12);
    // Interior 14 x 9: tiles 4, 4, 4 and 2 wide in rows 4, 4 and 1 high.
    const aRect r{4, 5, 22, 17};
    const RgbaImage frame = capture(30, 26, [&] { style->Draw(r, 0xFFFFFFFF); });
    for (u32 y = 0; y < frame.height; ++y)
        for (u32 x = 0; x < frame.width; ++x) {
            u32 sx = 0, sy = 0;
            const u32 want = tiledSource(r, x, y, sx, sy) ? picture[sy * 12 + sx] & 0xFFFFFF : 0;
            ASSERT_EQ(rgb(frame, x, y), want) << "at " << x << ", " << y;
        }
}

TEST_F(StyleTest, WithNoneOnlyTheCornersAreDrawn) {
    const auto style = gridStyle("none", "none");
    const std::vector<u32> picture = gridPixels(12, 12);
    const aRect r{4, 5, 22, 17};
    const RgbaImage frame = capture(30, 26, [&] { style->Draw(r, 0xFFFFFFFF); });
    for (u32 y = 0; y < frame.height; ++y)
        for (u32 x = 0; x < frame.width; ++x) {
            u32 sx = 0, sy = 0;
            const bool corner = tiledSource(r, x, y, sx, sy) && (sx < 4 || sx >= 8) && (sy < 4 || sy >= 8);
            ASSERT_EQ(rgb(frame, x, y), corner ? picture[sy * 12 + sx] & 0xFFFFFF : 0)
                << "at " << x << ", " << y;
        }
}

TEST_F(StyleTest, StretchedGolden) {
    const auto style = gridStyle("stretch", "stretch");
    EXPECT_TRUE(matchesGolden("style_stretch", capture(32, 28, [&] {
                                  style->Draw(aRect{3, 2, 26, 23}, 0xFFFFFFFF);
                              })));
}

TEST_F(StyleTest, NarrowerThanItsCornersDrawsNoTopOrBottomEdgeGolden) {
    // 6 wide: the top corners overlap, no top, bottom or interior; left and right edges still stretch.
    const auto style = gridStyle("stretch", "stretch");
    EXPECT_TRUE(matchesGolden("style_narrow", capture(12, 24, [&] {
                                  style->Draw(aRect{3, 2, 6, 20}, 0xFFFFFFFF);
                              })));
}

TEST_F(StyleTest, NothingIsDrawnWithoutAnImageOrAtAlphaZero) {
    const auto style = gridStyle("stretch", "tile");
    const auto imageless = make({{"Image", "missing"}, {"EdgeGlobal", "stretch"}, {"FillType", "stretch"}});
    EXPECT_TRUE(logs.contains("GUI::Server::GetImage - image \"missing\" not found!"));
    EXPECT_EQ(countLit(capture(24, 24, [&] { style->Draw(aRect{0, 0, 20, 20}, 0x00FFFFFF); })), 0);
    EXPECT_EQ(countLit(capture(24, 24, [&] { imageless->Draw(aRect{0, 0, 20, 20}, 0xFFFFFFFF); })), 0);
}

} // namespace
