#include "fuzz_closeups.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// Input: a selector byte choosing one of the town's close-ups (its value modulo their count), then the
// room's own part of its record, put after a sound record of the room base into a valid stream under
// the room's name. The room loads it, is entered, plays 50 frames of clicks seeded by the input's
// size, is saved and loads what it saved; then it is reset.
//
// The seeds are each room's own part after its items were clicked (the fax's while it prints):
//   FUZZ_CLOSEUP_RECORDS_SEEDS=fuzz/corpus/fuzz_closeup_records build-fuzz/fuzz/fuzz_closeup_records

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_closeup_records");
}

// The close-ups loaded once for a new game, with each one's room-base record.
struct World {
    CloseUpEngine& engine = closeUpEngine();
    CRoomsManager rooms;
    CPersonagesManager personages;
    std::vector<CRoomBase*> played;
    std::vector<std::string> baseRecords;

    World() {
        copyCloseUps(folder());
        loadRoomsForNewGame(engine.res, rooms, personages, folder());
        for (const CloseUp& closeUp : closeUps()) {
            CRoomBase* room = rooms.HasRoom(closeUp.name) ? rooms.GetRoom(closeUp.name) : nullptr;
            played.push_back(room);
            baseRecords.push_back(room ? baseRecordOf(*room, folder() + "base.save") : std::string());
        }
    }
};

World& world() {
    static World w;
    return w;
}

// Each room's own part of its record once every item of it has been clicked and a second has been
// played on (the fax's while it prints).
void writeSeeds(const std::string& to) {
    for (size_t i = 0; i < closeUps().size(); ++i) {
        CRoomBase* room = world().played[i];
        if (!room)
            continue;
        enterCloseUp(*room, closeUps()[i], world().rooms, world().personages);
        clickEveryItem(world().engine.input, *room);
        playCloseUp(world().engine.input, *room, world().personages, closeUps()[i], 10, 1);
        const SaveRecords records = readRecordStream(saveToStream(*room, folder() + "seed.save", 1));
        if (!records.empty())
            writeScratchFile(to + "/", closeUps()[i].name,
                             char(i) + records.back().second.substr(world().baseRecords[i].size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    chooseHeadlessDrivers();
    if (const char* seeds = std::getenv("FUZZ_CLOSEUP_RECORDS_SEEDS")) {
        writeSeeds(seeds);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    World& w = world();
    const size_t chosen = data[0] % closeUps().size();
    CRoomBase* room = w.played[chosen];
    if (!room)
        return 0;
    const std::string record =
        w.baseRecords[chosen] + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    writeScratchFile(folder(), "in.save", recordStream(1, {{room->getName(), record}}));
    loadFromStream(*room, folder() + "in.save");
    enterCloseUp(*room, closeUps()[chosen], w.rooms, w.personages);
    playCloseUp(w.engine.input, *room, w.personages, closeUps()[chosen], 50, u32(size));
    room->Render();
    saveToStream(*room, folder() + "out.save");
    loadFromStream(*room, folder() + "out.save");
    room->Reset();
    return 0;
}
