#pragma once
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"

#include <string>

// Registers the rooms of the folder's "_rooms.list" as the investigation "Demo", loads their
// resources in one pass of the resource owner and resets them.
inline void loadRooms(CResManager& res, CRoomsManager& rooms, CPersonagesManager* personages,
                      const std::string& folder) {
    rooms.LoadSharedRoomsList(personages, nullptr);
    rooms.Init(folder, "Demo");
    res.BeginLoading();
    while (!res.isDone())
        res.LoadStep();
    rooms.AfterLoadInitRooms(folder);
    rooms.ResetRooms(folder);
}
