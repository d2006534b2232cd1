#pragma once
#include "GameHome.h"
#include "Scenario.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aLocaleServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

// What the steps of a case run look at in the running game.
namespace play {

inline CInvestigation& investigation() {
    return Scenario::game().GetInvestigation();
}
inline CPersonage& personage() {
    return *Scenario::game().GetPersonagesManager().GetCurrentPersonage();
}
inline std::string currentRoom() {
    const CRoomBase* room = investigation().GetCurrentRoomPtr();
    return room ? room->GetName() : std::string();
}
inline CSpyItem* item(const std::string& room, const std::string& name) {
    return Scenario::game().GetRoomsManager().GetItem(room, name);
}
inline bool eventDone(const std::string& name) {
    const CSpyEventBase* event = investigation().GetEventsManager().FindEvent(name);
    return event && event->IsDone();
}
inline bool holds(const std::string& name) {
    return personage().GetInventory().HasItem(name);
}
// The message box is up with the text of `key`; `still`: slid into its place.
inline bool messageShows(const std::string& key, const std::string& section, bool still = true) {
    const CDialogMessage& message = Scenario::game().GetPanel().GetMessage();
    const GUI::Widget* text = Scenario::find("Message", "text");
    const std::wstring* wanted = CResManager::getSingleton()->getLocaleServer()->findString(key, section);
    return message.IsVisible() && (!still || message.GetSlideMode() == CDialogMessage::SLIDE_STILL) && text &&
           wanted && text->GetText() == *wanted;
}
inline std::string saveFile() {
    return aFileServer::resolve(Scenario::game().GetSaveFileName());
}

// The name the saved game's first record holds.
inline std::string savedInvestigation(const std::string& file) {
    struct SavedName : SaveLoadEntity {
        SavedName() : SaveLoadEntity("<SpyMain>") {}
        const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override { return sys.readString(pos, name); }
        std::string name;
    } saved;
    SaveLoadSystem load;
    if (load.Load(file, CSpyMain::SaveHeader))
        load.LoadEntity(saved);
    load.Finish();
    return saved.name;
}

} // namespace play

// A case played step by step as a player takes it, with what each step must leave behind. A frame
// moves the game on by at most 0.04 s, so on a slow machine the steps that wait out a flight, a fade
// or an effect take several times their game time: their deadlines leave room for that.
class CasePlayer : public Scenario {
public:
    // The message box slides in: its button is clicked once the box stands still. A message that
    // waits for it may take the box in the same frame.
    void closeMessage(const std::string& key, const std::string& section) {
        add("the message " + key, 10, [key, section] { return play::messageShows(key, section); });
        clickOn("Message", "Close");
        add("the message " + key + " gone", 5,
            [key, section] { return !play::messageShows(key, section, false); });
    }
    void waitForGame(u32 state, double deadline) {
        add("game state " + std::to_string(state), deadline, [state] { return game().GetState() == state; });
    }
    // A step of one frame that checks what the steps before it left.
    void check(const std::string& name, std::function<void()> expectations) {
        call(name, std::move(expectations));
    }
    // The panel's Solve in the room, once it shows there, and Yes to it: the room solves itself and
    // play goes on.
    void solveRoom(const std::string& room) {
        clickAt(
            "Solve in " + room,
            [room]() -> std::optional<platform::Point> {
                const GUI::Widget* solve = find("SpyGameInterface", "Solve");
                if (play::currentRoom() != room || !solve || !solve->IsVisible())
                    return std::nullopt;
                return platform::Point{solve->GetScreenX() + solve->GetArea().w / 2,
                                       solve->GetScreenY() + solve->GetArea().h / 2};
            },
            30);
        clickOn("SolveConfirm", "Yes");
        waitForInvestigation(CInvestigation::Playing, 30);
    }
    // The strip scrolled with the panel's arrows until it shows the item at rest, then the item taken
    // from it onto the cursor; nothing at all when `wanted` says no as the steps come to it.
    void takeFromStrip(const std::string& find, std::shared_ptr<bool> wanted = nullptr) {
        auto skipped = [wanted] { return wanted && !*wanted; };
        add("show " + find + " in the strip", 20, [this, find, skipped, pressed = false]() mutable {
            if (pressed) {
                buttonUp(0);
                pressed = false;
                return false;
            }
            if (skipped())
                return true;
            const CInventory& strip = play::personage().GetInventory();
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
            setCursor(arrow->GetScreenX() + arrow->GetArea().w / 2,
                      arrow->GetScreenY() + arrow->GetArea().h / 2);
            buttonDown(0);
            pressed = true;
            return false;
        });
        add("point at the strip's " + find, 5, [this, find, skipped] {
            if (skipped())
                return true;
            const std::optional<platform::Point> at = inventoryPoint(find);
            if (at)
                setCursor(at->x, at->y);
            return at.has_value();
        });
        add("press on the strip's " + find, 1,
            [this, skipped] { return skipped() || (buttonDown(0), true); });
        add("release on the strip's " + find, 1, [this] { return buttonUp(0), true; });
    }
};
