// The sliding tiles' shuffle on a 6 x 6 grid beside the same work written plainly, in the same run.
// The room ("PiatnashkiRoom", 36 tiles CELL11..CELL66 of one 16 x 16 picture) lists every tile but
// CELL66 in "win_order": 35 tiles that must come home can never pass the layout test (at most six of
// them lie in rows and columns of their own), so each shuffle makes all of its 25 attempts, every one
// of 6 x 6 passes over the 36 cells, and the work per run is fixed whatever the layout it starts from.
//  - ours: cPiatnashkiRoom::Shuffle, rand seeded the same before each run;
//  - baseline: the same draws (r1 = rand() % 6, r2 drawn again while it equals r1), for each an
//    std::swap of the two entries of a plain grid of the same items and two SetPos that exchange their
//    places, and after each attempt the same layout test (the win tiles met in row order, each held
//    against those met before by row and column), over its own copy of the room's grid.
// Before timing, both sides shuffle the same grid from the same seed and must end in the same layout.
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cPiatnashkiRoom.h"
#include "support/ImageFiles.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/Random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Grid = cPiatnashkiRoom::Grid;

constexpr int kSide = 6;
constexpr unsigned kSeed = 20261211;

bool isWin(const std::vector<CSpyItem*>& win, const CSpyItem* tile) {
    return std::find(win.begin(), win.end(), tile) != win.end();
}

bool plainLayoutAccepted(const Grid& grid, const std::vector<CSpyItem*>& win) {
    std::vector<std::pair<size_t, size_t>> seen;
    for (size_t r = 0; r < grid.size(); ++r)
        for (size_t c = 0; c < grid[r].size(); ++c) {
            if (!isWin(win, grid[r][c]))
                continue;
            for (const auto& [sr, sc] : seen)
                if (sr == r || sc == c)
                    return seen.size() + 1 >= win.size();
            seen.emplace_back(r, c);
        }
    return true;
}

void plainShuffle(Grid& grid, const std::vector<CSpyItem*>& win) {
    const i32 rows = i32(grid.size());
    for (int attempt = 0; attempt < 25; ++attempt) {
        for (i32 pass = 0; pass < rows * rows; ++pass)
            for (auto& row : grid)
                for (CSpyItem*& cell : row) {
                    const i32 r1 = platform::rand() % rows;
                    const i32 n = i32(grid[size_t(r1)].size());
                    i32 r2 = platform::rand() % n;
                    while (r2 == r1)
                        r2 = platform::rand() % n;
                    CSpyItem*& other = grid[size_t(r1)][size_t(r2)];
                    const SpyPoint a = cell->GetPos(), b = other->GetPos();
                    cell->SetPos(b.x, b.y);
                    other->SetPos(a.x, a.y);
                    std::swap(cell, other);
                }
        if (plainLayoutAccepted(grid, win))
            return;
    }
}

struct World {
    aApplication app;
    std::unique_ptr<aGraphServer> graph = std::make_unique<aGraphServer>(1024, 768, false, true);
    std::unique_ptr<CResManager> res;
    bench::TempFolder folder{"bench_closeups_tiles"};
    CRoomsManager rooms;
    CPersonagesManager personages;
    cPiatnashkiRoom* room = nullptr;
    Grid plain;
    bool same = false;

    World() {
        if (graph->getFatalError())
            return;
        res = std::make_unique<CResManager>(false);
        std::string objects, items, order;
        for (int r = 1; r <= kSide; ++r)
            for (int c = 1; c <= kSide; ++c) {
                const std::string suffix = std::to_string(r) + std::to_string(c);
                objects += "[cell" + suffix + "]\nClass = image\nImage = pic\nX = " + std::to_string(40 * c) +
                           "\nY = " + std::to_string(40 * r) + "\n";
                items += "[CELL" + suffix + "]\nObject = cell" + suffix + "\n";
                if (r < kSide || c < kSide)
                    order += " " + suffix;
            }
        folder.write("tiles/room.ini", "[Room]\nClass = PiatnashkiRoom\n[Options]\nrows = 6\ncols = 6\n"
                                       "win_box = CELL66\nwin_card = CELL66\nwin_order =" +
                                           order + "\n");
        folder.write("tiles/objects.ini", objects);
        folder.write("tiles/items.ini", items);
        folder.write("tiles/Images/pic.png",
                     imagefiles::text(imagefiles::png(16, 16, std::vector<u32>(256, 0xFF806040))));
        folder.write("tiles/Images/_images.list", "pic.png 8888 8888\n");
        folder.write("_rooms.list", "tiles\n");
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder.path, "Bench");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms(folder.path);
        rooms.ResetRooms(folder.path);
        room = dynamic_cast<cPiatnashkiRoom*>(rooms.GetRoom("tiles"));
        if (!room || room->GetGrid().size() != size_t(kSide))
            return;
        plain = room->GetGrid();
        platform::srand(kSeed);
        room->Shuffle();
        platform::srand(kSeed);
        plainShuffle(plain, room->GetWinTiles());
        same = plain == room->GetGrid();
    }
};

World& world() {
    static World w;
    return w;
}

void BM_TilesShuffle(benchmark::State& state) {
    if (!world().same)
        return state.SkipWithError("no room, or the two sides differ");
    for (auto _ : state) {
        platform::srand(kSeed);
        world().room->Shuffle();
    }
}

void BM_PlainShuffle(benchmark::State& state) {
    if (!world().same)
        return state.SkipWithError("no room, or the two sides differ");
    for (auto _ : state) {
        platform::srand(kSeed);
        plainShuffle(world().plain, world().room->GetWinTiles());
    }
}

BENCHMARK(BM_TilesShuffle)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainShuffle)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    const auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "Tiles shuffle, 6 x 6, 25 attempts", "BM_TilesShuffle", "BM_PlainShuffle",
                      1.3);
    return 0;
}
