#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"
#include "MazeGrids.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string rowsOf(const CGridMap& grid) {
    std::string out;
    for (u32 y = 0; y < grid.GetHeight(); ++y) {
        for (u32 x = 0; x < grid.GetWidth(); ++x)
            out += grid.GetCell(x, y) == CGridMap::Wall ? '#' : '.';
        out += '/';
    }
    return out;
}

// Columns 10 pixels wide, rows 5 high.
class Overlay : public testing::Test {
protected:
    void SetUp() override { overlay.SetGrid(&grid, 5, 10); }

    CGridMap grid = gridOf({"....", "....", "...."});
    CGridOverlay overlay;
};

TEST_F(Overlay, RectanglesCoverTheirWholeCellsOnly) {
    struct Case {
        const char* what;
        aRect rect;
        const char* rows;
    } cases[] = {
        {"25 pixels wide: two columns", {0, 0, 25, 5}, "##../..../..../"},
        {"narrower than a cell: none", {10, 0, 9, 15}, "..../..../..../"},
        {"off the grid's corner", {30, 10, 30, 30}, "..../..../...#/"},
        {"reaching left of the grid", {-5, 5, 20, 5}, "..../#.../..../"},
        {"above the grid", {0, -10, 10, 10}, "..../..../..../"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid = gridOf({"....", "....", "...."});
        overlay.MarkRect(c.rect, true);
        EXPECT_EQ(rowsOf(grid), c.rows);
    }
    overlay.MarkRect({0, 0, 40, 15}, true);
    overlay.MarkRect({10, 5, 20, 5}, false);
    EXPECT_EQ(rowsOf(grid), "####/#..#/####/");
}

TEST_F(Overlay, BlocksAreTakenAndPutBackWithinGridAndBlock) {
    grid = gridOf({"#...", ".#..", "..#."});
    CGridOverlay::Block block;
    overlay.GetArea(block, {0, 0, 20, 10});
    EXPECT_EQ(block, (CGridOverlay::Block{{CGridMap::Wall, 0}, {0, CGridMap::Wall}}));
    overlay.MarkRect({0, 0, 40, 15}, false);
    overlay.PutArea(block, {20, 5, 20, 10});
    EXPECT_EQ(rowsOf(grid), "..../..#./...#/");

    // Off the grid: the block keeps its shape, its cells there read 0 and are never written.
    overlay.GetArea(block, {-10, 10, 20, 10});
    EXPECT_EQ(block, (CGridOverlay::Block{{0, 0}, {0, 0}}));
    overlay.PutArea(CGridOverlay::Block{{CGridMap::Wall, CGridMap::Wall}, {CGridMap::Wall, CGridMap::Wall}},
                    {-10, 10, 20, 10});
    EXPECT_EQ(rowsOf(grid), "..../..#./#..#/");

    // A block shorter than its rectangle puts back what it has.
    overlay.PutArea(CGridOverlay::Block{{CGridMap::Wall}}, {0, 0, 40, 15});
    EXPECT_EQ(rowsOf(grid), "#.../..#./#..#/");
}

TEST_F(Overlay, WithoutStepsOrGridNothingIsCoveredOrMapped) {
    CGridOverlay::Block block{{1}};
    CGridPath::Cell cell{7, 7};
    for (auto [rowHeight, columnWidth] : {std::pair{0, 10}, {5, 0}, {-5, 10}}) {
        overlay.SetGrid(&grid, rowHeight, columnWidth);
        overlay.MarkRect({0, 0, 40, 15}, true);
        overlay.GetArea(block, {0, 0, 40, 15});
        EXPECT_TRUE(block.empty());
        EXPECT_FALSE(overlay.LocalToCell(15, 15, cell));
    }
    overlay.SetGrid(nullptr, 5, 10);
    overlay.MarkRect({0, 0, 40, 15}, true);
    EXPECT_EQ(rowsOf(grid), "..../..../..../");
}

TEST_F(Overlay, PointsMapToCellsColumnsByWidthRowsByHeight) {
    struct Case {
        f32 x, y;
        u32 cx, cy;
    } cases[] = {{0, 0, 0, 0},   {9.9f, 4.9f, 0, 0}, {10, 5, 1, 1},
                 {35, 12, 3, 2}, {-3, -8, 0, 0},     {50, 0, 5, 0}};
    for (const Case& c : cases) {
        CGridPath::Cell cell{99, 99};
        ASSERT_TRUE(overlay.LocalToCell(c.x, c.y, cell));
        EXPECT_EQ(cell, (CGridPath::Cell{c.cx, c.cy})) << c.x << "," << c.y;
    }
    EXPECT_EQ(overlay.CellToLocal({3, 2}), (SpyPoint{30, 10}));
}

} // namespace
