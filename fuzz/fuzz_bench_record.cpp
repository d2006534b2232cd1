#include "fuzz_chemlab.h"
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/game/BenchTestRoom.h"
#include "support/game/TestRoomsManager.h"

#include <cstdint>
#include <string>

// Input: the record data of the chemistry bench's test room (the room base's part, then the bench's),
// put into a valid stream under the room's name. The room loads it, runs 50 frames, takes a click on
// each of its items as the player's click-use reaches them, is solved and saved.
//
// The seed corpus is made by this program from the room's record after a round of clicks:
//   FUZZ_BENCH_RECORD_SEEDS=fuzz/corpus/fuzz_bench_record build-fuzz/fuzz/fuzz_bench_record

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_bench_record");
}

using ClickedBench = Clicked<BenchTestRoom>;

struct World {
    CResManager res{false};
    TestRoomsManager<ClickedBench> rooms;
    CPersonagesManager personages;
    ClickedBench* room = nullptr;

    World() {
        const std::vector<std::string> items = {
            "B1", "B2", "TB1", "TB2", "BIG_FS", "TBIG_FS", "TABLE_PIPETKA", "DISH", "MARK_C", "MARK_E"};
        writeScratchFile(folder(), "zoom_Bench/room.ini",
                         "[Room]\nClass = BenchTestRoom\n[ColorCells]\ncell = MARK_C\ncols = 2\ndx = 5\n"
                         "dy = 5\n[EffectCells]\ncell = MARK_E\ncols = 2\ndx = 5\ndy = 5\n");
        writeScratchFile(folder(), "zoom_Bench/objects.ini", fuzzLabObjects(items));
        writeScratchFile(folder(), "zoom_Bench/items.ini", fuzzLabItems(items));
        writeScratchFile(folder(), "_rooms.list", "zoom_Bench\n");
        loadRooms(res, rooms, &personages, folder());
        room =
            rooms.HasRoom("zoom_Bench") ? dynamic_cast<ClickedBench*>(rooms.GetRoom("zoom_Bench")) : nullptr;
        if (room)
            room->Enter("Demo", nullptr);
    }
};

World& world() {
    static World w;
    return w;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    writeSeedsIfAsked("FUZZ_BENCH_RECORD_SEEDS", [](const std::string& to) {
        ClickedBench* room = world().room;
        if (!room)
            return;
        for (int round = 0; round < 2; ++round)
            room->ClickEveryItem();
        SaveLoadSystem save;
        save.BeginSave(folder() + "seed.save", 4056);
        save.SaveEntity(*room);
        save.Finish();
        writeScratchFile(to, "clicked.bin", fuzzRecordOf(folder() + "seed.save"));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    if (!world().room)
        return 0;
    ClickedBench& room = *world().room;
    writeScratchFile(folder(), "in.save", oneRecordStream(room.getName(), data, size));
    loadFromStream(room, folder() + "in.save");
    for (int i = 0; i < 50; ++i)
        room.FrameMove(0.1f, false);
    room.ClickEveryItem();
    room.Render();
    room.SolveRoom();
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(room);
    save.Finish();
    room.Reset();
    room.Enter("Demo", nullptr);
    return 0;
}
