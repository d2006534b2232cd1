#include "fuzz_rooms.h"
#include "fuzz_wordsbooks.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <string>

// Input: a selector byte choosing one of the five word and book rooms, then that room's sections of
// its room.ini, a NUL, and its texts. The room is registered, loaded, reset for a new game of one
// personage holding the rooms' finds, entered, played for 100 frames with the finds carried in turn,
// solved, saved and loaded again, left and unloaded.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_wordsbooks_ini");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    static CResManager res(false);
    static const bool assigned = [] {
        assignWordsLanguage(folder());
        return true;
    }();
    (void)assigned;
    const WordsRoom& chosen = kWordsRooms[data[0] % (sizeof kWordsRooms / sizeof *kWordsRooms)];
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t nul = rest.find('\0');
    writeWordsRoom(folder(), chosen, rest.substr(0, nul),
                   nul == std::string::npos ? std::string() : rest.substr(nul + 1));
    writeScratchFile(folder(), "_rooms.list", std::string(chosen.name) + "\n");
    writeScratchFile(folder(), "_investigation.ini",
                     "[Personages]\nPersonagesList = Ann\nStartPersonages = Ann\n");

    CRoomsManager rooms;
    CPersonagesManager personages;
    loadRooms(res, rooms, &personages, folder());
    personages.CreatePersonages(aOptionsFile(folder() + "_investigation.ini"), nullptr, &rooms);
    personages.ResetForNewGame(false);
    CRoomBase* room = rooms.HasRoom(chosen.name) ? rooms.GetRoom(chosen.name) : nullptr;
    if (!room)
        return 0;
    handFinds(*room, personages);
    room->Enter("Demo", nullptr);
    playWordsRoom(*room, 100);
    room->SolveRoom();
    saveToStream(*room, folder() + "out.save");
    room->Reset();
    loadFromStream(*room, folder() + "out.save");
    playWordsRoom(*room, 5);
    room->Leave();
    room->UnloadRes();
    rooms.UnloadRooms(folder());
    return 0;
}
