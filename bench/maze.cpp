// The maze path search on the largest map a maze may have (4096 x 4096), open ground and a seeded
// maze of corridors three cells wide, with single-cell and 3 x 3 walkers, capped at wave 1000 and
// unlimited, each beside its baseline in the same run.
//
// Ours: CGridMap::FindPathWave from a corner to the farthest cell the limit lets it reach: its
// distance fill, the four-neighbour wave over its queue, the eight-neighbour descent into a CGridPath.
// Baseline: a plain breadth-first search written here doing the same work: flat column-major arrays
// of the same cells, its own distance fill per search, a ring queue of cells, the same
// walkability test (a cell that is no wall, or a free 3 x 3 square), the same wave limit (nothing
// taken from the queue at distance limit - 1 or more; 0xFFFF for an unlimited search), and the same
// eight-neighbour descent over its distances into a vector (target: within 1.3x).
//
// Then a flight of Tez planned on the demo's hedge maze (the town case played from its start into the
// garden, Tez settled in cell 1 and Marwenn stepping into it), as a worker plans it and the room takes
// it over. Ours: cGardenMazeRoom's copy of the maze (grid, cells, gates, edge lists, both characters),
// cGardenMazePlanner::PlanFlight on it (one leg into cell 2, its search run with Marwenn's cells as they
// are), and the take-over: both characters' routes and the queued legs onto the room's characters (here
// copies of them, so that every round plans from the same place). Baseline: the same FindPathWave call
// on the same grid, from the cell under Tez's centre to the cell under cell 2's centre with squares
// of 3 and limit 1000, checked once to give the leg's path (target: within 1.5x).
#include "../tests/support/game/DemoGame.h"
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazePlanner.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/Random.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr u32 kSide = CGridMap::MaxSide;
constexpr u8 kWall = CGridMap::Wall;
constexpr u16 kUnreached = 0xFFFF;

// Maze rooms of 3 x 3 cells on a pitch of 4, joined by a depth-first walk from the top-left room.
void carveMaze(CGridMap& grid) {
    constexpr u32 rooms = kSide / 4;
    for (u32 x = 0; x < kSide; ++x)
        for (u32 y = 0; y < kSide; ++y)
            grid.SetWall(x, y);
    auto open = [&](u32 x0, u32 y0, u32 w, u32 h) {
        for (u32 x = x0; x < x0 + w; ++x)
            for (u32 y = y0; y < y0 + h; ++y)
                grid.SetFree(x, y);
    };
    std::vector<bool> seen(rooms * rooms, false);
    std::vector<std::pair<u32, u32>> stack{{0, 0}};
    seen[0] = true;
    open(0, 0, 3, 3);
    platform::srand(77);
    while (!stack.empty()) {
        const auto [rx, ry] = stack.back();
        std::pair<u32, u32> next[4];
        int count = 0;
        const int dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1};
        for (int i = 0; i < 4; ++i) {
            const u32 nx = rx + u32(dx[i]), ny = ry + u32(dy[i]);
            if (nx < rooms && ny < rooms && !seen[nx * rooms + ny])
                next[count++] = {nx, ny};
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        const auto [nx, ny] = next[platform::rand() % count];
        seen[nx * rooms + ny] = true;
        open(nx * 4, ny * 4, 3, 3);
        if (nx != rx)
            open(std::min(rx, nx) * 4 + 3, ry * 4, 1, 3);
        else
            open(rx * 4, std::min(ry, ny) * 4 + 3, 3, 1);
        stack.push_back({nx, ny});
    }
}

class PlainSearch {
public:
    explicit PlainSearch(const CGridMap& grid) : m_w(grid.GetWidth()), m_h(grid.GetHeight()) {
        m_cells.resize(size_t(m_w) * m_h);
        for (u32 x = 0; x < m_w; ++x)
            for (u32 y = 0; y < m_h; ++y)
                m_cells[size_t(x) * m_h + y] = grid.GetCell(x, y);
        m_ring.resize(m_cells.size() + 1);
    }

    bool search(u32 sx, u32 sy, u32 tx, u32 ty, u32 size, u16 maxWave,
                std::vector<std::pair<u32, u32>>& path) {
        path.clear();
        m_dist.assign(m_cells.size(), kUnreached);
        const u32 limit = maxWave == 0 ? 0xFFFF : maxWave;
        size_t head = 0, tail = 0;
        m_ring[tail++] = {sx, sy};
        m_dist[size_t(sx) * m_h + sy] = 0;
        bool found = false;
        while (head != tail) {
            const auto [x, y] = m_ring[head];
            head = head + 1 == m_ring.size() ? 0 : head + 1;
            const u32 d = m_dist[size_t(x) * m_h + y];
            if (d + 1 >= limit)
                break;
            if (x == tx && y == ty) {
                found = true;
                break;
            }
            auto take = [&](u32 nx, u32 ny) {
                u16& distance = m_dist[size_t(nx) * m_h + ny];
                if (distance == kUnreached && walkable(nx, ny, size)) {
                    distance = u16(d + 1);
                    m_ring[tail] = {nx, ny};
                    tail = tail + 1 == m_ring.size() ? 0 : tail + 1;
                }
            };
            if (x > 0)
                take(x - 1, y);
            if (x + 1 < m_w)
                take(x + 1, y);
            if (y > 0)
                take(x, y - 1);
            if (y + 1 < m_h)
                take(x, y + 1);
        }
        if (found)
            descend(sx, sy, tx, ty, path);
        return found;
    }

    // The last cell a search may take from its queue: what the benchmark aims at.
    std::pair<u32, u32> farthest(u32 sx, u32 sy, u32 size, u16 maxWave) {
        std::vector<std::pair<u32, u32>> path;
        search(sx, sy, kSide, kSide, size, maxWave, path);
        const u32 limit = maxWave == 0 ? 0xFFFF : maxWave;
        std::pair<u32, u32> best{sx, sy};
        u32 bestDistance = 0;
        for (u32 i = 0; i < m_dist.size(); ++i)
            if (m_dist[i] != kUnreached && u32(m_dist[i]) + 2 <= limit && m_dist[i] > bestDistance) {
                bestDistance = m_dist[i];
                best = {i / m_h, i % m_h};
            }
        return best;
    }

private:
    bool walkable(u32 x, u32 y, u32 size) const {
        if (size <= 1)
            return m_cells[size_t(x) * m_h + y] != kWall;
        const u32 h = size / 2;
        if (x < h || y < h || x + h + 1 > m_w || y + h + 1 > m_h)
            return false;
        for (u32 cx = x - h; cx <= x + h; ++cx) {
            const u8* column = m_cells.data() + size_t(cx) * m_h;
            for (u32 cy = y - h; cy <= y + h; ++cy)
                if (column[cy] == kWall)
                    return false;
        }
        return true;
    }

    void descend(u32 sx, u32 sy, u32 tx, u32 ty, std::vector<std::pair<u32, u32>>& path) const {
        static constexpr i32 steps[8][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1},
                                            {-1, 0},  {1, 0},  {0, -1}, {0, 1}};
        u32 x = tx, y = ty, best = kUnreached;
        while (x != sx || y != sy) {
            bool stepped = false;
            u32 bx = 0, by = 0;
            for (const auto& s : steps) {
                const u32 nx = x + u32(s[0]), ny = y + u32(s[1]);
                if (nx >= m_w || ny >= m_h || m_cells[size_t(nx) * m_h + ny] == kWall)
                    continue;
                if (m_dist[size_t(nx) * m_h + ny] < best) {
                    best = m_dist[size_t(nx) * m_h + ny];
                    bx = nx;
                    by = ny;
                    stepped = true;
                }
            }
            if (!stepped)
                break;
            path.emplace_back(bx, by);
            x = bx;
            y = by;
        }
    }

    u32 m_w, m_h;
    std::vector<u8> m_cells;
    std::vector<u16> m_dist;
    std::vector<std::pair<u32, u32>> m_ring;
};

struct Map {
    CGridMap grid;
    std::unique_ptr<PlainSearch> plain;
};

Map& map(int kind) {
    static Map maps[2];
    Map& m = maps[kind];
    if (!m.plain) {
        m.grid.Resize(kSide, kSide);
        if (kind == 1)
            carveMaze(m.grid);
        m.plain = std::make_unique<PlainSearch>(m.grid);
    }
    return m;
}

const char* const kKinds[] = {"open", "maze"};

// Arguments: map kind (0 open, 1 maze), walker size, wave limit.
void BM_FindPathWave(benchmark::State& state) {
    Map& m = map(int(state.range(0)));
    const u32 size = u32(state.range(1));
    const u16 maxWave = u16(state.range(2));
    const auto [tx, ty] = m.plain->farthest(1, 1, size, maxWave);
    CGridPath path;
    for (auto _ : state) {
        if (!m.grid.FindPathWave(1, 1, tx, ty, path, size, maxWave))
            return state.SkipWithError("not found");
        benchmark::DoNotOptimize(path.Count());
    }
    state.counters["path"] = path.Count();
}

void BM_PlainSearch(benchmark::State& state) {
    Map& m = map(int(state.range(0)));
    const u32 size = u32(state.range(1));
    const u16 maxWave = u16(state.range(2));
    const auto [tx, ty] = m.plain->farthest(1, 1, size, maxWave);
    std::vector<std::pair<u32, u32>> path;
    for (auto _ : state) {
        if (!m.plain->search(1, 1, tx, ty, size, maxWave, path))
            return state.SkipWithError("not found");
        benchmark::DoNotOptimize(path.size());
    }
    state.counters["path"] = double(path.size());
}

void configurations(benchmark::internal::Benchmark* b) {
    for (int kind : {0, 1})
        for (int size : {1, 3})
            for (int maxWave : {1000, 0})
                b->Args({kind, size, maxWave});
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->MinTime(0.2);
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_FindPathWave)->Apply(configurations);
BENCHMARK(BM_PlainSearch)->Apply(configurations);

} // namespace

// The demo's hedge maze with a flight about to be planned.
struct GardenFlightBench {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    bench::TempFolder folder{"bench_maze_flight"};
    std::unique_ptr<demo::DemoGame> game;
    cGardenMazeRoom* garden = nullptr;
    CGridMap grid;
    CGridPath::Cell start, target;
    u32 unitSize = 0;
    bool ready = false;

    GardenFlightBench() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        game = std::make_unique<demo::DemoGame>(RVH_DEMO_DATA, folder.path, std::nullopt, "Town");
        if (!game->play())
            return;
        if (game->investigation().GetState() == CInvestigation::OnMap)
            game->goThrough("TOWN", "room_Town");
        // The square's greeting and the case's briefing read.
        for (int i = 0; i < 500 && !briefed(); ++i) {
            game->game().GetPanel().GetMessage().Hide();
            game->frame();
        }
        if (!game->goThrough("HEDGE", "zoom_GardenMaze"))
            return;
        garden = dynamic_cast<cGardenMazeRoom*>(game->investigation().GetCurrentRoomPtr());
        if (!garden)
            return;
        garden->SetWorkersInline(true);
        game->game().GetPanel().GetMessage().Hide();
        for (int i = 0; i < 5000 && garden->GetTez().state != CMazeWalker::Idle; ++i)
            game->frame();
        // Into cell 1, until her step into Tez's cell has the flight planned and waiting.
        aInputServer& input = *aApplication::inputServer();
        const SpyPoint cell1 = garden->m_Transform.LocalToScreen(270, 350);
        input.setMousePos(i32(cell1.x), i32(cell1.y));
        for (aKeyState button : {KEY_PRESSED, KEY_RELEASED, KEY_UP}) {
            input.mouseButtons[0] = button;
            game->frame();
        }
        for (int i = 0; i < 5000 && !fleeing(); ++i)
            game->frame();
        if (!fleeing())
            return;
        std::unique_ptr<cGardenMazePlanner> plan = garden->Snapshot();
        grid = plan->grid;
        unitSize = plan->unitSize;
        CGridOverlay overlay;
        overlay.SetGrid(&grid, plan->rowHeight, plan->columnWidth);
        const cRoomTransform transform(&plan->origin, &plan->scale);
        overlay.ScreenToCell(transform, plan->tezStand.centre.x, plan->tezStand.centre.y, start);
        overlay.ScreenToCell(transform, plan->cells[1].centre.x, plan->cells[1].centre.y, target);
        plan->PlanFlight();
        CGridPath path;
        grid.FindPathWave(start.first, start.second, target.first, target.second, path, unitSize, 1000);
        ready = plan->tezSteps.size() == 1 && !path.Empty() && plan->tezSteps[0].path.Cells() == path.Cells();
    }

    bool briefed() {
        const CSpyEventBase* briefing = game->investigation().GetEventsManager().FindEvent("TownBriefing");
        return briefing && briefing->IsDone();
    }
    bool fleeing() const {
        return garden->IsWorkerPending() && garden->GetPlayer().cell >= 0 &&
               garden->GetPlayer().cell == garden->GetTez().cell;
    }
    std::unique_ptr<cGardenMazePlanner> snapshot() const { return garden->Snapshot(); }
};

namespace {

GardenFlightBench& flight() {
    static GardenFlightBench bench;
    return bench;
}

void BM_FlightPlan(benchmark::State& state) {
    GardenFlightBench& f = flight();
    if (!f.ready)
        return state.SkipWithError("no flight");
    CMazeWalker player = f.garden->GetPlayer(), tez = f.garden->GetTez();
    std::deque<CMazeWalker> legs;
    for (auto _ : state) {
        std::unique_ptr<cGardenMazePlanner> plan = f.snapshot();
        plan->PlanFlight();
        player.TakeRoute(plan->player);
        tez.TakeRoute(plan->tez);
        legs = std::move(plan->tezSteps);
        benchmark::DoNotOptimize(legs.size());
    }
}

void BM_FlightSearchesBare(benchmark::State& state) {
    GardenFlightBench& f = flight();
    if (!f.ready)
        return state.SkipWithError("no flight");
    CGridPath path;
    for (auto _ : state) {
        f.grid.FindPathWave(f.start.first, f.start.second, f.target.first, f.target.second, path, f.unitSize,
                            1000);
        benchmark::DoNotOptimize(path.Count());
    }
}

BENCHMARK(BM_FlightPlan)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_FlightSearchesBare)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    for (int kind : {0, 1})
        for (int size : {1, 3})
            for (int maxWave : {1000, 0}) {
                const std::string args =
                    std::to_string(kind) + "/" + std::to_string(size) + "/" + std::to_string(maxWave);
                const double mine = figures["BM_FindPathWave/" + args].cpu;
                const double bare = figures["BM_PlainSearch/" + args].cpu;
                if (mine > 0 && bare > 0)
                    std::printf("FindPathWave %s, size %d, limit %d: %.2f ms beside %.2f ms, ratio %.2f "
                                "(goal <= 1.3)\n",
                                kKinds[kind], size, maxWave, mine, bare, mine / bare);
            }
    const double plan = figures["BM_FlightPlan"].cpu, bare = figures["BM_FlightSearchesBare"].cpu;
    if (plan > 0 && bare > 0)
        std::printf("A flight on the demo maze: %.1f us beside %.1f us, ratio %.2f (goal <= 1.5)\n", plan,
                    bare, plan / bare);
    return 0;
}
