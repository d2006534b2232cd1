#include "fuzz_record_stream.h"
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/cCellsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cScreenInventaryPair.h"
#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <cstdlib>
#include <list>
#include <string>
#include <vector>

// Input: a room.ini. A board of cells from its section "Cells" over a room whose items M1 and M2 can
// be markers (enabled, chosen on, checked, built again and reset), the pairs of its section
// "ScreenInventaryPair" with every lookup, CheckRoomSection on every section; and every value of every
// section through ParseRect and the string functions.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_toolkit_ini");
}

struct World {
    CResManager res{false};
    CRoomsManager rooms;
    CPersonagesManager personages;
    CRoomBase* hall = nullptr;

    World() {
        writeScratchFile(folder(), "Hall/room.ini", "[Room]\nClass = RoomBase\n");
        writeScratchFile(folder(), "Hall/objects.ini",
                         "[m1]\nClass = object\n[m2]\nClass = object\nX = 40\nY = 7\n");
        writeScratchFile(folder(), "Hall/items.ini", "[M1]\nObject = m1\n[M2]\nObject = m2\n");
        writeScratchFile(folder(), "_rooms.list", "Hall\n");
        loadRooms(res, rooms, &personages, folder());
        hall = rooms.HasRoom("Hall") ? rooms.GetRoom("Hall") : nullptr;
    }
};

void Board(aOptionsFile& ini, CRoomBase& room) {
    cCellsManager cells;
    cells.Init(ini, "Cells", room);
    cells.SetAllEnabled(true);
    cells.Update();
    for (u32 cell = 0; cell < cells.GetCellCount(); ++cell)
        cells.SetSelected(cell, u16(cell % 3 == 2 ? cCellsManager::None : cell % 3));
    cells.IsSolved();
    cells.CreateCells(room);
    cells.SetCellRefresh(0);
    cells.Update();
    cells.ResetSelections();
    cells.IsCorrect();
}

void Pairs(aOptionsFile& ini) {
    cScreenInventaryPair pairs;
    pairs.Init(ini);
    for (const auto& [screen, inventory] : pairs.GetScreenToInventory()) {
        pairs.GetInventoryObjects()[inventory] = nullptr;
        pairs.GetInventoryName(screen);
        pairs.GetScreenName(inventory);
        pairs.GetInventoryObject(screen);
        pairs.GetScreenObject(inventory);
        pairs.GetScreenObject(screen);
    }
}

void Strings(const std::string& key, const std::string& value) {
    const aRect rect = ParseRect(value);
    std::list<std::string> words, keys;
    SplitWords(value, words);
    SplitWords(key, keys);
    u16 count = 0;
    u8 first = 0;
    MatchAnswer({value, key}, keys, &count, &first);
    MatchAnswer({key}, words);
    const std::wstring wide(value.begin(), value.end());
    std::list<std::wstring> wideWords;
    SplitWordsW(wide, wideWords);
    MatchAnswerW({wide}, wideWords, &count, &first);
    StrEqual(key, value);
    StrEqualW(wide, std::wstring(key.begin(), key.end()));
    std::string text = value;
    StrToUpper(text);
    CutTrailingNumber(text);
    DoubleToString(std::strtod(value.c_str(), nullptr));
    std::vector<u16> sequence;
    MakeRandomSequence(rect.w % 1024, rect.h, sequence, {u16(rect.x), u16(rect.y)});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    static World world;
    if (!world.hall)
        return 0;
    writeScratchFile(folder(), "in.ini", std::string(reinterpret_cast<const char*>(data), size));
    aOptionsFile ini(folder() + "in.ini");
    Board(ini, *world.hall);
    Pairs(ini);
    std::vector<std::string> sections;
    for (ini.first(); !ini.isEnd(); ini.nextSection())
        sections.push_back(ini.getSectionName());
    for (const std::string& section : sections) {
        if (!CheckRoomSection(ini, section, "Hall"))
            continue;
        for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
            Strings(ini.getKeyName(), ini.getKeyValue());
    }
    CheckRoomSection(ini, "", "Hall");
    return 0;
}
