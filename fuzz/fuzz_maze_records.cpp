#include "fuzz_maze_world.h"
#include "game/SaveLoadSystem.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// Input: a selector byte, then the record data of the garden maze (even) or the ventilation maze (odd),
// base room record first, put into a valid stream under that room's name. The room loads it, runs 50
// frames and is saved; that save loaded and saved again gives the same bytes.

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    static CResManager res(false);
    const std::string& folder = fuzzScratchFolder("fuzz_maze_records");
    static const bool written = [&] {
        mazefuzz::writeRooms(folder, mazefuzz::GardenIni, mazefuzz::VentIni);
        return true;
    }();
    (void)written;
    static mazefuzz::Rooms world(res, folder);
    CRoomBase* room = data[0] % 2 == 0 ? world.garden() : world.vent();
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
