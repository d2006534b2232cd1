#include "game/SpyGame/Rooms/Puzzles/cGardenMazePlanner.h"

#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <bit>

namespace {

constexpr u16 WaveLimit = 1000;

i32 Trunc(f32 value) {
    return TruncToInt(value);
}

} // namespace

void cGardenMazePlanner::Ready() {
    m_Overlay.SetGrid(&grid, rowHeight, columnWidth);
}

CGridPath::Cell cGardenMazePlanner::CellUnder(SpyPoint point) const {
    CGridPath::Cell cell{0, 0};
    m_Overlay.ScreenToCell(m_Transform, point.x, point.y, cell);
    return cell;
}

i32 cGardenMazePlanner::CellContaining(SpyPoint point) const {
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].hasArea && cells[i].area.contains(Trunc(point.x), Trunc(point.y)))
            return i32(i);
    return -1;
}

bool cGardenMazePlanner::WalkWalkerTo(CMazeWalker& walker, SpyPoint centre, f32 x, f32 y) {
    return FindWalkerPath(walker, CellUnder(centre), x, y);
}

bool cGardenMazePlanner::FindWalkerPath(CMazeWalker& walker, const CGridPath::Cell& start, f32 x, f32 y) {
    const bool isTez = &walker == &tez;
    const bool tezIdle = tez.state == CMazeWalker::Idle;
    Gate* gate = walker.gate >= 0 && size_t(walker.gate) < gates.size() ? &gates[walker.gate] : nullptr;
    const bool closed = gate && !gate->open;
    if (gate) {
        // A closed gate lets the search through when the walker will open it.
        if (closed && (isTez || tezIdle))
            m_Overlay.PutArea(gate->door, gate->closedLocal);
        x = gate->openCentre.x;
        y = gate->openCentre.y - scale.y;
    }
    CGridPath::Cell target;
    const bool found = m_Overlay.ScreenToCell(m_Transform, x, y, target) &&
                       grid.FindPathWave(start.first, start.second, target.first, target.second, walker.path,
                                         unitSize, WaveLimit);
    if (found && (!gate || (!isTez && !tezIdle))) {
        // Marwenn walks up to a gate while Tez runs, and leaves it as it is.
        walker.state = CMazeWalker::Walking;
        return true;
    }
    if (closed)
        m_Overlay.MarkRect(gate->wallLocal, true);
    if (found) {
        walker.state = CMazeWalker::ToGate;
        walker.gateTimer = 0;
        return true;
    }
    walker.trajectory.clear();
    walker.path.Clear();
    return false;
}

void cGardenMazePlanner::PlanPlayerPath() {
    CGridPath::Cell clicked;
    if (!m_Overlay.ScreenToCell(m_Transform, mouse.x, mouse.y, clicked))
        return;
    const i64 cx = clicked.first, cy = clicked.second;
    CGridPath::Cell chosen = clicked;
    bool done = false;
    for (i64 k = 1; k < i64(unitSize) && !done; ++k) {
        const i64 tries[5][2] = {{cx, cy}, {cx + k, cy}, {cx - k, cy}, {cx, cy + k}, {cx, cy - k}};
        for (const auto& [x, y] : tries)
            if (grid.IsFreeSquare(x, y, unitSize)) {
                chosen = {u32(x), u32(y)};
                done = true;
                break;
            }
    }
    const SpyPoint corner = m_Overlay.CellToScreen(m_Transform, chosen);
    WalkWalkerTo(player, playerStand.centre, corner.x, corner.y);
}

bool cGardenMazePlanner::SideOpen(const Cell& cell, u32 side) const {
    const i32 gate = cell.gates[side];
    return (cell.openSides >> side & 1) && !(gate >= 0 && !gates[gate].open);
}

u8 cGardenMazePlanner::OpenSides(const Cell& cell) const {
    u8 open = 0;
    for (u32 side = 0; side < 4; ++side)
        if (SideOpen(cell, side))
            open |= u8(1 << side);
    return open;
}

bool cGardenMazePlanner::OnEdge(i32 cell, u32 side) const {
    return std::find(edges[side].begin(), edges[side].end(), cell) != edges[side].end();
}

// Tez goes to open one of the cell's closed gates first, and that side counts as open.
u8 cGardenMazePlanner::OpenGateSide(i32 cell) {
    std::vector<u32> closed;
    for (u32 side = 0; side < 4; ++side) {
        const i32 gate = cells[cell].gates[side];
        if (gate < 0 || gates[gate].open)
            continue;
        closed.push_back(side);
        if (OnEdge(cell, side))
            break;
    }
    if (closed.empty())
        return 0;
    const u32 side = closed.size() == 1 ? closed[0] : closed[u32(platform::rand()) % closed.size()];
    const Gate& gate = gates[cells[cell].gates[side]];
    const SpyPoint halfway{(tezStand.position.x + gate.closedCentre.x) / 2,
                           (tezStand.position.y + gate.closedCentre.y) / 2};
    tez.gate = cells[cell].gates[side];
    const bool reached = Leg(halfway);
    m_LegStart = CellUnder(halfway);
    tez.gate = -1;
    // He will have opened it before the next leg is walked, so that leg may pass it.
    if (reached) {
        Gate& opened = gates[cells[cell].gates[side]];
        opened.open = true;
        m_Overlay.PutArea(opened.door, opened.closedLocal);
    }
    return u8(1 << side);
}

i32 cGardenMazePlanner::ChooseFleeSide(i32 cell, u8 open) const {
    const int count = std::popcount(open);
    if (count == 0)
        return -1;
    for (u32 side = 0; side < 4; ++side)
        if ((open >> side & 1) && OnEdge(cell, side))
            return i32(side);
    int k = cells[cell].areaName == "CELL1" && count > 1 ? 1 : platform::rand() % count + 1;
    for (u32 side = 0; side < 4; ++side)
        if ((open >> side & 1) && --k == 0)
            return i32(side);
    return -1;
}

void cGardenMazePlanner::PlanFlight() {
    platform::srand(seed);
    player.path.StepBack();
    if (player.path.Empty() || player.cell < 0 || size_t(player.cell) >= cells.size())
        return;
    m_LegStart = CellUnder(tezStand.centre);
    const i32 home = player.cell;
    const u8 entry = EntrySide(cells[home].area);
    u8 open = OpenSides(cells[home]);
    if (std::popcount(open) < 2)
        open |= OpenGateSide(home);
    if (entry < 4)
        open &= u8(~(1 << entry));
    const i32 side = ChooseFleeSide(home, open);
    const bool cornered =
        tez.cell >= 0 && size_t(tez.cell) < cells.size() && cells[tez.cell].areaName == "CELL5";
    if (side < 0 || cornered)
        CatchTez();
    else
        Flee(home, u32(side));
}

// The side Marwenn came in through. A walk rests short of its corners, so the cell stepped back to may
// already lie in her cell: the side is where the last cell behind her outside it lies (none when she
// set out from inside).
u8 cGardenMazePlanner::EntrySide(const aRect& area) const {
    for (u32 step = player.path.GetStep() + 1; step-- > 0;) {
        const SpyPoint corner = m_Overlay.CellToScreen(m_Transform, player.path.CellAt(step));
        if (!area.contains(Trunc(corner.x), Trunc(corner.y)))
            return GetRectSide(area, Trunc(corner.x), Trunc(corner.y));
    }
    return 4;
}

void cGardenMazePlanner::CatchTez() {
    if (taken)
        return;
    taken = caught = true;
    const SpyPoint to = m_Transform.LocalToScreen(CatchPoint.x, CatchPoint.y);
    WalkWalkerTo(tez, tezStand.centre, to.x, to.y);
}

void cGardenMazePlanner::Flee(i32 cell, u32 side) {
    const aRect& area = cells[cell].area;
    const aRect beside = side == 0   ? MakeRectLeftOf(area, 0, area.w)
                         : side == 1 ? MakeRectRightOf(area, 0, area.w)
                         : side == 2 ? MakeRectAbove(area, 0, area.h)
                                     : MakeRectBelow(area, 0, area.h);
    const SpyPoint target = GetRectCenter(beside);
    // Marwenn stands in the way of every search.
    m_Overlay.GetArea(player.footprint, playerStand.local);
    m_Overlay.MarkRect(playerStand.local, true);
    m_PlayerWalled = true;
    if (const i32 into = CellContaining(target); into >= 0) {
        Leg(cells[into].centre);
    } else {
        Leg(target);
        RunRound(target);
    }
    tez.state = CMazeWalker::Idle;
    m_Overlay.PutArea(player.footprint, playerStand.local);
    m_PlayerWalled = false;
}

// Along the outside of the maze, cell by cell and round its corners, until a border cell opens outwards.
// One circuit of the edge lists at most: a maze without such a cell would keep the worker for ever.
void cGardenMazePlanner::RunRound(SpyPoint point) {
    i32 current = player.cell;
    size_t steps = 0;
    for (const std::vector<i32>& list : edges)
        steps += list.size();
    for (;;) {
        const u8 side = GetRectSide(MazeRect, Trunc(point.x), Trunc(point.y));
        if (side == 4) {
            log("cGardenMazeRoom engine failed[2]: %s", cells[current].areaName.c_str());
            return;
        }
        const std::vector<i32>& list = edges[side];
        const auto at = std::find(list.begin(), list.end(), current);
        if (at == list.end()) {
            log("cGardenMazeRoom engine failed[3]: %s", cells[player.cell].areaName.c_str());
            return;
        }
        if (steps-- == 0) {
            log("cGardenMazeRoom. The flight went once round the maze from %s and found no way in",
                cells[player.cell].areaName.c_str());
            return;
        }
        u32 outside = side;
        if (at + 1 != list.end()) {
            current = *(at + 1);
            const SpyPoint& centre = cells[current].centre;
            point = side < 2 ? SpyPoint{point.x, centre.y} : SpyPoint{centre.x, point.y};
        } else {
            // Round the corner into the next list, clockwise.
            const SpyPoint& c = cells[current].centre;
            const f32 w = tezStand.width, h = tezStand.height;
            const aRect& r = MazeRect;
            static constexpr u32 NextSide[4] = {2, 3, 1, 0};
            outside = NextSide[side];
            point = side == 0   ? SpyPoint{c.x, r.y - (w + 1)}
                    : side == 1 ? SpyPoint{c.x, f32(r.y + r.h) + h + 1}
                    : side == 2 ? SpyPoint{f32(r.x + r.w) + w + 1, c.y}
                                : SpyPoint{r.x - (w + 1), c.y};
        }
        Leg(point);
        if (SideOpen(cells[current], outside)) {
            Leg(cells[current].centre);
            return;
        }
        if (stopRequested && stopRequested->load())
            return;
    }
}

bool cGardenMazePlanner::Leg(SpyPoint target) {
    if (m_PlayerWalled)
        m_Overlay.PutArea(player.footprint, playerStand.local);
    const bool found = FindWalkerPath(tez, m_LegStart, target.x, target.y);
    if (!found) {
        const SpyPoint from = m_Overlay.CellToLocal(m_LegStart);
        log("Cann't calc way to [%f,%f] from [%f,%f]!", double(target.x), double(target.y),
            double(from.x + origin.x), double(from.y + origin.y));
    }
    if (m_PlayerWalled) {
        m_Overlay.GetArea(player.footprint, playerStand.local);
        m_Overlay.MarkRect(playerStand.local, true);
    }
    tezSteps.push_back(tez);
    m_LegStart = tez.path.Empty() ? CellUnder(tezStand.centre) : tez.path.Cells()[0];
    return found;
}
