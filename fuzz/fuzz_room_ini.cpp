#include "fuzz_input_file.h"
#include "game/CResManager.h"
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

// Input: the rest of a room.ini whose section "Room" names the base class. The room, with three
// grouped items and a door, is registered, loaded, reset for a new game of one personage, entered,
// moved, scaled, hinted, checked, left and unloaded.

namespace {

const std::string& folder() {
    static const std::string path = "/tmp/fuzz_room_ini_" + std::to_string(getpid()) + "/";
    static const bool made = [] {
        std::filesystem::create_directories(path + "Hall");
        std::atexit([] { std::filesystem::remove_all(path); });
        return true;
    }();
    (void)made;
    return path;
}

void write(const std::string& name, const std::string& prefix, const void* data, size_t size) {
    writeFuzzInput(folder() + name, prefix, data, size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    static CResManager res(false);
    write("Hall/room.ini", "[Room]\nClass = RoomBase\n", data, size);
    write("Hall/objects.ini",
          "[a]\nClass = object\nWidth = 5\nHeight = 5\n[b]\nClass = object\nX = 9\n[door]\nClass = object\n",
          "", 0);
    write("Hall/items.ini",
          "[A]\nObject = a\nGroup = Cups\n[B]\nObject = b\nGroup = Cups\nIsISpyItem = 1\n"
          "[Exit]\nClass = Door\nObject = door\nUseRoom = Hall\n",
          "", 0);
    write("Hall/Ann.ai", "[ROOM]\nMustClickItems = A B\nISpyItemsCount = 1\n[Exit]\nUseTo = ONESELF\n", "",
          0);
    write("_rooms.list", "Hall\n", "", 0);
    write("_investigation.ini", "[Personages]\nPersonagesList = Ann\nStartPersonages = Ann\n", "", 0);

    CRoomsManager rooms;
    CPersonagesManager personages;
    rooms.LoadSharedRoomsList(&personages, nullptr);
    rooms.Init(folder(), "Demo");
    personages.CreatePersonages(aOptionsFile(folder() + "_investigation.ini"), nullptr, &rooms);
    personages.LoadInvestigationScripts(folder(), "Demo");
    res.BeginLoading();
    while (!res.isDone())
        res.LoadStep();
    rooms.AfterLoadInitRooms(folder());
    rooms.ResetRooms(folder());
    personages.ResetForNewGame(false);
    CRoomBase* room = rooms.HasRoom("Hall") ? rooms.GetRoom("Hall") : nullptr;
    if (!room)
        return 0;
    room->Enter("Demo", nullptr);
    room->SetPosition({3, 4});
    room->SetScale({0.5f, 2}, true);
    room->ShowHint();
    room->CheckItemsFoundInOrigPlace("Cups");
    room->FrameMove(0.1f, false);
    room->Leave();
    room->Reset();
    room->UnloadRes();
    room->ShowHint();
    rooms.UnloadRooms(folder());
    return 0;
}
