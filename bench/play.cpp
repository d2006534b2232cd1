// A room in play, each figure beside its baseline in the same run:
//  - GetItemUnderCursor over a room of 300 image items, the mouse over the first item only (so the
//    walk from the top visits every item), beside a bare loop over the same items from last to first
//    calling IsVisible and HitTest, the least any hit test does (target: within 1.2x);
//  - Render of a room of 200 image items with 10 pick effects running beside the items' own drawing
//    (RenderItems, then each picked item shown, drawn and hidden again), the same 210 draws without
//    the room's viewport, mouse mode and effect scaling (target: within 1.3x). Each frame reads one
//    pixel back before its end, so both sides are timed for finished drawing of the whole frame.
#include "BenchBmp.h"
#include "BenchFrame.h"
#include "game/CResManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/GraphicsDevice.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kHitItems = 300, kDrawnItems = 200, kPicks = 10, kPicture = 32;

// A folder of its own under the temp dir, removed at exit.
struct Folder {
    std::string path;
    Folder() {
        path =
            (std::filesystem::temp_directory_path() / ("bench_play_" + std::to_string(getpid()))).string() +
            "/";
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path + name).parent_path());
        if (std::FILE* out = std::fopen((path + name).c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
    }
};

// A room of `count` image items spread over the screen; the first kPicks are hidden-object items.
void writeRoom(const Folder& folder, const std::string& name, int count) {
    std::string objects, items;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        objects += "[pic" + n + "]\nClass = image\nImage = pic\nX = " + std::to_string(20 + i * 3 % 950) +
                   "\nY = " + std::to_string(20 + i * 7 % 700) + "\n";
        items += "[I" + n + "]\nObject = pic" + n + (i < kPicks ? "\nIsISpyItem = 1\n" : "\n");
    }
    folder.write(name + "/room.ini", "[Room]\nClass = RoomBase\n");
    folder.write(name + "/objects.ini", objects);
    folder.write(name + "/items.ini", items);
    folder.write(name + "/Images/pic.bmp", bench::solidBmp(kPicture, 0x806040));
    folder.write(name + "/Images/_images.list", "pic.bmp 8888 8888\n");
}

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<aInputServer> input;
    std::unique_ptr<CResManager> res;
    Folder folder;
    CRoomBase hitRoom, drawnRoom;

    Scene() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        input = std::make_unique<aInputServer>();
        res = std::make_unique<CResManager>(false);
        writeRoom(folder, "Hall", kHitItems);
        writeRoom(folder, "Study", kDrawnItems);
        for (auto [room, name] : {std::pair{&hitRoom, "Hall"}, std::pair{&drawnRoom, "Study"}}) {
            room->Init(nullptr, nullptr, nullptr);
            const std::string data = folder.path + name + "/";
            room->LoadResources(data, name, aOptionsFile(data + "room.ini"), data);
        }
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        for (CRoomBase* room : {&hitRoom, &drawnRoom}) {
            room->AfterLoadInit();
            room->Reset();
            room->SetPosition({0, 0}, aRect{0, 0, 1024, 768});
            room->Enter("Bench", nullptr);
        }
        // Over the first item only.
        input->setMousePos(25, 25);
        for (int i = 0; i < kPicks; ++i)
            drawnRoom.PickItem(drawnRoom.GetItemManager().GetItemAt(size_t(i)), true);
    }

    bool ready() {
        return res && hitRoom.GetItemManager().GetItemCount() == kHitItems &&
               drawnRoom.GetItemManager().GetItemCount() == kDrawnItems && drawnRoom.GetState() == 9;
    }

    template <typename Draw> void frame(Draw draw) { bench::finishedFrame(*graph, draw); }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_GetItemUnderCursor(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    for (auto _ : state)
        benchmark::DoNotOptimize(scene().hitRoom.GetItemUnderCursor());
}

void BM_BareHitTestLoop(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    CSpyItemManager& items = scene().hitRoom.GetItemManager();
    for (auto _ : state) {
        i32 x = 0, y = 0;
        scene().input->getMousePos(x, y);
        CSpyItem* hit = nullptr;
        for (size_t i = items.GetItemCount(); i-- > 0 && !hit;) {
            CSpyItem* item = items.GetItemAt(i);
            if (item->IsVisible() && item->HitTest(i16(x), i16(y)))
                hit = item;
        }
        benchmark::DoNotOptimize(hit);
    }
}

void BM_RoomRender(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    for (auto _ : state)
        scene().frame([] { scene().drawnRoom.Render(); });
}

void BM_ItemsOwnDrawing(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    CSpyItemManager& items = scene().drawnRoom.GetItemManager();
    for (auto _ : state)
        scene().frame([&items] {
            items.RenderItems();
            for (int i = 0; i < kPicks; ++i) {
                CSpyItem* item = items.GetItemAt(size_t(i));
                item->SetVisible(true);
                item->Render();
                item->SetVisible(false);
            }
        });
}

BENCHMARK(BM_GetItemUnderCursor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareHitTestLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoomRender)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ItemsOwnDrawing)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
