#pragma once
#include "game/CGameFlow.h"
#include "game/CGameIni.h"
#include "game/CResManager.h"
#include "game/ProfilesManager.h"
#include "game/cMain.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

// The current profile and one entry, both "Tester", windowed.
inline const char* const TesterProfilesHex =
    "6a 6a 69 68 6e 6e 6d 6c 5f 12 13 0f 01 0f 09 01 08 44 79 48 7f 7e 7d "
    "28 16 01 05 15 05 76 75 74 0b 75 d3 "
    "d1 d6 70 4d 4c 43 42 40 41 47 47 45 44 5b 0e 3c 2b 2b 3b 2f 5c 53 52 "
    "11 6f cd cf cc 6a 2b 2a 29 28 2e 2f 2d "
    "fd 3e 22 21";

inline std::string bytesOf(const char* hex) {
    std::string bytes;
    for (const char* p = hex; *p; p += p[2] ? 3 : 2)
        bytes += char(std::stoi(std::string(p, 2), nullptr, 16));
    return bytes;
}

inline std::string options(bool fastStart, bool ambient = true, bool music = true) {
    return std::string(
               "[Graphics]\nHiColor = 1\nVSync = 1\nShowFPS = 0\nFullScr = 0\n[Other]\nLanguage = English\n"
               "SplashScrEnabled = 0\nFastStart = ") +
           (fastStart ? "1" : "0") + "\nEnableCheatKeys = 0\n[Sound]\nAmbient = " + (ambient ? "1" : "0") +
           "\nMusic = " + (music ? "1" : "0") + "\n";
}

// The flow over the engine of the tests, as the application makes it, on a game data folder.
class GameFlowTest : public testing::Test {
protected:
    void SetUp() override {
        clock.advanceNs(realNow);
        testGraphServer();
        testApp().clearHooks();
        inputServer = std::make_unique<aInputServer>();
        g_currentProfile = DEFAULT_PROFILE;
        profiles = std::make_unique<ProfilesManager>();
        profiles->setFolders(dir.path(), dir.path() + "saves/");
        std::filesystem::remove(dir.file("RVH_profiles.dat"));
    }
    void TearDown() override {
        flow.reset();
        gui.reset();
        res.reset();
        ini.reset();
        profiles.reset();
        inputServer.reset();
        testApp().clearHooks();
        g_currentProfile = DEFAULT_PROFILE;
    }

    void start(const std::string& gameIni, bool profilesFile,
               const std::string& gameData = RVH_DEMO_DATA "GameData/") {
        dir.write("Game.ini", gameIni);
        ini = std::make_unique<CGameIni>();
        ini->Load(dir.file("Game.ini"));
        cMain::SetGameAssigns(testApplication().getFileServer(), ini->GetLanguage(), gameData);
        if (profilesFile)
            dir.write("RVH_profiles.dat", bytesOf(TesterProfilesHex));
        profiles->Load();
        res = std::make_unique<CResManager>(false);
        if (file_exists("language:Text/Main.txt"))
            res->getLocaleServer()->loadFile("language:Text/Main.txt", "");
        gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
        testApplication().getFileServer().setAssign("investigations", investigations);
        flow = std::make_unique<CGameFlow>();
        flow->Init(profiles.get());
    }

    // One pass of the main loop: input, update, and the drawing, which also puts the dialogs back
    // into their shown state.
    u32 frame() {
        clock.advanceMs(10);
        inputServer->update();
        const u32 state = flow->Update(0.01f);
        aGraphServer& graph = testGraphServer();
        if (graph.beginScene()) {
            flow->Render();
            graph.endScene();
        }
        return state;
    }
    // Frames until the flow has left the loading and the GUI build.
    u32 toMenu() {
        for (int i = 0; i < 500 && flow->GetState() < CGameFlow::MAIN_MENU; ++i)
            frame();
        return flow->GetState();
    }

    GUI::Widget* menuWidget(const std::string& name) const {
        GUI::Widget* menu = gui->GetRoot()->FindChild("MainMenu", true);
        return menu ? menu->FindChild(name, true) : nullptr;
    }
    GUI::Widget* widget(const std::string& name) const { return gui->GetRoot()->FindChild(name, true); }

    // Points at the middle of the widget, then presses and releases the left button a frame apart.
    void click(GUI::Widget* target) {
        ASSERT_NE(target, nullptr);
        input.setCursor(target->GetScreenX() + target->GetArea().w / 2,
                        target->GetScreenY() + target->GetArea().h / 2);
        frame();
        input.buttonDown(0);
        frame();
        input.buttonUp(0);
        frame();
    }

    const u64 realNow = platform::counter();
    TempDir dir;
    // Where the game finds its investigations; by default a folder without any, so that the game goes
    // back to the menu at once.
    std::string investigations = dir.path() + "no_investigations/";
    FakeClock clock;
    ScriptedInput input;
    LogCapture capture;
    std::unique_ptr<aInputServer> inputServer;
    std::unique_ptr<ProfilesManager> profiles;
    std::unique_ptr<CGameIni> ini;
    std::unique_ptr<CResManager> res;
    std::unique_ptr<GUI::Server> gui;
    std::unique_ptr<CGameFlow> flow;
};
