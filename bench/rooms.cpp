// Rooms and personages of an investigation of 30 rooms of 200 items each (50 hidden-object groups of
// three and 50 lone candidates per room) and 4 personages with a script for every room, each figure
// beside its baseline in the same run:
//  - ResetForNewGame (pools built from every room's items, then each personage resets and draws 8
//    groups per room and builds its task lists) beside copying the pools' ready-made candidate groups,
//    the least a new game must do to have fresh pools (target: within 3x);
//  - 1,000 CRoomsManager::GetItemByFullName lookups of "room:item" names beside the same 1,000
//    CSpyItemManager::GetItem calls on rooms found before timing (target: within 1.3x);
//  - LoadInvestigationScripts of the 124 scripts (one per room and one for the investigation, per
//    personage) beside aOptionsFile::load of the same 124 files, the reading any reader of them does
//    (target: within 1.5x).
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRooms = 30, kGroups = 50, kLone = 50, kLookups = 1000;
const char* const kPersonages[] = {"Ann", "Bob", "Cid", "Dee"};

std::string roomName(int room) {
    return "room" + std::to_string(room);
}

void writeInvestigation(const bench::TempFolder& folder) {
    std::string list;
    for (int room = 0; room < kRooms; ++room) {
        const std::string name = roomName(room);
        list += name + "\n";
        std::string items;
        for (int group = 0; group < kGroups; ++group)
            for (int member = 0; member < 3; ++member) {
                const std::string g = std::to_string(group);
                items.append("[G").append(g).append("_").append(std::to_string(member));
                items.append("]\nIsISpyItem = 1\nDiffLevel = ").append(std::to_string((group + member) % 3));
                items.append("\nISpyGroup = G").append(g).append("\n");
            }
        for (int lone = 0; lone < kLone; ++lone) {
            items.append("[L").append(std::to_string(lone)).append("]\nIsISpyItem = 1\nDiffLevel = ");
            items.append(std::to_string(lone % 3)).append("\n");
        }
        folder.write(name + "/room.ini", "[Room]\nClass = RoomBase\n");
        folder.write(name + "/objects.ini", "");
        folder.write(name + "/items.ini", items);
        std::string script = "[ROOM]\nFirstEnter = FIRST\nEnterToRoom = AGAIN\nRoomTask = TASK\n"
                             "ISpyItemsCount = 8\nISpyDiffLevel = 5\n[L0]\nAbout = ABOUT\nUseTo = ";
        script.append(name).append(":G0_0\nChangeItemInfoAtUse = About:USED, @ALL:$ROOM:RoomTask:NEXT\n");
        script.append("[L1]\nUseTo = ONESELF\nBadUse = NO\n");
        for (const char* personage : kPersonages)
            folder.write(name + "/" + personage + ".ai", script);
    }
    for (const char* personage : kPersonages)
        folder.write(std::string(personage) + ".ai", "[CASE]\nAbout = CASE_ABOUT\n");
    folder.write("_rooms.list", list);
    folder.write("_investigation.ini",
                 "[Personages]\nPersonagesList = Ann, Bob, Cid, Dee\nStartPersonages = Ann\n");
}

struct World {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<CResManager> res;
    bench::TempFolder folder{"bench_rooms"};
    CRoomsManager rooms;
    CPersonagesManager personages;
    std::vector<std::string> fullNames;
    std::vector<std::pair<CSpyItemManager*, std::string>> found;

    World() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        res = std::make_unique<CResManager>(false);
        writeInvestigation(folder);
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder.path, "Demo");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms(folder.path);
        rooms.ResetRooms(folder.path);
        personages.CreatePersonages(aOptionsFile(folder.path + "_investigation.ini"), nullptr, &rooms);
        personages.LoadInvestigationScripts(folder.path, "Demo");
        for (int i = 0; i < kLookups; ++i) {
            const std::string room = roomName(i * 7 % kRooms);
            std::string item = "L";
            item.append(std::to_string(i * 13 % kLone));
            fullNames.push_back(room + ":" + item);
            found.emplace_back(&rooms.GetRoom(room)->GetItemManager(), item);
        }
    }

    bool ready() const { return res && rooms.GetRooms().size() == size_t(kRooms); }
};

World& world() {
    static World w;
    return w;
}

void BM_ResetForNewGame(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no rooms");
    for (auto _ : state) {
        world().personages.ResetForNewGame(false);
        benchmark::DoNotOptimize(world().personages.GetCurrentPersonage());
    }
}

void BM_CopyCandidateGroups(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no rooms");
    world().personages.BuildISpyPools(true);
    const auto pools = world().personages.GetPools();
    for (auto _ : state) {
        auto copy = pools;
        benchmark::DoNotOptimize(copy.size());
    }
}

void BM_GetItemByFullName(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no rooms");
    for (auto _ : state)
        for (const std::string& name : world().fullNames)
            benchmark::DoNotOptimize(world().rooms.GetItemByFullName(name));
}

void BM_GetItemOnFoundRoom(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no rooms");
    for (auto _ : state)
        for (const auto& [items, name] : world().found)
            benchmark::DoNotOptimize(items->GetItem(name));
}

void BM_LoadInvestigationScripts(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no rooms");
    for (auto _ : state)
        world().personages.LoadInvestigationScripts(world().folder.path, "Demo");
}

void BM_LoadScriptFiles(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no rooms");
    std::vector<std::string> paths;
    for (const char* personage : kPersonages) {
        for (int room = 0; room < kRooms; ++room)
            paths.push_back(world().folder.path + roomName(room) + "/" + personage + ".ai");
        paths.push_back(world().folder.path + personage + ".ai");
    }
    for (auto _ : state)
        for (const std::string& path : paths) {
            aOptionsFile file;
            file.load(path);
            benchmark::DoNotOptimize(file.getSectionName());
        }
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_ResetForNewGame)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_CopyCandidateGroups)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_GetItemByFullName)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_GetItemOnFoundRoom)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_LoadInvestigationScripts)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_LoadScriptFiles)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "ResetForNewGame", "BM_ResetForNewGame", "BM_CopyCandidateGroups", 3);
    bench::printRatio(figures, "GetItemByFullName", "BM_GetItemByFullName", "BM_GetItemOnFoundRoom", 1.3);
    bench::printRatio(figures, "LoadInvestigationScripts", "BM_LoadInvestigationScripts",
                      "BM_LoadScriptFiles", 1.5);
    return 0;
}
