#include "fuzz_record_stream.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// Input: a selector byte, then the record data of a room, a personage, the personages manager or an
// inventory, put into a valid stream under that entity's name. The entity loads it (references
// answered by a rooms manager of one room with two items) and is saved again.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_room_records");
}

void writeFile(const std::string& name, const std::string& bytes) {
    writeScratchFile(folder(), name, bytes);
}

struct World {
    CResManager res{false};
    CRoomsManager rooms;
    CPersonagesManager personages;

    World() {
        writeFile("Hall/room.ini", "[Room]\nClass = RoomBase\n");
        writeFile("Hall/objects.ini", "[key]\nClass = object\n");
        writeFile("Hall/items.ini", "[KEY]\nObject = key\n[PEN]\n");
        writeFile("_rooms.list", "Hall\n");
        writeFile("_investigation.ini", "[Personages]\nPersonagesList = Ann, Bob\nStartPersonages = Ann\n");
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder(), "Demo");
        personages.CreatePersonages(aOptionsFile(folder() + "_investigation.ini"), nullptr, &rooms);
        res.BeginLoading();
        while (!res.isDone())
            res.LoadStep();
        rooms.AfterLoadInitRooms(folder());
        rooms.ResetRooms(folder());
        personages.ResetForNewGame(false);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    static World world;
    CPersonage* ann = world.personages.GetPersonage("Ann");
    SaveLoadEntity* entities[] = {world.rooms.GetRoom("Hall"), ann, &world.personages, &ann->GetInventory()};
    SaveLoadEntity& entity = *entities[data[0] % 4];
    writeFile("in.save", oneRecordStream(entity.getName(), data + 1, size - 1));
    SaveLoadSystem load;
    if (load.Load(folder() + "in.save", SaveLoadSystem::AnyHeader))
        load.LoadEntity(entity);
    load.Finish();
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(entity);
    save.Finish();
    return 0;
}
