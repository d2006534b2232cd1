// The town's close-ups as a player takes them: the torch picked up on the square, then the fax
// machine, the stain, the back door and the shower room; and, anew, each of them solved.
#include "CaseRuns.h"
#include "TownSteps.h"
#include "tk2v/sound/aSound.h"

using namespace play;
using namespace town;

namespace {

const char* const kFax = "zoom_Fax";
const char* const kStain = "zoom_Stain";
const char* const kExit = "zoom_Exit";
const char* const kShower = "room_Shower";

bool radioPlays() {
    const aSound* loop = Scenario::game().GetRoomsManager().GetRoom(kShower)->GetSound("radio_loop");
    return loop && loop->isPlaying();
}

void playFax(CasePlayer& p) {
    enterRoom(p, "FAX", kFax, "FAX_FIRST_ENTER");
    p.check("nothing to solve at the fax", [] {
        const GUI::Widget* solve = Scenario::find("SpyGameInterface", "Solve");
        EXPECT_TRUE(!solve || !solve->IsVisible());
        EXPECT_TRUE(item(kFax, "REPORT")->IsDisabled());
    });
    p.clickItem(kFax, "BUTTON");
    p.add("the report printed", 20, [] { return !item(kFax, "REPORT")->IsDisabled(); });
    p.check("the report out of the machine", [] {
        EXPECT_FALSE(item(kFax, "FAX_WAITING")->IsVisible());
        // Four rises of (200 - 20) / 4 from the slot at room y 200 (items stand in screen pixels).
        const std::optional<platform::Point> top = Scenario::roomPoint(kFax, 270, 20);
        ASSERT_TRUE(top.has_value());
        EXPECT_EQ(item(kFax, "REPORT")->GetPos().y, f32(top->y));
    });
    pickInRoom(p, kFax, "REPORT");
    p.check("the report kept", [] { EXPECT_TRUE(item(kFax, "REPORT")->IsWin()); });
    backToTheSquare(p);
}

void playStain(CasePlayer& p) {
    enterRoom(p, "STAIN", kStain, "STAIN_FIRST_ENTER");
    pickInRoom(p, kStain, "TAMPON");
    takeFromStrip(p, "TAMPON");
    p.clickItem(kStain, "BLOOD");
    p.add("the sample taken", 5, [] { return item(kStain, "PAKET")->IsVisible(); });
    p.check("the swab used up", [] {
        EXPECT_FALSE(holds("TAMPON"));
        EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetItemOnCursor(), nullptr);
    });
    backToTheSquare(p);
}

void playExit(CasePlayer& p) {
    enterRoom(p, "EXIT", kExit, "EXIT_FIRST_ENTER");
    p.clickItem(kExit, "HANDLE");
    p.add("led back to the square", 10,
          [] { return currentRoom() == kHub && investigation().GetState() == CInvestigation::Playing; });
    p.closeMessage("TOWN_ENTER", kHub);
    p.check("the note left in view", [] { EXPECT_TRUE(item(kExit, "NOTE")->IsVisible()); });
}

// Through the shower room's door back to the square.
void leaveShower(CasePlayer& p) {
    p.clickItem(kShower, "DOOR");
    p.add("out of the shower room", 10,
          [] { return currentRoom() == kHub && investigation().GetState() == CInvestigation::Playing; });
    p.closeMessage("TOWN_ENTER", kHub);
    p.check("the radio silent once left", [] { EXPECT_FALSE(radioPlays()); });
}

void enterShower(CasePlayer& p) {
    p.clickItem(kHub, "SHOWER");
    p.add("in the shower room", 10, [] { return currentRoom() == kShower; });
    p.closeMessage("SHOWER_FIRST_ENTER", kShower);
}

void playShower(CasePlayer& p) {
    enterShower(p);
    p.add("the radio playing", 5, radioPlays);
    takeFromStrip(p, "TORCH");
    // The beam, 200 x 200, follows the pointer held by its middle (items stand in screen pixels).
    p.add("the beam round the pointer", 5, [&p] {
        const std::optional<platform::Point> at = Scenario::roomPoint(kShower, 400, 300);
        if (!at)
            return false;
        p.setCursor(at->x, at->y);
        const SpyPoint beam = item(kShower, "BEAM")->GetPos();
        return beam.x == f32(at->x - 100) && beam.y == f32(at->y - 100);
    });
    // Put back with a click on the strip.
    p.add("point at the strip", 1, [&p] {
        const aRect& strip = personage().GetInventory().GetArea();
        p.setCursor(strip.x + strip.w / 2, strip.y + strip.h / 2);
        return true;
    });
    p.add("press on the strip", 1, [&p] { return p.buttonDown(0), true; });
    p.add("release on the strip", 1, [&p] { return p.buttonUp(0), true; });
    p.add("the torch back in the strip", 5,
          [] { return !investigation().GetCurrentRoomPtr()->GetItemOnCursor() && holds("TORCH"); });
    p.check("the radio still playing", [] { EXPECT_TRUE(radioPlays()); });
    leaveShower(p);
}

void playCloseUps(CasePlayer& p) {
    takeFind(p, "TORCH");
    playFax(p);
    playStain(p);
    playExit(p);
    playShower(p);
    p.add("the close-ups done", 10, [] { return eventDone("TownCloseUpsDone"); });
}

// The fax shows no solve: the game's own solve of the room is called instead. The stain's swab is
// in the strip when it is solved.
void solveCloseUps(CasePlayer& p) {
    enterRoom(p, "FAX", kFax, "FAX_FIRST_ENTER");
    p.call("the fax solved", [] { investigation().GetCurrentRoomPtr()->SolveRoom(); });
    // Printed at once: the report is free to take, whatever the room's own solve does with it.
    p.add("the report printed at once", 30, [] {
        return investigation().GetState() == CInvestigation::Playing && !item(kFax, "REPORT")->IsDisabled();
    });
    backToTheSquare(p);
    enterRoom(p, "STAIN", kStain, "STAIN_FIRST_ENTER");
    pickInRoom(p, kStain, "TAMPON");
    p.solveRoom(kStain);
    p.check("the stain solved", [] {
        EXPECT_TRUE(item(kStain, "PAKET")->IsVisible());
        EXPECT_FALSE(holds("TAMPON"));
    });
    backToTheSquare(p);
    solveIn(p, "EXIT", kExit, "EXIT_FIRST_ENTER", [] { EXPECT_EQ(currentRoom(), kExit); });
    enterShower(p);
    p.solveRoom(kShower);
    leaveShower(p);
}

} // namespace

void playTownFaxMidPrinting(CasePlayer& p) {
    enterRoom(p, "FAX", kFax, "FAX_FIRST_ENTER");
    p.clickItem(kFax, "BUTTON");
    // One rise of (200 - 20) / 4 from the slot at room y 200, of the four the printing makes.
    p.add("the report a tick out", 10, [] {
        const std::optional<platform::Point> once = Scenario::roomPoint(kFax, 270, 155);
        return once && item(kFax, "REPORT")->GetPos().y == f32(once->y);
    });
    p.check("printing, no message up", [] {
        EXPECT_TRUE(item(kFax, "REPORT")->IsDisabled());
        EXPECT_FALSE(Scenario::game().GetPanel().GetMessage().IsVisible());
    });
}

const RoomGroupSteps kTownCloseUps = {"close-ups", &playCloseUps, &solveCloseUps};
