#include "fuzz_rooms.h"
#include "fuzz_wordsbooks.h"
#include "game/CResManager.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Input: a selector byte choosing one of the five word and book rooms, then the room's own part of its
// record, put after a sound record of the room base into a valid stream under the room's name. The
// room loads it, plays a few frames, is saved, and loads what it saved.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_wordsbooks_records");
}

struct World {
    CResManager res{false};
    CRoomsManager rooms;
    CPersonagesManager personages;
    std::vector<CRoomBase*> wordRooms;
    // Each room's record as far as the room base's part goes.
    std::vector<std::string> baseRecords;

    World() {
        assignWordsLanguage(folder());
        std::string list;
        for (const WordsRoom& room : kWordsRooms) {
            writeWordsRoom(
                folder(), room, room.ini,
                "CHARS = \"ABCEKMOU\"\nA1 = \"cup\"\nA2 = \"mug\"\nA3 = \"bean\"\nA4 = \"milk\"\n"
                "A5 = \"cream\"\nA6 = \"sugar\"\nA7 = \"coffee\"\nA8 = \"ae\"\nCOUNTINFO = \"%d\"\n");
            list += std::string(room.name) + "\n";
        }
        writeScratchFile(folder(), "_rooms.list", list);
        writeScratchFile(folder(), "_investigation.ini",
                         "[Personages]\nPersonagesList = Ann\nStartPersonages = Ann\n");
        loadRooms(res, rooms, &personages, folder());
        personages.CreatePersonages(aOptionsFile(folder() + "_investigation.ini"), nullptr, &rooms);
        personages.ResetForNewGame(false);
        for (const WordsRoom& room : kWordsRooms) {
            CRoomBase* made = rooms.HasRoom(room.name) ? rooms.GetRoom(room.name) : nullptr;
            wordRooms.push_back(made);
            baseRecords.push_back(made ? baseRecordOf(*made, folder() + "base.save") : std::string());
            if (made) {
                handFinds(*made, personages);
                made->Enter("Demo", nullptr);
            }
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    static World world;
    const size_t chosen = data[0] % world.wordRooms.size();
    CRoomBase* room = world.wordRooms[chosen];
    if (!room)
        return 0;
    const std::string record =
        world.baseRecords[chosen] + std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
    writeScratchFile(
        folder(), "in.save",
        oneRecordStream(room->getName(), reinterpret_cast<const uint8_t*>(record.data()), record.size()));
    loadFromStream(*room, folder() + "in.save");
    playWordsRoom(*room, 5);
    saveToStream(*room, folder() + "out.save");
    loadFromStream(*room, folder() + "out.save");
    room->Reset();
    room->Enter("Demo", nullptr);
    return 0;
}
