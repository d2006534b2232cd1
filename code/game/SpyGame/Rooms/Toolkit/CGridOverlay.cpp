#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"

#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/input/aInputServer.h"

#include <algorithm>

namespace {

// Rounds down for negative coordinates too, so a rectangle reaching left of the grid starts off it.
i64 FloorDiv(i64 value, i64 step) {
    return value >= 0 ? value / step : -((-value + step - 1) / step);
}

u32 Step(i32 value) {
    return value > 0 ? u32(value) : 0;
}

bool IsDown(aKeyState state) {
    return state == KEY_PRESSED || state == KEY_HELD;
}

constexpr u8 KeyLeftShift = 0x2A, KeyF4 = 0x3E;

// A cell off the grid is left alone.
void Paint(CGridMap& grid, i64 x, i64 y, u8 value) {
    if (grid.Contains(x, y))
        grid.SetCell(u32(x), u32(y), value);
}

u8 WallOrFree(bool wall) {
    return wall ? CGridMap::Wall : 0;
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
            Paint(*m_grid, x, y, WallOrFree(wall));
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
        for (i64 j = 0; j < rows; ++j)
            Paint(*m_grid, span.column + i, span.row + j, block[i][j]);
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

bool CGridOverlay::LocalToCell(f32 x, f32 y, CGridPath::Cell& cell) const {
    if (m_rowHeight == 0 || m_columnWidth == 0)
        return false;
    // Large enough for any grid, small enough to convert.
    constexpr f32 Far = 4294967040.0f;
    cell.first = x > 0 ? u32(std::min(x, Far)) / m_columnWidth : 0;
    cell.second = y > 0 ? u32(std::min(y, Far)) / m_rowHeight : 0;
    return true;
}

SpyPoint CGridOverlay::CellToLocal(const CGridPath::Cell& cell) const {
    return {f32(cell.first) * f32(m_columnWidth), f32(cell.second) * f32(m_rowHeight)};
}

bool CGridOverlay::ScreenToCell(const cRoomTransform& transform, f32 x, f32 y, CGridPath::Cell& cell) const {
    const SpyPoint local = transform.ScreenToLocal(x, y);
    return LocalToCell(local.x, local.y, cell);
}

SpyPoint CGridOverlay::CellToScreen(const cRoomTransform& transform, const CGridPath::Cell& cell) const {
    const SpyPoint local = CellToLocal(cell);
    return transform.LocalToScreen(local.x, local.y);
}

void CGridOverlay::RunEditor(const cRoomTransform& transform, u32 radius, const std::string& mapFile) {
    const aInputServer* input = aApplication::inputServer();
    if (!input || !m_grid)
        return;
    CGridPath::Cell cell;
    i32 mx = 0, my = 0;
    input->getMousePos(mx, my);
    if (IsDown(input->mouseButtons[1]) && ScreenToCell(transform, f32(mx), f32(my), cell)) {
        const bool erase = IsDown(input->keyStates[KeyLeftShift]);
        for (i64 x = i64(cell.first) - radius; x <= i64(cell.first) + radius; ++x)
            for (i64 y = i64(cell.second) - radius; y <= i64(cell.second) + radius; ++y)
                Paint(*m_grid, x, y, WallOrFree(!erase));
    }
    if (input->keyStates[KeyF4] == KEY_RELEASED)
        m_grid->SaveMap(mapFile);
}
