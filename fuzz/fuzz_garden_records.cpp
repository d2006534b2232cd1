#include "fuzz_garden_rooms.h"
#include "fuzz_record_stream.h"

#include <cstdint>
#include <string>

// Input: a class byte (the garden room, by its remainder of 5) and the puzzle's part of that room's
// record, put after a valid room-base record into a valid stream under the room's name. The room
// loads it, plays a few frames, is saved, and loads what it saved; then it is reset.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_garden_records");
}

// The garden rooms, each with the sections its class reads, and each one's room-base record.
struct World {
    CResManager res{false};
    RoomInput mouse;
    CRoomsManager rooms;
    CPersonagesManager personages;
    std::vector<std::string> baseRecords;

    World() {
        writeGardenRooms(folder(),
                         "[CrabPuzzleRoomOptions]\nDelayOfCrabShow = 1\nDelayOfCrabHide = 0.5\n"
                         "DelayOfCrabRotate = 0.1\nCrabRotateRange = 0.3\n[CrabPuzzleRoomCoords]\n"
                         "APPLE = 20 40 20 10 0\nZIPPO = 80 40 80 10 0\nSIGARETY = 60 40 60 10 0\n"
                         "PROBKA = 40 40 40 10 0\nTARGET = 100 40 100 10 0\n"
                         "[BugsSettings]\nItems = BUG1, BUG2\n[Rose]\nItems = PETAL1 PETAL2\n"
                         "[Animation]\nspeed = 10\nItems = LEAF, LEAF2\n[Timers]\nminTime = 0.5\n"
                         "maxTime = 1\nminLuchTime = 0.2\nmaxLuchTime = 0.4\n[Kruk]\nminy = 60\n"
                         "[Lines]\nR1 = R2, R3\nR2 =\nR3 = R4\n[Clearing]\nClearingItems = P1, P2\n");
        loadRoomsForNewGame(res, rooms, personages, folder());
        for (const GardenRoom& garden : gardenRooms())
            baseRecords.push_back(rooms.HasRoom(garden.name)
                                      ? baseRecordOf(*rooms.GetRoom(garden.name), folder() + "base.save")
                                      : std::string());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    static World world;
    const size_t which = data[0] % gardenRooms().size();
    const GardenRoom& garden = gardenRooms()[which];
    if (!world.rooms.HasRoom(garden.name))
        return 0;
    CRoomBase& room = *world.rooms.GetRoom(garden.name);
    const std::string record =
        world.baseRecords[which] + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    writeScratchFile(folder(), "in.save", recordStream(1, {{room.getName(), record}}));
    loadFromStream(room, folder() + "in.save");
    playGardenRoom(world.mouse.input, room, garden, 4, u32(size));
    room.Render();
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(room);
    save.Finish();
    loadFromStream(room, folder() + "out.save");
    room.Reset();
    room.Enter("Demo", nullptr);
    return 0;
}
