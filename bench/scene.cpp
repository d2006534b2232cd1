// Hit tests of 300 image objects of 64 x 64 (a soft disc, threshold 128) at 1,200 points, beside
// the aImage::getPixel reads those hit tests make. Each object's rectangle is hit four times: at
// the disc's middle (one read, a hit), at a transparent corner (five reads, the point and its four
// neighbours, no hit), and, rotated by 0.5 radians, at the same two places. The baseline walks the
// same probe list with the same early exit and reads the same source pixels straight from the
// images, with the rectangle and rotation arithmetic done once beforehand: it is the least an alpha
// hit test must read. Both sides run on the same decoded textures of one offscreen graph server.
#include "BenchFolder.h"
#include "game/CResManager.h"
#include "game/SpyGame/CSpyObjImage.h"
#include "support/ImageFiles.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kObjects = 300, kSize = 64, kThreshold = 128;

std::vector<u32> discPixels() {
    std::vector<u32> argb;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = x - kSize / 2, dy = y - kSize / 2, d2 = dx * dx + dy * dy;
            const u32 alpha = d2 >= 32 * 32 ? 0 : 255 - u32(d2 * 255 / (32 * 32));
            argb.push_back(alpha << 24 | 0xFFFFFF);
        }
    return argb;
}

// One pixel read of the baseline and whether the probe ends there.
struct Read {
    const aImage* image;
    i32 u, v;
};
struct Probe {
    CSpyObjImage* object;
    i32 x, y;
    std::vector<Read> reads; // the source pixels the hit test reads, in its order
};

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<CResManager> res;
    std::vector<std::unique_ptr<CSpyObjImage>> objects;
    std::vector<Probe> probes;
    // The hit tests and the baseline agree on every probe.
    bool agree = true;
    bench::TempFolder folder{"bench_scene"};

    Scene() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        res = std::make_unique<CResManager>(false);
        std::string ini;
        for (int i = 0; i < kObjects; ++i) {
            const std::string name = "disc" + std::to_string(i);
            folder.write(name + ".png", imagefiles::text(imagefiles::png(kSize, kSize, discPixels())));
            res->getImageManager()->loadResource(folder.path, name + ".png 8888 8888", "Bench");
            ini += "[" + name + "]\nImage = " + name + "\nX = " + std::to_string(i % 15 * 66) +
                   "\nY = " + std::to_string(i / 15 * 36) + "\nAlphaClick = " + std::to_string(kThreshold) +
                   "\n";
        }
        folder.write("objects.ini", ini);
        aOptionsFile file(folder.path + "objects.ini");
        for (file.first(); !file.isEnd(); file.nextSection()) {
            objects.push_back(std::make_unique<CSpyObjImage>());
            objects.back()->LoadRes("Bench", file, file.getSectionName());
            objects.back()->Reset();
        }
        for (f32 rotation : {0.0f, 0.5f})
            for (auto& object : objects) {
                object->SetRotation(rotation);
                addProbe(*object, kSize / 2, kSize / 2, rotation);
                addProbe(*object, 2, 2, rotation);
            }
    }

    // A probe at the object's local point (lx, ly); its reads as the hit test makes them.
    void addProbe(CSpyObjImage& object, i32 lx, i32 ly, f32 rotation) {
        const i32 x0 = i32(object.GetPos().x), y0 = i32(object.GetPos().y);
        Probe probe{&object, x0 + lx, y0 + ly, {}};
        const f32 c = std::cos(rotation), s = std::sin(rotation), cx = x0 + kSize / 2.0f,
                  cy = y0 + kSize / 2.0f;
        static constexpr i32 Around[5][2] = {{0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        for (const auto& d : Around) {
            const f32 dx = f32(probe.x + d[0]) - cx, dy = f32(probe.y + d[1]) - cy;
            const f32 fx = rotation != 0 ? c * dx - s * dy + cx : dx + cx;
            const f32 fy = rotation != 0 ? s * dx + c * dy + cy : dy + cy;
            if (fx < x0 || fx >= x0 + kSize || fy < y0 || fy >= y0 + kSize)
                continue;
            probe.reads.push_back({object.GetImage(), i32(fx - f32(x0)), i32(fy - f32(y0))});
            if (i32(object.GetImage()->getPixel(probe.reads.back().u, probe.reads.back().v) >> 24) >=
                kThreshold)
                break;
        }
        bool read = false;
        for (const Read& r : probe.reads)
            read = read || i32(r.image->getPixel(r.u, r.v) >> 24) >= kThreshold;
        agree = agree && read == object.HitTest(probe.x, probe.y);
        probes.push_back(std::move(probe));
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_HitTests(benchmark::State& state) {
    Scene& s = scene();
    if (!s.res || !s.agree) {
        state.SkipWithError(s.res ? "the hit tests and the reads disagree" : "no graph server");
        return;
    }
    for (auto _ : state) {
        int hits = 0;
        for (const Probe& probe : s.probes)
            hits += probe.object->HitTest(probe.x, probe.y);
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * i64(s.probes.size()));
}

void BM_GetPixelBaseline(benchmark::State& state) {
    Scene& s = scene();
    if (!s.res) {
        state.SkipWithError("no graph server");
        return;
    }
    for (auto _ : state) {
        int hits = 0;
        for (const Probe& probe : s.probes)
            for (const Read& read : probe.reads)
                if (i32(read.image->getPixel(read.u, read.v) >> 24) >= kThreshold) {
                    ++hits;
                    break;
                }
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * i64(s.probes.size()));
}

} // namespace

BENCHMARK(BM_HitTests)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_GetPixelBaseline)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

BENCHMARK_MAIN();
