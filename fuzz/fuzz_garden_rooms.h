#pragma once
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"

#include <array>
#include <string>
#include <vector>

// The garden puzzles for the fuzz targets: one room of each class, each with the items its class
// names (bare rectangles in a row, the holes as containers), played by Ann, and the mouse they read.

struct GardenRoom {
    const char* name;
    const char* className;
    // The room's items, then those carried on the cursor during a scripted play.
    std::vector<const char*> items;
    std::vector<const char*> carried;
};

inline const std::array<GardenRoom, 5>& gardenRooms() {
    static const std::array<GardenRoom, 5> rooms = {{
        {"zoom_CrabPuzzle",
         "CrabPuzzleRoom",
         {"APPLE_DYR", "PROBKA_DYR", "SIGARETY_DYR", "ZIPPO_DYR", "TARGET_DYR", "APPLE", "PROBKA", "SIGARETY",
          "ZIPPO", "APPLE_TEN", "CRAB", "CRAB_BEZ_CRISTALA", "CRISTAL", "PALKA", "PALKA1", "PALKA2", "TWIG"},
         {"TWIG", "PALKA1", "APPLE", "PALKA2"}},
        {"zoom_GardenRose",
         "GardenRoseRoom",
         {"BLOOD", "LEAF_SHADOW", "LEAF", "LEAF2", "LISTBUG1", "LISTBUG2", "ROSE", "CENTER", "PETAL1",
          "PETAL2", "BUG1", "BUG2", "TAMPON"},
         {"BUG1", "BUG2", "TAMPON"}},
        {"zoom_Warehouse",
         "WarehouseRoom",
         {"PULT", "KRUK", "LUCH", "LIGHT_ON", "DUST", "LASTWIN_ITEM"},
         {"LASTWIN_ITEM"}},
        {"zoom_NetPuzzle", "cNetPuzzleRoom", {"KEYS", "R1", "R2", "R3", "R4"}, {"KEYS"}},
        {"zoom_SandCleaning",
         "RoomCleaning",
         {"SAND", "TATU", "P1", "P2", "BRUSH", "ROLLER", "PAINT"},
         {"BRUSH", "ROLLER"}},
    }};
    return rooms;
}

inline std::string lowerCase(std::string text) {
    for (char& c : text)
        c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

// Each room's files below the folder, with `sections` after its [Room] section, and the list.
inline void writeGardenRooms(const std::string& folder, const std::string& sections) {
    std::string list;
    for (const GardenRoom& room : gardenRooms()) {
        const std::string path = std::string(room.name) + "/";
        std::string objects, items;
        int x = 10;
        for (const char* item : room.items) {
            const std::string object = lowerCase(item);
            objects += "[" + object + "]\nClass = object\nX = " + std::to_string(x) +
                       "\nY = 40\nWidth = 20\n"
                       "Height = 20\n";
            items += std::string("[") + item + "]\nObject = " + object + "\n";
            const std::string name = item;
            // The holes open when their blockers are used on them.
            if (name.size() > 4 && name.ends_with("_DYR") && name != "TARGET_DYR")
                items += "Class = Container\nUsedItem = " + name.substr(0, name.size() - 4) +
                         "\nAutoActivateOnUnlock = 1\nContainerShow = " + name.substr(0, name.size() - 4) +
                         "\n";
            x += 24;
        }
        writeScratchFile(folder, path + "room.ini",
                         std::string("[Room]\nClass = ") + room.className + "\n" + sections);
        writeScratchFile(folder, path + "objects.ini", objects);
        writeScratchFile(folder, path + "items.ini", items);
        std::string script = "[ROOM]\n";
        for (const char* item : room.items)
            script += std::string("[") + item + "]\nUseTo = ONESELF\n";
        writeScratchFile(folder, path + "Ann.ai", script);
        list += std::string(room.name) + "\n";
    }
    writeScratchFile(folder, "_rooms.list", list);
    writeScratchFile(folder, "_investigation.ini",
                     "[Personages]\nPersonagesList = Ann\nStartPersonages = Ann\n");
}

// Frames of play: the pointer walks the room's row of items with the button going down, held, up
// and resting, and the carried items are put on the cursor in turn.
inline void playGardenRoom(aInputServer& input, CRoomBase& room, const GardenRoom& data, int frames,
                           u32 seed) {
    static const aKeyState buttons[] = {KEY_PRESSED, KEY_HELD, KEY_HELD, KEY_RELEASED, KEY_UP};
    for (int i = 0; i < frames; ++i) {
        const u32 step = seed + u32(i);
        input.setMousePos(i32(10 + step * 7 % (24 * data.items.size())), i32(40 + step % 30));
        input.mouseButtons[0] = buttons[step % 5];
        if (i % 25 == 10 && !data.carried.empty())
            if (CSpyItem* item = room.GetItemManager().GetItem(data.carried[step / 25 % data.carried.size()]))
                room.SetItemOnCursor(item, nullptr);
        room.FrameMove(i % 7 == 3 ? 0.5f : 0.05f, false);
    }
    input.mouseButtons[0] = KEY_UP;
}
