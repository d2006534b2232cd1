#include "game/CGameFlow.h"
#include "game/CDialogMainMenu.h"
#include "game/CGameIni.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/ProfilesManager.h"
#include "game/cMain.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The current profile and one entry, both "Tester", windowed.
const char* const TesterProfilesHex = "6a 6a 69 68 6e 6e 6d 6c 5f 12 13 0f 01 0f 09 01 08 44 79 48 7f 7e 7d "
                                      "28 16 01 05 15 05 76 75 74 0b 75 d3 "
                                      "d1 d6 70 4d 4c 43 42 40 41 47 47 45 44 5b 0e 3c 2b 2b 3b 2f 5c 53 52 "
                                      "11 6f cd cf cc 6a 2b 2a 29 28 2e 2f 2d "
                                      "fd 3e 22 21";

std::string bytesOf(const char* hex) {
    std::string bytes;
    for (const char* p = hex; *p; p += p[2] ? 3 : 2)
        bytes += char(std::stoi(std::string(p, 2), nullptr, 16));
    return bytes;
}

std::string options(bool fastStart, bool ambient = true, bool music = true) {
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
        // The flow is tested without an investigation to play: the game goes back to the menu.
        testApplication().getFileServer().setAssign("investigations", dir.path() + "no_investigations/");
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
    FakeClock clock;
    ScriptedInput input;
    TempDir dir;
    LogCapture capture;
    std::unique_ptr<aInputServer> inputServer;
    std::unique_ptr<ProfilesManager> profiles;
    std::unique_ptr<CGameIni> ini;
    std::unique_ptr<CResManager> res;
    std::unique_ptr<GUI::Server> gui;
    std::unique_ptr<CGameFlow> flow;
};

// A game data folder whose every list names one file of its own, and a bare loading screen.
class QueueData {
public:
    explicit QueueData(const TempDir& dir) : root(dir.path() + "data/") {
        write("Language/English/GUI/LoadingScreen.agui", "window LoadingScreen\n{\n}\n");
        const std::pair<const char*, const char*> lists[] = {
            {"Images/Particles/_images.list", "particles.png 8888 8888"},
            {"Images/Personages/_images.list", "personages.png 8888 8888"},
            {"Images/_images.list", "images.png 8888 8888"},
            {"Language/English/Images/_images.list", "language.png 8888 8888"},
            {"Images/GamePanel/_images.list", "panel.png 8888 8888"},
            {"Language/English/Images/GamePanel/_images.list", "language_panel.png 8888 8888"},
            {"Images/Menu/_images.list", "menu.png 8888 8888"},
            {"Language/English/Images/Menu/_images.list", "language_menu.png 8888 8888"},
            {"Particles/_particles.list", "Fog"},
            {"Sounds/_sounds.list", "sounds.wav 1.0"},
            {"Sounds/Ambient/_sounds.list", "ambient.wav 1.0"},
            {"Music/playlist.txt", "music.wav"},
        };
        for (const auto& [list, line] : lists)
            write(list, std::string(line) + "\n");
    }
    const std::string root;

private:
    void write(const std::string& name, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(root + name).parent_path());
        std::ofstream(root + name, std::ios::binary) << text;
    }
};

using Queue = std::vector<std::pair<std::string, std::string>>;

Queue queueOf(const aBaseManager& manager) {
    Queue queue;
    for (const aBaseManager::LoadTask& task : manager.getTasks())
        queue.emplace_back(file_getName(task.fullPath), task.group);
    return queue;
}

TEST_F(GameFlowTest, SplashOffShowsTheLoadingScreenThenQueuesTheListsInTheirOrderAndGroups) {
    struct Case {
        bool ambient, music;
        Queue sounds, tracks;
    };
    const Case cases[] = {
        {true, true, {{"sounds.wav", ""}, {"ambient.wav", "Ambient"}}, {{"music.wav", ""}}},
        {false, false, {{"sounds.wav", ""}}, {}},
    };
    const Queue images = {
        {"particles.png", "Particles"}, {"personages.png", "Personages"}, {"images.png", ""},
        {"language.png", ""},           {"panel.png", "GamePanel"},       {"language_panel.png", "GamePanel"},
        {"menu.png", "Menu"},           {"language_menu.png", "Menu"}};
    const QueueData data(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.music);
        TearDown();
        SetUp();
        start(options(false, c.ambient, c.music), true, data.root);
        EXPECT_EQ(flow->GetState(), CGameFlow::SPLASH_OFF);
        EXPECT_EQ(flow->GetLoader().GetState(), CResLoader::HIDDEN);
        EXPECT_EQ(frame(), CGameFlow::QUEUE_LISTS);
        EXPECT_EQ(flow->GetLoader().GetState(), CResLoader::SHOWN);
        EXPECT_EQ(frame(), CGameFlow::LOADING);
        EXPECT_EQ(flow->GetLoader().GetState(), CResLoader::LOADING);
        EXPECT_EQ(flow->GetGame().GetState(), CSpyMain::COMMON_DATA_QUEUED);
        EXPECT_EQ(queueOf(*res->getImageManager()), images);
        EXPECT_EQ(queueOf(*res->getSoundManager()), c.sounds);
        EXPECT_EQ(queueOf(*res->getMusicManager()), c.tracks);
        ASSERT_EQ(res->getParticleManager()->getTasks().size(), 1u);
    }
}

TEST_F(GameFlowTest, FirstReturnToTheMenuDependsOnTheProfilesFileAndFastStartOnlyOnce) {
    struct Case {
        bool fastStart, profilesFile;
        u32 first;
    };
    const Case cases[] = {
        {true, true, CGameFlow::GAME},
        {false, true, CGameFlow::MAIN_MENU},
        {true, false, CGameFlow::PROFILES},
        {false, false, CGameFlow::PROFILES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fastStart) + " " + std::to_string(c.profilesFile));
        TearDown();
        SetUp();
        start(options(c.fastStart), c.profilesFile);
        EXPECT_EQ(toMenu(), c.first);
        if (c.first == CGameFlow::PROFILES) {
            EXPECT_EQ(profiles->getDialogState(), 1) << "the create page";
            EXPECT_FALSE(menuWidget("Welcome")->IsVisible(true));
            continue;
        }
        if (c.first == CGameFlow::MAIN_MENU) {
            EXPECT_EQ(menuWidget("UserName")->GetText(), L"Tester");
            click(menuWidget("Play"));
            EXPECT_EQ(flow->GetState(), CGameFlow::GAME);
        }
        // No investigation is listed: the game asks for the menu at once.
        EXPECT_EQ(flow->GetGame().GetState(), CSpyMain::BACK_TO_MENU);
        EXPECT_EQ(frame(), CGameFlow::MAIN_MENU) << "a later return stops at the menu";
        EXPECT_TRUE(menuWidget("Play")->IsVisible());
    }
    EXPECT_TRUE(capture.contains("CSpyMain::ContinuePlay(). Investigation list is empty!"));
}

TEST_F(GameFlowTest, HelpLeavesOnRelease) {
    start(options(false), true);
    ASSERT_EQ(toMenu(), CGameFlow::MAIN_MENU);
    click(menuWidget("Help"));
    EXPECT_EQ(flow->GetState(), CGameFlow::HELP);
    input.buttonDown(0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(frame(), CGameFlow::HELP) << "held";
    input.buttonUp(0);
    EXPECT_EQ(frame(), CGameFlow::MAIN_MENU);
}

TEST_F(GameFlowTest, CreditsRollBehindAVeilUntilAClickAndExitQuits) {
    start(options(false), true);
    ASSERT_EQ(toMenu(), CGameFlow::MAIN_MENU);
    click(menuWidget("Credits"));
    EXPECT_EQ(flow->GetState(), CGameFlow::CREDITS);
    EXPECT_FALSE(menuWidget("Play")->IsVisible());
    EXPECT_TRUE(menuWidget("UserName")->IsVisible());

    aGraphServer& graph = testGraphServer();
    const aRect viewport = graph.getViewport();
    ASSERT_TRUE(graph.beginScene());
    flow->Render();
    graph.endScene();
    EXPECT_EQ(res->getGDI().color, 0x80000000u);
    EXPECT_EQ(graph.getViewport(), viewport) << "the credits' viewport is undone";

    EXPECT_EQ(frame(), CGameFlow::CREDITS);
    input.click(0);
    EXPECT_EQ(frame(), CGameFlow::CREDITS) << "pressed";
    EXPECT_EQ(frame(), CGameFlow::MAIN_MENU) << "released";
    EXPECT_TRUE(menuWidget("Play")->IsVisible());

    click(menuWidget("Exit"));
    EXPECT_EQ(flow->GetState(), CGameFlow::QUIT);
}

TEST_F(GameFlowTest, OptionsOpenOverTheMenuAndCloseOnCancel) {
    start(options(false), true);
    ASSERT_EQ(toMenu(), CGameFlow::MAIN_MENU);
    click(menuWidget("Options"));
    EXPECT_EQ(frame(), CGameFlow::OPTIONS);
    EXPECT_TRUE(flow->GetMenuScreen().GetOptions().IsVisible());
    click(widget("OptionsMenu")->FindChild("btn_cancel", true));
    EXPECT_EQ(flow->GetState(), CGameFlow::MAIN_MENU);
    EXPECT_FALSE(flow->GetMenuScreen().GetOptions().IsVisible());
}

TEST_F(GameFlowTest, TheMenuMusicStartsOnceItsTrackIsKnownWhileLoading) {
    start(options(false, false, false), true);
    while (flow->GetState() < CGameFlow::LOADING)
        frame();
    std::string group;
    frame();
    EXPECT_EQ(res->getMusicManager()->getCurrent(group), "") << "no playlist: no track yet";
    ASSERT_EQ(flow->GetState(), CGameFlow::LOADING);
    ASSERT_TRUE(res->getMusicManager()->addTrack(aFileServer::resolve("music:menu_theme.wav"), ""));
    frame();
    EXPECT_EQ(res->getMusicManager()->getCurrent(group), "menu_theme");
}

} // namespace
