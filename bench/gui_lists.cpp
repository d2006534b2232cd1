// A list box's draw with 10,000 items beside the same list box with 100 items: both 300 x 400 with
// rows 20 high (20 rows visible, every fourth selected), scrolled to the middle of their list, drawn
// 50 times in one scene of the graph server that ends by reading one pixel back, so finished work is
// timed and the list's drawing, not the scene's start and end, fills the frame.
// Each item draws one filled rectangle through the immediate 2D drawing, as a simple caller-made item
// would. The figure of interest is the ratio: drawing must cost what the visible rows cost, not what
// the list holds.
#include "BenchFrame.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Listbox.h"
#include "tk2v/gui/ListboxItem.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 1024, kHeight = 768, kRowHeight = 20, kDrawsPerFrame = 50;

struct BenchItem : GUI::ListboxItem {
    explicit BenchItem(u32 color) : color(color) {}
    void GetSize(f32& w, f32& h) const override {
        w = 280;
        h = kRowHeight;
    }
    void Draw(const aRect& rect) override {
        static aGDI painter;
        painter.color = color;
        painter.drawRectS(rect, true);
    }
    void Update(f32) override {}
    bool IsGreater(const ListboxItem&) const override { return false; }
    bool IsLess(const ListboxItem&) const override { return false; }

    u32 color;
};

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;

    Scene() {
        graph = std::make_unique<aGraphServer>(kWidth, kHeight, false, true, "bench", 0, false);
        app.setGraphServer(graph.get());
    }
    bool ready() const { return !graph->getFatalError(); }
};

Scene& scene() {
    static Scene s;
    return s;
}

struct List {
    GUI::Listbox box{"list"};
    std::vector<std::unique_ptr<BenchItem>> items;

    explicit List(int count) {
        box.SetArea(100, 100, 300, 400);
        box.Initialize();
        for (int i = 0; i < count; ++i) {
            items.push_back(std::make_unique<BenchItem>(0xFF000000u | u32(i * 2654435761u >> 8)));
            box.AddItem(items.back().get());
            items.back()->selected = i % 4 == 0;
        }
        box.SetScrollPosition(0, f32(count * kRowHeight / 2));
    }

    void frame() {
        bench::finishedFrame(*scene().graph, [this] {
            for (int i = 0; i < kDrawsPerFrame; ++i)
                box.Render();
        });
    }
};

void BM_ListboxDraw(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    List list(int(state.range(0)));
    for (auto _ : state)
        list.frame();
}

// Argument: the number of items; 100 is the baseline for 10,000. Compare the medians of the
// repetitions: the machine may be shared.
BENCHMARK(BM_ListboxDraw)
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
