#pragma once
// Steps the town's room groups share: the square's finds taken, the close-ups entered and left, and
// an item taken from the strip onto the cursor.
#include "CaseRuns.h"

#include <algorithm>
#include <memory>

namespace town {

using namespace play;

inline const char* const kHub = "room_Town";

// A quest item of the room played picked up and taken into the strip.
inline void pickInRoom(CasePlayer& p, const std::string& room, const std::string& find) {
    p.clickItem(room, find);
    p.waitForInvestigation(CInvestigation::ItemPick, 60);
    p.clickOn("PickItem", "Continue");
    p.add(find + " in the strip", 5,
          [find] { return investigation().GetState() == CInvestigation::Playing && holds(find); });
}

// A find of the square picked up and taken into the strip.
inline void takeFind(CasePlayer& p, const std::string& item) {
    pickInRoom(p, kHub, item);
}

// Into a close-up from its place on the square, its first message closed.
inline void enterRoom(CasePlayer& p, const std::string& place, const std::string& room,
                      const std::string& firstEnter) {
    p.clickItem(kHub, place);
    p.add("in " + room, 10, [room] { return currentRoom() == room; });
    p.closeMessage(firstEnter, room);
}

// Back on the square, its entry message closed: a save taken there holds no message on its way.
inline void backToTheSquare(CasePlayer& p) {
    p.clickOn("SpyGameInterface", "Back");
    p.add("back on the square", 10,
          [] { return currentRoom() == kHub && investigation().GetState() == CInvestigation::Playing; });
    p.closeMessage("TOWN_ENTER", kHub);
}

// The strip scrolled with the panel's arrows until it shows the item at rest, then the item taken
// from it onto the cursor; nothing at all when `wanted` says no as the steps come to it.
inline void takeFromStrip(CasePlayer& p, const std::string& find, std::shared_ptr<bool> wanted = nullptr) {
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

// Into a close-up, solved with the panel's Solve, what it leaves checked, and back on the square.
inline void solveIn(CasePlayer& p, const std::string& place, const std::string& room,
                    const std::string& firstEnter, std::function<void()> solved) {
    enterRoom(p, place, room, firstEnter);
    p.solveRoom(room);
    p.check(room + " solved", std::move(solved));
    backToTheSquare(p);
}

} // namespace town
