// 300 nine-slice windows of 120 x 90 a frame into a 1024 x 768 target. Ours: each window drawn by
// GUI::Style::Draw from a style sliced from its 24 x 24 picture into 8 x 8 cells, edges and interior
// stretched. Baseline: the same 2,700 quads drawn with aImage::draw from source rectangles, positions
// and scales worked out once before timing, as a caller that knows its layout would. Both draw in one
// scene of the same graph server with the same picture, and each frame ends by reading one pixel back,
// so finished work is timed.
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Style.h"
#include "tk2v/platform/BmpFile.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWindows = 300, kWidth = 1024, kHeight = 768, kWindowW = 120, kWindowH = 90;
constexpr int kCell = 8, kPicture = 3 * kCell;

struct Quad {
    f32 x, y;
    aRect src;
    f32 scale[2];
};

std::vector<aRect> windowRects() {
    std::vector<aRect> out;
    unsigned state = 12345;
    auto next = [&](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % unsigned(range));
    };
    for (int i = 0; i < kWindows; ++i)
        out.push_back(aRect{i16(next(kWidth - kWindowW)), i16(next(kHeight - kWindowH)), kWindowW, kWindowH});
    return out;
}

// The nine quads of one window: corners unscaled, edges stretched along themselves, interior both ways.
void addNineSlice(std::vector<Quad>& out, const aRect& r) {
    const int inW = r.w - 2 * kCell, inH = r.h - 2 * kCell;
    const f32 sx = f32(inW) / kCell, sy = f32(inH) / kCell;
    const int xs[3] = {r.x, r.x + kCell, r.x + r.w - kCell}, ys[3] = {r.y, r.y + kCell, r.y + r.h - kCell};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            out.push_back(Quad{f32(xs[col]),
                               f32(ys[row]),
                               aRect{i16(col * kCell), i16(row * kCell), kCell, kCell},
                               {col == 1 ? sx : 1.0f, row == 1 ? sy : 1.0f}});
}

// A picture whose cells differ, translucent at the corners so blending does real work.
std::vector<u8> picture() {
    std::vector<u8> rgba;
    for (int y = 0; y < kPicture; ++y)
        for (int x = 0; x < kPicture; ++x) {
            const int cell = (y / kCell) * 3 + x / kCell;
            rgba.insert(rgba.end(),
                        {u8(40 * cell), u8(255 - 20 * cell), u8(8 * x), u8(cell % 2 ? 160 : 255)});
        }
    return rgba;
}

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    aImageManager images;
    std::unique_ptr<GUI::Server> gui;
    GUI::Style style;
    aImage* image = nullptr;
    std::vector<aRect> windows = windowRects();
    std::vector<Quad> quads;

    Scene() {
        graph = std::make_unique<aGraphServer>(kWidth, kHeight, false, true, "bench", 0, false);
        if (graph->getFatalError())
            return;
        const std::string dir = std::filesystem::temp_directory_path().string() + "/";
        const std::string file = "gui_style_bench_" + std::to_string(::getpid()) + ".bmp";
        platform::writeBmp32(dir + file, kPicture, kPicture, picture());
        images.loadResource(dir, file + " 8888 8888", "");
        std::remove((dir + file).c_str());
        gui = std::make_unique<GUI::Server>(&images, nullptr);
        style.Set("Image", file.substr(0, file.rfind('.')));
        style.Set("AutoSlice", "all");
        style.Set("FillType", "stretch");
        style.Set("EdgeGlobal", "stretch");
        style.MakeFromScript();
        image = style.GetImage();
        for (const aRect& r : windows)
            addNineSlice(quads, r);
    }
    bool ready() const { return !graph->getFatalError() && image && image->hasTexture(); }

    template <typename Draw> void frame(Draw&& draw) { bench::finishedFrame(*graph, draw); }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_StyleDraw(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready())
        return state.SkipWithError("no graph server or picture");
    for (auto _ : state)
        s.frame([&] {
            for (const aRect& r : s.windows)
                s.style.Draw(r, 0xFFFFFFFF);
        });
}

void BM_ImageDrawQuads(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready())
        return state.SkipWithError("no graph server or picture");
    for (auto _ : state)
        s.frame([&] {
            for (const Quad& q : s.quads)
                s.image->draw(q.x, q.y, q.src.x, q.src.y, q.src.w, q.src.h, 0xFFFFFFFF, q.scale, 0, nullptr,
                              true);
        });
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_StyleDraw)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_ImageDrawQuads)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    const bench::Figures &ours = figures["BM_StyleDraw"], &base = figures["BM_ImageDrawQuads"];
    if (ours.wall > 0 && base.wall > 0 && base.cpu > 0)
        std::printf("300 windows: Style::Draw %.2f ms, aImage::draw quads %.2f ms, ratio %.2f (goal <= 1.2); "
                    "CPU %.2f ms vs %.2f ms, ratio %.2f\n",
                    ours.wall, base.wall, ours.wall / base.wall, ours.cpu, base.cpu, ours.cpu / base.cpu);
    return 0;
}
