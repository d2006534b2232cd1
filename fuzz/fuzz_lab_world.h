#pragma once
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"

#include <memory>
#include <string>
#include <vector>

// What the lab fuzz targets share: the demo's microfiche reader, its three computers and the archive
// holding the film cards, copied from the shipped demo data (pictures, sounds, texts) into a scratch
// folder as the investigation "Demo", played by Rusca.
namespace labfuzz {

inline const char* const Rooms[] = {"zoom_Microfiche", "zoom_VictimId2", "zoom_VictimId",
                                    "zoom_CrimeSearcher"};
inline const char* const Archive = "room_ChronicleOffice";

inline std::string shippedRoom(const std::string& room) {
    return std::string(RVH_DEMO_DATA) + "GameData/Investigations/Lab/" + room;
}
inline std::string shippedTexts(const std::string& room) {
    return std::string(RVH_DEMO_DATA) + "GameData/Language/English/Investigations/Lab/" + room;
}

// Copies the rooms' folders and texts below the folder, whose "lang/" becomes the language folder.
inline void copyRooms(const std::string& folder) {
    std::vector<std::string> rooms(std::begin(Rooms), std::end(Rooms));
    rooms.push_back(Archive);
    for (const std::string& room : rooms)
        copyShippedRoom(std::string(RVH_DEMO_DATA) + "GameData/", "Lab", room, folder);
    writeScratchFile(folder, "_investigation.ini",
                     "[Personages]\nPersonagesList = Rusca\nStartPersonages = Rusca\n");
}

// The application with the input server whose states a target sets frame by frame, and the resource
// owner; made once.
struct Engine {
    aApplication app;
    aInputServer input;
    CResManager res{false};
};

// The rooms of the folder's "_rooms.list" registered, loaded, reset for a new game and entered.
struct World {
    CRoomsManager rooms;
    CPersonagesManager personages;

    World(CResManager& res, const std::string& folder) {
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder, "Demo");
        personages.CreatePersonages(aOptionsFile(folder + "_investigation.ini"), nullptr, &rooms);
        res.BeginLoading();
        while (!res.isDone())
            res.LoadStep();
        rooms.AfterLoadInitRooms(folder);
        rooms.ResetRooms(folder);
        personages.ResetForNewGame(false);
        for (const char* name : Rooms)
            if (CRoomBase* room = get(name))
                room->Enter("Demo", nullptr);
    }
    CRoomBase* get(const std::string& name) { return rooms.HasRoom(name) ? rooms.GetRoom(name) : nullptr; }
};

// Frames of scripted play: the pointer goes from item to item of the room, pressing on one frame and
// releasing on the next, now and then with a typed letter or Enter, and the room solved at the end.
inline void play(CRoomBase& room, aInputServer& input, int frames) {
    CSpyItemManager& items = room.GetItemManager();
    for (int frame = 0; frame < frames; ++frame) {
        const CSpyItem* item =
            items.GetItemCount() ? items.GetItemAt(size_t(frame / 2) % items.GetItemCount()) : nullptr;
        if (item)
            input.setMousePos(i32(item->GetPos().x) + 5, i32(item->GetPos().y) + 5);
        input.mouseButtons[0] = frame % 2 == 0 ? KEY_PRESSED : KEY_RELEASED;
        input.keyStates[0x1E] = frame % 7 == 3 ? KEY_PRESSED : KEY_UP; // A
        input.keyStates[DIK_RETURN] = frame % 11 == 5 ? KEY_PRESSED : KEY_UP;
        room.FrameMove(0.05f, false);
    }
    input.mouseButtons[0] = KEY_UP;
    room.SolveRoom();
    room.FrameMove(0.05f, false);
}

} // namespace labfuzz
