#include "game/SpyGame/CSpyMain.h"
#include "game/GameFlowKit.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CTipManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "support/game/CaseStartSave.h"
#include "support/game/ItemPoint.h"
#include "tk2v/file/aOptionsFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

// The game flow over a copy of the demo data's investigations that a test may change; no story
// events, so that only what a test does happens.
class SpyMainTest : public GameFlowTest {
protected:
    void SetUp() override {
        GameFlowTest::SetUp();
        const std::string copy = dir.path() + "investigations/";
        std::filesystem::remove_all(copy);
        std::filesystem::copy(RVH_DEMO_DATA "GameData/Investigations", copy,
                              std::filesystem::copy_options::recursive);
        std::filesystem::remove(copy + "Demo/_events.ini");
        std::filesystem::create_directories(dir.path() + "saves/");
        investigations = copy;
    }

    // At the menu with the player "Tester", who has turned the tips off.
    void toMenu() {
        start(options(false), true);
        ASSERT_EQ(GameFlowTest::toMenu(), CGameFlow::MAIN_MENU);
        g_currentProfile.showTips = false;
    }
    CSpyMain& game() { return flow->GetGame(); }
    // How many log lines since the last clear end with the text.
    int loggedWith(const std::string& end) const {
        int count = 0;
        for (const std::string& line : capture.messages())
            count += line.ends_with(end);
        return count;
    }
    CInvestigation& investigation() { return game().GetInvestigation(); }
    std::string saveFile() const { return dir.path() + "saves/RVH_Tester.save"; }

    // Frames until the game reaches the state; the state it stands in then.
    u32 framesUntil(u32 state, int limit = 3000) {
        for (int i = 0; i < limit && game().GetState() != state; ++i)
            frame();
        return game().GetState();
    }
    // From the menu into the investigation, which starts on the map.
    void play() {
        click(menuWidget("Play"));
        ASSERT_EQ(framesUntil(CSpyMain::PLAYING), CSpyMain::PLAYING);
        ASSERT_EQ(investigation().GetState(), CInvestigation::OnMap);
    }
    GUI::Widget* panelWidget(const std::string& name) const {
        return gui->GetRoot()->FindChild("SpyGameInterface", true)->FindChild(name, true);
    }
    // A click where a press reaches the item.
    void clickItem(CRoomBase& room, const std::string& name) {
        CSpyItem* item = room.GetItem(name);
        ASSERT_NE(item, nullptr) << name;
        const std::optional<platform::Point> at = itemPoint(room, *item, game().GetPanel());
        ASSERT_TRUE(at) << "no point of " << name << " is reached";
        input.setCursor(at->x, at->y);
        frame();
        input.buttonDown(0);
        frame();
        input.buttonUp(0);
        frame();
    }
    // Frames until the investigation stands in a room of that name.
    void waitForRoom(const std::string& name) {
        for (int i = 0; i < 200; ++i) {
            CRoomBase* room = investigation().GetCurrentRoomPtr();
            if (room && room->GetName() == name && investigation().GetState() == CInvestigation::Playing)
                return;
            frame();
        }
        CRoomBase* room = investigation().GetCurrentRoomPtr();
        FAIL() << "not in " << name << " but in " << (room ? room->GetName() : "none") << ", state "
               << investigation().GetState();
    }
    CRoomBase& room(const std::string& name) { return *game().GetRoomsManager().GetRoom(name); }

    // The record names of the saved game, in stream order.
    std::vector<std::string> savedRecordNames() const {
        std::string stream = readFile(saveFile());
        SaveLoadSystem::scramble(reinterpret_cast<u8*>(stream.data()), u32(stream.size()));
        std::vector<std::string> names;
        for (size_t at = 8; at + 4 < stream.size();) {
            const size_t nul = stream.find('\0', at);
            u32 size = 0;
            std::memcpy(&size, stream.data() + nul + 1, 4);
            names.push_back(stream.substr(at, nul - at));
            at = nul + 5 + size;
        }
        return names;
    }
    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The data of the named record of the saved game.
    std::string savedRecord(const std::string& name) const {
        std::string stream = readFile(saveFile());
        SaveLoadSystem::scramble(reinterpret_cast<u8*>(stream.data()), u32(stream.size()));
        for (size_t at = 8; at + 4 < stream.size();) {
            const size_t nul = stream.find('\0', at);
            u32 size = 0;
            std::memcpy(&size, stream.data() + nul + 1, 4);
            if (stream.compare(at, nul - at, name) == 0)
                return stream.substr(nul + 5, size);
            at = nul + 5 + size;
        }
        return "<none>";
    }
    // A saved game holding only the game object's record.
    void writeSave(const std::string& investigationName, const std::string& recordName = "<SpyMain>") {
        ASSERT_TRUE(demo::writeCaseStartSave(saveFile(), investigationName, recordName));
    }
};

TEST_F(SpyMainTest, ContinueResumesOnlyAListedInvestigationAndStartsTheFirstAnewOtherwise) {
    struct Case {
        const char* what;
        const char* saved; // null: no saved game
        u32 mode;
        const char* line;
        const char* record = "<SpyMain>";
    };
    const Case cases[] = {
        {"no saved game", nullptr, CSpyMain::NEW_GAME, " load failed!"},
        {"every investigation finished", "EndGame", CSpyMain::NEW_GAME, nullptr},
        {"an investigation not in the list", "Gone", CSpyMain::NEW_GAME,
         "CSpyMain::ContinuePlay(). Investigation 'Gone' not found!"},
        {"a listed investigation", "Demo", CSpyMain::CONTINUED, nullptr},
        {"a save without the game object's record", "Demo", CSpyMain::NEW_GAME, nullptr, "<Other>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (c.saved)
            writeSave(c.saved, c.record);
        toMenu();
        capture.clear();
        click(menuWidget("Play"));
        EXPECT_EQ(game().GetState(), CSpyMain::CHOSEN);
        EXPECT_EQ(game().GetStartMode(), c.mode);
        EXPECT_EQ(game().GetCurrentInvestigation(), "Demo");
        EXPECT_EQ(loggedWith(" load failed!") + loggedWith(" not found!"), c.line ? 1 : 0);
        if (c.line) {
            EXPECT_EQ(loggedWith(c.line), 1) << c.line;
        }
    }
}

TEST_F(SpyMainTest, TheInvestigationListIsReadExactly) {
    dir.write("investigations/_investigations.list", "Demo\nSecond\ndemo\n");
    toMenu();
    struct Case {
        const char* name;
        bool listed;
        i32 index;
    };
    for (const Case& c : {Case{"Demo", true, 0}, Case{"Second", true, 1}, Case{"demo", true, 2},
                          Case{"Dem", false, -1}, Case{"Demo ", false, -1}, Case{"", false, -1}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(game().HasInvestigation(c.name), c.listed);
    }
    EXPECT_EQ(game().GetInvestigationIndex(), -1) << "nothing chosen yet";
    EXPECT_TRUE(game().SeekInvestigation(0));
    EXPECT_TRUE(game().SeekInvestigation(2));
    EXPECT_FALSE(game().SeekInvestigation(3));
}

TEST_F(SpyMainTest, AFinishedInvestigationGivesWayToTheNextOrEndsTheStoryWithASave) {
    dir.write("investigations/_investigations.list", "Demo\nSecond\n");
    toMenu();
    play();
    struct Case {
        const char* current;
        bool next;
        const char* chosen;
        u32 state;
    };
    const Case cases[] = {
        {"Demo", true, "Second", CSpyMain::CHOSEN},
        {"Nowhere", true, "Demo", CSpyMain::CHOSEN},
        {"Second", false, "EndGame", CSpyMain::STORY_ENDED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        // The game object's record names the current investigation; a save carries it over.
        writeSave(c.current);
        SaveLoadSystem sys;
        ASSERT_TRUE(sys.Load(saveFile(), CSpyMain::SaveHeader));
        ASSERT_TRUE(sys.LoadEntity(game()));
        sys.Finish();
        EXPECT_EQ(game().StartNextInvestigation(), c.next);
        EXPECT_EQ(game().GetCurrentInvestigation(), c.chosen);
        EXPECT_EQ(game().GetState(), c.state);
        if (c.next) {
            EXPECT_EQ(game().GetStartMode(), CSpyMain::FOLLOWING);
        }
    }
    EXPECT_FALSE(game().GetPanel().IsVisible());
    // The story's end is saved: a later continue starts the first investigation anew.
    SaveLoadSystem sys;
    ASSERT_TRUE(sys.Load(saveFile(), CSpyMain::SaveHeader));
    CSpyMain reader;
    ASSERT_TRUE(sys.LoadEntity(reader));
    EXPECT_EQ(reader.GetCurrentInvestigation(), "EndGame");
}

// The next investigation is loaded in place of the finished one and saved before it is entered, so that
// a continue resumes at its start.
TEST_F(SpyMainTest, TheFollowingInvestigationIsSavedBeforeItsEntry) {
    std::filesystem::copy(dir.path() + "investigations/Demo", dir.path() + "investigations/Second",
                          std::filesystem::copy_options::recursive);
    dir.write("investigations/_investigations.list", "Demo\nSecond\n");
    toMenu();
    play();
    ASSERT_TRUE(game().StartNextInvestigation());
    EXPECT_EQ(framesUntil(CSpyMain::PLAYING), CSpyMain::PLAYING);
    EXPECT_EQ(investigation().GetName(), "Second");
    EXPECT_EQ(investigation().GetState(), CInvestigation::OnMap);
    EXPECT_EQ(savedRecord("<SpyMain>"), std::string("Second", 7));
    const std::string record = savedRecord("Investigation : Second");
    ASSERT_GE(record.size(), 4u);
    EXPECT_EQ(u8(record[0]), CInvestigation::Started) << "saved before the entry";
    EXPECT_EQ(savedRecord("Investigation : Demo"), "<none>");
}

TEST_F(SpyMainTest, TheInGameMenuLeadsToResumeOptionsHelpAndTheSaveQuestion) {
    toMenu();
    play();
    struct Case {
        const char* button;
        u32 state;
    };
    const Case cases[] = {
        {"options", CSpyMain::OPTIONS},
        {"exit", CSpyMain::CONFIRM_SAVE_EXIT},
        {"help", CSpyMain::HELP},
        {"resume", CSpyMain::PLAYING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        if (game().GetState() == CSpyMain::PLAYING) {
            click(panelWidget("Menu"));
            ASSERT_EQ(game().GetState(), CSpyMain::IN_GAME_MENU);
            EXPECT_EQ(investigation().GetState(), CInvestigation::Menu);
        }
        click(widget("InGameMenu")->FindChild(c.button, true));
        ASSERT_EQ(game().GetState(), c.state);
        frame();
        switch (c.state) {
        case CSpyMain::OPTIONS:
            EXPECT_TRUE(flow->GetMenuScreen().GetOptions().IsVisible());
            click(widget("OptionsMenu")->FindChild("btn_cancel", true));
            EXPECT_FALSE(flow->GetMenuScreen().GetOptions().IsVisible());
            break;
        case CSpyMain::CONFIRM_SAVE_EXIT:
            click(widget("ConfirmSaveExit")->FindChild("btn_no", true));
            EXPECT_FALSE(std::filesystem::exists(saveFile()));
            break;
        case CSpyMain::HELP:
            input.buttonDown(0);
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(frame(), CGameFlow::GAME);
            EXPECT_EQ(game().GetState(), CSpyMain::HELP) << "held";
            input.buttonUp(0);
            frame();
            break;
        default:
            EXPECT_FALSE(widget("InGameMenu")->IsVisible());
            EXPECT_EQ(investigation().GetState(), CInvestigation::OnMap) << "back where the menu was opened";
            continue;
        }
        EXPECT_EQ(game().GetState(), CSpyMain::IN_GAME_MENU) << "back in the menu";
        EXPECT_TRUE(widget("InGameMenu")->IsVisible());
    }
}

// Save and exit in the desk's close-up, continue: the investigation is still loaded, so there is no
// loading screen, and the continued game is the saved one.
TEST_F(SpyMainTest, SaveAndExitThenContinueSkipsTheLoadingAndResumesTheSavedRooms) {
    toMenu();
    play();
    clickItem(room("_GlobalMap"), "HALL");
    waitForRoom("room_Hall");
    clickItem(room("room_Hall"), "DESK");
    waitForRoom("zoom_Desk");
    // A message still sliding in would slide in afresh when loaded.
    click(widget("Message")->FindChild("Close", true));
    click(panelWidget("Menu"));
    click(widget("InGameMenu")->FindChild("exit", true));
    click(widget("ConfirmSaveExit")->FindChild("btn_yes", true));
    EXPECT_EQ(flow->GetState(), CGameFlow::MAIN_MENU);
    EXPECT_FALSE(game().GetPanel().IsVisible());

    // The records in the order the game writes them: the game object, the investigation's children
    // (the rooms in byte order of their names), then the investigation.
    std::vector<std::string> expected = {"<SpyMain>",          "<TipEvents>",        "<tip_manager>",
                                         "<SpyGameInterface>", "<DialogMessage>",    "Inventory : Ashby",
                                         "<Personage:Ashby",   "<PersonagesManager>"};
    for (const char* room :
         {"Evidence_box", "_GlobalMap", "_InvestigationCards", "room_Hall", "room_Study", "zoom_Desk"}) {
        expected.push_back(std::string("SpyObjManager : ") + room);
        expected.push_back(std::string("SpyItemManager : ") + room);
        expected.push_back(game().GetRoomsManager().GetRoom(room)->GetClassName() + " : " + room);
    }
    for (const char* last : {"RoomsManager : Demo", "SpyEventsManager : Demo", "Investigation : Demo"})
        expected.push_back(last);
    EXPECT_EQ(savedRecordNames(), expected);

    const std::string firstSave = readFile(saveFile());
    bool resaved = false;
    game().SetAfterContinueLoad([&] { resaved = game().SaveGame(); });
    click(menuWidget("Play"));
    EXPECT_EQ(game().GetStartMode(), CSpyMain::CONTINUED);
    EXPECT_EQ(frame(), CGameFlow::GAME);
    EXPECT_EQ(game().GetState(), CSpyMain::LOADED) << "no loading for the loaded investigation";
    EXPECT_FALSE(flow->GetLoader().GetWindow()->IsVisible());
    frame();
    EXPECT_EQ(game().GetState(), CSpyMain::PLAYING);
    EXPECT_TRUE(resaved);
    EXPECT_EQ(readFile(saveFile()), firstSave) << "the continued game saves as it was saved";
    EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetName(), "zoom_Desk");
    ASSERT_EQ(investigation().GetHistory().size(), 1u) << "the map is not a way back";
    EXPECT_EQ(investigation().GetHistory()[0]->GetName(), "room_Hall");
    EXPECT_EQ(investigation().GetState(), CInvestigation::Playing) << "the menu it was saved in is closed";
}

// Entering a room passes its inventory setting to the strip: the hall unlocks it, the evidence box
// locks it.
TEST_F(SpyMainTest, EachRoomLocksOrUnlocksTheStripOnEntry) {
    toMenu();
    play();
    const CDialogSpyGamePanel& panel = game().GetPanel();
    EXPECT_FALSE(panel.IsInventoryUnlocked()) << "on the map";
    clickItem(room("_GlobalMap"), "HALL");
    waitForRoom("room_Hall");
    EXPECT_TRUE(panel.IsInventoryUnlocked()) << "in the hall";
    click(panelWidget("Evidences"));
    for (int i = 0; i < 200 && investigation().GetState() != CInvestigation::EvidenceBox; ++i)
        frame();
    ASSERT_EQ(investigation().GetState(), CInvestigation::EvidenceBox);
    EXPECT_FALSE(panel.IsInventoryUnlocked()) << "in the evidence box";
    click(panelWidget("Back"));
    waitForRoom("room_Hall");
    EXPECT_TRUE(panel.IsInventoryUnlocked()) << "back in the hall";
}

// Every tip of the demo, given a showing, opens its balloon whole on the screen, and a tip about a
// part of the panel points into that part; the others point into the room area.
TEST_F(SpyMainTest, EachDemoTipShowsWholeOnTheScreenAtWhatItExplains) {
    toMenu();
    play();
    clickItem(room("_GlobalMap"), "HALL");
    waitForRoom("room_Hall");
    g_currentProfile.showTips = true;
    const std::regex counts("(TimesPerLevel|LevelsCount) = [0-9]+");
    dir.write("tips.ini", std::regex_replace(readFile(RVH_DEMO_DATA "GameData/tips.ini"), counts, "$1 = 1"));
    CTipManager& tips = game().GetPanel().GetTipManager();
    tips.Load(dir.file("tips.ini"));
    const std::map<std::string, std::string> explained = {{"start_inv", "Map"},
                                                          {"evidences_help", "Evidences"},
                                                          {"clues_help", "Clues"},
                                                          {"not_clues", "Clues"},
                                                          {"inventory", "InventoryArea"},
                                                          {"inventory2", "InventoryArea"},
                                                          {"inventory3", "InventoryArea"},
                                                          {"room_task", "text2"},
                                                          {"inv_task", "text"},
                                                          {"use_hints", "Hints"},
                                                          {"click_disabled_hints", "Hints"},
                                                          {"click_hints_on_map", "Hints"}};
    const GUI::Widget* balloon = widget("ToolTip")->FindChild("balloon", true);
    int shown = 0;
    for (aOptionsFile ini(dir.file("tips.ini")); !ini.isEnd(); ini.nextSection(), ++shown) {
        const std::string id = ini.getSectionName();
        SCOPED_TRACE(id);
        tips.ResetCounters(true);
        ASSERT_TRUE(tips.ShowTip(id));
        const i32 left = balloon->GetScreenX(), top = balloon->GetScreenY();
        EXPECT_TRUE(left >= 0 && top >= 0 && left + balloon->GetArea().w <= SCREEN_WIDTH &&
                    top + balloon->GetArea().h <= SCREEN_HEIGHT)
            << left << ", " << top;
        tips.HideTip();
        const i32 x = tips.FindTip(id)->x, y = tips.FindTip(id)->y;
        if (auto part = explained.find(id); part != explained.end()) {
            const GUI::Widget* target = panelWidget(part->second);
            EXPECT_TRUE(x >= target->GetScreenX() && x < target->GetScreenX() + target->GetArea().w &&
                        y >= target->GetScreenY() && y < target->GetScreenY() + target->GetArea().h)
                << part->second;
        } else if (id != "General") {
            EXPECT_GE(x, SCREEN_WIDTH - CInvestigation::RoomAreaWidth);
        }
    }
    EXPECT_EQ(shown, 15);
}

// The personages of the investigation cannot be made: it closes itself and the game goes back to the
// menu, with the loading screen gone and the saved game left as it was.
TEST_F(SpyMainTest, AnInvestigationThatCannotBeMadeGoesBackToTheMenu) {
    dir.write("investigations/Demo/_investigation.ini", "[Main]\n[Personages]\nPersonagesList = Nobody\n");
    writeSave("Demo");
    const std::string saved = readFile(saveFile());
    toMenu();
    click(menuWidget("Play"));
    EXPECT_EQ(framesUntil(CSpyMain::BACK_TO_MENU), CSpyMain::BACK_TO_MENU);
    frame();
    EXPECT_EQ(flow->GetState(), CGameFlow::MAIN_MENU);
    EXPECT_FALSE(flow->GetLoader().GetWindow()->IsVisible());
    EXPECT_EQ(investigation().GetState(), CInvestigation::Wired);
    EXPECT_EQ(readFile(saveFile()), saved);
}

} // namespace
