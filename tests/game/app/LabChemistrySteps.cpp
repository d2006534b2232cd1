#include "CaseRuns.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"

#include <optional>
#include <string>

// The lab's chemistry: the rack sorted as the bench's vials say, then every vial tested from the left
// and its colour and reaction ticked on the bench's screen, the checklist handed in, the report.

using namespace play;

namespace {

constexpr const char* Bench = "zoom_CrimeLabMain";
constexpr const char* Rack = "zoom_CrimeLabButtles";
const char* const Vials[] = {"B1", "B2", "B3"};
// The bench's checklists, in the bench's pixels, as its room.ini lays their cells.
constexpr i32 CellX = 540, ColorY = 88, EffectY = 222, Cell = 28, ColumnStep = 56, RowStep = 36;
// The items that show each column's colour or reaction; no reaction shows none.
const char* const Dishes[] = {"DISH_RED", "DISH_BLUE", "DISH_GREEN", "DISH_BLACK"};
const char* const Effects[] = {nullptr, "FIZZ", "BOIL", "SMOKE"};

const cCrimeLabButtles* rack() {
    return dynamic_cast<const cCrimeLabButtles*>(Scenario::game().GetRoomsManager().GetRoom(Rack));
}

// The place whose label is not the one it expects, and the place that shows that label; none when the
// rack is sorted.
std::optional<std::pair<size_t, size_t>> nextExchange() {
    const auto& slots = rack()->GetSlots();
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].labelItem->GetText() == slots[i].expectedText)
            continue;
        for (size_t j = 0; j < slots.size(); ++j)
            if (slots[j].labelItem->GetText() == slots[i].expectedText)
                return std::pair{i, j};
    }
    return std::nullopt;
}

// A press on a vial the rack's getters pick: `second` the one that shows what the first expects.
// A sorted rack takes the press on its first vial, which exchanges nothing.
void clickRackVial(CasePlayer& player, bool second) {
    player.clickAt(std::string("the rack's ") + (second ? "second" : "first") + " vial", [second] {
        const std::optional<std::pair<size_t, size_t>> exchange = nextExchange();
        const size_t place = !exchange ? 0 : second ? exchange->second : exchange->first;
        return Scenario::itemPoint(Rack, Vials[place]);
    });
}

// The row the selection marks, and the column of what the dish shows.
i32 selectedRow() {
    const f32 top = Scenario::game().GetRoomsManager().GetRoom(Bench)->GetPosition().y;
    return (i32(item(Bench, "SELECTION")->GetPos().y - top) - ColorY) / RowStep;
}
i32 shownColumn(const char* const (&names)[4], i32 none) {
    for (i32 i = 0; i < 4; ++i)
        if (names[i] && item(Bench, names[i])->IsVisible())
            return i;
    return none;
}

void tick(CasePlayer& player, bool effect) {
    player.clickAt(effect ? "the reaction's cell" : "the colour's cell",
                   [effect]() -> std::optional<platform::Point> {
                       const i32 column = effect ? shownColumn(Effects, 0) : shownColumn(Dishes, -1);
                       if (column < 0)
                           return std::nullopt;
                       const i32 x = CellX + column * ColumnStep + Cell / 2;
                       const i32 y = (effect ? EffectY : ColorY) + selectedRow() * RowStep + Cell / 2;
                       return Scenario::roomPoint(Bench, x, y);
                   });
}

void enterBench(CasePlayer& player, bool first) {
    player.clickItem("room_Lab", "BENCH");
    player.waitForInvestigation(CInvestigation::Playing, 10);
    if (first)
        player.closeMessage("BENCH_FIRST_ENTER", Bench);
}

// Back to the room before, whose entry message is closed.
void back(CasePlayer& player, const char* to, const char* message, const char* section) {
    player.clickOn("SpyGameInterface", "Back");
    player.add(std::string("back in ") + to, 10, [to] { return currentRoom() == to; });
    player.closeMessage(message, section);
}
void backToBench(CasePlayer& player) {
    back(player, Bench, "BENCH_ENTER", Bench);
}
void backToTheHub(CasePlayer& player) {
    back(player, "room_Lab", "LAB_ENTER", "room_Lab");
    player.add("the chemistry done", 10, [] { return eventDone("LabChemistryDone"); });
}

void sortTheRack(CasePlayer& player) {
    player.clickItem(Bench, "ROOMDOOR");
    player.add("in the rack", 10, [] { return currentRoom() == Rack; });
    player.closeMessage("RACK_ENTER", Rack);
    // Three places are sorted in two exchanges at most.
    for (int exchange = 0; exchange < 2; ++exchange) {
        clickRackVial(player, false);
        clickRackVial(player, true);
    }
    player.closeMessage("MSG_WINORDER", Rack);
    player.check("the rack sorted", [] {
        EXPECT_TRUE(rack()->IsOrderCorrect());
        EXPECT_TRUE(item(Rack, "SORTED")->IsVisible());
        EXPECT_EQ(personage().GetRoomInfo(Bench).m_RoomTask, "ROOM_TASKAFTERSORT");
    });
    backToBench(player);
}

void testTheVials(CasePlayer& player) {
    for (const char* vial : Vials) {
        player.clickItem(Bench, vial);
        player.clickItem(Bench, "TABLE_PIPETKA");
        player.clickItem(Bench, "BIG_FS");
        player.clickAt("the dish", [] {
            for (const char* dish : {"DISH_NONE", "DISH_RED", "DISH_BLUE", "DISH_GREEN", "DISH_BLACK"})
                if (item(Bench, dish)->IsVisible())
                    return Scenario::itemPoint(Bench, dish);
            return std::optional<platform::Point>();
        });
        player.check(std::string("a drop of ") + vial, [] {
            EXPECT_TRUE(item(Bench, "SELECTION")->IsVisible());
            EXPECT_FALSE(item(Bench, "BIG_FS")->IsVisible());
            EXPECT_EQ(Scenario::game().GetRoomsManager().GetRoom(Bench)->GetItemOnCursor(), nullptr);
        });
        tick(player, false);
        tick(player, true);
    }
}

// The report shows once the test is done; read, it finishes the bench's task.
void readTheReport(CasePlayer& player) {
    player.check("the report", [] {
        EXPECT_TRUE(item(Bench, "REPORT")->IsVisible());
        EXPECT_TRUE(item(Bench, "REPORT")->IsWin());
    });
    player.clickItem(Bench, "REPORT");
    player.closeMessage("REPORT_ABOUT", Bench);
}

void handIn(CasePlayer& player) {
    player.clickItem(Bench, "SUBMIT");
    player.clickItem(Bench, "SUBMIT_ON");
    player.clickItem(Bench, "CONTINUE_ON", 10);
    player.closeMessage("MESSAGE_WIN1", Bench);
    readTheReport(player);
}

void playChemistry(CasePlayer& player) {
    enterBench(player, true);
    sortTheRack(player);
    testTheVials(player);
    handIn(player);
    backToTheHub(player);
}

} // namespace

void solveLabChemistryToTheResult(CasePlayer& player) {
    enterBench(player, true);
    player.clickItem(Bench, "ROOMDOOR");
    player.add("in the rack", 10, [] { return currentRoom() == Rack; });
    player.closeMessage("RACK_ENTER", Rack);
    player.solveRoom(Rack);
    player.closeMessage("MSG_WINORDER", Rack);
    player.check("the rack solved", [] { EXPECT_TRUE(rack()->IsOrderCorrect()); });
    backToBench(player);
    player.solveRoom(Bench);
    player.add("the result screen", 10, [] { return item(Bench, "CONTINUE_ON")->IsVisible(); });
}

namespace {

void solveChemistry(CasePlayer& player) {
    solveLabChemistryToTheResult(player);
    player.clickItem(Bench, "CONTINUE_ON");
    player.closeMessage("MESSAGE_WIN1", Bench);
    readTheReport(player);
    backToTheHub(player);
}

} // namespace

const RoomGroupSteps kLabChemistry = {"chemistry", playChemistry, solveChemistry};
