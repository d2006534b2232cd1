#pragma once
#include "fuzz_rooms.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/gfx/aGraphServer.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// What the close-up fuzz targets share: the town's close-ups and its square, whose finds the player
// brings in, copied with their pictures, sounds and texts from the shipped demo data into a scratch
// folder as the investigation "Demo", played by Corwin. A close-up is one row.

struct CloseUp {
    const char* name;
    const char* className;
    // Items put on the cursor now and then during a scripted play: the room's own, or the finds.
    std::vector<const char*> carried;
    // Items of the square handed to the player before he enters.
    std::vector<const char*> finds;
};

inline const char* const kCloseUpHub = "room_Town";

// Headless unless the caller chose otherwise; the GL driver draws on the calling thread.
inline void chooseHeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    setenv("LP_NUM_THREADS", "0", 0);
}

// The application with the input server whose states the play sets, the graph server (items take
// their sizes and hit areas from their pictures, which need the device) and the resource owner. Made
// once and kept to the end: the audio system it frees its sounds into goes before statics made
// after it.
struct CloseUpEngine {
    aApplication app;
    std::unique_ptr<aGraphServer> graph = std::make_unique<aGraphServer>(1024, 768, false, true);
    // Made on the graph server's window, whose pointer it reads.
    aInputServer input;
    CResManager res{false};
};

inline CloseUpEngine& closeUpEngine() {
    static CloseUpEngine* engine = new CloseUpEngine;
    return *engine;
}

inline const std::vector<CloseUp>& closeUps() {
    static const std::vector<CloseUp> rooms = {
        {"zoom_Box", "ChineseBoxPuzzleRoom", {"JADE", "DISK1", "ELEMENT1"}, {"JADE"}},
        {"zoom_Figures", "ChineseFigurinePuzzleRoom", {"FIGURE1", "FIGURE3"}},
        {"zoom_Stain", "GettingBloodSample", {"TAMPON", "PAKET"}},
        {"zoom_Fax", "FaxMachinePuzzleRoom", {"REPORT"}},
        {"zoom_Exit", "BackMooverPuzzle", {"NOTE"}},
        {"zoom_Lamps", "DilaryLightsPuzzle", {"LAMP01", "LAMP02"}, {"LAMP01", "LAMP02"}},
        {"zoom_Table", "TanPheisRoom", {"TORCH", "PRINT"}, {"TORCH"}},
        {"room_Shower", "CursorRoomShower", {"TORCH", "BEAM", "RADIO"}, {"TORCH"}},
        {"zoom_Tiles", "PiatnashkiRoom", {"CARD", "CELL11"}},
    };
    return rooms;
}

// Copies the close-ups and the square below the folder with Corwin's investigation file and the list
// of them all.
inline void copyCloseUps(const std::string& folder) {
    std::string list = std::string(kCloseUpHub) + "\n";
    copyShippedRoom(std::string(RVH_DEMO_DATA) + "GameData/", "Town", kCloseUpHub, folder);
    for (const CloseUp& room : closeUps()) {
        copyShippedRoom(std::string(RVH_DEMO_DATA) + "GameData/", "Town", room.name, folder);
        list += std::string(room.name) + "\n";
    }
    writeScratchFile(folder, "_rooms.list", list);
    writeScratchFile(folder, "_investigation.ini",
                     "[Personages]\nPersonagesList = Corwin\nStartPersonages = Corwin\n");
}

// The shipped room.ini after its [Room] section's class line.
inline std::string shippedCloseUpIni(const CloseUp& room) {
    std::string ini = readScratchFile(std::string(RVH_DEMO_DATA) + "GameData/Investigations/Town/" +
                                      room.name + "/room.ini");
    const std::string classLine = std::string("Class = ") + room.className + "\n";
    const size_t at = ini.find(classLine);
    return at == std::string::npos ? ini : ini.substr(at + classLine.size());
}

// The row's finds put into the current personage's inventory, the room put at the screen's corner,
// where it takes the pointer over its whole picture, and entered by the personage, as the
// investigation does.
inline void enterCloseUp(CRoomBase& room, const CloseUp& data, CRoomsManager& rooms,
                         CPersonagesManager& personages) {
    CPersonage* personage = personages.GetCurrentPersonage();
    CRoomBase* hub = rooms.HasRoom(kCloseUpHub) ? rooms.GetRoom(kCloseUpHub) : nullptr;
    if (personage && hub)
        for (const char* find : data.finds)
            if (hub->GetItemManager().HasItem(find) && !personage->GetInventory().HasItem(find))
                personage->GetInventory().AddItem(hub->GetItem(find));
    room.SetPosition({0, 0});
    if (personage)
        personage->EnterRoom(room.getName());
    room.Enter("Demo", nullptr);
}

// The room's item of that name, else the current personage's in his inventory; null when neither has
// it.
inline CSpyItem* carriedItem(CRoomBase& room, CPersonagesManager& personages, const std::string& name) {
    if (room.GetItemManager().HasItem(name))
        return room.GetItem(name);
    CPersonage* personage = personages.GetCurrentPersonage();
    return personage ? personage->GetInventory().FindItem(name) : nullptr;
}

// Frames of play seeded by `seed` (and srand with it): the pointer goes from item to item of the
// room with the button pressed, held, released or resting, now and then a long frame that runs the
// room's timers on, and the carried items put on the cursor in turn and dropped again.
inline void playCloseUp(aInputServer& input, CRoomBase& room, CPersonagesManager& personages,
                        const CloseUp& data, int frames, u32 seed) {
    static const aKeyState buttons[] = {KEY_PRESSED, KEY_RELEASED, KEY_PRESSED,
                                        KEY_HELD,    KEY_RELEASED, KEY_UP};
    std::srand(seed);
    CSpyItemManager& items = room.GetItemManager();
    for (int i = 0; i < frames; ++i) {
        const u32 step = seed + u32(i) * 2654435761u;
        if (const CSpyItem* item =
                items.GetItemCount() ? items.GetItemAt(step / 6 % items.GetItemCount()) : nullptr)
            input.setMousePos(i32(item->GetPos().x) + i32(step % 7) * i32(item->GetWidth()) / 6,
                              i32(item->GetPos().y) + i32(step / 7 % 7) * i32(item->GetHeight()) / 6);
        input.mouseButtons[0] = buttons[step % 6];
        if (i % 10 == 4 && !data.carried.empty()) {
            const char* carried = data.carried[step / 10 % data.carried.size()];
            room.SetItemOnCursor(carriedItem(room, personages, carried), nullptr);
        }
        if (i % 10 == 9)
            room.SetItemOnCursor(nullptr, nullptr);
        room.FrameMove(i % 7 == 3 ? 0.5f : 0.05f, false);
    }
    input.mouseButtons[0] = KEY_UP;
}

// Each item of the room clicked at its middle in turn, a frame pressed and one released.
inline void clickEveryItem(aInputServer& input, CRoomBase& room) {
    CSpyItemManager& items = room.GetItemManager();
    for (size_t i = 0; i < items.GetItemCount(); ++i) {
        const CSpyItem* item = items.GetItemAt(i);
        input.setMousePos(i32(item->GetPos().x) + i32(item->GetWidth()) / 2,
                          i32(item->GetPos().y) + i32(item->GetHeight()) / 2);
        for (const aKeyState button : {KEY_PRESSED, KEY_RELEASED}) {
            input.mouseButtons[0] = button;
            room.FrameMove(0.01f, false);
        }
    }
    input.mouseButtons[0] = KEY_UP;
}
