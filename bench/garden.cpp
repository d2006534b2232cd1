// Frames of the garden puzzles, each figure beside its baseline in the same run. A frame is the
// room's FrameMove (dt 0.02) and its Render, in one scene of the graph server with one pixel read back
// before its end, so the drawing is timed finished and whole (the device draws a presented frame again
// only where it changed, which would time the change instead). Each puzzle's baseline is a room of class
// "RoomBase" loaded from the same data (the same items and pictures), under the same pointer, so
// that the difference is the puzzle's own work:
//  - the crab room mid-run (the crab running, hiding and turning from hole to hole, its looping
//    sound looked up each run), the pointer resting over the sand (target: within 1.3x);
//  - the rose room while 40 bodies fall (the wind started by solving: the bugs on the leaf, the rose
//    let go), beside the base room plus, written plainly, the same work the fall needs: Update of a
//    cPhysicsManager holding the same 40 bodies and each of the 40 items set at its body's point
//    through the room's transform, with the items found before timing (target: within 1.2x); the
//    bodies are heavy with drag, so that they creep and never leave the room during the run;
//  - the sand room with the brush carried and held down, the pointer passing over a new one of the
//    50 patches each frame (each patch fades a little while brushed), beside the base room with the
//    brush carried as its room form at the same grab offset, the button held the same way (target:
//    within 1.2x). Cleared patches let the pointer through to the items below them, so the sand
//    room's hit search goes further down than the base room's, whose patches never fade.
// The drawing is most of a frame and would hide the puzzles' own cost, so each pair is also timed
// without the scene: FrameMove alone (the rose's baseline with its plain fall), by processor time.
#include "BenchBmp.h"
#include "BenchFolder.h"
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/GraphicsDevice.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr f32 kDt = 0.02f;
constexpr int kBodies = 40, kPatches = 50, kPicture = 32;

// "P12": a stem and a number.
std::string numbered(const char* stem, int i) {
    std::string name = stem;
    name += std::to_string(i);
    return name;
}

// A room's data: its sections, and its items, each an image of the room's picture at a point.
struct RoomData {
    std::string sections;
    std::vector<std::pair<std::string, std::pair<int, int>>> items;
    std::string extraItemKeys;
};

void writeRoom(const bench::TempFolder& folder, const std::string& name, const std::string& className,
               const RoomData& data) {
    std::string objects, items;
    for (const auto& [item, at] : data.items) {
        std::string object = item;
        for (char& c : object)
            c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        objects += std::string("[") + object +
                   "]\nClass = image\nImage = pic\nX = " + std::to_string(at.first) +
                   "\nY = " + std::to_string(at.second) + "\n";
        items += std::string("[") + item + "]\nObject = " + object + "\n";
    }
    folder.write(name + "/room.ini", std::string("[Room]\nClass = ") + className + "\n" + data.sections);
    folder.write(name + "/objects.ini", objects);
    folder.write(name + "/items.ini", items + data.extraItemKeys);
    folder.write(name + "/Images/pic.bmp", bench::solidBmp(kPicture, 0x806040));
    folder.write(name + "/Images/background.bmp", bench::solidBmp(512, 0x304020));
    folder.write(name + "/Images/_images.list", "pic.bmp 8888 8888\nbackground.bmp 8888 8888\n");
}

RoomData crabData() {
    RoomData data;
    data.sections =
        "[CrabPuzzleRoomOptions]\nDelayOfCrabShow = 1\nDelayOfCrabHide = 0.5\nDelayOfCrabRotate = 0.2\n"
        "CrabRotateRange = 0.25\n[CrabPuzzleRoomCoords]\npalkaScykaDx = 0\npalkaScykaDy = -100\n";
    const char* holes[] = {"APPLE", "PROBKA", "SIGARETY", "ZIPPO", "TARGET"};
    for (int i = 0; i < 5; ++i) {
        const int x = 40 + 90 * i;
        data.sections += std::string(holes[i]) + " = " + std::to_string(x + 10) + " 300 ";
        data.sections += std::to_string(x + 40) + " 200 0\n";
        data.items.push_back({std::string(holes[i]) + "_DYR", {x, 290}});
        if (i < 4)
            data.items.push_back({holes[i], {x, 290}});
    }
    for (const char* item : {"CRAB", "CRAB_BEZ_CRISTALA", "CRISTAL", "PALKA", "PALKA1", "PALKA2"})
        data.items.push_back({item, {0, 0}});
    data.extraItemKeys = "[APPLE]\nVisible = 0\n[PROBKA]\nVisible = 0\n[SIGARETY]\nVisible = 0\n[ZIPPO]\n"
                         "Visible = 0\n[CRAB_BEZ_CRISTALA]\nVisible = 0\n[CRISTAL]\nVisible = 0\n[PALKA]\n"
                         "Visible = 0\n[PALKA1]\nVisible = 0\n[PALKA2]\nVisible = 0\n";
    return data;
}

std::string bodyName(int i) {
    return i == 0 ? "LEAF" : numbered("L", i);
}

RoomData roseData() {
    RoomData data;
    std::string names;
    for (int i = 0; i < kBodies; ++i) {
        names.append(i ? ", " : "").append(bodyName(i));
        data.items.push_back({bodyName(i), {20 + i * 11, 40 + i * 5}});
        data.sections.append("[").append(bodyName(i));
        data.sections += "]\nmass = 1\nfrict_kf = 1\nangle.x = 0\nangle.y = 0\nspeed.x = 0\nspeed.y = 0\n";
    }
    data.sections +=
        "[BugsSettings]\nItems = BUG1\n[Rose]\nItems =\n[Animation]\nspeed = 1\nItems = " + names +
        "\n[PhysEngine]\nengine.g = 0.01\nengine.wind_speed.x = 0\nengine.wind_speed.y = 0\n";
    for (const char* item : {"BLOOD", "LEAF_SHADOW", "LISTBUG1", "BUG1", "ROSE", "CENTER"})
        data.items.push_back({item, {300, 200}});
    return data;
}

RoomData sandData() {
    RoomData data;
    data.sections = "[Clearing]\nClearingItems =";
    data.items.push_back({"SAND", {0, 0}});
    data.items.push_back({"TATU", {460, 400}});
    for (int i = 0; i < kPatches; ++i) {
        data.sections.append(" ").append(numbered("P", i));
        data.items.push_back({numbered("P", i), {20 + i % 10 * 40, 20 + i / 10 * 40}});
    }
    data.sections += "\n";
    data.items.push_back({"BRUSH", {0, 0}});
    data.extraItemKeys = "[BRUSH]\nVisible = 0\n";
    return data;
}

// The pointer over patch i's middle.
std::pair<i32, i32> patchPoint(int i) {
    return {20 + i % 10 * 40 + 16, 20 + i / 10 * 40 + 16};
}

struct World {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<aInputServer> input;
    std::unique_ptr<CResManager> res;
    bench::TempFolder folder{"bench_garden"};
    CRoomsManager rooms;
    CPersonagesManager personages;
    // The baseline's own physics and the rose items it moves, found before timing.
    PHYSICS::cPhysicsManager physics;
    std::vector<std::pair<std::string, CSpyItem*>> fallingItems;

    World() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        input = std::make_unique<aInputServer>();
        res = std::make_unique<CResManager>(false);
        writeRoom(folder, "crab", "CrabPuzzleRoom", crabData());
        writeRoom(folder, "crab_base", "RoomBase", crabData());
        writeRoom(folder, "rose", "GardenRoseRoom", roseData());
        writeRoom(folder, "rose_base", "RoomBase", roseData());
        writeRoom(folder, "sand", "RoomCleaning", sandData());
        writeRoom(folder, "sand_base", "RoomBase", sandData());
        folder.write("_rooms.list", "crab\ncrab_base\nrose\nrose_base\nsand\nsand_base\n");
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder.path, "Bench");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms(folder.path);
        rooms.ResetRooms(folder.path);
        for (const auto& [name, room] : rooms.GetRooms()) {
            room->SetPosition({179, 0});
            room->Enter("Bench", nullptr);
        }
        input->setMousePos(179 + 500, 700);
        // The wind blows in the rose room; the baseline gets the same bodies, placed as the room
        // placed its own.
        rooms.GetRoom("rose")->SolveRoom();
        aOptionsFile ini(folder.path + "rose_base/room.ini");
        CRoomBase& base = *rooms.GetRoom("rose_base");
        for (int i = 0; i < kBodies; ++i) {
            physics.LoadObject(bodyName(i), ini);
            fallingItems.emplace_back(bodyName(i), base.GetItem(bodyName(i)));
        }
        physics.ResetAll();
        for (auto& [name, item] : fallingItems)
            physics.SetCoord(name, item->GetOrigPos());
        for (const char* room : {"sand", "sand_base"}) {
            CRoomBase& sand = *rooms.GetRoom(room);
            CSpyItem* brush = sand.GetItem("BRUSH");
            sand.SetItemOnCursor(brush, brush, SpyPoint{-30, -15});
        }
    }

    bool ready() const {
        return res && rooms.GetRooms().size() == 6 && fallingItems.size() == size_t(kBodies);
    }

    void frame(CRoomBase& room, bool draw) {
        room.FrameMove(kDt, false);
        if (draw)
            bench::finishedFrame(*graph, [&] {
                room.Render();
                room.RenderCursorItem();
            });
    }
};

World& world() {
    static World w;
    return w;
}

void pointAtRest() {
    world().input->mouseButtons[0] = KEY_UP;
    world().input->setMousePos(179 + 500, 700);
}

void BM_CrabFrame(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no graph server");
    pointAtRest();
    for (auto _ : state)
        world().frame(*world().rooms.GetRoom("crab"), state.range(0));
}

void BM_CrabBaseFrame(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no graph server");
    pointAtRest();
    for (auto _ : state)
        world().frame(*world().rooms.GetRoom("crab_base"), state.range(0));
}

void BM_RoseFallingFrame(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no graph server");
    pointAtRest();
    for (auto _ : state)
        world().frame(*world().rooms.GetRoom("rose"), state.range(0));
}

// The fall's work written plainly beside the base room's frame.
void BM_RoseBasePlusPlainFall(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no graph server");
    pointAtRest();
    CRoomBase& room = *world().rooms.GetRoom("rose_base");
    SpyPoint origin = room.GetPosition(), scale = room.GetScale();
    const cRoomTransform transform(&origin, &scale);
    for (auto _ : state) {
        world().physics.Update(kDt);
        for (auto& [name, item] : world().fallingItems) {
            const SpyPoint body = world().physics.GetCoord(name);
            const SpyPoint at = transform.LocalToScreen(body.x, body.y);
            item->SetPos(at.x, at.y);
        }
        world().frame(room, state.range(0));
    }
}

void brushFrames(benchmark::State& state, const char* name) {
    if (!world().ready())
        return state.SkipWithError("no graph server");
    CRoomBase& room = *world().rooms.GetRoom(name);
    world().input->mouseButtons[0] = KEY_HELD;
    int patch = 0;
    for (auto _ : state) {
        const auto [x, y] = patchPoint(patch);
        patch = (patch + 1) % kPatches;
        world().input->setMousePos(179 + x, y);
        world().frame(room, state.range(0));
    }
    world().input->mouseButtons[0] = KEY_UP;
}

void BM_SandBrushingFrame(benchmark::State& state) {
    brushFrames(state, "sand");
}

void BM_SandBaseBrushCarriedFrame(benchmark::State& state) {
    brushFrames(state, "sand_base");
}

// The machine may be shared: repetitions in random order, compared by their medians. Argument 1 draws
// the frame, whose drawing the driver's threads do, so its wall time counts; argument 0 is the
// update alone.
#define GARDEN_BENCH(name)                                                                                   \
    BENCHMARK(name)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);                   \
    BENCHMARK(name)->Arg(0)->Unit(benchmark::kMicrosecond)->Repetitions(5)
GARDEN_BENCH(BM_CrabFrame);
GARDEN_BENCH(BM_CrabBaseFrame);
GARDEN_BENCH(BM_RoseFallingFrame);
GARDEN_BENCH(BM_RoseBasePlusPlainFall);
GARDEN_BENCH(BM_SandBrushingFrame);
GARDEN_BENCH(BM_SandBaseBrushCarriedFrame);

} // namespace

int main(int argc, char** argv) {
    const auto figures = bench::run(argc, argv);
    // The drawn frame by its wall time (the driver's threads draw it), the update alone by processor time.
    auto ratio = [&](const std::string& what, const std::string& ours, const std::string& base, double goal) {
        bench::printRatio(figures, (what + ", frame").c_str(), ours + "/1", base + "/1", goal,
                          bench::Time::Wall);
        bench::printRatio(figures, (what + ", update alone").c_str(), ours + "/0", base + "/0", goal);
    };
    ratio("Crab mid-run", "BM_CrabFrame", "BM_CrabBaseFrame", 1.3);
    ratio("Rose with 40 bodies falling", "BM_RoseFallingFrame", "BM_RoseBasePlusPlainFall", 1.2);
    ratio("Sand brushing over 50 patches", "BM_SandBrushingFrame", "BM_SandBaseBrushCarriedFrame", 1.2);
    return 0;
}
