#include "fuzz_record_stream.h"
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// Input: a selector byte, then the record data of the evidence box or the cards room, put into a
// valid stream under that room's name. The room loads it, is saved, and loads the saved record again.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_builtin_room_records");
}

void writeFile(const std::string& name, const std::string& bytes) {
    writeScratchFile(folder(), name, bytes);
}

struct World {
    CResManager res{false};
    CRoomsManager rooms;

    World() {
        writeFile("Evidence_box/room.ini", "[Room]\nClass = EvidenceBox\n");
        writeFile("Evidence_box/objects.ini", "[glove]\nClass = object\n");
        writeFile("Evidence_box/items.ini", "[GLOVE]\nObject = glove\n");
        writeFile("_InvestigationCards/room.ini", "[Room]\nClass = InvCards\n");
        writeFile("_InvestigationCards/objects.ini", "[ico]\nClass = object\n");
        writeFile("_InvestigationCards/items.ini", "[ICO_LETTER]\nObject = ico\nGroup = Letter\n");
        writeFile("_rooms.list", "Evidence_box\n_InvestigationCards\n");
        loadRooms(res, rooms, nullptr, folder());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    static World world;
    CRoomBase& room = *world.rooms.GetRoom(data[0] % 2 ? "Evidence_box" : "_InvestigationCards");
    writeFile("in.save", oneRecordStream(room.getName(), data + 1, size - 1));
    loadFromStream(room, folder() + "in.save");
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(room);
    save.Finish();
    loadFromStream(room, folder() + "out.save");
    return 0;
}
