#pragma once
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <memory>
#include <string>
#include <vector>

class aGDI;
class CGridMap;
class cRoomTransform;

// Lays a grid over a room: room-pixel rectangles become blocks of cells that are walled, freed, saved
// and put back (doors, gates, a character standing in the way), and the walls are drawn for the
// maze editor. Without a grid, or with a step of 0 (a room without its map data), it covers nothing.
class CGridOverlay {
public:
    // A block of cells, column by column.
    using Block = std::vector<std::vector<u8>>;

    CGridOverlay();
    ~CGridOverlay();
    CGridOverlay(const CGridOverlay&) = delete;
    CGridOverlay& operator=(const CGridOverlay&) = delete;

    // A step of 0 or less (missing map data) maps nothing.
    void SetGrid(CGridMap* grid, i32 rowHeight, i32 columnWidth);

    void MarkRect(const aRect& rect, bool wall);
    // The block under the rectangle; its cells off the grid read 0.
    void GetArea(Block& block, const aRect& rect) const;
    // Writes back the cells that lie both on the grid and in the block.
    void PutArea(const Block& block, const aRect& rect);
    // Every wall as a filled rectangle in the canvas's colour, the grid laid at `origin` and `scale`.
    void DrawWalls(const SpyPoint& origin, f32 scale);

    // The cell under a room-local point (a coordinate that is not positive counts as 0); false when a
    // step is 0.
    bool LocalToCell(f32 x, f32 y, CGridPath::Cell& cell) const;
    // The room-local top-left corner of a cell.
    SpyPoint CellToLocal(const CGridPath::Cell& cell) const;
    // The same for screen points of a room the transform places.
    bool ScreenToCell(const cRoomTransform& transform, f32 x, f32 y, CGridPath::Cell& cell) const;
    SpyPoint CellToScreen(const cRoomTransform& transform, const CGridPath::Cell& cell) const;

    // The maze editor's frame: while the right button is down the cells within `radius` of the one
    // under the mouse become walls (free while left Shift is down too); releasing F4 writes the map.
    void RunEditor(const cRoomTransform& transform, u32 radius, const std::string& mapFile);

    CGridMap* GetGrid() const { return m_grid; }
    u32 GetRowHeight() const { return m_rowHeight; }
    u32 GetColumnWidth() const { return m_columnWidth; }

private:
    struct CellSpan {
        i64 column = 0, row = 0;
        i64 columns = 0, rows = 0;
    };
    // The cells a rectangle covers, whole cells only; none without a grid or a step.
    CellSpan Span(const aRect& rect) const;

    // Made at the first drawing: only the editor draws.
    std::unique_ptr<aGDI> m_canvas;
    CGridMap* m_grid = nullptr;
    u32 m_rowHeight = 0;
    u32 m_columnWidth = 0;
};
