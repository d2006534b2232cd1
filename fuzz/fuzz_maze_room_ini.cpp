#include "fuzz_maze_world.h"

#include <cstdint>
#include <string>

// Input: a selector byte, then the rest of the room.ini of the garden maze (even) or the ventilation
// maze (odd), after its class line; the other room takes its usual data. Both rooms are loaded, reset
// and entered, run 100 frames (Tez walks in; the walkers, gates and sounds run) and are solved.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    static CResManager res(false);
    const std::string& folder = fuzzScratchFolder("fuzz_maze_room_ini");
    const std::string ini(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool garden = data[0] % 2 == 0;
    mazefuzz::writeRooms(folder, garden ? ini : mazefuzz::GardenIni, garden ? mazefuzz::VentIni : ini);
    mazefuzz::Rooms world(res, folder);
    for (CRoomBase* room : {world.garden(), world.vent()}) {
        if (!room)
            continue;
        for (int frame = 0; frame < 100; ++frame)
            room->FrameMove(0.05f, false);
        room->SolveRoom();
        room->FrameMove(0.05f, false);
    }
    world.rooms.UnloadRooms(folder);
    return 0;
}
