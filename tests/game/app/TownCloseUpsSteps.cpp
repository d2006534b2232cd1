// The town's close-ups as a player takes them: the jade disk and the torch picked up on the square,
// then the puzzle box, the figurines, the fax machine, the stain, the back door, the shower room, the
// sliding tiles and the dark desk; and, anew, each of them solved.
#include "CaseRuns.h"
#include "TownSteps.h"
#include "game/SpyGame/Rooms/Puzzles/cChineseBoxPuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cDilaryLightsPuzzle.h"
#include "game/SpyGame/Rooms/Puzzles/cPiatnashkiRoom.h"
#include "tk2v/sound/aSound.h"

#include <cmath>
#include <deque>
#include <map>

using namespace play;
using namespace town;

namespace {

const char* const kBox = "zoom_Box";
const char* const kFigures = "zoom_Figures";
const char* const kFax = "zoom_Fax";
const char* const kStain = "zoom_Stain";
const char* const kExit = "zoom_Exit";
const char* const kShower = "room_Shower";
const char* const kTiles = "zoom_Tiles";
const char* const kTable = "zoom_Table";
const char* const kLamps = "zoom_Lamps";

bool radioPlays() {
    const aSound* loop = Scenario::game().GetRoomsManager().GetRoom(kShower)->GetSound("radio_loop");
    return loop && loop->isPlaying();
}

cChineseBoxPuzzleRoom& box() {
    return dynamic_cast<cChineseBoxPuzzleRoom&>(*Scenario::game().GetRoomsManager().GetRoom(kBox));
}

// A quarter turn of the disk centred at the room point (x, y), dragged clockwise round it.
void turnDiskAQuarter(CasePlayer& p, i32 x, i32 y) {
    p.dragThrough(kBox, {{x + 45, y}, {x + 32, y + 32}, {x, y + 45}});
}

// DISK1 turned a quarter and back: upright again it pops and stays. The jade disk set on its
// socket comes in at a random quarter: a quarter turn at a time brings it upright, where it is
// fixed and the turns left move it no more. The tile stands upright already: the box opens.
void playBox(CasePlayer& p) {
    enterRoom(p, "BOX", kBox, "BOX_FIRST_ENTER");
    turnDiskAQuarter(p, 260, 200);
    p.check("DISK1 a quarter off and still free", [] {
        EXPECT_FALSE(item(kBox, "DISK1")->IsDisabled());
        EXPECT_LT(std::cos(item(kBox, "DISK1")->GetRotation()), 0.5f);
    });
    p.dragThrough(kBox, {{260, 245}, {292, 232}, {305, 200}});
    p.check("DISK1 upright and fixed", [] { EXPECT_TRUE(item(kBox, "DISK1")->IsDisabled()); });
    takeFromStrip(p, "JADE");
    // The disk hangs from the pointer by the middle of its left side.
    p.pointAtRoom(kBox, 400, 200);
    p.clickHere();
    p.check("the jade disk set in", [] {
        EXPECT_TRUE(item(kBox, "DISK2")->IsVisible());
        EXPECT_FALSE(holds("JADE"));
    });
    for (int quarter = 0; quarter < 4; ++quarter)
        turnDiskAQuarter(p, 460, 200);
    p.add("the box open", 10, [] { return item(kBox, "BOXISOPEN")->IsVisible(); });
    p.check("the lid gone", [] {
        EXPECT_TRUE(box().IsBoxOpen());
        EXPECT_TRUE(item(kBox, "BOXISOPEN")->IsWin());
        EXPECT_EQ(item(kBox, "COVER")->GetColor() >> 24, 0u);
    });
    backToTheSquare(p);
}

// They stand 2, 3, 1: FIGURE2 trades places with FIGURE1, then with FIGURE3.
void playFigures(CasePlayer& p) {
    enterRoom(p, "FIGURES", kFigures, "FIGURES_FIRST_ENTER");
    for (const char* figure : {"FIGURE2", "FIGURE1", "FIGURE3", "FIGURE2"})
        p.clickItem(kFigures, figure);
    p.closeMessage("MSG_WINORDER", kFigures);
    p.check("the row right", [] {
        EXPECT_TRUE(item(kFigures, "COIN")->IsVisible());
        EXPECT_TRUE(item(kFigures, "COIN")->IsWin());
        EXPECT_LT(item(kFigures, "FIGURE1")->GetPos().x, item(kFigures, "FIGURE2")->GetPos().x);
        EXPECT_LT(item(kFigures, "FIGURE2")->GetPos().x, item(kFigures, "FIGURE3")->GetPos().x);
    });
    backToTheSquare(p);
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

// Each lamp dragged from the strip into its own hole (holes at room (400, 200) and (560, 200)).
void playLamps(CasePlayer& p) {
    enterRoom(p, "LAMPS", kLamps, "LAMPS_FIRST_ENTER");
    for (int lamp = 1; lamp <= 2; ++lamp) {
        takeFromStrip(p, "LAMP0" + std::to_string(lamp));
        p.pointAtRoom(kLamps, 455 + 160 * (lamp - 1), 260);
        p.clickHere();
        p.add("lamp " + std::to_string(lamp) + " home", 5, [lamp] {
            const std::string n = std::to_string(lamp);
            return item(kLamps, n + "_IN_" + n)->IsDisabled();
        });
    }
    p.check("the lamp table solved", [] {
        EXPECT_TRUE(dynamic_cast<cDilaryLightsPuzzle*>(investigation().GetCurrentRoomPtr())->IsSolved());
        EXPECT_FALSE(holds("LAMP01") || holds("LAMP02"));
    });
    backToTheSquare(p);
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

cPiatnashkiRoom& tilesRoom() {
    return dynamic_cast<cPiatnashkiRoom&>(*Scenario::game().GetRoomsManager().GetRoom(kTiles));
}

// The tile to click first on a shortest way home of the win tiles, breadth first over the layouts
// the slides reach; null when no slide is left to make or none leads home.
CSpyItem* nextSlide() {
    using Grid = cPiatnashkiRoom::Grid;
    const cPiatnashkiRoom& room = tilesRoom();
    const Grid& home = room.GetHomeGrid();
    const std::vector<CSpyItem*>& win = room.GetWinTiles();
    auto solved = [&](const Grid& g) {
        for (size_t r = 0; r < g.size(); ++r)
            for (size_t c = 0; c < g[r].size(); ++c)
                if (std::count(win.begin(), win.end(), g[r][c]) && g[r][c] != home[r][c])
                    return false;
        return true;
    };
    // Each layout the slides reach, with the tile first clicked on the way to it.
    std::map<Grid, CSpyItem*> first{{room.GetGrid(), nullptr}};
    std::deque<Grid> open{room.GetGrid()};
    while (!open.empty()) {
        const Grid g = open.front();
        open.pop_front();
        if (solved(g))
            return first[g];
        for (size_t r = 0; r < g.size(); ++r)
            for (size_t c = 0; c < g[r].size(); ++c) {
                if (!g[r][c] || g[r][c]->IsVisible())
                    continue;
                const int steps[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
                for (const auto& d : steps) {
                    const size_t nr = r + size_t(d[0]), nc = c + size_t(d[1]);
                    if (nr >= g.size() || nc >= g[nr].size() || !g[nr][nc])
                        continue;
                    Grid next = g;
                    std::swap(next[r][c], next[nr][nc]);
                    if (first.emplace(next, first[g] ? first[g] : g[nr][nc]).second)
                        open.push_back(next);
                }
            }
    }
    return nullptr;
}

void playTiles(CasePlayer& p) {
    enterRoom(p, "TILES", kTiles, "TILES_FIRST_ENTER");
    // A click a frame, each let go in the next, until the box opens.
    p.add("the tiles slid home", 60, [&p, pressed = false]() mutable {
        if (std::exchange(pressed, false))
            return p.buttonUp(0), false;
        if (item(kTiles, "LID")->IsVisible())
            return true;
        CSpyItem* tile = nextSlide();
        const std::optional<platform::Point> at =
            tile ? Scenario::itemPoint(kTiles, tile->GetName()) : std::nullopt;
        if (!at)
            return false;
        p.setCursor(at->x, at->y);
        p.buttonDown(0);
        pressed = true;
        return false;
    });
    p.add("the card shown", 10, [] { return item(kTiles, "CARD")->IsVisible(); });
    p.check("the card a win", [] { EXPECT_TRUE(item(kTiles, "CARD")->IsWin()); });
    backToTheSquare(p);
}

void expectPrintFound() {
    EXPECT_TRUE(item(kTable, "PRINT")->IsVisible());
    EXPECT_TRUE(item(kTable, "PRINT2")->IsWin());
    EXPECT_FALSE(holds("TORCH")) << "spent";
    EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetItemOnCursor(), nullptr);
}

// The torch carried over the print on the desk (80 x 100 at room (300, 220)).
void playTable(CasePlayer& p) {
    enterRoom(p, "TABLE", kTable, "TABLE_FIRST_ENTER");
    takeFromStrip(p, "TORCH");
    p.pointAtRoom(kTable, 340, 270);
    p.add("the print found", 5, [] { return item(kTable, "PRINT")->IsVisible(); });
    p.closeMessage("MSG_FOUND", kTable);
    p.check("the print lifted and the torch spent", expectPrintFound);
    backToTheSquare(p);
}

void playCloseUps(CasePlayer& p) {
    takeFind(p, "JADE");
    takeFind(p, "TORCH");
    playBox(p);
    playFigures(p);
    playFax(p);
    playStain(p);
    playExit(p);
    takeFind(p, "LAMP01");
    takeFind(p, "LAMP02");
    playLamps(p);
    playShower(p);
    playTiles(p);
    playTable(p);
    p.add("the close-ups done", 10, [] { return eventDone("TownCloseUpsDone"); });
}

// The fax shows no solve: the game's own solve of the room is called instead. The jade disk and the
// stain's swab are in the strip when their rooms are solved.
void solveCloseUps(CasePlayer& p) {
    takeFind(p, "JADE");
    enterRoom(p, "BOX", kBox, "BOX_FIRST_ENTER");
    p.solveRoom(kBox);
    p.add("the box open", 10, [] { return item(kBox, "BOXISOPEN")->IsVisible(); });
    p.check("the jade disk taken", [] { EXPECT_FALSE(holds("JADE")); });
    backToTheSquare(p);
    enterRoom(p, "FIGURES", kFigures, "FIGURES_FIRST_ENTER");
    p.solveRoom(kFigures);
    p.closeMessage("MSG_WINORDER", kFigures);
    p.check("the figurines in their order", [] { EXPECT_TRUE(item(kFigures, "COIN")->IsVisible()); });
    backToTheSquare(p);
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
    takeFind(p, "LAMP01");
    takeFind(p, "LAMP02");
    solveIn(p, "LAMPS", kLamps, "LAMPS_FIRST_ENTER", [] {
        EXPECT_TRUE(item(kLamps, "1_IN_1")->IsVisible());
        EXPECT_TRUE(item(kLamps, "2_IN_2")->IsVisible());
        EXPECT_FALSE(holds("LAMP01") || holds("LAMP02"));
    });
    enterShower(p);
    p.solveRoom(kShower);
    leaveShower(p);
    // The tiles stay where they lie; the box opens and then shows its card.
    enterRoom(p, "TILES", kTiles, "TILES_FIRST_ENTER");
    p.solveRoom(kTiles);
    p.add("the box open and its card shown", 10, [] { return item(kTiles, "CARD")->IsVisible(); });
    backToTheSquare(p);
    // The torch was never picked up here: the desk finds its print without it.
    enterRoom(p, "TABLE", kTable, "TABLE_FIRST_ENTER");
    p.solveRoom(kTable);
    p.closeMessage("MSG_FOUND", kTable);
    p.check("the print lifted", expectPrintFound);
    backToTheSquare(p);
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
