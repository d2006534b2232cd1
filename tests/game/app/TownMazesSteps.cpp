#include "CaseRuns.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVentMazePuzzleRoom.h"

#include <string>

// The town's mazes: the hedge maze, where Marwenn corners Tez behind the gate, and the air vent,
// where the figure crawls to the dragon and on to the way out.

using namespace play;

namespace {

const char* const kSquare = "room_Town";
const char* const kGarden = "zoom_GardenMaze";
const char* const kVent = "zoom_VentMaze";

cGardenMazeRoom* garden() {
    return dynamic_cast<cGardenMazeRoom*>(investigation().GetCurrentRoomPtr());
}
cVentMazePuzzleRoom* vent() {
    return dynamic_cast<cVentMazePuzzleRoom*>(investigation().GetCurrentRoomPtr());
}

void enter(CasePlayer& player, const char* place, const char* room, const char* firstEnter) {
    player.clickItem(kSquare, place);
    player.add(std::string("in ") + room, 10, [room] {
        return currentRoom() == room && investigation().GetState() == CInvestigation::Playing;
    });
    player.closeMessage(firstEnter, room);
}

// The square greets the player back; its message is closed, so that play goes on as it came in.
void backToTheSquare(CasePlayer& player) {
    player.clickOn("SpyGameInterface", "Back");
    player.add("back in the square", 10, [] {
        return currentRoom() == kSquare && investigation().GetState() == CInvestigation::Playing;
    });
    player.closeMessage("TOWN_ENTER", kSquare);
}

void clickInRoom(CasePlayer& player, const char* room, i32 x, i32 y) {
    player.clickAt(std::string(room) + " " + std::to_string(x) + "," + std::to_string(y),
                   [room, x, y] { return Scenario::roomPoint(room, x, y); });
}

// Both characters stand still, nothing planned or queued, Tez in the cell given.
void tezSettlesIn(CasePlayer& player, int cell) {
    player.add("Tez settles in cell " + std::to_string(cell), 60, [cell] {
        const cGardenMazeRoom* g = garden();
        return g && !g->IsWorkerPending() && g->GetTezStepCount() == 0 &&
               g->GetTez().state == CMazeWalker::Idle && g->GetPlayer().state == CMazeWalker::Idle &&
               g->GetTez().cell == cell - 1;
    });
}

void playTownMazes(CasePlayer& player) {
    enter(player, "HEDGE", kGarden, "GARDEN_FIRST_ENTER");
    tezSettlesIn(player, 1);
    // Into his cell: he runs off through the gate into cell 2, which opens only the way she comes.
    clickInRoom(player, kGarden, 270, 350);
    tezSettlesIn(player, 2);
    clickInRoom(player, kGarden, 570, 350);
    player.closeMessage("TezIsTaken", kGarden);
    player.add("the suspect's card", 60, [] { return item(kGarden, "WO_TEZ_SUSPECT")->IsVisible(); });
    player.check("Tez caught", [] {
        EXPECT_TRUE(garden()->IsTaken());
        EXPECT_TRUE(item(kGarden, "WO_TEZ_INFO")->IsVisible());
    });
    backToTheSquare(player);

    enter(player, "VENT", kVent, "VENT_FIRST_ENTER");
    player.holdAt(kVent, 330, 380, 3);
    player.closeMessage("MSG_SEEDRAGONBEFOREEXIT", kVent);
    player.holdAt(kVent, 630, 580, 3);
    player.closeMessage("MSG_SEEEXITAFTERDRAGON", kVent);
    player.check("both places found", [] {
        EXPECT_TRUE(vent()->IsBothSeen());
        EXPECT_TRUE(item(kVent, "FOTO_DRAGO")->IsVisible());
        EXPECT_TRUE(item(kVent, "FOTO_EXIT")->IsVisible());
    });
    backToTheSquare(player);
    player.add("the mazes done", 10, [] { return eventDone("TownMazesDone"); });
}

// The garden solved once Tez has walked in; the vent solved, then left while the figure crawls on, so
// that the save holds a walk in progress.
void solveTownMazes(CasePlayer& player) {
    enter(player, "HEDGE", kGarden, "GARDEN_FIRST_ENTER");
    tezSettlesIn(player, 1);
    player.solveRoom(kGarden);
    player.closeMessage("TezIsTaken", kGarden);
    player.add("the suspect's card", 10, [] { return item(kGarden, "WO_TEZ_SUSPECT")->IsVisible(); });
    backToTheSquare(player);

    enter(player, "VENT", kVent, "VENT_FIRST_ENTER");
    player.solveRoom(kVent);
    player.closeMessage("MSG_SEEEXITAFTERDRAGON", kVent);
    clickInRoom(player, kVent, 330, 380);
    player.add("crawling", 10, [] { return vent() && vent()->GetPath().GetStep() > 2; });
    backToTheSquare(player);
    player.check("the vent left mid-walk", [] {
        const auto* v = dynamic_cast<cVentMazePuzzleRoom*>(Scenario::game().GetRoomsManager().GetRoom(kVent));
        ASSERT_NE(v, nullptr);
        EXPECT_FALSE(v->GetPath().Empty());
    });
    player.add("the mazes done", 10, [] { return eventDone("TownMazesDone"); });
}

} // namespace

const RoomGroupSteps kTownMazes = {"mazes", playTownMazes, solveTownMazes};
