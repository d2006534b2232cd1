// The toolkit's per-frame steps, each figure beside its baseline in the same run:
//  - one Update of 200 physics bodies (the five drag laws in turn, each body's own drag factor, wind
//    and gravity) beside the same step written plainly over a std::vector of the same 200 records in
//    name order: relative speed, its length with the 0.3 floor, the law's force, the acceleration and
//    the integration from the old speed, for every body that is not fixed (target: within 1.5x);
//  - a ProcessMouse press that puts a carried tile onto the last of 100 targets (each of the other
//    99 has a tile lying on it) beside the same work written plainly over vectors: the first target
//    in name order whose area or place holds the tile's rounded room point, the 100 tiles scanned for
//    one out of the inventory lying in it, then SetPos, SetInInventory, SetVisible and the put
//    handler. Both sides lift the tile back into the hand before each press (target: within 1.5x).
#include "BenchRatio.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/EventArgs.h"
#include "tk2v/input/aInputServer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
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

constexpr int kTargets = 100;

// 100 targets in a grid of ten by ten, named in grid order; 99 tiles lying on the first 99 and one
// carried over the last, which is free. The room is drawn 179 pixels right of the screen's edge.
struct DragScene {
    aApplication app;
    std::unique_ptr<aInputServer> input = std::make_unique<aInputServer>();
    CSpyItemManager room;
    SpyPoint offset{179, 0}, scale{1, 1};
    cRoomTransform transform{&offset, &scale};
    std::vector<std::pair<std::string, cMoveItemsManager::Target>> targets;
    std::vector<CSpyItem*> tiles;
    int puts = 0;

    DragScene() {
        for (int i = 0; i < kTargets; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "rect%03d", i);
            const i16 x = i16(i % 10 * 50), y = i16(i / 10 * 50);
            targets.push_back({name, {{i16(x - 5), i16(y - 5), 50, 50}, {x, y, 40, 40}, true}});
            CSpyItem* tile =
                room.CreateItem("TILE" + std::to_string(i), "Hall", {f32(x + 179), f32(y)}, 40, 40, true);
            tile->Reset();
            tile->Unlock();
            tiles.push_back(tile);
        }
    }
    CSpyItem* carried() const { return tiles.back(); }
    // The carried tile back in the hand over the last target, and the press of this frame.
    void lift() {
        carried()->SetInInventory(true);
        carried()->SetPos(179.0f + 460, 460.0f);
        input->mouseButtons[0] = KEY_PRESSED;
    }
};

struct PutCounter : GUI::Subscriber {
    explicit PutCounter(int& count) : count(count) {}
    bool operator()(const GUI::EventArgs&) override { return ++count, true; }
    int& count;
};

void BM_ProcessMousePut(benchmark::State& state) {
    DragScene scene;
    cMoveItemsManager manager(scene.transform);
    for (const auto& [name, target] : scene.targets)
        manager.AddRect(name, target.place, target.area);
    for (CSpyItem* tile : scene.tiles)
        manager.AddItem(tile, false, true);
    manager.SetOnPut(std::make_unique<PutCounter>(scene.puts));
    for (auto _ : state) {
        scene.lift();
        benchmark::DoNotOptimize(manager.ProcessMouse(0.02f, scene.carried(), nullptr));
    }
    if (scene.puts != int(state.iterations()))
        state.SkipWithError("the press did not put");
}

// Rounded to whole room units as the targets are laid out.
std::pair<i32, i32> roomPoint(const cRoomTransform& transform, const CSpyItem& item) {
    const SpyPoint screen = item.GetPos();
    const SpyPoint local = transform.ScreenToLocal(screen.x, screen.y);
    return {i32(local.x + 0.5f), i32(local.y + 0.5f)};
}

void BM_PlainPut(benchmark::State& state) {
    DragScene scene;
    PutCounter handler(scene.puts);
    for (auto _ : state) {
        scene.lift();
        CSpyItem* carried = scene.carried();
        const auto [x, y] = roomPoint(scene.transform, *carried);
        const auto target = std::find_if(scene.targets.begin(), scene.targets.end(), [&](const auto& t) {
            return t.second.area.contains(x, y) || t.second.place.contains(x, y);
        });
        if (target == scene.targets.end() || !target->second.enabled)
            continue;
        const auto lying = std::find_if(scene.tiles.begin(), scene.tiles.end(), [&](CSpyItem* tile) {
            if (tile->IsInInventory())
                return false;
            const auto [tx, ty] = roomPoint(scene.transform, *tile);
            return target->second.place.contains(tx, ty) || target->second.area.contains(tx, ty);
        });
        if (lying != scene.tiles.end())
            continue;
        const SpyPoint corner = scene.transform.LocalToScreen(target->second.place.x, target->second.place.y);
        carried->SetPos(corner.x, corner.y);
        carried->SetInInventory(false);
        carried->SetVisible(true);
        handler(GUI::EventArgs());
    }
    if (scene.puts != int(state.iterations()))
        state.SkipWithError("the plain step did not put");
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_PhysicsUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainStep)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_ProcessMousePut)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainPut)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "Physics Update of 200 bodies", "BM_PhysicsUpdate", "BM_PlainStep", 1.5);
    bench::printRatio(figures, "ProcessMouse put among 100 targets", "BM_ProcessMousePut", "BM_PlainPut",
                      1.5);
    return 0;
}
