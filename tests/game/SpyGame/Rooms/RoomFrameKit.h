#pragma once
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/PanelKit.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/PulledAudioOutput.h"
#include "support/game/SoundLog.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
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
// rooms; the hall is a probe of the test's own, linked to the same rooms manager. The rooms manager is
// the test's choice: one that also makes the test's own room classes (TestRoomsManager) lets a test
// play such a room beside the hall.
template <class Rooms = CRoomsManager> class RoomFrameTestOn : public PanelScriptTest {
public:
    static constexpr f32 DT = 0.05f;

    // Input of one frame besides the pointer. Buttons (0 left, 1 right) and keys of `down` and
    // `keysDown` go down before the frame and stay down until a frame names them in `up` or `keysUp`;
    // `taps` go down and up between two polls, so they read as pressed for this frame only (and as
    // held, not pressed again, when the next frame taps them too).
    struct Input {
        std::vector<u32> down{}, up{};
        std::vector<u8> keysDown{}, keysUp{}, taps{};
        f32 dt = DT;
        bool paused = false;
    };

    RoomFrameTestOn() {
        EXPECT_TRUE(platform::AudioSystem::shared().init(44100, 64, std::make_unique<PulledAudioOutput>()));
        for (const char* name : {"object_click_good", "object_click_bad", "pick_quest_item", "found_clue",
                                 "found_inv_card", "pick_item_on_cursor"})
            addSound(name);
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
    ~RoomFrameTestOn() override {
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
        dir.write("Demo/Hall/" + personageName + ".ai", annScript);
        dir.write("Demo/_rooms.list", "Hall\n" + extraRooms);
        dir.write("_SharedRooms/_rooms.list", "");
        dir.write("Demo/_investigation.ini", "[Personages]\nPersonagesList = " + personageName +
                                                 "\nStartPersonages = " + personageName + "\n");
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
        ann = personages.GetPersonage(personageName);
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
        return step(dt, paused);
    }
    u32 clickAt(i32 x, i32 y) { return frame(x, y, true); }
    // One frame with the pointer at (x, y) and the input given.
    u32 frame(i32 x, i32 y, const Input& in) {
        input.setCursor(x, y);
        if (std::exchange(m_down, false))
            input.buttonUp(0);
        for (u32 button : in.up)
            input.buttonUp(button);
        for (u32 button : in.down)
            input.buttonDown(button);
        for (u8 key : in.keysUp)
            input.keyUp(key);
        for (u8 key : in.keysDown)
            input.keyDown(key);
        for (u8 key : in.taps)
            input.tapKey(key);
        return step(in.dt, in.paused);
    }

    // A one-second WAV loaded as a global sound of that name, and listened to.
    void addSound(const std::string& name) {
        writeWav(name + ".wav");
        res->getSoundManager()->loadResource(dir.path(), name + ".wav 1.0", "");
        listen(name);
    }
    // Adds a loaded sound (of the room's group, or the global one) to those `played` and `started` see.
    void listen(const std::string& name, const std::string& group = "") { sounds.watch(name, group); }
    // The sounds listened to that play now, in the order they were added; all are stopped.
    std::vector<std::string> played() { return sounds.stopPlaying(); }
    // The sounds listened to that started since the last call, frame by frame, in order.
    std::vector<std::string> started() { return sounds.started(); }
    void quiet() { played(); }

    CSpyItem& item(const std::string& name) { return *hall->GetItem(name); }

    std::unique_ptr<aFileServer> files;
    CDialogSpyGamePanel panel;
    CPersonagesManager personages;
    Rooms rooms;
    std::unique_ptr<PlayProbe> hall;
    // Who plays: Ann unless a test names another before `play`.
    std::string personageName = "Ann";
    CPersonage* ann = nullptr;
    // The room the frames drive; the hall when null.
    CRoomBase* playing = nullptr;
    // What the investigation updates before the room, each frame.
    std::function<void()> beforeRoom;
    SoundLog sounds{res->getSoundManager()};

private:
    u32 step(f32 dt, bool paused) {
        clock.advanceMs(u64(dt * 1000 + 0.5f));
        inputServer->update();
        if (beforeRoom)
            beforeRoom();
        const u32 state = (playing ? playing : hall.get())->FrameMove(dt, paused);
        sounds.look();
        return state;
    }

    bool m_down = false;
};

using RoomFrameTest = RoomFrameTestOn<>;
