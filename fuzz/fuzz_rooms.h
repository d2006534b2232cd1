#pragma once
#include "fuzz_record_stream.h"
#include "game/CResManager.h"
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"

#include <filesystem>
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

// The application and its input server, which the rooms read the mouse from.
struct RoomInput {
    aApplication app;
    aInputServer input;
};

// Registers, loads and resets the rooms of the folder for a new game of the personages its
// "_investigation.ini" names, with their scripts.
inline void loadRoomsForNewGame(CResManager& res, CRoomsManager& rooms, CPersonagesManager& personages,
                                const std::string& folder) {
    rooms.LoadSharedRoomsList(&personages, nullptr);
    rooms.Init(folder, "Demo");
    personages.CreatePersonages(aOptionsFile(folder + "_investigation.ini"), nullptr, &rooms);
    personages.LoadInvestigationScripts(folder, "Demo");
    res.BeginLoading();
    while (!res.isDone())
        res.LoadStep();
    rooms.AfterLoadInitRooms(folder);
    rooms.ResetRooms(folder);
    personages.ResetForNewGame(false);
}

// The room base's part of the room's record, saved alone into the stream file at `path`.
inline std::string baseRecordOf(CRoomBase& room, const std::string& path) {
    struct Base : SaveLoadEntity {
        explicit Base(CRoomBase& r) : SaveLoadEntity(r.getName()), room(r) {}
        u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return room.CRoomBase::SaveSelf(sys, pos); }
        CRoomBase& room;
    } base(room);
    const SaveRecords records = readRecordStream(saveToStream(base, path, 1));
    return records.empty() ? std::string() : records.back().second;
}

// Copies a shipped room's folder (`gameData` + "Investigations/" + the case) and its texts into the
// folder as the investigation "Demo"'s, the texts below "lang/", which becomes the language folder.
inline void copyShippedRoom(const std::string& gameData, const std::string& caseName, const std::string& room,
                            const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(gameData + "Investigations/" + caseName + "/" + room, folder + room, options, error);
    const std::string texts = folder + "lang/Investigations/Demo/" + room;
    fs::create_directories(texts, error);
    fs::copy(gameData + "Language/English/Investigations/" + caseName + "/" + room, texts, options, error);
    aFileServer::getInstance()->setAssign("language", folder + "lang/");
}
