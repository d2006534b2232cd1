// The toolkit's per-frame steps, each figure beside its baseline in the same run:
//  - one Update of 200 physics bodies (the five drag laws in turn, each body's own drag factor, wind
//    and gravity) beside the same step written plainly over a std::vector of the same 200 records in
//    name order: relative speed, its length with the 0.3 floor, the law's force, the acceleration and
//    the integration from the old speed, for every body that is not fixed (target: within 1.5x).
#include "BenchRatio.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "tk2v/file/aOptionsFile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kBodies = 200;
constexpr f32 kDt = 0.02f;

std::string bodyName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "leaf%03d", i);
    return name;
}

// Body i: values a float holds exactly, so that its ini text reads back as the same record.
PHYSICS::PHOBJ bodyState(int i) {
    PHYSICS::PHOBJ o;
    o.friction = u32(i % 5);
    o.mass = f32(1 + i % 7);
    o.frict_kf = 0.125f * f32(1 + i % 8);
    o.speed = {f32(-(i % 10)), f32(i % 5)};
    o.coord = {f32(i * 4), f32(i % 13)};
    return o;
}

// Every key given, so that no random default is drawn.
aOptionsFile bodiesIni() {
    static const char* laws[] = {"LINE", "SQR", "TRIPLE", "QWAD", "EXP"};
    aOptionsFile ini;
    for (int i = 0; i < kBodies; ++i) {
        const std::string name = bodyName(i);
        const PHYSICS::PHOBJ o = bodyState(i);
        ini.addSection(name);
        auto set = [&](const char* key, f32 value) { ini.appendValue(name, key, std::to_string(value)); };
        set("mass", o.mass);
        set("frict_kf", o.frict_kf);
        set("angle.x", o.angle.x);
        set("angle.y", o.angle.y);
        set("speed.x", o.speed.x);
        set("speed.y", o.speed.y);
        set("coord.x", o.coord.x);
        set("coord.y", o.coord.y);
        ini.appendValue(name, "friction", laws[o.friction]);
    }
    return ini;
}

void BM_PhysicsUpdate(benchmark::State& state) {
    aOptionsFile ini = bodiesIni();
    PHYSICS::cPhysicsManager physics;
    for (int i = 0; i < kBodies; ++i)
        physics.LoadObject(bodyName(i), ini);
    physics.ResetAll();
    for (auto _ : state) {
        physics.Update(kDt);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(physics.GetMinCoord());
}

// The same records in a plain vector, stepped by the same formulas written inline.
struct PlainBody {
    PHYSICS::PHOBJ current;
    bool fixed = false;
};

void BM_PlainStep(benchmark::State& state) {
    std::vector<PlainBody> bodies(kBodies);
    for (int i = 0; i < kBodies; ++i)
        bodies[size_t(i)].current = bodyState(i);
    const f32 windX = 10.0f, windY = 0.0f, g = 9.81f;
    for (auto _ : state) {
        for (PlainBody& body : bodies) {
            if (body.fixed)
                continue;
            PHYSICS::PHOBJ& o = body.current;
            const f32 rx = o.speed.x - windX, ry = o.speed.y - windY;
            f32 s = std::sqrt(rx * rx + ry * ry);
            if (!(s >= 0.3f))
                s = 0.3f;
            const f32 k = o.frict_kf;
            f32 force;
            switch (o.friction) {
            case PHYSICS::SQR:
                force = k * s * s;
                break;
            case PHYSICS::TRIPLE:
                force = k * s * s * s;
                break;
            case PHYSICS::QWAD:
                force = k * s * s * s * s;
                break;
            case PHYSICS::EXP:
                force = (std::exp(s) - 1.0f) * k;
                break;
            default:
                force = k * s;
            }
            const f32 ax = -(rx * force / s) / o.mass, ay = g - (ry * force / s) / o.mass;
            o.coord.x += (ax * kDt / 2 + o.speed.x) * kDt;
            o.coord.y += (ay * kDt / 2 + o.speed.y) * kDt;
            o.speed.x += ax * kDt;
            o.speed.y += ay * kDt;
        }
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(bodies.front().current.coord);
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_PhysicsUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainStep)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    auto ratio = [&](const char* what, const char* ours, const char* base, double goal) {
        const double mine = figures[ours].cpu, bare = figures[base].cpu;
        if (mine > 0 && bare > 0)
            std::printf("%s: %.2f us beside %.2f us, ratio %.2f (goal <= %.1f)\n", what, mine, bare,
                        mine / bare, goal);
    };
    ratio("Physics Update of 200 bodies", "BM_PhysicsUpdate", "BM_PlainStep", 1.5);
    return 0;
}
