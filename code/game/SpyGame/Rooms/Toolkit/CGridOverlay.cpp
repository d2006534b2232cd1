#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"

#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "tk2v/gfx/aGDI.h"

#include <algorithm>

namespace {

// Rounds down for negative coordinates too, so a rectangle reaching left of the grid starts off it.
i64 FloorDiv(i64 value, i64 step) {
    return value >= 0 ? value / step : -((-value + step - 1) / step);
}

u32 Step(i32 value) {
    return value > 0 ? u32(value) : 0;
}

} // namespace

CGridOverlay::CGridOverlay() = default;
CGridOverlay::~CGridOverlay() = default;

void CGridOverlay::SetGrid(CGridMap* grid, i32 rowHeight, i32 columnWidth) {
    m_grid = grid;
    m_rowHeight = Step(rowHeight);
    m_columnWidth = Step(columnWidth);
}

CGridOverlay::CellSpan CGridOverlay::Span(const aRect& rect) const {
    if (!m_grid || m_rowHeight == 0 || m_columnWidth == 0)
        return {};
    return {FloorDiv(rect.x, m_columnWidth), FloorDiv(rect.y, m_rowHeight), rect.w / m_columnWidth,
            rect.h / m_rowHeight};
}

void CGridOverlay::MarkRect(const aRect& rect, bool wall) {
    const CellSpan span = Span(rect);
    for (i64 x = std::max<i64>(span.column, 0); x < span.column + span.columns; ++x)
        for (i64 y = std::max<i64>(span.row, 0); y < span.row + span.rows; ++y)
            if (m_grid->Contains(x, y)) {
                if (wall)
                    m_grid->SetWall(u32(x), u32(y));
                else
                    m_grid->SetFree(u32(x), u32(y));
            }
}

void CGridOverlay::GetArea(Block& block, const aRect& rect) const {
    const CellSpan span = Span(rect);
    block.assign(size_t(span.columns), std::vector<u8>(size_t(span.rows), 0));
    for (i64 i = 0; i < span.columns; ++i)
        for (i64 j = 0; j < span.rows; ++j)
            if (m_grid->Contains(span.column + i, span.row + j))
                block[i][j] = m_grid->GetCell(u32(span.column + i), u32(span.row + j));
}

void CGridOverlay::PutArea(const Block& block, const aRect& rect) {
    const CellSpan span = Span(rect);
    const i64 columns = std::min<i64>(span.columns, i64(block.size()));
    for (i64 i = 0; i < columns; ++i) {
        const i64 rows = std::min<i64>(span.rows, i64(block[i].size()));
        for (i64 j = 0; j < rows; ++j) {
            const i64 x = span.column + i, y = span.row + j;
            if (!m_grid->Contains(x, y))
                continue;
            if (block[i][j] == CGridMap::Wall)
                m_grid->SetWall(u32(x), u32(y));
            else
                m_grid->SetFree(u32(x), u32(y));
        }
    }
}

void CGridOverlay::DrawWalls(const SpyPoint& origin, f32 scale) {
    if (!m_grid)
        return;
    if (!m_canvas)
        m_canvas = std::make_unique<aGDI>();
    const f32 w = f32(m_columnWidth) * scale, h = f32(m_rowHeight) * scale;
    for (u32 x = 0; x < m_grid->GetWidth(); ++x)
        for (u32 y = 0; y < m_grid->GetHeight(); ++y)
            if (m_grid->GetCell(x, y) == CGridMap::Wall)
                m_canvas->drawRect(f32(x) * w + origin.x, f32(y) * h + origin.y, w, h, true);
}

bool CGridOverlay::LocalToCell(f32 x, f32 y, u32& cellX, u32& cellY) const {
    if (m_rowHeight == 0 || m_columnWidth == 0)
        return false;
    cellX = x > 0 ? u32(std::min(x, 4294967040.0f)) / m_columnWidth : 0;
    cellY = y > 0 ? u32(std::min(y, 4294967040.0f)) / m_rowHeight : 0;
    return true;
}

SpyPoint CGridOverlay::CellToLocal(u32 cellX, u32 cellY) const {
    return {f32(cellX) * f32(m_columnWidth), f32(cellY) * f32(m_rowHeight)};
}
