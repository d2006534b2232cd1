#include "fuzz_maze_world.h"
#include "game/SaveLoadSystem.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// Input: a selector byte, then the record data of the garden maze (even) or the ventilation maze (odd),
// base room record first, put into a valid stream under that room's name. The room loads it, runs 50
// frames and is saved; that save loaded and saved again gives the same bytes.
//
// The seed corpus is made by this program from the rooms entered afresh, with Tez walking in, and
// solved:
//   FUZZ_MAZE_RECORDS_SEEDS=fuzz/corpus/fuzz_maze_records build-fuzz/fuzz/fuzz_maze_records

namespace {

std::string saveRoom(CRoomBase& room, const std::string& path) {
    SaveLoadSystem save;
    save.BeginSave(path, 4056);
    save.SaveEntity(room);
    save.Finish();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string bytes;
    if (file) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

struct World {
    CResManager res{false};
    std::string folder = fuzzScratchFolder("fuzz_maze_records");
    bool written = (mazefuzz::writeRooms(folder, mazefuzz::GardenIni, mazefuzz::VentIni), true);
    mazefuzz::Rooms rooms{res, folder};
};

World& world() {
    static World w;
    return w;
}

// The selector and the room's record as the room saves it now.
std::string seed(CRoomBase& room, char selector) {
    const SaveRecords records = readRecordStream(saveRoom(room, world().folder + "seed.save"));
    return records.empty() ? std::string() : selector + records.back().second;
}

void writeSeeds(const std::string& to) {
    World& w = world();
    for (int i = 0; i < 20; ++i)
        w.rooms.garden()->FrameMove(0.05f, false);
    writeScratchFile(to + "/", "garden_walking.bin", seed(*w.rooms.garden(), 0));
    for (int i = 0; i < 400; ++i)
        w.rooms.garden()->FrameMove(0.05f, false);
    w.rooms.garden()->SolveRoom();
    w.rooms.garden()->FrameMove(0.05f, false);
    writeScratchFile(to + "/", "garden_solved.bin", seed(*w.rooms.garden(), 0));
    writeScratchFile(to + "/", "vent_resting.bin", seed(*w.rooms.vent(), 1));
    w.rooms.vent()->SolveRoom();
    writeScratchFile(to + "/", "vent_solved.bin", seed(*w.rooms.vent(), 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* seeds = std::getenv("FUZZ_MAZE_RECORDS_SEEDS")) {
        writeSeeds(seeds);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    World& w = world();
    const std::string& folder = w.folder;
    CRoomBase* room = data[0] % 2 == 0 ? w.rooms.garden() : w.rooms.vent();
    if (!room)
        return 0;
    room->Reset();
    room->Enter("Demo", nullptr);
    writeScratchFile(folder, "in.save", oneRecordStream(room->getName(), data + 1, size - 1));
    loadFromStream(*room, folder + "in.save");
    for (int frame = 0; frame < 50; ++frame)
        room->FrameMove(0.05f, false);
    const SaveRecords first = readRecordStream(saveRoom(*room, folder + "first.save"));
    loadFromStream(*room, folder + "first.save");
    const SaveRecords second = readRecordStream(saveRoom(*room, folder + "second.save"));
    if (first.empty() || first.back() != second.back())
        std::abort();
    return 0;
}
