#pragma once
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Events/CStoryWorld.h"
#include "game/SpyGame/FullItemName.h"

#include <map>
#include <memory>
#include <set>
#include <string>

// An item that is only what the story asks of it: won, visible, placed.
struct StubItem : CSpyItem {
    bool IsWin() const override { return win; }
    bool IsVisible() const override { return visible; }
    SpyPoint GetPos() const override { return pos; }

    bool win = false;
    bool visible = true;
    SpyPoint pos;
};

// Items by full name, "room:item".
struct StubRooms : CRoomItemLookup {
    bool HasItem(const std::string& room, const std::string& item) override {
        return items.count(room + ":" + item) != 0;
    }
    CSpyItem* GetItem(const std::string& room, const std::string& item) override {
        const auto found = items.find(room + ":" + item);
        return found == items.end() ? nullptr : found->second.get();
    }
    CSpyItem* GetItemByFullName(const std::string& fullName) override {
        std::string room, item;
        SplitFullItemName(fullName, room, item);
        return GetItem(room, item);
    }
    StubItem& add(const std::string& fullName) { return *(items[fullName] = std::make_unique<StubItem>()); }

    std::map<std::string, std::unique_ptr<StubItem>> items;
};

// The investigation as the events and tips see it, every answer a field.
struct FakeWorld : CStoryWorld {
    std::string GetInvestigationName() const override { return investigation; }
    bool GetCurrentRoom(std::string& name, std::string& className) const override {
        name = room;
        className = roomClass;
        return hasRoom;
    }
    bool IsHistoryEmpty() const override { return historyEmpty; }
    bool CanGiveHint() const override { return canGiveHint; }
    bool AreHintsDisabled() const override { return hintsDisabled; }
    bool IsCardOpened() const override { return cardOpened; }
    bool IsMessageShown() const override { return messageShown; }
    bool GetCurrentPersonage(std::string& name) const override {
        name = personage;
        return hasPersonage;
    }
    bool InventoryHasItem(const std::string& item) const override { return inventory.count(item) != 0; }
    u32 GetInventoryItemCount() const override { return u32(inventory.size()); }
    bool HasPersonage(const std::string& name) const override { return personages.count(name) != 0; }
    bool IsRoomTaskListDone(const std::string& p, const std::string& r) const override {
        return doneTasks.count(p + ":" + r) != 0;
    }
    bool IsRoomISpyListDone(const std::string& p, const std::string& r) const override {
        return doneISpy.count(p + ":" + r) != 0;
    }
    bool GetItemRecord(const std::string& p, const std::string& r, const std::string& i,
                       StoryItemRecord& out) const override {
        const auto found = records.find(p + ":" + r + ":" + i);
        if (found == records.end())
            return false;
        out = found->second;
        return true;
    }
    CRoomItemLookup& GetRooms() override { return rooms; }

    std::string investigation = "Demo";
    bool hasRoom = true;
    std::string room = "room_Hall";
    std::string roomClass = "CRoomBase";
    bool historyEmpty = true;
    bool canGiveHint = false;
    bool hintsDisabled = false;
    bool cardOpened = false;
    bool messageShown = false;
    bool hasPersonage = true;
    std::string personage = "Ann";
    std::set<std::string> inventory;
    std::set<std::string> personages{"Ann", "Bob"};
    // "personage:room" whose task (or generated) groups are complete.
    std::set<std::string> doneTasks;
    std::set<std::string> doneISpy;
    // "personage:room:item".
    std::map<std::string, StoryItemRecord> records;
    StubRooms rooms;
};
