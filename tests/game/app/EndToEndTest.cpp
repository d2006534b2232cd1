#include "GameHome.h"
#include "Scenario.h"
#include "game/CGameFlow.h"
#include "game/CResManager.h"
#include "game/ProfilesManager.h"
#include "game/cMain.h"
#include "support/ScriptedInput.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Window.h"
#include "tk2v/sound/aMusicManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <regex>

namespace {

constexpr u8 DIK_E = 0x12, DIK_R = 0x13, DIK_T = 0x14, DIK_S = 0x1F, DIK_LSHIFT = 0x2A, DIK_SPACE = 0x39;

int runGame() {
    char name[] = "rvh";
    char* argv[] = {name, nullptr};
    return rvhMain(1, argv);
}

// The base volume of the music playing now (its stream's volume once any fade is over).
f32 musicVolume() {
    aMusicManager* music = CResManager::getSingleton()->getMusicManager();
    std::string group;
    const std::string name = music->getCurrent(group);
    return music->getStreamVolume(music->findTrack(name, group));
}

// The last run's log lines that look like failures are the graph server's start lines that every
// machine without those display modes logs, or one of `allowed`.
void expectOnlyTheseErrorLines(std::vector<std::string> allowed) {
    const std::regex failure("[Ee]rror|not found|Cannot|failed|already|Not Initialized");
    allowed.push_back("aGraphServer. 16 bit fullscreen mode not found");
    allowed.push_back("aGraphServer. 32 bit fullscreen mode not found");
    for (const std::string& line : GameHome::lastRunLog()) {
        if (std::regex_search(line, failure)) {
            EXPECT_NE(std::find(allowed.begin(), allowed.end(), line), allowed.end()) << line;
        }
    }
}

// The lines a first Play logs for the player's saved game, which is not there yet.
std::vector<std::string> missingSaveLines(const std::string& player) {
    const std::string save = "userprof:Saved Games/Quarrybell Works/RVH/RVH_" + player + ".save";
    return {"file_readFullAndMalloc. Error open file: " + save,
            "SaveLoadSystem: file \"" + save + "\" load failed!"};
}

// The demo as shipped, splash screens included, for the player "Tester" in a window: the splash cut
// short, the menu, Play as far as the map, save and exit, Exit.
TEST(EndToEnd, FromTheSplashScreensThroughTheMenuToExit) {
    GameHome home(GameHome::readFile(std::string(RVH_DEMO_DATA) + "Game.ini"));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    Scenario player;
    player.skipSplash();
    player.waitForState(CGameFlow::MAIN_MENU, 30);
    player.playThenSaveAndExit();

    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");

    expectOnlyTheseErrorLines(missingSaveLines("Tester"));

    ProfilesManager profiles;
    profiles.setFolders(GameHome::userDataFolder(), GameHome::userDataFolder());
    profiles.Load();
    ASSERT_EQ(profiles.getProfiles().size(), 1u);
    EXPECT_EQ(profiles.getProfiles()[0].name, "Tester");
    EXPECT_FALSE(g_currentProfile.fullScreen);
}

// Non-empty lines, as the script reader counts them.
int countLines(const std::string& text) {
    std::istringstream in(text);
    int count = 0;
    for (std::string line; std::getline(in, line);)
        count += !line.empty();
    return count;
}

// A menu script cut off: the windows it never reached are missing, the dialogs that look for them stay
// inert, and the flow still comes to the menu, where the test closes the window.
TEST(EndToEnd, ACutOffMenuScriptStillComesToTheMenu) {
    struct Case {
        std::string what;
        std::function<size_t(const std::string&)> cut;
        std::string builtWindow, missingWindow;
        bool cutInsideAnInclude;
    };
    const std::string optionsInclude = "#include \"gui:Opt";
    const Case cases[] = {
        {"in the middle of a section", [](const std::string& s) { return s.size() / 2; }, "", "MainMenu",
         false},
        {"inside the options' include line",
         [&](const std::string& s) { return s.find(optionsInclude) + optionsInclude.size(); }, "MainMenu",
         "OptionsMenu", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameHome home(gameIni(false), true);
        const std::string index = home.path() + "GameData/Language/English/GUI/index.agui";
        const std::string script = GameHome::readFile(index);
        const std::string kept = script.substr(0, c.cut(script));
        GameHome::writeFile(index, kept);
        GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());

        Scenario player;
        player.waitForState(CGameFlow::MAIN_MENU, 30);
        player.add("what was built", 1, [&c] {
            const GUI::Widget* root = GUI::Server::getSingleton()->GetRoot();
            return (c.builtWindow.empty() || root->FindChild(c.builtWindow, true)) &&
                   !root->FindChild(c.missingWindow, true);
        });
        player.add("close the window", 1, [] {
            aApplication::getInstance()->getWindow()->dispatch({platform::WM_CLOSE, 0, 0});
            return true;
        });
        EXPECT_EQ(runGame(), 0);
        EXPECT_EQ(player.failure(), "");
        const std::vector<std::string> log = GameHome::lastRunLog();
        const auto logged = [&log](const std::string& line) {
            return std::find(log.begin(), log.end(), line) != log.end();
        };
        EXPECT_TRUE(logged("CDialogBase::Create(). Cannot find window: " + c.missingWindow));
        const std::string scriptError =
            "Error in script \"gui:index.agui\", line " + std::to_string(countLines(kept));
        EXPECT_EQ(logged(scriptError), c.cutInsideAnInclude) << scriptError;
        EXPECT_EQ(GameHome::readFile(GameHome::profilesFile()), testerProfilesFile());
    }
}

// The first start: no profiles file, full screen. The player is asked for a name, types one with
// spaces around it, turns full screen off in the options, tries the music slider and thinks better of
// it, watches the credits to their end, looks at the help, plays, and leaves. The next start in the
// same home goes to the menu at once, in the window.
TEST(EndToEnd, AFirstStartCreatesThePlayerAndTheNextStartGoesStraightToTheMenuInTheWindow) {
    GameHome home(GameHome::readFile(std::string(RVH_DEMO_DATA) + "Game.ini"));
    Scenario player;
    player.skipSplash();
    player.waitForState(CGameFlow::PROFILES, 30);
    player.type({DIK_SPACE, DIK_SPACE});
    player.add("shift down", 1, [&player] { return player.keyDown(DIK_LSHIFT), true; });
    player.type({DIK_T});
    player.add("shift up", 1, [&player] { return player.keyUp(DIK_LSHIFT), true; });
    player.type({DIK_E, DIK_S, DIK_T, DIK_E, DIK_R, DIK_SPACE, DIK_RETURN});
    player.waitForState(CGameFlow::MAIN_MENU, 2);
    player.add("the player's name", 1, [] {
        GUI::Widget* name = Scenario::find("MainMenu", "UserName");
        return name && name->GetText() == L"Tester";
    });

    player.clickOn("MainMenu", "Options");
    player.waitForState(CGameFlow::OPTIONS, 2);
    player.clickOn("OptionsMenu", "fullscreen");
    player.clickOn("OptionsMenu", "btn_apply");
    player.waitForState(CGameFlow::MAIN_MENU, 2);
    player.add("windowed", 1, [] { return !aApplication::getInstance()->getGraphServer()->isFullscreen(); });

    player.clickOn("MainMenu", "Options");
    player.waitForState(CGameFlow::OPTIONS, 2);
    player.add("the music at the new player's volume", 2, [] { return musicVolume() == 0.5f; });
    player.dragBy("OptionsMenu", "music_vol_auto_thumb", -60);
    player.add("the music follows the slider", 1, [] { return musicVolume() < 0.4f; });
    player.clickOn("OptionsMenu", "btn_cancel");
    player.waitForState(CGameFlow::MAIN_MENU, 2);
    player.add("the music back at its volume", 1, [] { return musicVolume() == 0.5f; });

    // No input while the credits roll: they end by themselves, after the time their lines take.
    Scenario::Clock::time_point creditsStart, creditsEnd;
    player.clickOn("MainMenu", "Credits");
    player.add("credits rolling", 2, [&creditsStart] {
        creditsStart = Scenario::Clock::now();
        return Scenario::flowState() == CGameFlow::CREDITS;
    });
    player.add("credits over", 30, [&creditsEnd] {
        creditsEnd = Scenario::Clock::now();
        return Scenario::flowState() == CGameFlow::MAIN_MENU;
    });

    player.clickOn("MainMenu", "Help");
    player.waitForState(CGameFlow::HELP, 2);
    player.clickHere();
    player.waitForState(CGameFlow::MAIN_MENU, 2);

    player.playThenSaveAndExit();

    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");
    // The credits' lines climb 690 pixels at 200 a second; a frame's step is at most 0.04 s.
    EXPECT_GE(std::chrono::duration<double>(creditsEnd - creditsStart).count(), 3.0);

    // Besides the graph server's start lines, only the missing profiles file of a first start.
    const std::string profilesName = "userappdata:Quarrybell Works/RVH/RVH_profiles.dat";
    std::vector<std::string> allowed = missingSaveLines("Tester");
    allowed.push_back("file_readFullAndMalloc. Error open file: " + profilesName);
    allowed.push_back("SaveLoadSystem: file \"" + profilesName + "\" load failed!");
    expectOnlyTheseErrorLines(allowed);

    g_currentProfile = DEFAULT_PROFILE;
    ProfilesManager profiles;
    profiles.setFolders(GameHome::userDataFolder(), GameHome::userDataFolder());
    profiles.Load();
    ASSERT_EQ(profiles.getProfiles().size(), 1u);
    EXPECT_EQ(profiles.getProfiles()[0].name, "Tester");
    EXPECT_EQ(profiles.getProfiles()[0].musicVolume, 0.5f);
    EXPECT_FALSE(profiles.getProfiles()[0].fullScreen);
    EXPECT_EQ(g_currentProfile.name, "Tester");

    Scenario again;
    again.skipSplash();
    again.waitForState(CGameFlow::MAIN_MENU, 30);
    again.add("windowed", 1, [] { return !aApplication::getInstance()->getGraphServer()->isFullscreen(); });
    again.clickOn("MainMenu", "Exit");
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(again.failure(), "");
    expectOnlyTheseErrorLines({});
}

} // namespace
