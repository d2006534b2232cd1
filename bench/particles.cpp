// Four particle systems of 1000 live particles each, updated and drawn a frame, against the 16.7 ms of
// a 60 Hz frame. The floor draws the systems' own quads, as they sent them to the device in one frame,
// straight into the device's quad queue with nothing simulated and nothing computed: what drawing
// these particles costs at the least. Each frame ends by reading one pixel back, so both sides are
// timed for finished work.
#include "BenchFrame.h"
#include "support/FakeDeviceStates.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aParticleSystem.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Random.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSystems = 4, kSize = 16;
constexpr f32 kFrame = 1.0f / 60;
constexpr double kBudgetMs = 1000.0 / 60;

const char* const kSystemFile = "fps 60\nmax_particles 1000\nemit_per_sec 1000\nparticle_life 2 3\n"
                                "emitter_type 1\nemitter_size 200 50\nvelocity 30 80\ngravity 10 20\n"
                                "wind -5 5\nradial_acc 0 5\nsize 1 0.5 0.3\nspin 0 3 1\n"
                                "color FFFFC040 00FF4000 0.3 0.2\nblend_mode 1\n";

// A soft white disc, so that blending does real work.
void fillDisc(aImage& image) {
    u32* bits = nullptr;
    i32 pitch = 0;
    if (!image.lock(&bits, &pitch, nullptr, false))
        return;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = x - kSize / 2, dy = y - kSize / 2, d2 = dx * dx + dy * dy;
            const u32 alpha = d2 >= 64 ? 0 : 255 - u32(d2 * 255 / 64);
            bits[y * pitch + x] = alpha << 24 | 0xFFFFFF;
        }
    image.unlock();
}

// Passes everything on to the real device, and keeps the quads it is given while recording.
class QuadRecorder : public FakeDeviceStates {
public:
    struct Quad {
        const platform::Texture* texture;
        platform::QuadVertex corners[4];
    };
    using FakeDeviceStates::FakeDeviceStates;
    void drawQuad(const platform::Texture& texture, const platform::QuadVertex (&corners)[4]) override {
        if (recording)
            quads.push_back({&texture, {corners[0], corners[1], corners[2], corners[3]}});
        FakeDeviceStates::drawQuad(texture, corners);
    }
    bool recording = false;
    std::vector<Quad> quads;
};

struct Scene {
    QuadRecorder* recorder = nullptr;
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    aImage disc;
    std::vector<std::unique_ptr<aParticleSystem>> systems;

    Scene() {
        platform::setDeviceDecorator([this](std::unique_ptr<platform::GraphicsDevice> device)
                                         -> std::unique_ptr<platform::GraphicsDevice> {
            auto wrapped = std::make_unique<QuadRecorder>(std::move(device));
            recorder = wrapped.get();
            return wrapped;
        });
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        platform::setDeviceDecorator({});
        if (graph->getFatalError() || !recorder)
            return;
        disc.create(kSize, kSize);
        fillDisc(disc);
        const std::string file = "/tmp/bench_particles_" + std::to_string(getpid()) + ".psys";
        if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
            std::fputs(kSystemFile, out);
            std::fclose(out);
        }
        platform::srand(1);
        for (int i = 0; i < kSystems; ++i) {
            systems.push_back(std::make_unique<aParticleSystem>(file, nullptr, ""));
            aParticleSystem& system = *systems.back();
            system.setTexture(&disc);
            system.startAt(f32(200 + 200 * i), f32(300 + 50 * i));
            // Into full flow: past the longest particle life.
            system.update(4);
        }
        std::remove(file.c_str());
        recorder->recording = true;
        frame([this] {
            for (const auto& system : systems)
                system->render();
        });
        recorder->recording = false;
    }

    bool ready() const {
        if (!graph || graph->getFatalError() || !disc.hasTexture() || systems.size() != kSystems ||
            recorder->quads.size() < kSystems * 900)
            return false;
        for (const auto& system : systems)
            if (system->getLiveCount() < 900)
                return false;
        return true;
    }

    template <typename Draw> void frame(Draw draw) { bench::finishedFrame(*graph, draw); }
};

Scene& scene() {
    static Scene s;
    return s;
}

template <typename Body> void timeFrames(benchmark::State& state, u32 particles, Body body) {
    double totalMs = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        body();
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    }
    const double frameMs = totalMs / double(state.iterations());
    state.counters["frame_ms"] = frameMs;
    state.counters["budget_%"] = 100 * frameMs / kBudgetMs;
    state.counters["particles"] = particles;
}

u32 liveParticles() {
    u32 live = 0;
    for (const auto& system : scene().systems)
        live += system->getLiveCount();
    return live;
}

void BM_ParticlesUpdate(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    timeFrames(state, liveParticles(), [] {
        for (const auto& system : scene().systems)
            system->update(kFrame);
    });
}

void BM_ParticlesUpdateAndDraw(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    timeFrames(state, liveParticles(), [] {
        scene().frame([] {
            for (const auto& system : scene().systems) {
                system->update(kFrame);
                system->render();
            }
        });
    });
}

void BM_DeviceSameQuads(benchmark::State& state) {
    if (!scene().ready())
        return state.SkipWithError("no graph server");
    const std::vector<QuadRecorder::Quad>& quads = scene().recorder->quads;
    platform::GraphicsDevice& device = *scene().graph->getDevice();
    timeFrames(state, u32(quads.size()), [&] {
        scene().frame([&] {
            scene().graph->setRenderMode(1);
            for (const QuadRecorder::Quad& q : quads)
                device.drawQuad(*q.texture, q.corners);
        });
    });
}

BENCHMARK(BM_ParticlesUpdate)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(BM_ParticlesUpdateAndDraw)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DeviceSameQuads)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
