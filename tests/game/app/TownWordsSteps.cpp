// The town's word and book puzzles as a player takes them: the finds picked up on the square, then
// the word machine, the zodiac book, the appointment book, the register and the torn letter; and, anew,
// each of them solved with the panel's Solve.
#include "CaseRuns.h"

#include <algorithm>
#include <cmath>
#include <memory>

using namespace play;

namespace {

const char* const kHub = "room_Town";
const char* const kMachine = "zoom_CapOJoe";
const char* const kZodiac = "zoom_ZodiacBook";
const char* const kDiary = "zoom_AppointmentBook";
const char* const kRegister = "zoom_Register";
const char* const kLetter = "zoom_TornLetter";

// The machine's board: cells 15.12 room pixels apart (0.7 of its 24-pixel font at scale 0.9); a cell's
// middle lies 7 pixels right of its corner and 12 below it. The row of letters stands at (70, 334),
// the theme, once it is being typed, at (230, 242).
constexpr i32 kCellStep100 = 1512;
i32 cellX(i32 lineX, i32 cell) {
    return lineX + cell * kCellStep100 / 100 + 7;
}

// A find of the square picked up and taken into the strip.
void takeFind(CasePlayer& p, const std::string& item) {
    p.clickItem(kHub, item);
    p.waitForInvestigation(CInvestigation::ItemPick, 60);
    p.clickOn("PickItem", "Continue");
    p.add(item + " in the strip", 5,
          [item] { return investigation().GetState() == CInvestigation::Playing && holds(item); });
}

// Into a close-up from its place on the square, its first message closed.
void enterRoom(CasePlayer& p, const std::string& place, const std::string& room,
               const std::string& firstEnter) {
    p.clickItem(kHub, place);
    p.add("in " + room, 10, [room] { return currentRoom() == room; });
    p.closeMessage(firstEnter, room);
}

// Back on the square, its entry message closed: a save taken there holds no message on its way.
void backToTheSquare(CasePlayer& p) {
    p.clickOn("SpyGameInterface", "Back");
    p.add("back on the square", 10,
          [] { return currentRoom() == kHub && investigation().GetState() == CInvestigation::Playing; });
    p.closeMessage("TOWN_ENTER", kHub);
}

// The strip scrolled with the panel's arrows until it shows the item at rest, then the item taken
// from it onto the cursor; nothing at all when `wanted` says no as the steps come to it.
void takeFromStrip(CasePlayer& p, const std::string& find, std::shared_ptr<bool> wanted = nullptr) {
    auto skipped = [wanted] { return wanted && !*wanted; };
    p.add("show " + find + " in the strip", 20, [&p, find, skipped, pressed = false]() mutable {
        if (pressed) {
            p.buttonUp(0);
            pressed = false;
            return false;
        }
        if (skipped())
            return true;
        const CInventory& strip = personage().GetInventory();
        const auto& items = strip.GetItems();
        const auto at = std::find(items.begin(), items.end(), strip.FindItem(find));
        if (at == items.end())
            return false;
        const u32 index = u32(at - items.begin()), first = strip.GetFirstVisible();
        const bool shown = index >= first && index < first + strip.GetVisibleCells();
        if (shown)
            return strip.GetScrollOffset() == 0;
        const GUI::Widget* arrow =
            Scenario::find("SpyGameInterface", index < first ? "ArrowLeft" : "ArrowRight");
        if (!arrow)
            return false;
        p.setCursor(arrow->GetScreenX() + arrow->GetArea().w / 2,
                    arrow->GetScreenY() + arrow->GetArea().h / 2);
        p.buttonDown(0);
        pressed = true;
        return false;
    });
    p.add("point at the strip's " + find, 5, [&p, find, skipped] {
        if (skipped())
            return true;
        const std::optional<platform::Point> at = Scenario::inventoryPoint(find);
        if (at)
            p.setCursor(at->x, at->y);
        return at.has_value();
    });
    p.add("press on the strip's " + find, 1, [&p, skipped] { return skipped() || (p.buttonDown(0), true); });
    p.add("release on the strip's " + find, 1, [&p] { return p.buttonUp(0), true; });
}

// A click at a point of the room played.
void clickRoom(CasePlayer& p, const std::string& room, i32 x, i32 y) {
    p.holdAt(room, x, y, 1);
}

void waitUntil(CasePlayer& p, const std::string& name, double deadline, std::function<bool()> done) {
    p.add(name, deadline, std::move(done));
}

void playMachine(CasePlayer& p) {
    enterRoom(p, "MACHINE", kMachine, "CAPOJOE_FIRST_ENTER");
    waitUntil(p, "the shuffle over", 20, [] { return item(kMachine, "TEXT_5_FREE_LETTERS")->IsVisible(); });
    clickRoom(p, kMachine, 600, 150);
    // The token dropped on the slot rolls in and pays for a letter.
    takeFromStrip(p, "TOKEN1");
    clickRoom(p, kMachine, 340, 444);
    waitUntil(p, "the token rolls", 5, [] { return item(kMachine, "MONEY1")->IsVisible(); });
    waitUntil(p, "the token in", 10, [] { return !item(kMachine, "MONEY1")->IsVisible(); });
    // C, bought from the row, shows in three words and pays a coin out.
    clickRoom(p, kMachine, cellX(70, 2), 346);
    waitUntil(p, "a coin paid out", 20, [] {
        const CSpyItem* coin = item(kMachine, "MONEY2");
        return coin->IsVisible() &&
               coin->GetPos().x <= item(kMachine, "MONEY_HOLE_LEFT")->GetPos().x - coin->GetWidth();
    });
    clickRoom(p, kMachine, 600, 150);
    // The theme typed: its free vowels and the C leave the two Fs.
    p.clickItem(kMachine, "SOLVE");
    waitUntil(p, "the theme to type", 5, [] { return item(kMachine, "INPUT_MESSAGE")->IsVisible(); });
    for (i32 cell : {2, 3}) {
        clickRoom(p, kMachine, cellX(230, cell), 254);
        p.type("f");
    }
    p.clickItem(kMachine, "BTN_ENTER_SOLUTION");
    p.closeMessage("MSG_HaveACap", kMachine);
    p.clickItem(kMachine, "TICKET");
    p.waitForInvestigation(CInvestigation::ItemPick, 60);
    p.clickOn("PickItem", "Continue");
    p.waitForInvestigation(CInvestigation::Playing, 10);
    p.check("the ticket won", [] {
        EXPECT_TRUE(item(kMachine, "TICKET")->IsWin());
        EXPECT_FALSE(holds("TOKEN1"));
    });
    backToTheSquare(p);
}

void playZodiac(CasePlayer& p) {
    enterRoom(p, "ZODIAC", kZodiac, "ZODIAC_FIRST_ENTER");
    // The fish on the ram's place, taken back, then both where they belong; the corner of a place is
    // clear of the figure shown on it.
    takeFromStrip(p, "INV02");
    clickRoom(p, kZodiac, 256, 236);
    p.check("the fish on the ram's place", [] { EXPECT_TRUE(item(kZodiac, "ZODIAC_FIG2")->IsVisible()); });
    clickRoom(p, kZodiac, 256, 236);
    p.check("the fish taken back", [] {
        EXPECT_FALSE(item(kZodiac, "ZODIAC_FIG2")->IsVisible());
        EXPECT_EQ(investigation().GetCurrentRoomPtr()->GetItemOnCursor(), item(kHub, "INV02"));
    });
    clickRoom(p, kZodiac, 396, 236);
    takeFromStrip(p, "INV01");
    clickRoom(p, kZodiac, 256, 236);
    waitUntil(p, "the book open", 10, [] { return item(kZodiac, "OPEN")->IsVisible(); });
    backToTheSquare(p);
}

void playDiary(CasePlayer& p) {
    enterRoom(p, "DIARY", kDiary, "DIARY_FIRST_ENTER");
    takeFromStrip(p, "STAKANSKARAND");
    // Rubbed line by line over the pressed-in writing until it shows.
    std::vector<platform::Point> strokes;
    for (i32 y = 200; y <= 340; y += 10) {
        strokes.push_back({400, y});
        strokes.push_back({640, y});
    }
    p.dragThrough(kDiary, strokes);
    p.closeMessage("MSG_ONFINDTEXT", kDiary);
    p.check("the writing found", [] {
        EXPECT_TRUE(item(kDiary, "HIDDEN_TEXT")->IsVisible());
        EXPECT_TRUE(holds("STAKANSKARAND")) << "the pencil comes back until the book is left";
    });
    backToTheSquare(p);
    p.check("the pencil gone with the book", [] { EXPECT_FALSE(holds("STAKANSKARAND")); });
}

// The page shown once its fade is over.
void turnTo(CasePlayer& p, const char* button, int page) {
    p.clickItem(kRegister, button);
    waitUntil(p, "page " + std::to_string(page), 5, [page] {
        return item(kRegister, "PAGE" + std::to_string(page))->GetColor() == 0xFFFFFFFF &&
               item(kRegister, "NEXT")->GetColor() == 0xFFFFFFFF;
    });
}

void playRegister(CasePlayer& p) {
    enterRoom(p, "REGISTER", kRegister, "REGISTER_FIRST_ENTER");
    turnTo(p, "NEXT", 2);
    turnTo(p, "NEXT", 3);
    turnTo(p, "BACK", 2);
    turnTo(p, "NEXT", 3);
    p.clickItem(kRegister, "TARGET");
    p.waitForInvestigation(CInvestigation::ItemPick, 60);
    p.clickOn("PickItem", "Continue");
    p.waitForInvestigation(CInvestigation::Playing, 10);
    p.check("the card found", [] { EXPECT_TRUE(personage().IsRoomTaskListDone(kRegister)); });
    backToTheSquare(p);
}

// A piece still in the strip taken, turned upright with the right button and dropped home; nothing
// for the piece that lay in place from the start.
void assemblePiece(CasePlayer& p, int n) {
    const std::string find = "PIECE" + std::to_string(n), piece = "LETTER_PIECE" + std::to_string(n);
    const i32 homeY[] = {60, 190, 320};
    auto held = std::make_shared<bool>(false);
    p.add("is " + find + " in the strip", 1, [find, held] { return *held = holds(find), true; });
    takeFromStrip(p, find, held);
    // Held by its middle: the pointer over the piece's home puts it there.
    p.add("over the home of " + piece, 5, [&p, n, homeY] {
        const std::optional<platform::Point> at = Scenario::roomPoint(kLetter, 360, homeY[n - 1] + 75);
        if (at)
            p.setCursor(at->x, at->y);
        return at.has_value();
    });
    p.add("turn " + piece + " upright", 10, [&p, piece, held, down = false]() mutable {
        const CSpyItem* loose = item(kLetter, piece);
        if (down) {
            p.buttonUp(1);
            down = false;
            return false;
        }
        if (!*held || std::cos(loose->GetRotation()) > 0.99f)
            return true;
        p.buttonDown(1);
        down = true;
        return false;
    });
    p.add("drop " + piece, 1, [&p, held] {
        if (*held)
            p.buttonDown(0);
        return true;
    });
    p.add("let go of " + piece, 1, [&p] { return p.buttonUp(0), true; });
    p.check(piece + " home", [piece] { EXPECT_TRUE(item(kLetter, piece)->IsDisabled()); });
}

void playLetter(CasePlayer& p) {
    enterRoom(p, "LETTERTABLE", kLetter, "LETTER_FIRST_ENTER");
    for (int n = 1; n <= 3; ++n)
        assemblePiece(p, n);
    waitUntil(p, "the letter whole", 5, [] { return item(kLetter, "ASSEMBLE_COMPLETE")->IsVisible(); });
    backToTheSquare(p);
}

void playWords(CasePlayer& p) {
    for (const char* find : {"TOKEN1", "INV01", "INV02", "STAKANSKARAND", "PIECE1", "PIECE2", "PIECE3"})
        takeFind(p, find);
    playMachine(p);
    playZodiac(p);
    playDiary(p);
    playRegister(p);
    playLetter(p);
    waitUntil(p, "the word puzzles done", 10, [] { return eventDone("TownWordsDone"); });
}

void solveIn(CasePlayer& p, const std::string& place, const std::string& room, const std::string& firstEnter,
             std::function<void()> solved) {
    enterRoom(p, place, room, firstEnter);
    p.solveRoom(room);
    p.check(room + " solved", std::move(solved));
    backToTheSquare(p);
}

// The appointment book's solve needs the pencil in the strip, the letter's table every piece found.
void solveWords(CasePlayer& p) {
    for (const char* find : {"STAKANSKARAND", "PIECE1", "PIECE2", "PIECE3"})
        takeFind(p, find);
    solveIn(p, "MACHINE", kMachine, "CAPOJOE_FIRST_ENTER",
            [] { EXPECT_TRUE(item(kMachine, "TICKET")->IsVisible()); });
    solveIn(p, "ZODIAC", kZodiac, "ZODIAC_FIRST_ENTER",
            [] { EXPECT_TRUE(item(kZodiac, "OPEN_LOCKS")->IsVisible()); });
    solveIn(p, "DIARY", kDiary, "DIARY_FIRST_ENTER",
            [] { EXPECT_TRUE(item(kDiary, "HIDDEN_TEXT")->IsVisible()); });
    solveIn(p, "REGISTER", kRegister, "REGISTER_FIRST_ENTER",
            [] { EXPECT_TRUE(personage().IsRoomTaskListDone(kRegister)); });
    solveIn(p, "LETTERTABLE", kLetter, "LETTER_FIRST_ENTER",
            [] { EXPECT_TRUE(item(kLetter, "ASSEMBLE_COMPLETE")->IsVisible()); });
}

} // namespace

const RoomGroupSteps townWords = {"words", &playWords, &solveWords};
