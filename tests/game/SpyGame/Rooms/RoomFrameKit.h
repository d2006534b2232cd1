#pragma once
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/PanelKit.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/PulledAudioOutput.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A room base whose mouse modes and pick effects a test may reach, and which keeps the texts it shows.
struct PlayProbe : CRoomBase {
    using CRoomBase::m_bSharedMouseInside;
    using CRoomBase::m_bSharedMouseOutside;
    using CRoomBase::m_PickEffects;
    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        CRoomBase::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

// The investigation "Demo" with the room "Hall" (a 400 x 300 background at the screen's corner) played
// by Ann under the game panel, a message box and the global sounds of play, on an output nobody pulls
// (a started sound plays until it is stopped). The evidence box and the cards room are registered
// rooms; the hall is a probe of the test's own, linked to the same rooms manager.
class RoomFrameTest : public PanelScriptTest {
public:
    static constexpr f32 DT = 0.05f;

    RoomFrameTest() {
        EXPECT_TRUE(platform::AudioSystem::shared().init(44100, 64, std::make_unique<PulledAudioOutput>()));
        for (const char* name : {"object_click_good", "object_click_bad", "pick_quest_item", "found_clue",
                                 "found_inv_card", "pick_item_on_cursor"}) {
            writeWav(std::string(name) + ".wav");
            res->getSoundManager()->loadResource(dir.path(), std::string(name) + ".wav 1.0", "");
        }
        if (!aFileServer::getInstance())
            files = std::make_unique<aFileServer>();
        aFileServer::getInstance()->setAssign("investigations", dir.path());
        aFileServer::getInstance()->setAssign("language", dir.path() + "lang/");
        load(fonts() + panelScript() + widget("window", "Message", "0 0 400 50", {"Visible 0"}) +
             widget("window", "Hint", "0 0 150 40", {"Visible 0"}, {text("text", "5 5 140 16")}));
        panel.Create();
        panel.GetMessage().Create();
        panel.GetHint().Create();
    }
    ~RoomFrameTest() override {
        hall.reset();
        rooms.Clear();
        platform::AudioSystem::shared().close();
    }

    std::string data() const { return dir.path() + "Demo/"; }

    // Pictures of 20 x 20 at the given corners.
    struct Spot {
        const char* name;
        int x, y;
    };
    static std::string objects(const std::vector<Spot>& spots) {
        std::string text;
        for (const Spot& spot : spots)
            text += std::string("[") + spot.name +
                    "]\nClass = image\nImage = dot\nX = " + std::to_string(spot.x) +
                    "\nY = " + std::to_string(spot.y) + "\n";
        return text;
    }
    void writeRoom(const std::string& name, const std::string& roomIni, const std::string& objectsIni,
                   const std::string& itemsIni, u32 width = 0, u32 height = 0) {
        const std::string folder = "Demo/" + name + "/";
        dir.write(folder + "room.ini", "[Room]\n" + roomIni);
        dir.write(folder + "objects.ini", objectsIni);
        dir.write(folder + "items.ini", itemsIni);
        auto png = [&](const std::string& file, u32 w, u32 h, u32 argb) {
            dir.write(folder + "Images/" + file,
                      imagefiles::text(imagefiles::png(w, h, std::vector<u32>(w * h, argb))));
        };
        png("dot.png", 20, 20, 0xffffffff);
        std::string list = "dot.png 8888 8888\n";
        if (width) {
            png("background.png", width, height, 0xff404040);
            list += "background.png 8888 8888\n";
        }
        dir.write(folder + "Images/_images.list", list);
    }

    // The hall's items and Ann's script for it, then the whole investigation loaded, reset and the hall
    // entered.
    void play(const std::string& objectsIni, const std::string& itemsIni, const std::string& annScript,
              const std::string& extraRooms = "") {
        writeRoom("Hall", "Class = RoomBase\n", objectsIni, itemsIni, 400, 300);
        dir.write("Demo/Hall/Ann.ai", annScript);
        dir.write("Demo/_rooms.list", "Hall\n" + extraRooms);
        dir.write("_SharedRooms/_rooms.list", "");
        dir.write("Demo/_investigation.ini", "[Personages]\nPersonagesList = Ann\nStartPersonages = Ann\n");
        rooms.LoadSharedRoomsList(&personages, &panel);
        rooms.Init(data(), "Demo");
        hall = std::make_unique<PlayProbe>();
        hall->Init(&rooms, &personages, &panel);
        hall->LoadResources(data() + "Hall/", "Hall", aOptionsFile(data() + "Hall/room.ini"),
                            "language:Investigations/Demo/Hall/");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms(data());
        hall->AfterLoadInit();
        personages.CreatePersonages(aOptionsFile(data() + "_investigation.ini"), nullptr, &rooms);
        personages.LoadInvestigationScripts(data(), "Demo");
        rooms.ResetRooms(data());
        hall->Reset();
        personages.ResetForNewGame(false);
        ann = personages.GetPersonage("Ann");
        hall->Enter("Demo", nullptr);
        quiet();
    }

    // One frame of input and of the hall with the pointer at (x, y); the left button goes down when
    // asked and up again in the next frame.
    u32 frame(i32 x, i32 y, bool press = false, bool paused = false, f32 dt = DT) {
        input.setCursor(x, y);
        if (m_down)
            input.buttonUp(0);
        if (press)
            input.buttonDown(0);
        m_down = press;
        clock.advanceMs(u64(dt * 1000 + 0.5f));
        inputServer->update();
        if (beforeRoom)
            beforeRoom();
        return (playing ? playing : hall.get())->FrameMove(dt, paused);
    }
    u32 clickAt(i32 x, i32 y) { return frame(x, y, true); }

    // The global sounds started since the last look, in a fixed order; all are stopped.
    std::vector<std::string> played() {
        std::vector<std::string> names;
        for (const char* name : {"object_click_good", "object_click_bad", "pick_quest_item", "found_clue",
                                 "found_inv_card", "pick_item_on_cursor"}) {
            aSound* sound = res->getSoundManager()->getSound(name);
            if (sound->isPlaying())
                names.push_back(name);
            sound->stop();
        }
        return names;
    }
    void quiet() { played(); }

    CSpyItem& item(const std::string& name) { return *hall->GetItem(name); }

    std::unique_ptr<aFileServer> files;
    CDialogSpyGamePanel panel;
    CPersonagesManager personages;
    CRoomsManager rooms;
    std::unique_ptr<PlayProbe> hall;
    CPersonage* ann = nullptr;
    // The room the frames drive; the hall when null.
    CRoomBase* playing = nullptr;
    // What the investigation updates before the room, each frame.
    std::function<void()> beforeRoom;

private:
    bool m_down = false;
};
