#include "game/CGameFlow.h"
#include "GameFlowKit.h"
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
