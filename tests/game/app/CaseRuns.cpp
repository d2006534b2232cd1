#include "CaseRuns.h"

#include "game/GameConstants.h"
#include "game/SpyGame/CTipManager.h"
#include "game/SpyGame/Events/EInvestigationWin.h"

using namespace play;

const std::vector<RoomGroupSteps>& labGroups() {
    static const std::vector<RoomGroupSteps> groups = {
        // ---- chemistry ----
        kLabChemistry,
        // ---- computers ----
        kLabComputers,
    };
    return groups;
}

const std::vector<RoomGroupSteps>& townGroups() {
    static const std::vector<RoomGroupSteps> groups = {
        // ---- mazes ----
        kTownMazes,
        // ---- words ----
        townWords,
        // ---- garden ----
        kTownGarden,
        // ---- close-ups ----
        kTownCloseUps,
    };
    return groups;
}

const PuzzleCase& labCase() {
    static const PuzzleCase lab = {.name = "Lab",
                                   .personage = "Rusca",
                                   .door = "LAB",
                                   .hub = "room_Lab",
                                   .find = "CASE_FILE",
                                   .findAt = {85, 570},
                                   .firstEnter = "LAB_FIRST_ENTER",
                                   .briefing = "LAB_BRIEFING",
                                   .win = "LabSolved",
                                   .groups = labGroups()};
    return lab;
}

const PuzzleCase& townCase() {
    static const PuzzleCase town = {.name = "Town",
                                    .personage = "Corwin",
                                    .door = "TOWN",
                                    .hub = "room_Town",
                                    .find = "TOWN_NOTE",
                                    .findAt = {60, 537},
                                    .firstEnter = "TOWN_FIRST_ENTER",
                                    .briefing = "TOWN_BRIEFING",
                                    .win = "TownSolved",
                                    .groups = townGroups()};
    return town;
}

namespace {

// The places of the shared map: each shows only while its case is played.
const char* const kMapDoors[] = {"HALL", "STUDY", "LAB", "TOWN"};

bool isLastCase(const PuzzleCase& c) {
    return &c == &townCase();
}

// The hub's find picked up, with a press held a moment on it, and taken: the hub's task is done.
void takeTheFind(CasePlayer& player, const PuzzleCase& c) {
    player.holdAt(c.hub, c.findAt.x, c.findAt.y, 3);
    player.waitForInvestigation(CInvestigation::ItemPick, 60);
    player.clickOn("PickItem", "Continue");
    player.waitForInvestigation(CInvestigation::Completion, 30);
    player.check("the case won in its hub", [&c] {
        EXPECT_EQ(currentRoom(), c.hub);
        EXPECT_TRUE(personage().IsRoomTaskListDone(c.hub));
        EXPECT_FALSE(holds(c.find)) << "a read file stays out of the strip";
        const auto* win = dynamic_cast<const SpyEvents::EInvestigationWin*>(
            investigation().GetEventsManager().FindEvent(c.win));
        ASSERT_NE(win, nullptr);
        EXPECT_TRUE(win->IsDone());
        // The last case's win shows the end of the story, the others a case complete.
        EXPECT_EQ(win->IsEndGame(), isLastCase(c));
    });
}

// After the last case: "EndGame" saved, the credits, and the menu with the story over.
void endTheStory(CasePlayer& player) {
    player.waitForState(CGameFlow::CREDITS, 120);
    player.check("the story over", [] {
        EXPECT_EQ(Scenario::game().GetCurrentInvestigation(), END_GAME_NAME);
        EXPECT_EQ(savedInvestigation(saveFile()), END_GAME_NAME);
    });
    player.waitForState(CGameFlow::MAIN_MENU, 120);
    player.check("the menu after the story",
                 [] { EXPECT_EQ(Scenario::game().GetState(), CSpyMain::STORY_ENDED); });
}

} // namespace

void checkTheCaseFollowed(CasePlayer& player, const PuzzleCase& c) {
    player.add(std::string(c.name) + " on its map", 120, [&c] {
        return Scenario::flowState() == CGameFlow::GAME && Scenario::game().GetState() == CSpyMain::PLAYING &&
               Scenario::game().GetCurrentInvestigation() == c.name &&
               investigation().GetState() == CInvestigation::OnMap;
    });
    player.check(std::string(c.name) + " followed", [&c] {
        EXPECT_EQ(Scenario::game().GetStartMode(), CSpyMain::FOLLOWING);
        EXPECT_EQ(savedInvestigation(saveFile()), c.name) << "saved before its entry";
    });
}

void enterTheHub(CasePlayer& player, const PuzzleCase& c, CaseStart start) {
    player.check(std::string(c.name) + "'s map", [&c] {
        EXPECT_EQ(Scenario::game().GetCurrentInvestigation(), c.name);
        EXPECT_EQ(investigation().GetState(), CInvestigation::OnMap);
        EXPECT_EQ(personage().GetName(), c.personage);
        for (const char* door : kMapDoors)
            EXPECT_EQ(item("_GlobalMap", door)->IsVisible(), door == std::string(c.door)) << door;
        EXPECT_FALSE(item("_GlobalMap", c.door)->IsLocked());
    });
    player.clickItem("_GlobalMap", c.door);
    if (start == CaseStart::AtItsStart) {
        // A case started afresh shows the notepad's tip in the first room with things to find.
        player.waitForInvestigation(CInvestigation::Tip, 10);
        player.check("the notepad's tip", [&c] {
            EXPECT_EQ(currentRoom(), c.hub);
            EXPECT_TRUE(Scenario::game().GetPanel().GetTipManager().IsTipShown());
        });
        player.clickOn("ToolTip", "close");
    }
    player.waitForInvestigation(CInvestigation::Playing, 10);
    player.check("in the hub", [&c, start] {
        EXPECT_EQ(currentRoom(), c.hub);
        // The notepad's tip has one level: the story's first case, or a case started afresh.
        const CTipManager::Tip* tip = Scenario::game().GetPanel().GetTipManager().FindTip("room_task");
        ASSERT_NE(tip, nullptr);
        const bool fresh = start == CaseStart::AtItsStart;
        EXPECT_EQ(tip->timesLeft, fresh ? 0u : 1u);
        EXPECT_EQ(tip->levelsLeft, fresh ? 1u : 0u);
    });
    player.closeMessage(c.firstEnter, c.hub);
    player.closeMessage(c.briefing, c.name);
}

void playTheCase(CasePlayer& player, const PuzzleCase& c, CaseStart start) {
    enterTheHub(player, c, start);
    for (const RoomGroupSteps& group : c.groups)
        group.play(player);
    takeTheFind(player, c);
    if (isLastCase(c))
        endTheStory(player);
}

void solveTheCase(CasePlayer& player, const PuzzleCase& c) {
    for (const RoomGroupSteps& group : c.groups)
        group.solve(player);
    player.waitForInvestigation(CInvestigation::Playing, 30);
    player.check("back in the hub", [&c] { EXPECT_EQ(currentRoom(), c.hub); });
}
