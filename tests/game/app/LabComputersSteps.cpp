#include "CaseRuns.h"

#include <memory>
#include <optional>
#include <string>

// The lab's computers: the evidence taken from the shelf; in the archive the reader's films sorted,
// the fire searched and its film projected; the victim's name typed on the profile computer; the
// fingerprint search and the feature table on the identification computer; on the search terminal the
// name, the first number, and once the phone numbers are in hand the other two.

using namespace play;

namespace {

constexpr const char* Hub = "room_Lab";
constexpr const char* Archive = "room_ChronicleOffice";
constexpr const char* Reader = "zoom_Microfiche";
constexpr const char* Profile = "zoom_VictimId2";
constexpr const char* Victim = "zoom_VictimId";
constexpr const char* Searcher = "zoom_CrimeSearcher";

// Each film's cell on the reader's table, in the reader's pixels, and the card that brings it.
struct Film {
    const char* name;
    const char* card;
    i32 x, y;
};
constexpr Film Films[] = {{"F11", "FILM_1928", 60, 80},
                          {"F12", "FILM_1929", 170, 80},
                          {"F21", "FILM_1930", 60, 190},
                          {"F22", "FILM_1931", 170, 190}};
// The projector's slot, and a place of the reader where a press takes nothing.
constexpr platform::Point Slot{400, 120};
constexpr platform::Point Nowhere{600, 30};

void takeFromTheShelf(CasePlayer& player, const char* evidence) {
    player.clickItem(Hub, evidence);
    player.waitForInvestigation(CInvestigation::ItemPick, 30);
    player.clickOn("PickItem", "Continue");
    player.add(std::string(evidence) + " in the strip", 10, [evidence] { return holds(evidence); });
}

void enter(CasePlayer& player, const char* from, const char* item, const char* room) {
    player.clickItem(from, item);
    player.add(std::string("in ") + room, 10, [room] { return currentRoom() == room; });
}
// Back from a close-up to the room it was opened from.
void back(CasePlayer& player, const char* to) {
    player.clickOn("SpyGameInterface", "Back");
    player.add(std::string("back in ") + to, 10, [to] { return currentRoom() == to; });
    if (std::string(to) == Hub)
        player.closeMessage("LAB_ENTER", Hub);
}

// Keys one at a time with a quiet frame between: the same key twice running would read as held.
void typeApart(CasePlayer& player, const std::string& text) {
    for (char ch : text) {
        player.type(std::string(1, ch));
        player.add("a quiet key", 1, [] { return true; });
    }
}

std::optional<platform::Point> readerPoint(platform::Point at) {
    return Scenario::roomPoint(Reader, at.x, at.y);
}
const Film* projectedFilm() {
    for (const Film& film : Films)
        if (item(Reader, film.name)->IsVisible() &&
            item(Reader, film.name)->GetPos() == item(Reader, "TARGET")->GetPos())
            return &film;
    return nullptr;
}

void toTheReader(CasePlayer& player) {
    enter(player, Hub, "ARCHIVE", Archive);
    enter(player, Archive, "READER", Reader);
    player.closeMessage("MSG_NOFILMSEARCH", Reader);
}

// The film in the projector back on its cell, then each film whose card is in the strip onto its
// own; a film already in place leaves its two presses on an empty part of the reader.
void sortTheFilms(CasePlayer& player) {
    auto projected = std::make_shared<const Film*>(nullptr);
    player.clickAt("the projected film", [projected] {
        *projected = projectedFilm();
        return *projected ? Scenario::itemPoint(Reader, (*projected)->name) : std::nullopt;
    });
    player.clickAt("its cell", [projected] {
        return readerPoint({(*projected)->x + 10, (*projected)->y + 10});
    });
    for (const Film& film : Films) {
        player.clickAt(std::string("the card ") + film.card, [&film] {
            return holds(film.card) ? Scenario::inventoryPoint(film.card) : readerPoint(Nowhere);
        });
        player.clickAt(std::string("the cell of ") + film.name, [&film] {
            const CRoomBase* reader = Scenario::game().GetRoomsManager().GetRoom(Reader);
            return reader->GetItemOnCursor() ? readerPoint({film.x + 10, film.y + 10}) : readerPoint(Nowhere);
        });
    }
    player.closeMessage("MSG_FILMSSORTED", Reader);
    player.check("the films sorted", [] {
        EXPECT_FALSE(item(Reader, "MONIK_OFF")->IsVisible());
        for (const Film& film : Films)
            EXPECT_FALSE(holds(film.card)) << film.card;
    });
}

void searchAndProject(CasePlayer& player) {
    player.clickItem(Reader, "EDITBOX1");
    typeApart(player, "harbour fire\n");
    player.closeMessage("MSG_TRUESEARCHFILMSSORTED", Reader);
    player.clickItem(Reader, "F22");
    player.clickAt("the projector's slot", [] { return readerPoint(Slot); });
    player.closeMessage("MSG_FINDFILM", Reader);
    player.check("the fire found", [] {
        EXPECT_TRUE(item(Reader, "CLIPPING")->IsVisible());
        EXPECT_TRUE(item(Reader, "CLIPPING")->IsWin());
    });
}

void leaveTheArchive(CasePlayer& player) {
    back(player, Archive);
    enter(player, Archive, "LAB_DOOR", Hub);
    player.closeMessage("LAB_ENTER", Hub);
}

void playTheReader(CasePlayer& player) {
    toTheReader(player);
    sortTheFilms(player);
    searchAndProject(player);
    leaveTheArchive(player);
}

void playTheProfileComputer(CasePlayer& player) {
    enter(player, Hub, "PROFILE_PC", Profile);
    player.clickItem(Profile, "BTN_VICTIMID");
    player.clickItem(Profile, "BTN_ENTER_NAME");
    typeApart(player, "vera holm\n");
    player.clickItem(Profile, "ESCAPE");
    player.check("the profile printed", [] {
        EXPECT_TRUE(item(Profile, "PROFILE_REPORT")->IsWin());
        EXPECT_FALSE(holds("ID_CARD"));
    });
    back(player, Hub);
}

void playTheIdentificationComputer(CasePlayer& player) {
    enter(player, Hub, "VICTIM_PC", Victim);
    player.clickItem(Victim, "BTN_VICTIMID");
    player.clickItem(Victim, "BTN_CHECK_ID_DATA_BASE");
    player.clickInventoryItem("FINGERPRINTS");
    player.clickAt("the scanner", [] { return Scenario::roomPoint(Victim, 190, 200); });
    player.add("the search over", 30, [] { return item(Victim, "ERR_NO_MATCH_IN_DB")->IsVisible(); });
    player.clickItem(Victim, "ESCAPE");
    player.clickItem(Victim, "BTN_CHECK_MISSING_PERSONS");
    // Fair hair, grey eyes, tall, clicked on their words: each marker's places lie 70 apart from x 203.
    for (const platform::Point at : {platform::Point{305, 167}, {305, 227}, {375, 287}})
        player.clickAt("a feature", [at] { return Scenario::roomPoint(Victim, at.x, at.y); });
    player.clickItem(Victim, "SUBMIT");
    player.clickItem(Victim, "ESCAPE");
    player.check("the victim report printed", [] { EXPECT_TRUE(item(Victim, "ID_REPORT")->IsWin()); });
    back(player, Hub);
}

void lookUp(CasePlayer& player, const char* button, const std::string& text) {
    player.clickItem(Searcher, button);
    typeApart(player, text + "\n");
}

void playTheSearchTerminal(CasePlayer& player) {
    enter(player, Hub, "SEARCH_PC", Searcher);
    lookUp(player, "BTN_LOOKNAME", "vera holm");
    player.clickItem(Searcher, "ESCAPE");
    lookUp(player, "BTN_LOOKPHONE", "5550101");
    player.check("the first number", [] {
        EXPECT_TRUE(item(Searcher, "PHONE1")->IsVisible());
        EXPECT_FALSE(holds("INFORMATION"));
    });
    player.clickItem(Searcher, "ESCAPE");
    back(player, Hub);
    takeFromTheShelf(player, "PHONE_NUMBER");
    enter(player, Hub, "SEARCH_PC", Searcher);
    lookUp(player, "BTN_LOOKPHONE", "5550102");
    player.clickItem(Searcher, "ESCAPE");
    lookUp(player, "BTN_LOOKPHONE", "5550103");
    player.clickItem(Searcher, "ESCAPE");
    player.check("both numbers", [] {
        EXPECT_TRUE(item(Searcher, "TWO_NUMBERS")->IsWin());
        EXPECT_FALSE(holds("PHONE_NUMBER"));
    });
    back(player, Hub);
}

void playComputers(CasePlayer& player) {
    for (const char* evidence : {"ID_CARD", "FINGERPRINTS", "INFORMATION"})
        takeFromTheShelf(player, evidence);
    playTheReader(player);
    playTheProfileComputer(player);
    playTheIdentificationComputer(player);
    playTheSearchTerminal(player);
    player.add("the computers done", 10, [] { return eventDone("LabComputersDone"); });
}

void solveIn(CasePlayer& player, const char* item, const char* room) {
    enter(player, Hub, item, room);
    player.solveRoom(room);
    back(player, Hub);
}

void solveComputers(CasePlayer& player) {
    for (const char* evidence : {"ID_CARD", "FINGERPRINTS"})
        takeFromTheShelf(player, evidence);
    toTheReader(player);
    player.solveRoom(Reader);
    leaveTheArchive(player);
    solveIn(player, "PROFILE_PC", Profile);
    solveIn(player, "VICTIM_PC", Victim);
    // Without the phone numbers the terminal finds the first; with them the other two.
    solveIn(player, "SEARCH_PC", Searcher);
    takeFromTheShelf(player, "PHONE_NUMBER");
    solveIn(player, "SEARCH_PC", Searcher);
    player.add("the computers done", 10, [] { return eventDone("LabComputersDone"); });
}

} // namespace

const RoomGroupSteps kLabComputers = {"computers", playComputers, solveComputers};
