#include "CaseRuns.h"
#include "GameHome.h"
#include "RunnerProcess.h"
#include "Scenario.h"
#include "game/CGameFlow.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/ProfilesManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "game/SpyGame/Events/EInvestigationWin.h"
#include "game/cMain.h"
#include "support/ScriptedInput.h"
#include "support/game/CaseStartSave.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aLocaleServer.h"
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
#include <filesystem>
#include <functional>
#include <regex>
#include <sys/wait.h>

namespace {

constexpr u8 DIK_T = 0x14, DIK_LSHIFT = 0x2A;

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
    player.type("  ");
    player.add("shift down", 1, [&player] { return player.keyDown(DIK_LSHIFT), true; });
    player.type(std::vector<u8>{DIK_T});
    player.add("shift up", 1, [&player] { return player.keyUp(DIK_LSHIFT), true; });
    player.type("ester \n");
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

namespace {

using namespace play;

// The demo case, step by step as a player takes it.
class DemoPlayer : public CasePlayer {
public:
    // Play with no case under way: a new game, on the map.
    void startTheCase() {
        clickOn("MainMenu", "Play");
        waitForInvestigation(CInvestigation::OnMap, 120);
        check("a new game on the map", [] {
            EXPECT_EQ(game().GetStartMode(), CSpyMain::NEW_GAME);
            EXPECT_FALSE(item("_GlobalMap", "HALL")->IsLocked());
            EXPECT_FALSE(personage().IsRoomTaskListDone("room_Hall"));
        });
    }

    // The hall's tip and first message, then the clue that waits for that message, then the
    // hidden objects.
    void searchTheHall() {
        clickItem("_GlobalMap", "HALL");
        waitForInvestigation(CInvestigation::Tip, 10);
        check("the notepad's tip", [] {
            EXPECT_EQ(currentRoom(), "room_Hall");
            EXPECT_TRUE(game().GetPanel().GetTipManager().IsTipShown());
            EXPECT_EQ(game().GetPanel().GetTipManager().FindTip("room_task")->timesLeft, 0u);
        });
        clickOn("ToolTip", "close");
        waitForInvestigation(CInvestigation::Playing, 5);
        add("the hall's first message", 10, [] { return messageShows("HALL_FIRST_ENTER", "room_Hall"); });
        check("the clue waits for it", [] { EXPECT_FALSE(eventDone("HallClue")); });
        closeMessage("HALL_FIRST_ENTER", "room_Hall");
        closeMessage("HALL_CLUE", "Demo");
        check("the clue shown", [] { EXPECT_TRUE(eventDone("HallClue")); });
        for (const char* found : {"CUP1", "CUP2", "CUP3", "HAT"}) {
            clickItem("room_Hall", found);
            add(std::string("picked ") + found, 5,
                [found] { return !item("room_Hall", found)->IsVisible(); });
        }
        add("the hall's list done", 60, [] { return personage().IsRoomTaskListDone("room_Hall"); });
        check("the hall stays open while the desk is not searched", [] {
            EXPECT_FALSE(eventDone("HallDone"));
            EXPECT_EQ(investigation().GetState(), CInvestigation::Playing);
        });
    }

    // The desk close-up and its key, and the entry message closed.
    void takeTheKey() {
        clickItem("room_Hall", "DESK");
        add("the desk close-up", 10,
            [] { return currentRoom() == "zoom_Desk" && messageShows("DESK_ENTER", "zoom_Desk"); });
        clickItem("zoom_Desk", "KEY");
        waitForInvestigation(CInvestigation::ItemPick, 60);
        clickOn("PickItem", "Continue");
        add("the key in the strip", 5,
            [] { return investigation().GetState() == CInvestigation::Playing && holds("KEY"); });
        closeMessage("DESK_ENTER", "zoom_Desk");
    }

    // The in-game menu: the help, held down and then let go; the options, cancelled; resume.
    void lookThroughTheMenu() {
        clickOn("SpyGameInterface", "Menu");
        waitForGame(CSpyMain::IN_GAME_MENU, 5);
        clickOn("InGameMenu", "help");
        waitForGame(CSpyMain::HELP, 5);
        add("press on the help", 1, [this] { return buttonDown(0), true; });
        add("held on the help", 30, [frames = 0]() mutable {
            EXPECT_EQ(game().GetState(), CSpyMain::HELP);
            return ++frames == 5;
        });
        add("let go of the help", 1, [this] { return buttonUp(0), true; });
        add("the help closed on the release", 30, [frames = 0]() mutable {
            EXPECT_LE(++frames, 3);
            return game().GetState() == CSpyMain::IN_GAME_MENU;
        });
        clickOn("InGameMenu", "options");
        waitForGame(CSpyMain::OPTIONS, 5);
        clickOn("OptionsMenu", "btn_cancel");
        waitForGame(CSpyMain::IN_GAME_MENU, 5);
        clickOn("InGameMenu", "resume");
        waitForInvestigation(CInvestigation::Playing, 5);
    }

    // Play after a save and exit: the close-up as it was left, the save written again at once.
    void continueTheCase(bool loadsAgain, std::vector<std::string>& resaves) {
        add("save again once loaded", 1, [&resaves] {
            game().SetAfterContinueLoad([&resaves] {
                game().SaveGame();
                resaves.push_back(GameHome::readFile(saveFile()));
            });
            return true;
        });
        clickOn("MainMenu", "Play");
        add("continued", 120, [loadsAgain, loaded = false]() mutable {
            const u32 state = game().GetState();
            loaded = loaded || state == CSpyMain::LOADING_INVESTIGATION || state == CSpyMain::LOADING_STEPS;
            if (state != CSpyMain::PLAYING)
                return false;
            EXPECT_EQ(loaded, loadsAgain);
            return true;
        });
        check("where the player left", [] {
            EXPECT_EQ(game().GetStartMode(), CSpyMain::CONTINUED);
            EXPECT_EQ(investigation().GetState(), CInvestigation::Playing);
            EXPECT_EQ(currentRoom(), "zoom_Desk");
            ASSERT_EQ(investigation().GetHistory().size(), 1u);
            EXPECT_EQ(investigation().GetHistory()[0]->GetName(), "room_Hall");
            EXPECT_TRUE(holds("KEY"));
            EXPECT_TRUE(personage().IsRoomTaskListDone("room_Hall"));
        });
    }

    // Back to the hall, which is done now: its dialog, then the map without it.
    void finishTheHall() {
        clickOn("SpyGameInterface", "Back");
        waitForInvestigation(CInvestigation::LocationFinish, 10);
        check("in the hall", [] { EXPECT_EQ(currentRoom(), "room_Hall"); });
        clickOn("LocFinish", "Ok");
        waitForInvestigation(CInvestigation::OnMap, 5);
        check("the hall closed on the map", [] {
            EXPECT_TRUE(item("_GlobalMap", "HALL")->IsDisabled());
            EXPECT_FALSE(item("_GlobalMap", "STUDY")->IsLocked());
        });
    }

    // The study's comic scene, its safe opened with the key, the evidence and the card taken.
    void searchTheStudy() {
        clickItem("_GlobalMap", "STUDY");
        waitForInvestigation(CInvestigation::Comics, 10);
        for (const char* button : {"next", "finish"}) {
            add(std::string("the page with ") + button, 60, [button] {
                const GUI::Widget* picture = find("Comics", "picture");
                const GUI::Widget* step = find("Comics", button);
                return picture && step && step->IsVisible() && picture->GetAlpha(true) == 1.0f;
            });
            clickOn("Comics", button);
        }
        waitForInvestigation(CInvestigation::Playing, 10);
        check("in the study", [] { EXPECT_EQ(currentRoom(), "room_Study"); });
        clickInventoryItem("KEY");
        add("the key in hand", 5, [] {
            const CSpyItem* held = investigation().GetCurrentRoomPtr()->GetItemOnCursor();
            return held && held->GetName() == "KEY";
        });
        clickItem("room_Study", "SAFE");
        clickItem("room_Study", "FINGERPRINT", 10);
        waitForInvestigation(CInvestigation::EvidencePick, 60);
        clickOn("PickEvidence", "Continue");
        add("the print in the box", 5, [] { return item("Evidence_box", "FINGERPRINT")->IsVisible(); });
        clickItem("room_Study", "LETTER", 10);
        waitForInvestigation(CInvestigation::InvCard, 60);
        clickOn("InvCard", "Continue");
        waitForInvestigation(CInvestigation::Playing, 5);
        check("the study's list done, the case not yet", [] {
            EXPECT_TRUE(personage().IsRoomTaskListDone("room_Study"));
            EXPECT_FALSE(eventDone("CaseSolved"));
        });
    }

    // The print looked at in the evidence box: the case is solved, but not in the box.
    void lookAtTheEvidence() {
        clickOn("SpyGameInterface", "Evidences");
        waitForInvestigation(CInvestigation::EvidenceBox, 5);
        clickItem("Evidence_box", "FINGERPRINT");
        add("the print compared", 10, [] { return messageShows("FINGERPRINT_MATCH", "Evidence_box"); });
        add("nothing runs in the box", 30, [frames = 0]() mutable {
            CSpyEventBase* solved = investigation().GetEventsManager().FindEvent("CaseSolved");
            EXPECT_TRUE(solved->CanStart());
            EXPECT_FALSE(solved->IsDone());
            EXPECT_EQ(investigation().GetState(), CInvestigation::EvidenceBox);
            return ++frames == 10;
        });
    }

    // Back in the study the case ends with its effect, and the lab follows on the map.
    void closeTheCase() {
        clickOn("SpyGameInterface", "Back");
        waitForInvestigation(CInvestigation::Completion, 10);
        check("the end in the study", [] {
            EXPECT_EQ(currentRoom(), "room_Study");
            const auto* win = dynamic_cast<const SpyEvents::EInvestigationWin*>(
                investigation().GetEventsManager().FindEvent("CaseSolved"));
            ASSERT_NE(win, nullptr);
            EXPECT_FALSE(win->IsEndGame()) << "the story goes on";
        });
        checkTheCaseFollowed(*this, labCase());
        enterTheHub(*this, labCase(), CaseStart::Following);
    }
};

// The demo case from a new game to its close, with a save and exit at the desk continued twice: in
// the same run, without loading, and in the next run, from the file. Each continue saves again at
// once, and both of those saves are the first one byte for byte. The next run plays on to the end
// of the case, where the lab follows, and leaves the lab's hub by saving.
TEST(EndToEnd, TheDemoCasePlaysFromANewGameThroughASavedGameToTheLabThatFollows) {
    GameHome home(gameIni(false));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    std::string firstSave;
    std::vector<std::string> resaves;

    DemoPlayer first;
    first.waitForState(CGameFlow::MAIN_MENU, 60);
    first.startTheCase();
    first.searchTheHall();
    first.takeTheKey();
    first.lookThroughTheMenu();
    first.saveAndExit();
    first.add("copy the save aside", 1,
              [&firstSave] { return firstSave = GameHome::readFile(saveFile()), true; });
    first.continueTheCase(false, resaves);
    // Closing the window saves nothing: the next run finds the save just written again.
    first.add("close the window", 1, [] {
        aApplication::getInstance()->getWindow()->dispatch({platform::WM_CLOSE, 0, 0});
        return true;
    });
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(first.failure(), "");
    expectOnlyTheseErrorLines(missingSaveLines("Tester"));

    // A process of its own, which shares nothing with this one but the files.
    RunnerProcess fresh(home.path(), GameHome::dataHome(), {"continue-and-save-again"});
    const int status = fresh.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    resaves.push_back(GameHome::readFile(GameHome::savesFolder() + "RVH_Tester.save"));

    DemoPlayer next;
    next.waitForState(CGameFlow::MAIN_MENU, 60);
    next.continueTheCase(true, resaves);
    next.finishTheHall();
    next.searchTheStudy();
    next.lookAtTheEvidence();
    next.closeTheCase();
    next.saveAndExit();
    next.clickOn("MainMenu", "Exit");
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(next.failure(), "");
    expectOnlyTheseErrorLines({});

    EXPECT_FALSE(firstSave.empty());
    ASSERT_EQ(resaves.size(), 3u);
    EXPECT_TRUE(resaves[0] == firstSave) << "continued in the same run";
    EXPECT_TRUE(resaves[1] == firstSave) << "continued in a process of its own";
    EXPECT_TRUE(resaves[2] == firstSave) << "continued in the next run";
}

// A puzzle case started at its start, as a saved game that names it alone makes it: Play continues
// into the case's map. From the lab's start the lab and then the town are played; from the town's,
// the town alone. Either way the town's win ends the story: "EndGame" saved, the credits, the menu;
// Play then starts the demo case anew.
TEST(EndToEnd, APuzzleCasePlaysFromItsStartToTheEndOfTheStory) {
    struct Run {
        const PuzzleCase& first;
        std::vector<const PuzzleCase*> following;
    };
    for (const Run& run : {Run{labCase(), {&townCase()}}, Run{townCase(), {}}}) {
        SCOPED_TRACE(run.first.name);
        GameHome home(gameIni(false));
        GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
        std::filesystem::create_directories(GameHome::savesFolder());
        ASSERT_TRUE(demo::writeCaseStartSave(GameHome::savesFolder() + "RVH_Tester.save", run.first.name));

        CasePlayer player;
        player.waitForState(CGameFlow::MAIN_MENU, 60);
        player.clickOn("MainMenu", "Play");
        player.waitForInvestigation(CInvestigation::OnMap, 120);
        player.check("continued into the case's start",
                     [] { EXPECT_EQ(Scenario::game().GetStartMode(), CSpyMain::CONTINUED); });
        playTheCase(player, run.first, CaseStart::AtItsStart);
        for (const PuzzleCase* next : run.following) {
            checkTheCaseFollowed(player, *next);
            playTheCase(player, *next, CaseStart::Following);
        }
        player.clickOn("MainMenu", "Play");
        player.waitForInvestigation(CInvestigation::OnMap, 120);
        player.check("the demo case anew", [] {
            EXPECT_EQ(Scenario::game().GetStartMode(), CSpyMain::NEW_GAME);
            EXPECT_EQ(Scenario::game().GetCurrentInvestigation(), "Demo");
        });
        player.saveAndExit();
        player.clickOn("MainMenu", "Exit");
        EXPECT_EQ(runGame(), 0);
        EXPECT_EQ(player.failure(), "");
        expectOnlyTheseErrorLines({});
    }
}

// From a saved game naming the case, Play into its hub, where the steps are played; then saved on the
// way out. A process of its own continues that save and saves it again at once: the same bytes.
void playFromTheCaseStartAndResaveInAFreshProcess(const PuzzleCase& c,
                                                  std::function<void(CasePlayer&)> steps) {
    GameHome home(gameIni(false));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    const std::string save = GameHome::savesFolder() + "RVH_Tester.save";
    std::filesystem::create_directories(GameHome::savesFolder());
    ASSERT_TRUE(demo::writeCaseStartSave(save, c.name));

    CasePlayer player;
    player.waitForState(CGameFlow::MAIN_MENU, 60);
    player.clickOn("MainMenu", "Play");
    player.waitForInvestigation(CInvestigation::OnMap, 120);
    enterTheHub(player, c, CaseStart::AtItsStart);
    steps(player);
    player.saveAndExit();
    player.clickOn("MainMenu", "Exit");
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");
    expectOnlyTheseErrorLines({});
    const std::string saved = GameHome::readFile(save);
    EXPECT_EQ(savedInvestigation(save), c.name);

    RunnerProcess fresh(home.path(), GameHome::dataHome(), {"continue-and-save-again"});
    const int status = fresh.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(GameHome::readFile(save) == saved);
}

// Every room of a puzzle case solved with the panel's Solve, from the case's start, then saved on the
// way out and saved again by a fresh process.
TEST(EndToEnd, APuzzleCaseWithEveryRoomSolvedContinuesInAFreshProcessToTheSameSave) {
    for (const PuzzleCase* c : {&labCase(), &townCase()}) {
        SCOPED_TRACE(c->name);
        playFromTheCaseStartAndResaveInAFreshProcess(*c, [c](CasePlayer& player) {
            // A right click and a drag over the hub's bare floor take nothing and leave the play as it
            // was.
            player.rightClickAt(c->hub, 420, 650);
            player.dragThrough(c->hub, {{400, 640}, {430, 620}, {470, 645}});
            player.check("nothing taken", [] {
                EXPECT_EQ(investigation().GetState(), CInvestigation::Playing);
                EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetItemOnCursor(), nullptr);
            });
            solveTheCase(player, *c);
        });
    }
}

// The town's word puzzles left midway and saved in the word machine: a fresh process continues there
// and saves the same bytes again.
TEST(EndToEnd, TheTownsWordPuzzlesSavedMidwayContinueInAFreshProcessToTheSameSave) {
    playFromTheCaseStartAndResaveInAFreshProcess(townCase(), playTownWordsMidway);
}

// The fax saved while it prints: a fresh process continues there and saves the same bytes again, so
// loading neither repeats a tick that was done nor loses one.
TEST(EndToEnd, TheFaxSavedMidPrintingContinuesInAFreshProcessToTheSameSave) {
    playFromTheCaseStartAndResaveInAFreshProcess(townCase(), playTownFaxMidPrinting);
}

// The rose's leaves and petals saved on their way down: a fresh process continues the fall from
// there and saves the same bytes again.
TEST(EndToEnd, TheRoseSavedMidFallContinuesInAFreshProcessToTheSameSave) {
    bool seenAtTheSave = false;
    playFromTheCaseStartAndResaveInAFreshProcess(townCase(), [&seenAtTheSave](CasePlayer& player) {
        playTownRoseMidFall(player);
        // The game is saved in the frame after the confirmation's Yes goes up, and the room stands
        // still while the confirmation shows: what is seen then is what is saved.
        player.onStepDone([&seenAtTheSave](const std::string& step) {
            if (step != "release on btn_yes")
                return;
            seenAtTheSave = true;
            EXPECT_TRUE(theRoseStillFalls());
        });
    });
    EXPECT_TRUE(seenAtTheSave);
}

} // namespace

// ---- Lab: chemistry ----
namespace {

// The rack and the bench solved from the lab's start, and the game saved on the bench's result
// screen. A process of its own continues that save and saves it again at once: the same bytes.
TEST(EndToEnd, TheBenchSavedOnItsResultScreenContinuesInAFreshProcessToTheSameSave) {
    GameHome home(gameIni(false));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    const std::string save = GameHome::savesFolder() + "RVH_Tester.save";
    std::filesystem::create_directories(GameHome::savesFolder());
    ASSERT_TRUE(demo::writeCaseStartSave(save, "Lab"));

    CasePlayer player;
    player.waitForState(CGameFlow::MAIN_MENU, 60);
    player.clickOn("MainMenu", "Play");
    player.waitForInvestigation(CInvestigation::OnMap, 120);
    enterTheHub(player, labCase(), CaseStart::AtItsStart);
    solveLabChemistryToTheResult(player);
    player.saveAndExit();
    player.clickOn("MainMenu", "Exit");
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");
    expectOnlyTheseErrorLines({});
    const std::string atTheResult = GameHome::readFile(save);

    RunnerProcess fresh(home.path(), GameHome::dataHome(), {"continue-and-save-again"});
    const int status = fresh.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(GameHome::readFile(save) == atTheResult);
}

} // namespace
