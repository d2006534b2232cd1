// The story side of an investigation, each figure beside its baseline in the same run:
//  - AddEvents of an "_events.ini" of 500 sections (the file parsed, one event made per section
//    through the class factory, its base and own keys read by mode) beside loading the same file
//    into an aOptionsFile and reading every value of every section once, which is the least any
//    reader of the file does (target: within 2x).
#include "../tests/game/SpyGame/Events/StoryFakes.h"
#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "tk2v/file/aOptionsFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kSections = 500;

// The file, under the temp dir, removed at exit.
struct EventsFile {
    std::string path;
    EventsFile() {
        path = (std::filesystem::temp_directory_path() / ("bench_story_" + std::to_string(getpid()) + ".ini"))
                   .string();
        if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
            const std::string text = sections();
            std::fwrite(text.data(), 1, text.size(), out);
            std::fclose(out);
        }
    }
    ~EventsFile() { std::remove(path.c_str()); }

    // A case's mix: messages, item events, milestones and location ends, each with the conditions
    // such sections carry.
    static std::string sections() {
        std::string text;
        for (int i = 0; i < kSections; ++i) {
            const std::string n = std::to_string(i);
            const std::string conditions = "EventName = ev" + n + "\nLocation = room_" +
                                           std::to_string(i % 20) + "\nNotInCloseUp = 1\nAfterEvents = ev" +
                                           std::to_string(i / 2) +
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
};

const EventsFile& file() {
    static const EventsFile events;
    return events;
}

void BM_AddEvents(benchmark::State& state) {
    FakeWorld world;
    for (auto _ : state) {
        CSpyEventsManager manager;
        manager.SetInvestigation(&world);
        manager.AddEvents(file().path);
        benchmark::DoNotOptimize(manager.GetEventCount());
    }
}
BENCHMARK(BM_AddEvents)->Unit(benchmark::kMicrosecond);

void BM_OptionsFileAlone(benchmark::State& state) {
    for (auto _ : state) {
        aOptionsFile ini(file().path);
        size_t bytes = 0;
        for (ini.first(); !ini.isEnd(); ini.nextSection())
            for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
                bytes += ini.getKeyValue().size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_OptionsFileAlone)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
