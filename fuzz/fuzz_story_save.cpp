#include "../tests/support/game/DemoGame.h"
#include "fuzz_record_stream.h"
#include "game/SpyGame/CInvestigation.h"
#include "game/SpyGame/CSpyMain.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/Random.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Input: chunks of a selector byte, a 16-bit little-endian length and that many bytes. Each chunk
// stands for one of the game object's, the tip triggers', the events manager's and the
// investigation's records (selector % 4): its data, or with bit 2 of the selector no such record.
// They replace those records in a whole save of the demo game made at the desk close-up; the game is
// continued from that save as from the main menu (its investigation still loaded), runs 100 frames
// of which every 25th, from the first, is drawn, and saves again.
//
// The demo game's events are followed by a small story of this target's own that waits for an event
// which never happens in play, so that only a saved game marking it done sets the story going.
//
// The seed corpus is made by this program from saves of the demo game on the map, in the hall, at the
// desk close-up, and there with the story's gate marked done:
//   FUZZ_STORY_SAVE_SEEDS=fuzz/corpus/fuzz_story_save build-fuzz/fuzz/fuzz_story_save

namespace {

// Mesa's software driver is unloaded when the last GL context goes, taking the names of the
// allocations it keeps for the process with it; kept loaded, the leak check's suppressions (given by
// tools/fuzz.sh) can tell them apart.
[[maybe_unused]] void* const keepGlDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);

const char* const Records[] = {"<SpyMain>", "<TipEvents>", "SpyEventsManager : Demo", "Investigation : Demo"};
constexpr size_t RecordCount = std::size(Records);
constexpr int Frames = 100, DrawnEvery = 25;

// The record's place in Records; RecordCount for the records of the save that are not this target's.
size_t recordIndex(const std::string& name) {
    size_t record = 0;
    while (record < RecordCount && name != Records[record])
        ++record;
    return record;
}

// One event of each class with an effect, each waiting only for the gate: a save marks the gate and
// the events before the one to run done.
const char* const GatedStory = R"(
[EventBase]
EventName = fuzz_gate
Location = fuzz_nowhere
[ShowMessage]
AfterEvents = fuzz_gate
TextId = HALL_ENTER
[MagicStarsChanger]
AfterEvents = fuzz_gate
Items = zoom_Desk:KEY
ShowStars = 1
[ChangePersonageInfo]
AfterEvents = fuzz_gate
Item = room_Hall:ROOM
TypeInfo = RoomTask
NewInfo = HALL_TASK
[EventForItem]
AfterEvents = fuzz_gate
HideItem = room_Hall:HAT
ShowItem = room_Hall:HAT
[EventForItem]
AfterEvents = fuzz_gate
NPC_Image = hat
TextId = KEY_ABOUT
ShowItem = zoom_Desk:KEY
[NpcItemIdent]
AfterEvents = fuzz_gate
NPC_Image = hat
TextId = KEY_ABOUT
ShowItem = zoom_Desk:KEY
OpenItem = room_Hall:HAT
[ChangePersonages]
AfterEvents = fuzz_gate
QuitPersonages = Ashby
NewPersonages = Ashby
[ChangePersonages]
AfterEvents = fuzz_gate
TextId = KEY_ABOUT
NewPersonages = Ashby
Ringtone = clock_tick
[EventForComics]
AfterEvents = fuzz_gate
ComicsName = Intro
[SearchFinish]
AfterEvents = fuzz_gate
Location = zoom_Desk
TextId = DESK_TASK
[LocationFinish]
AfterEvents = fuzz_gate
Location = room_Hall
DisableOnMap = 1
[InvestigationWin]
AfterEvents = fuzz_gate
[InvestigationClose]
AfterEvents = fuzz_gate
)";

struct World {
    aApplication app;
    // Rooms and items take their sizes and hit areas from their pictures, which need the device.
    std::unique_ptr<aGraphServer> graph = std::make_unique<aGraphServer>(1024, 768, false, true);
    std::string folder = fuzzScratchFolder("fuzz_story_save");
    std::unique_ptr<demo::DemoGame> game;
    // The whole save the inputs change, and this target's records of each place the seeds come from.
    SaveRecords base;
    std::vector<std::pair<std::string, SaveRecords>> places;

    World() {
        if (graph->getFatalError())
            std::abort();
        const std::string shipped = std::string(RVH_DEMO_DATA) + "GameData/Investigations/Demo/_events.ini";
        const std::string own = file_existsPlain(shipped) ? readFile(shipped) : std::string();
        game = std::make_unique<demo::DemoGame>(RVH_DEMO_DATA, folder, own + GatedStory);
        if (!game->play())
            std::abort();
        if (game->investigation().GetState() == CInvestigation::OnMap) {
            keep("map");
            game->goThrough("HALL", "room_Hall");
        }
        keep("hall");
        if (game->goThrough("DESK", "zoom_Desk"))
            keep("desk");
        base = saved();
        // The same place with the story set going, as only a save can.
        if (CSpyEventBase* gate = game->investigation().GetEventsManager().FindEvent("fuzz_gate")) {
            gate->SetDone();
            keep("story");
            gate->Reset();
        }
    }

    static std::string readFile(const std::string& path) {
        u32 size = 0;
        const std::unique_ptr<void, decltype(&std::free)> bytes(file_readFullAndMalloc(path, &size),
                                                                &std::free);
        return bytes ? std::string(static_cast<const char*>(bytes.get()), size) : std::string();
    }
    SaveRecords saved() {
        game->game().SaveGame();
        return readRecordStream(readFile(game->game().GetSaveFileName()));
    }
    void keep(const std::string& place) {
        SaveRecords own;
        for (const auto& [name, data] : saved())
            if (recordIndex(name) < RecordCount)
                own.emplace_back(name, data);
        places.emplace_back(place, own);
    }

    // The input's chunks laid over the base save.
    SaveRecords overBase(const uint8_t* data, size_t size) const {
        std::string chunks[RecordCount];
        bool given[RecordCount] = {}, dropped[RecordCount] = {};
        for (size_t at = 0; at + 3 <= size;) {
            const size_t record = data[at] % RecordCount;
            const bool drop = data[at] & 4;
            const size_t length = std::min<size_t>(data[at + 1] | data[at + 2] << 8, size - at - 3);
            given[record] = true;
            dropped[record] = drop;
            chunks[record].assign(reinterpret_cast<const char*>(data + at + 3), length);
            at += 3 + length;
        }
        SaveRecords records;
        for (const auto& [name, bytes] : base) {
            const size_t record = recordIndex(name);
            if (record == RecordCount || !given[record])
                records.emplace_back(name, bytes);
            else if (!dropped[record])
                records.emplace_back(name, chunks[record]);
        }
        return records;
    }

    void writeSeeds(const std::string& to) const {
        std::filesystem::create_directories(to);
        for (const auto& [place, records] : places) {
            std::string seed;
            for (const auto& [name, data] : records) {
                seed += char(recordIndex(name));
                seed += char(data.size() & 0xFF);
                seed += char(data.size() >> 8);
                seed += data;
            }
            writeScratchFile(to + "/", place + ".bin", seed);
        }
    }
};

World& world() {
    static World w;
    return w;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Headless unless the caller chose otherwise; the GL driver draws on the calling thread.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    setenv("LP_NUM_THREADS", "0", 0);
    if (const char* seeds = std::getenv("FUZZ_STORY_SAVE_SEEDS")) {
        world().writeSeeds(seeds);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    World& w = world();
    CSpyMain& game = w.game->game();
    // Back at the main menu as save and exit leaves the game, with the investigation still loaded.
    game.GetInvestigation().Stop();
    game.ResetMapAndCardsRooms();
    writeScratchFile("", game.GetSaveFileName(), recordStream(CSpyMain::SaveHeader, w.overBase(data, size)));
    platform::srand(7);
    game.ContinuePlay();
    // The chosen investigation is loaded already: one frame takes it to its start, one starts it.
    for (int i = 0; i < 2 && (game.GetState() == CSpyMain::CHOSEN || game.GetState() == CSpyMain::LOADED);
         ++i)
        game.FrameMove(demo::DemoGame::FrameTime);
    for (int i = 0; i < Frames; ++i) {
        game.FrameMove(demo::DemoGame::FrameTime);
        // Drawing costs the software GL driver far more than a frame's play: a few frames are drawn.
        if (i % DrawnEvery == 0 && w.graph->beginScene()) {
            game.Render();
            w.graph->endScene();
        }
    }
    game.SaveGame();
    return 0;
}
