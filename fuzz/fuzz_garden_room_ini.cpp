#include "fuzz_garden_rooms.h"
#include "fuzz_record_stream.h"

#include <cstdint>
#include <string>

// Input: the sections of a room.ini after its section "Room", given to a room of each garden class.
// Every room is registered, loaded, reset for a new game, entered, played for 100 scripted frames
// (the pointer over its items, the button going down, held and up, items carried), drawn, solved,
// played a little more, saved and left.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_garden_room_ini");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    static CResManager res(false);
    static RoomInput mouse;
    writeGardenRooms(folder(), std::string(reinterpret_cast<const char*>(data), size));
    CRoomsManager rooms;
    CPersonagesManager personages;
    loadRoomsForNewGame(res, rooms, personages, folder());
    for (const GardenRoom& garden : gardenRooms()) {
        CRoomBase* room = rooms.HasRoom(garden.name) ? rooms.GetRoom(garden.name) : nullptr;
        if (!room)
            continue;
        room->Enter("Demo", nullptr);
        playGardenRoom(mouse.input, *room, garden, 100, u32(size));
        room->Render();
        room->SolveRoom();
        playGardenRoom(mouse.input, *room, garden, 10, u32(size) + 1);
        SaveLoadSystem save;
        save.BeginSave(folder() + "out.save", 4056);
        save.SaveEntity(*room);
        save.Finish();
        room->Leave();
    }
    rooms.UnloadRooms(folder());
    return 0;
}
