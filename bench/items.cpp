// The item side of a room, each figure beside its baseline in the same run:
//  - CreateItems of a room of 300 scene objects and 200 item sections (objects.ini and items.ini read,
//    the sections laid out one per item, objects and items made and read) beside two aOptionsFile
//    loads of the same files, which is the least any reader of them does (target: within 4x);
//  - one frame of 300 unlocked image items (FrameMoveItems, then RenderItems) beside 300 aImage::drawAt
//    calls of the same picture at the same places (target: within 1.5x). Each frame ends by reading one
//    pixel back, so both sides are timed for finished drawing.
#include "BenchBmp.h"
#include "BenchFolder.h"
#include "BenchFrame.h"
#include "game/CResManager.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kObjects = 300, kSections = 200;
constexpr int kPicture = 32;

// 300 objects; 200 sections: single objects with hover objects, hidden-object groups of three,
// and object-less items, with the keys a room's items usually carry.
void writeRoom(const bench::TempFolder& folder) {
    std::string objects, items;
    for (int i = 0; i < kObjects; ++i)
        objects += "[obj" + std::to_string(i) + "]\nClass = object\nX = " + std::to_string(i * 3) +
                   "\nY = " + std::to_string(i * 2) + "\nZoomX = 1.0\nZoomY = 1.0\nColor = ffffffff\n";
    int object = 0;
    for (int s = 0; s < kSections; ++s) {
        items += "[Item" + std::to_string(s) + "]\nGroup = G" + std::to_string(s % 10) +
                 "\nHighlightOnMouseHover = 1\nFlash = 0\nIsWinItem = CLICKUSE\nUserData = data\n";
        if (s % 4 == 0 && object + 3 <= kObjects) {
            items += "Object = obj" + std::to_string(object) + ", obj" + std::to_string(object + 1) +
                     ", obj" + std::to_string(object + 2) + "\nIsISpyItem = 1\n";
            object += 3;
        } else if (s % 4 == 1 && object + 2 <= kObjects) {
            items += "Object = obj" + std::to_string(object) + "\nObjectOnMouseHover = obj" +
                     std::to_string(object + 1) + "\n";
            object += 2;
        } else if (s % 4 == 2 && object < kObjects) {
            items += "Object = obj" + std::to_string(object++) + "\nDependenceFromAccessGroup = G1\n";
        }
    }
    folder.write("objects.ini", objects);
    folder.write("items.ini", items);
}

void BM_CreateItems(benchmark::State& state) {
    bench::TempFolder folder{"bench_items"};
    writeRoom(folder);
    for (auto _ : state) {
        CSpyItemManager manager;
        manager.CreateItems(nullptr, "Hall", folder.path);
        benchmark::DoNotOptimize(manager.GetItemCount());
    }
}

void BM_ParseBothIniFiles(benchmark::State& state) {
    bench::TempFolder folder{"bench_items"};
    writeRoom(folder);
    for (auto _ : state) {
        aOptionsFile objects(folder.path + "objects.ini");
        aOptionsFile items(folder.path + "items.ini");
        benchmark::DoNotOptimize(objects.getSectionName());
        benchmark::DoNotOptimize(items.getSectionName());
    }
}

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<CResManager> res;
    bench::TempFolder folder{"bench_items"};
    CSpyItemManager items;
    aImage* picture = nullptr;

    Scene() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        res = std::make_unique<CResManager>(false);
        folder.write("pic.bmp", bench::solidBmp(kPicture, 0x806040));
        res->getImageManager()->loadResource(folder.path, "pic.bmp 8888 8888", "Hall");
        picture = res->getImageManager()->getImage("pic", "Hall");
        std::string objects;
        for (int i = 0; i < kObjects; ++i)
            objects += "[pic" + std::to_string(i) +
                       "]\nClass = image\nImage = pic\nX = " + std::to_string(i * 3 % 990) +
                       "\nY = " + std::to_string(i * 7 % 730) + "\n";
        folder.write("objects.ini", objects);
        folder.write("items.ini", "");
        items.CreateItems(nullptr, "Hall", folder.path);
        items.ResetItems();
        items.FrameMoveItems(0); // the unlocking frame
    }

    bool ready() const { return picture && picture->hasTexture() && items.GetItemCount() == kObjects; }

    template <typename Draw> void frame(Draw draw) { bench::finishedFrame(*graph, draw); }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_FrameMoveAndRenderItems(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    for (auto _ : state)
        scene().frame([] {
            scene().items.FrameMoveItems(1.0f / 60);
            scene().items.RenderItems();
        });
}

void BM_DrawAtSamePictures(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    for (auto _ : state)
        scene().frame([] {
            for (int i = 0; i < kObjects; ++i)
                scene().picture->drawAt(i16(i * 3 % 990), i16(i * 7 % 730));
        });
}

BENCHMARK(BM_CreateItems)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseBothIniFiles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameMoveAndRenderItems)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_DrawAtSamePictures)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
