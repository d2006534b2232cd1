// The town's garden as a player takes it: the finds picked up under the trees, the crab caught in its
// last open hole and shaken off its crystal, the bugs weighing the rose's leaf down to the stain, the
// ropes taken off the keys, the keys in the shed's console until the hook falls, and the tattoo
// brushed clear of sand; and, anew, each close-up solved with the panel's Solve.
#include "CaseRuns.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

using namespace play;

namespace {

const char* const kSquare = "room_Town";
const char* const kGarden = "room_Garden";
const char* const kBeach = "zoom_CrabPuzzle";
const char* const kRose = "zoom_GardenRose";
const char* const kNets = "zoom_NetPuzzle";
const char* const kShed = "zoom_Warehouse";
const char* const kSand = "zoom_SandCleaning";

// The garden's finds: the four things that block the crab's holes, the twig and the brush.
const char* const kBlockers[] = {"APPLE", "CORK", "PACKET_OF_CIGARETTES", "LIGHTER"};
const char* const kFinds[] = {"APPLE", "CORK", "PACKET_OF_CIGARETTES", "LIGHTER", "TWIG", "BRUSH"};
// The blockers' holes on the beach, in the order of kBlockers, and the crab's last hole.
const char* const kHoles[] = {"APPLE_DYR", "PROBKA_DYR", "SIGARETY_DYR", "ZIPPO_DYR"};
const char* const kShown[] = {"APPLE", "PROBKA", "SIGARETY", "ZIPPO"};
// The rose's leaves, the bugs on the leaf and its petals.
const char* const kBlown[] = {"LEAF", "LEAF2", "BUG1", "BUG2", "PETAL1", "PETAL2"};
// A hole's mouth, where the crab comes out, and the lower half of its picture, which its runs upwards
// leave clear.
platform::Point holePoint(int hole) {
    return {88 + 120 * hole, 270};
}

// A find of the room played picked up into the strip; a find the personage has words about shows
// them first, in the pick dialog.
enum class Words { None, Shown };
void takeFind(CasePlayer& p, const char* room, const std::string& find, Words words = Words::None) {
    p.clickItem(room, find);
    if (words == Words::Shown) {
        p.waitForInvestigation(CInvestigation::ItemPick, 60);
        p.clickOn("PickItem", "Continue");
    }
    p.add(find + " in the strip", 10,
          [find] { return investigation().GetState() == CInvestigation::Playing && holds(find); });
}

void clickRoom(CasePlayer& p, const char* room, i32 x, i32 y) {
    p.holdAt(room, x, y, 1);
}

void enterRoom(CasePlayer& p, const char* from, const char* place, const char* room) {
    p.clickItem(from, place);
    p.add(std::string("in ") + room, 10,
          [room] { return currentRoom() == room && investigation().GetState() == CInvestigation::Playing; });
}

// Back out of a close-up into the garden, which greets the player again.
void backToTheGarden(CasePlayer& p) {
    p.clickOn("SpyGameInterface", "Back");
    p.add("back in the garden", 10,
          [] { return currentRoom() == kGarden && investigation().GetState() == CInvestigation::Playing; });
    p.closeMessage("GARDEN_ENTER", kGarden);
}

// Out through the garden's gate.
void backToTheSquare(CasePlayer& p) {
    p.clickItem(kGarden, "SQUARE");
    p.add("back on the square", 10,
          [] { return currentRoom() == kSquare && investigation().GetState() == CInvestigation::Playing; });
    p.closeMessage("TOWN_ENTER", kSquare);
}

// Through the square's gate, the garden's greeting closed, and its six finds taken.
void enterTheGarden(CasePlayer& p) {
    enterRoom(p, kSquare, "GARDEN", kGarden);
    p.closeMessage("GARDEN_FIRST_ENTER", kGarden);
    for (const char* find : kFinds)
        takeFind(p, kGarden, find);
}

// The crab's beach, first entered with the four blockers in the strip: the nudge that they are all
// found. The close-ups greet the player only on later visits.
void enterTheBeach(CasePlayer& p) {
    enterRoom(p, kGarden, "BEACH", kBeach);
    p.closeMessage("MARWENN_ALLITEMSFIND", kBeach);
}

// A blocker put in its hole once the crab is clear of the spot clicked.
void blockHole(CasePlayer& p, int hole) {
    p.takeFromStrip(kBlockers[hole]);
    const platform::Point at = holePoint(hole);
    p.clickAt(
        std::string("block ") + kHoles[hole],
        [at, hole]() -> std::optional<platform::Point> {
            // The holes stand 120 pixels apart: a crab nearer than half that runs from this one.
            const CSpyItem* crab = item(kBeach, "CRAB");
            if (crab->IsVisible() && std::abs(crab->GetPos().x - item(kBeach, kHoles[hole])->GetPos().x) < 60)
                return std::nullopt;
            return Scenario::roomPoint(kBeach, at.x, at.y);
        },
        20);
    p.add(std::string(kShown[hole]) + " in its hole", 5,
          [hole] { return item(kBeach, kShown[hole])->IsVisible(); });
}

void playTheBeach(CasePlayer& p) {
    enterTheBeach(p);
    for (int hole = 0; hole < 4; ++hole)
        blockHole(p, hole);
    // The twig in the last hole catches the crab; carried off the hole, the crab lets its crystal go,
    // and a click lets the crab go home.
    p.takeFromStrip("TWIG");
    clickRoom(p, kBeach, holePoint(4).x, holePoint(4).y);
    p.check("the crab caught", [] {
        EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetItemOnCursor(), item(kBeach, "PALKA1"));
    });
    p.pointAtRoom(kBeach, 320, 400);
    p.closeMessage("MARWENN_CRISTAL_DOWN", kBeach);
    clickRoom(p, kBeach, 320, 400);
    p.check("the crab let go", [] {
        EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetItemOnCursor(), nullptr);
        EXPECT_FALSE(holds("TWIG"));
    });
    takeFind(p, kBeach, "CRISTAL", Words::Shown);
    p.check("the crystal won", [] { EXPECT_TRUE(item(kBeach, "CRISTAL")->IsWin()); });
    backToTheGarden(p);
}

// The rose's bugs picked up and put on the leaf: the last one lets the wind blow the leaves and then
// the petals away.
void putTheBugsOnTheLeaf(CasePlayer& p) {
    for (const char* bug : {"BUG1", "BUG2"})
        takeFind(p, kRose, bug);
    for (const char* bug : {"BUG1", "BUG2"}) {
        p.takeFromStrip(bug);
        p.clickItem(kRose, "LEAF");
    }
}

void playTheRose(CasePlayer& p) {
    enterRoom(p, kGarden, "ROSEBUSH", kRose);
    putTheBugsOnTheLeaf(p);
    p.closeMessage("MSG_BLOOD", kRose);
    p.check("the stain bare", [] {
        EXPECT_TRUE(item(kRose, "BLOOD")->IsVisible());
        EXPECT_FALSE(holds("BUG1") || holds("BUG2"));
        // The bugs go with the leaf they sit on, not left hanging where it was.
        const CRoomBase& rose = *investigation().GetCurrentRoomPtr();
        for (const char* bug : {"BUG1", "BUG2"})
            EXPECT_GT(item(kRose, bug)->GetPos().y, rose.GetPosition().y + rose.GetHeight()) << bug;
    });
    backToTheGarden(p);
}

void playTheNets(CasePlayer& p) {
    enterRoom(p, kGarden, "NETS", kNets);
    // Each rope comes off once at most one other lies on it.
    for (const char* rope : {"ROPE3", "ROPE4", "ROPE2", "ROPE1"}) {
        p.clickItem(kNets, rope);
        p.add(std::string(rope) + " gone", 10, [rope] { return !item(kNets, rope)->IsVisible(); });
    }
    takeFind(p, kNets, "PELUNA_KEYS", Words::Shown);
    backToTheGarden(p);
}

void playTheShed(CasePlayer& p) {
    enterRoom(p, kGarden, "SHED", kShed);
    p.takeFromStrip("PELUNA_KEYS");
    p.clickItem(kShed, "PULT_LOCK");
    p.add("the console shows", 10, [] { return item(kShed, "PULT")->IsVisible(); });
    p.add("the hook down and the last find out", 30, [] { return item(kShed, "LASTWIN_ITEM")->IsVisible(); });
    p.clickItem(kShed, "LASTWIN_ITEM");
    p.closeMessage("LASTWIN_ABOUT", kShed);
    p.check("the last find examined", [] {
        EXPECT_TRUE(item(kShed, "LASTWIN_ITEM")->IsWin());
        EXPECT_FALSE(holds("PELUNA_KEYS"));
    });
    backToTheGarden(p);
}

void playTheSand(CasePlayer& p) {
    enterRoom(p, kGarden, "SANDPIT", kSand);
    p.takeFromStrip("BRUSH");
    // The brush held down on the first patch, over the tattoo's cross-bar, until the patch is gone and
    // the tattoo under it shows.
    p.pressAt(kSand, 310, 219);
    p.add("the first patch brushed away", 20, [] { return messageShows("TATU_FOUND", kSand, false); });
    p.release();
    p.closeMessage("TATU_FOUND", kSand);
    p.check("the tattoo found", [] { EXPECT_TRUE(item(kSand, "TATU")->IsWin()); });
    backToTheGarden(p);
}

void playTownGarden(CasePlayer& p) {
    enterTheGarden(p);
    playTheBeach(p);
    playTheRose(p);
    playTheNets(p);
    playTheShed(p);
    playTheSand(p);
    backToTheSquare(p);
    p.add("the garden done", 10, [] { return eventDone("TownGardenDone"); });
}

// Solved as quickly as the close-ups are reached: the beach with its five things held, the rose
// left while its petals still fall.
void solveTownGarden(CasePlayer& p) {
    enterTheGarden(p);
    enterTheBeach(p);
    p.solveRoom(kBeach);
    p.closeMessage("MARWENN_CRISTAL_DOWN", kBeach);
    p.check("the blockers used and the twig taken", [] {
        for (const char* find : {"APPLE", "CORK", "PACKET_OF_CIGARETTES", "LIGHTER", "TWIG"})
            EXPECT_FALSE(holds(find)) << find;
    });
    backToTheGarden(p);

    enterRoom(p, kGarden, "ROSEBUSH", kRose);
    p.solveRoom(kRose);
    backToTheGarden(p);

    for (const auto& [place, room] :
         {std::pair{"NETS", kNets}, std::pair{"SHED", kShed}, std::pair{"SANDPIT", kSand}}) {
        enterRoom(p, kGarden, place, room);
        p.solveRoom(room);
        backToTheGarden(p);
    }
    backToTheSquare(p);
}

} // namespace

void playTownRoseMidFall(CasePlayer& p) {
    enterTheGarden(p);
    enterRoom(p, kGarden, "ROSEBUSH", kRose);
    // Its greeting would stay up through the fall.
    p.closeMessage("ROSE_ENTER", kRose);
    putTheBugsOnTheLeaf(p);
    p.add("the petals falling, no message up", 10, [] { return theRoseStillFalls(); });
}

bool theRoseStillFalls() {
    if (currentRoom() != kRose || item(kRose, "ROSE")->IsVisible() ||
        Scenario::game().GetPanel().GetMessage().IsVisible())
        return false;
    // The fall ends once everything blown is below the picture's bottom edge.
    const CRoomBase& rose = *investigation().GetCurrentRoomPtr();
    const f32 bottom = rose.GetPosition().y + f32(rose.GetHeight()) * rose.GetScale().y;
    return std::any_of(std::begin(kBlown), std::end(kBlown),
                       [bottom](const char* name) { return item(kRose, name)->GetPos().y <= bottom; });
}

const RoomGroupSteps kTownGarden = {"garden", playTownGarden, solveTownGarden};
