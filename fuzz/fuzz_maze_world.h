#pragma once
#include "fuzz_record_stream.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/CMazeWalker.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "tk2v/file/aOptionsFile.h"

#include <string>

// What the maze fuzz targets share: a garden of 2 x 2 cells of 100 pixels from (300, 100) with gate 12
// between the top two, and a duct of one corridor, both on bare item rectangles over maps of 10-pixel
// cells, each room's own room.ini given by the caller.
namespace mazefuzz {

inline const char* const GardenIni =
    "[MapInfo]\nCellWidth = 10\nCellHeight = 10\nUnitSize = 1\nStartCell = 1\n"
    "[Timers]\nOpenDoor = 0.1\nCloseDoor = 0.1\nTezSpeed = 10\nMarwennSpeed = 10\n"
    "[Doors]\nids = 12\n12 = 0 0\n[Cells]\nids = 1, 2, 3, 4\n1 = 1, 3\n2 = 0\n3 = 2\n4 = 3\nd1 = 12 1\nd2 = "
    "12 0\n";
inline const char* const VentIni =
    "[MapInfo]\nCellWidth = 10\nCellHeight = 10\nUnitSize = 1\n"
    "[Rusca]\nx = 25\ny = 25\nspeed = 10\nlightR = 1\ndistance = 50\nkeyDelta = 1\nstate = 1\n"
    "[Funs]\ncount = 1\nFUN1 = 45 2 3\n";

inline std::string bareItem(const std::string& name, int x, int y, int w, int h) {
    return "[" + name + "]\nClass = object\nX = " + std::to_string(x) + "\nY = " + std::to_string(y) +
           "\nWidth = " + std::to_string(w) + "\nHeight = " + std::to_string(h) + "\n";
}

inline std::string mapFile(u32 width, u32 height, bool (*wall)(u32 x, u32 y)) {
    std::string bytes(1, '\0');
    for (u32 value : {width, height})
        for (int i = 0; i < 4; ++i)
            bytes += char(value >> (8 * i));
    for (u32 x = 0; x < width; ++x)
        for (u32 y = 0; y < height; ++y)
            bytes += char(wall(x, y) ? CGridMap::Wall : 0);
    return bytes;
}

// Writes both rooms' files under the folder, each room.ini the class line and the text given.
inline void writeRooms(const std::string& folder, const std::string& gardenIni, const std::string& ventIni) {
    std::string objects, items;
    auto item = [&](const std::string& name, int x, int y, int w, int h) {
        objects += bareItem(name, x, y, w, h);
        items += "[" + name + "]\nObject = " + name + "\n";
    };
    for (int cell = 1; cell <= 4; ++cell)
        item("CELL" + std::to_string(cell), 300 + 100 * ((cell - 1) % 2), 100 + 100 * ((cell - 1) / 2), 100,
             100);
    item("OTKRVOROTA12", 390, 130, 20, 40);
    item("ZAKRVOROTA12", 390, 130, 20, 40);
    item("12", 390, 130, 20, 40);
    for (const char* walker : {"1", "2"})
        for (const char* suffix : CMazeWalker::PoseSuffixes)
            item(std::string("ANIMATION") + walker + suffix, 0, 0, 20, 20);
    item("WO_TEZ_INFO", 0, 0, 10, 10);
    item("WO_TEZ_SUSPECT", 0, 0, 10, 10);
    writeScratchFile(folder, "zoom_Garden/room.ini", "[Room]\nClass = GardenMazeRoom\n" + gardenIni);
    writeScratchFile(folder, "zoom_Garden/objects.ini", objects);
    writeScratchFile(folder, "zoom_Garden/items.ini", items);
    writeScratchFile(folder, "zoom_Garden/garden.map", mapFile(60, 50, [](u32 x, u32 y) {
                         return (x == 30 || x == 40 || x == 50 || y == 10 || y == 20 || y == 30) && x >= 30 &&
                                y >= 10 && y <= 30 && !(y % 10 == 5) && !(x % 10 == 5);
                     }));
    objects.clear();
    items.clear();
    for (const char* name :
         {"ANIMATION1U", "ANIMATION1IDLEU", "LIGHT", "DRAGON", "EXIT", "FOTO_DRAGO", "FOTO_EXIT", "FUN1"})
        item(name, name[0] == 'D' ? 100 : name[0] == 'E' ? 200 : 0, 20, 20, 20);
    writeScratchFile(folder, "zoom_Vent/room.ini", "[Room]\nClass = VentMazePuzzleRoom\n" + ventIni);
    writeScratchFile(folder, "zoom_Vent/objects.ini", objects);
    writeScratchFile(folder, "zoom_Vent/items.ini", items);
    writeScratchFile(folder, "zoom_Vent/darkway.map", mapFile(30, 10, [](u32, u32 y) { return y != 2; }));
    writeScratchFile(folder, "_rooms.list", "zoom_Garden\nzoom_Vent\n");
    writeScratchFile(folder, "_investigation.ini",
                     "[Personages]\nPersonagesList = Ann\nStartPersonages = Ann\n");
}

// The two rooms registered, loaded, reset for a new game and entered; the garden's workers inline.
struct Rooms {
    CRoomsManager rooms;
    CPersonagesManager personages;

    Rooms(CResManager& res, const std::string& folder) {
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder, "Demo");
        personages.CreatePersonages(aOptionsFile(folder + "_investigation.ini"), nullptr, &rooms);
        res.BeginLoading();
        while (!res.isDone())
            res.LoadStep();
        rooms.AfterLoadInitRooms(folder);
        rooms.ResetRooms(folder);
        personages.ResetForNewGame(false);
        for (CRoomBase* room : {garden(), vent()})
            if (room)
                room->Enter("Demo", nullptr);
        if (auto* g = dynamic_cast<cGardenMazeRoom*>(garden()))
            g->SetWorkersInline(true);
    }
    CRoomBase* garden() { return rooms.HasRoom("zoom_Garden") ? rooms.GetRoom("zoom_Garden") : nullptr; }
    CRoomBase* vent() { return rooms.HasRoom("zoom_Vent") ? rooms.GetRoom("zoom_Vent") : nullptr; }
};

} // namespace mazefuzz
