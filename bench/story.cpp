// The story side of an investigation, each figure beside its baseline in the same run:
//  - AddEvents of an "_events.ini" of 500 sections (the file parsed, one event made per section
//    through the class factory, its base and own keys read by mode) beside loading the same file
//    into an aOptionsFile and reading every value of every section once, which is the least any
//    reader of the file does (target: within 2x).
//  - A frame of play in the demo game's room_Hall with 300 story events whose conditions never hold
//    beside the same frame with no events (target: within 1.3x). The game is the whole demo game
//    (game flow, game object, investigation, panel, rooms) fast-started and clicked from the map into
//    the hall; a frame is CSpyMain::FrameMove in its playing state (the panel, the inventory, the
//    story events asked for the next one, the room's frame, the tip triggers) and CSpyMain::Render
//    of the investigation, in one scene of the graph server that ends with one pixel read back, so
//    the drawing is timed finished (the software GL driver draws on the calling thread, so the
//    frame's CPU time holds it). The two sides differ only in the investigation's events: the
//    300 read from the file, or none. The update alone (FrameMove without the scene) is timed too,
//    so that the drawing cannot hide the cost of the events.
//  - SaveGame of the demo game (with the hall's 300 events) while the desk close-up (zoom_Desk,
//    opened from the hall) is current: the stream built from every record of the game, its
//    checksum, its scrambling and its write with file_writeFull, beside file_writeFull of the same
//    bytes once, the least any save of them costs (target: within 1.2x). file_writeFull writes a
//    file beside the target, syncs it to the disk, renames it over the target and syncs the folder;
//    both sides write into the same scratch folder under the temp dir.
#include "../tests/game/SpyGame/Events/StoryFakes.h"
#include "../tests/support/game/DemoGame.h"
#include "BenchFolder.h"
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kSections = 500, kHallEvents = 300;

// A case's mix: messages, item events, milestones and location ends, each with the conditions
// such sections carry.
std::string manySections() {
    std::string text;
    for (int i = 0; i < kSections; ++i) {
        const std::string n = std::to_string(i);
        const std::string conditions = "EventName = ev" + n + "\nLocation = room_" + std::to_string(i % 20) +
                                       "\nNotInCloseUp = 1\nAfterEvents = ev" + std::to_string(i / 2) +
                                       "\nWinItemsList = @Ann:room_Hall:TASK, room_Hall:ITEM" + n + "\n";
        switch (i % 4) {
        case 0:
            text += "[ShowMessage]\n" + conditions + "TextId = msg" + n + "\n";
            break;
        case 1:
            text += "[EventForItem]\n" + conditions + "HideItem = room_Hall:A" + n +
                    "\nShowItem = room_Hall:B" + n + "\n";
            break;
        case 2:
            text += "[EventBase]\n" + conditions;
            break;
        default:
            text += "[LocationFinish]\n" + conditions + "TextId = done" + n + "\nHideOnMap = 1\n";
            break;
        }
    }
    return text;
}

// Events of the demo's hall that never start, each failing on another condition as a case's waiting
// events do: another room, an event that has not happened, an item not found, another personage, an
// item not held, a visible item that should be hidden. The events they wait for are others of the
// same file, none of which ever happens.
std::string unstartableHallEvents() {
    std::string text;
    for (int i = 0; i < kHallEvents; ++i) {
        const std::string n = std::to_string(i);
        const std::string next = std::to_string((i + 1) % kHallEvents);
        const std::string after = std::to_string((i + 7) % kHallEvents);
        text += (i % 2 ? "[ShowMessage]\nTextId = HALL_MSG" + n + "\n" : std::string("[EventBase]\n"));
        text += "EventName = hall" + n + "\n";
        switch (i % 6) {
        case 0:
            text += "Location = room_Study\nAfterEvents = hall" + next + "\n";
            break;
        case 1:
            text +=
                "Location = room_Hall\nNotInCloseUp = 1\nAfterEvents = hall" + next + ", hall" + after + "\n";
            break;
        case 2:
            text += "Location = room_Hall\nWinItemsList = room_Hall:HAT, @Ashby:room_Hall:TASK\n";
            break;
        case 3:
            text += "Personage = Nobody\nLocation = room_Hall\n";
            break;
        case 4:
            text += "Location = room_Hall\nItemInInventory = KEY\n";
            break;
        default:
            text +=
                "Location = room_Hall\nBeforeEvents = hall" + after + "\nVisibilityItems = !room_Hall:HAT\n";
            break;
        }
    }
    return text;
}

// --- AddEvents ---

const std::string& eventsFile() {
    static const bench::TempFolder folder("bench_story_events");
    static const std::string path = [] {
        folder.write("_events.ini", manySections());
        return folder.path + "_events.ini";
    }();
    return path;
}

void BM_AddEvents(benchmark::State& state) {
    FakeWorld world;
    for (auto _ : state) {
        CSpyEventsManager manager;
        manager.SetInvestigation(&world);
        manager.AddEvents(eventsFile());
        benchmark::DoNotOptimize(manager.GetEventCount());
    }
}

void BM_OptionsFileAlone(benchmark::State& state) {
    for (auto _ : state) {
        aOptionsFile ini(eventsFile());
        size_t bytes = 0;
        for (ini.first(); !ini.isEnd(); ini.nextSection())
            for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
                bytes += ini.getKeyValue().size();
        benchmark::DoNotOptimize(bytes);
    }
}

// --- The demo game ---

struct Demo {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    bench::TempFolder folder{"bench_story_game"};
    std::unique_ptr<demo::DemoGame> game;
    std::string eventsPath, bytesPath;
    bool ready = false;

    Demo() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        game = std::make_unique<demo::DemoGame>(RVH_DEMO_DATA, folder.path, unstartableHallEvents());
        eventsPath = folder.path + "Investigations/Demo/_events.ini";
        bytesPath = folder.path + "saves/bytes.save";
        if (!game->play())
            return;
        // A start without a start room is on the map; the hall is a door of it.
        if (game->investigation().GetState() == CInvestigation::OnMap)
            game->goThrough("HALL", "room_Hall");
        ready = in("room_Hall") && game->investigation().GetEventsManager().GetEventCount() == kHallEvents;
    }

    bool in(const std::string& room) {
        const CRoomBase* current = game->investigation().GetCurrentRoomPtr();
        return current && current->GetName() == room &&
               game->investigation().GetState() == CInvestigation::Playing;
    }
    // The benchmarks run in random order, so each puts the game where it needs it: the hall, back
    // out of the close-up as its back button does, or the desk close-up, opened from the hall.
    bool toHall() {
        if (!ready)
            return false;
        if (in("zoom_Desk"))
            game->investigation().GoBack();
        // The player has read the hall's message: both sides draw the same panel all along.
        game->game().GetPanel().GetMessage().Hide();
        return in("room_Hall");
    }
    bool toDesk() {
        if (!ready)
            return false;
        if (in("room_Hall"))
            game->goThrough("DESK", "zoom_Desk");
        return in("zoom_Desk") && game->investigation().IsCloseUp();
    }

    // The investigation's events: the hall's 300 from the file, or none.
    void useEvents(bool many) {
        CSpyEventsManager& events = game->investigation().GetEventsManager();
        const std::string name = events.getName();
        events = CSpyEventsManager();
        events.SetInvestigation(&game->investigation());
        events.setName(name);
        if (many)
            events.AddEvents(eventsPath);
    }
};

Demo& demoGame() {
    static Demo d;
    return d;
}

void hallFrame(benchmark::State& state, bool many, bool draw) {
    Demo& d = demoGame();
    if (!d.toHall())
        return state.SkipWithError("the demo game is not in the hall");
    d.useEvents(many);
    CSpyMain& game = d.game->game();
    for (auto _ : state) {
        if (draw)
            bench::finishedFrame(*d.graph, [&game] {
                game.FrameMove(demo::DemoGame::FrameTime);
                game.Render();
            });
        else
            game.FrameMove(demo::DemoGame::FrameTime);
    }
    if (game.GetState() != CSpyMain::PLAYING || !d.in("room_Hall"))
        state.SkipWithError("the frames left the hall's play");
}

void BM_HallFrame300Events(benchmark::State& state) {
    hallFrame(state, true, true);
}
void BM_HallFrameNoEvents(benchmark::State& state) {
    hallFrame(state, false, true);
}
void BM_HallUpdate300Events(benchmark::State& state) {
    hallFrame(state, true, false);
}
void BM_HallUpdateNoEvents(benchmark::State& state) {
    hallFrame(state, false, false);
}

// The save holds the hall's 300 events, as a case's save holds its story's.
bool atDeskWithEvents(Demo& d) {
    if (!d.toDesk())
        return false;
    d.useEvents(true);
    return true;
}

void BM_SaveGameAtDesk(benchmark::State& state) {
    Demo& d = demoGame();
    if (!atDeskWithEvents(d))
        return state.SkipWithError("the demo game is not at the desk close-up");
    for (auto _ : state)
        if (!d.game->game().SaveGame())
            return state.SkipWithError("the save failed");
}

void BM_WriteFullOfItsBytes(benchmark::State& state) {
    Demo& d = demoGame();
    if (!atDeskWithEvents(d) || !d.game->game().SaveGame())
        return state.SkipWithError("the demo game is not at the desk close-up");
    u32 size = 0;
    const std::unique_ptr<void, decltype(&std::free)> bytes(
        file_readFullAndMalloc(d.game->game().GetSaveFileName(), &size), &std::free);
    for (auto _ : state)
        if (!file_writeFull(d.bytesPath, bytes.get(), size))
            return state.SkipWithError("the write failed");
    state.counters["bytes"] = double(size);
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_AddEvents)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_OptionsFileAlone)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_HallFrame300Events)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_HallFrameNoEvents)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_HallUpdate300Events)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_HallUpdateNoEvents)->Unit(benchmark::kMicrosecond)->Repetitions(5);
// A sync's wait for the disk swings with what else the machine writes: many short repetitions, so
// that the two sides take turns often.
BENCHMARK(BM_SaveGameAtDesk)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.05)->Repetitions(40);
BENCHMARK(BM_WriteFullOfItsBytes)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MinTime(0.05)
    ->Repetitions(40);

} // namespace

int main(int argc, char** argv) {
    // The software GL driver draws on the calling thread, so that a frame's CPU time holds its drawing
    // and other work on a shared machine does not fall into the figures.
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    auto figures = bench::run(argc, argv);
    // CPU time where the work is the process's own, wall time where it waits for the disk.
    bench::printRatio(figures, "AddEvents", "BM_AddEvents", "BM_OptionsFileAlone", 2);
    bench::printRatio(figures, "Hall frame", "BM_HallFrame300Events", "BM_HallFrameNoEvents", 1.3);
    bench::printRatio(figures, "Hall update", "BM_HallUpdate300Events", "BM_HallUpdateNoEvents", 1.3);
    bench::printRatio(figures, "SaveGame", "BM_SaveGameAtDesk", "BM_WriteFullOfItsBytes", 1.2,
                      bench::Time::Wall);
    // The process's own part of the same save, which the disk's waits do not blur.
    bench::printRatio(figures, "SaveGame, CPU", "BM_SaveGameAtDesk", "BM_WriteFullOfItsBytes", 1.2);
    return 0;
}
