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
    static const std::string path = "/tmp/fuzz_room_records_" + std::to_string(getpid()) + "/";
    static const bool made = [] {
        std::filesystem::create_directories(path + "Hall");
        std::atexit([] { std::filesystem::remove_all(path); });
        return true;
    }();
    (void)made;
    return path;
}

void writeFile(const std::string& name, const std::string& bytes) {
    if (std::FILE* file = std::fopen((folder() + name).c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

void putU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += char(value >> (8 * i));
}

// A stream of one record, as the save system writes it.
std::string stream(const std::string& name, const uint8_t* data, size_t size) {
    std::string bytes;
    putU32(bytes, 1);
    putU32(bytes, 1);
    bytes += name;
    bytes += '\0';
    putU32(bytes, uint32_t(size));
    bytes.append(reinterpret_cast<const char*>(data), size);
    putU32(bytes, SaveLoadSystem::checksum(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size())));
    SaveLoadSystem::scramble(reinterpret_cast<u8*>(bytes.data()), u32(bytes.size()));
    return bytes;
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
    writeFile("in.save", stream(entity.getName(), data + 1, size - 1));
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
