#pragma once
#include "game/CResManager.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/ImageFiles.h"
#include "support/TempDir.h"
#include "support/game/SceneKit.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aOptionsFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// An investigation folder of rooms written from texts, registered by a rooms manager over the test
// engine's resource owner, loaded in one pass and reset; personages come from a "Personages" text.
// The investigation "Demo" lies in "Demo/" of the test's folder, which is the "investigations:"
// folder too; "language:" is its "lang/". The fixture it derives from is a test's choice, and so is the
// rooms manager (one that also makes the test's own room classes, TestRoomsManager).
template <class Fixture = testing::Test, class Rooms = CRoomsManager> class RoomKitOn : public Fixture {
protected:
    RoomKitOn() {
        if (!aFileServer::getInstance())
            files = std::make_unique<aFileServer>();
        aFileServer::getInstance()->setAssign("investigations", dir.path());
        aFileServer::getInstance()->setAssign("language", dir.path() + "lang/");
    }

    std::string data() const { return dir.path() + "Demo/"; }

    struct RoomText {
        std::string name;
        std::string objectsIni;
        std::string itemsIni;
        std::string roomIni = "[Room]\nClass = RoomBase\n";
        // The background's size; none when 0.
        u32 width = 0, height = 0;
    };

    void write(const RoomText& room) {
        const std::string folder = "Demo/" + room.name + "/";
        dir.write(folder + "room.ini", room.roomIni);
        dir.write(folder + "objects.ini", room.objectsIni);
        dir.write(folder + "items.ini", room.itemsIni);
        if (room.width) {
            std::vector<u32> pixels(room.width * room.height, 0xff808080);
            dir.write(folder + "Images/background.png",
                      imagefiles::text(imagefiles::png(room.width, room.height, pixels)));
            dir.write(folder + "Images/_images.list", "background.png 8888 8888\n");
        }
        list += room.name + "\n";
    }

    // Registers the rooms, loads their resources and, unless asked not to, resets them.
    void load(const std::vector<RoomText>& texts, bool reset = true) {
        for (const RoomText& room : texts)
            write(room);
        dir.write("Demo/_rooms.list", list);
        dir.write("_SharedRooms/_rooms.list", sharedList);
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(data(), "Demo");
        finishLoading();
        rooms.AfterLoadInitRooms(data());
        if (reset)
            rooms.ResetRooms(data());
    }

    void finishLoading() {
        kit.res->BeginLoading();
        while (!kit.res->isDone())
            kit.res->LoadStep();
    }

    // Personages of the "[Personages]" keys with their scripts, which must be written first.
    void createPersonages(const std::string& keys) {
        dir.write("Demo/_investigation.ini", "[Personages]\n" + keys);
        personages.CreatePersonages(aOptionsFile(data() + "_investigation.ini"), nullptr, &rooms);
        personages.LoadScripts(data() + "GlobalMap.AI/", "_GlobalMap");
        personages.LoadInvestigationScripts(data(), "Demo");
    }

    CRoomBase& room(const std::string& name) { return *rooms.GetRoom(name); }
    CSpyItem& item(const std::string& room, const std::string& name) { return *rooms.GetItem(room, name); }

    std::unique_ptr<aFileServer> files;
    SceneKit kit;
    // Shadows a folder of the fixture's own: the rooms' files are written here.
    TempDir dir;
    std::string list;
    // Names of rooms shared between investigations.
    std::string sharedList;
    CPersonagesManager personages;
    Rooms rooms;
};

using RoomKit = RoomKitOn<>;
