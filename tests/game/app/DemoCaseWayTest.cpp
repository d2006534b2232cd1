#include "GameHome.h"
#include "Scenario.h"
#include "game/CGameFlow.h"
#include "game/CResManager.h"
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "game/cMain.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/platform/Window.h"

#include <gtest/gtest.h>

namespace {

int runGame() {
    char name[] = "rvh";
    char* argv[] = {name, nullptr};
    return rvhMain(1, argv);
}

// The way through the demo case that its data lays out for a player who goes wherever the game
// lets them: the study stays shut until the desk gives up its key, Escape opens the menu and
// leaves a close-up, and the study greets its first visit as new although its comic scene enters
// it twice.
class WayPlayer : public Scenario {
public:
    static CInvestigation& investigation() { return game().GetInvestigation(); }
    static std::string currentRoom() {
        const CRoomBase* room = investigation().GetCurrentRoomPtr();
        return room ? room->GetName() : std::string();
    }
    static bool eventDone(const std::string& name) {
        const CSpyEventBase* event = investigation().GetEventsManager().FindEvent(name);
        return event && event->IsDone();
    }
    // The message box has slid in with the text of `key`.
    static bool saying(const std::string& key, const std::string& section) {
        const CDialogMessage& message = game().GetPanel().GetMessage();
        const GUI::Widget* text = find("Message", "text");
        const std::wstring* wanted = CResManager::getSingleton()->getLocaleServer()->findString(key, section);
        return message.IsVisible() && message.GetSlideMode() == CDialogMessage::SLIDE_STILL && text &&
               wanted && text->GetText() == *wanted;
    }

    void expectSaying(const std::string& key, const std::string& section) {
        add("the message " + key, 10, [key, section] { return saying(key, section); });
    }
    void waitForRoom(const std::string& room, double deadline = 10) {
        add("in " + room, deadline, [room] {
            return currentRoom() == room && investigation().GetState() == CInvestigation::Playing;
        });
    }
    void escape() {
        add("Escape", 1, [this] { return tapKey(DIK_ESCAPE), true; });
    }
    void check(const std::string& name, std::function<void()> expectations) {
        add(name, 1, [expectations = std::move(expectations)] { return expectations(), true; });
    }
};

TEST(DemoCaseWay, TheStudyOpensWithTheDesksKeyEscapeLeavesCloseUpsAndTheStudyFirstGreetsAsNew) {
    GameHome home(gameIni(false));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    WayPlayer player;
    player.waitForState(CGameFlow::MAIN_MENU, 60);
    player.clickOn("MainMenu", "Play");
    player.waitForInvestigation(CInvestigation::OnMap, 120);

    // The study on the map, before the key: locked, and it says where to look.
    player.clickItem("_GlobalMap", "STUDY");
    player.expectSaying("STUDY_LATER", "_GlobalMap");
    player.check("still on the map",
                 [] { EXPECT_EQ(WayPlayer::investigation().GetState(), CInvestigation::OnMap); });
    player.clickItem("_GlobalMap", "HALL");
    player.waitForInvestigation(CInvestigation::Tip, 10);
    player.clickOn("ToolTip", "close");
    player.waitForRoom("room_Hall");

    // The hall's door to the study, likewise.
    player.clickItem("room_Hall", "STUDY_DOOR");
    player.expectSaying("STUDY_DOOR_LATER", "room_Hall");
    player.check("still in the hall", [] {
        EXPECT_EQ(WayPlayer::currentRoom(), "room_Hall");
        EXPECT_FALSE(WayPlayer::eventDone("DeskSearched"));
    });

    // Escape leaves the desk's close-up, opens the menu from the hall and resumes from the menu.
    player.clickItem("room_Hall", "DESK");
    player.waitForRoom("zoom_Desk");
    player.escape();
    player.waitForRoom("room_Hall");
    player.escape();
    player.add("the menu", 5, [] { return WayPlayer::game().GetState() == CSpyMain::IN_GAME_MENU; });
    player.escape();
    player.waitForInvestigation(CInvestigation::Playing, 5);

    // The key: the desk has done its part, and the door opens onto the study's comic scene.
    player.clickItem("room_Hall", "DESK");
    player.waitForRoom("zoom_Desk");
    player.clickItem("zoom_Desk", "KEY");
    player.waitForInvestigation(CInvestigation::ItemPick, 60);
    player.clickOn("PickItem", "Continue");
    player.waitForRoom("zoom_Desk");
    player.escape();
    player.waitForRoom("room_Hall");
    player.check("the desk searched", [] { EXPECT_TRUE(WayPlayer::eventDone("DeskSearched")); });
    player.clickItem("room_Hall", "STUDY_DOOR");
    player.waitForInvestigation(CInvestigation::Comics, 10);
    for (const char* button : {"next", "finish"}) {
        player.add(std::string("the page with ") + button, 60, [button] {
            const GUI::Widget* picture = Scenario::find("Comics", "picture");
            const GUI::Widget* step = Scenario::find("Comics", button);
            return picture && step && step->IsVisible() && picture->GetAlpha(true) == 1.0f;
        });
        player.clickOn("Comics", button);
    }
    player.waitForRoom("room_Study");
    player.expectSaying("STUDY_FIRST_ENTER", "room_Study");
    player.check("later visits come back to the study",
                 [] { EXPECT_TRUE(WayPlayer::eventDone("StudyKnown")); });
    player.add("close the window", 1, [] {
        aApplication::getInstance()->getWindow()->dispatch({platform::WM_CLOSE, 0, 0});
        return true;
    });

    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");
}

} // namespace
