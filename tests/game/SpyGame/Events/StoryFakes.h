#pragma once
#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Events/CStoryWorld.h"
#include "tk2v/file/aOptionsFile.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// An item that is only what the story asks of it: named, won, visible, placed.
struct StubItem : CSpyItem {
    explicit StubItem(const std::string& name = "") { SetIdentity(name, "", nullptr); }
    bool IsWin() const override { return win; }
    bool IsVisible() const override { return visible; }
    SpyPoint GetPos() const override { return pos; }

    bool win = false;
    bool visible = true;
    SpyPoint pos;
};

// Items by full name, "room:item".
struct StubRooms : CRoomItemLookup {
    bool HasItem(const std::string& room, const std::string& item) const override {
        return items.count(room + ":" + item) != 0;
    }
    CSpyItem* GetItem(const std::string& room, const std::string& item) const override {
        const auto found = items.find(room + ":" + item);
        return found == items.end() ? nullptr : found->second.get();
    }
    CSpyItem* GetItemByFullName(const std::string& fullName) const override {
        std::string room, item;
        SplitFullItemName(fullName, room, item);
        return GetItem(room, item);
    }
    StubItem& add(const std::string& fullName) {
        std::string room, item;
        SplitFullItemName(fullName, room, item);
        return *(items[fullName] = std::make_unique<StubItem>(item));
    }

    std::map<std::string, std::unique_ptr<StubItem>> items;
};

// The investigation as the events and tips see it: its room and panel answers are fields, its
// personages real ones, "Ann" played at the start.
struct FakeWorld : CStoryWorld {
    FakeWorld() {
        aOptionsFile options;
        options.addSection("Personages");
        options.setValue("Personages", "PersonagesList", "Ann, Bob, Soleth, Marwenn");
        options.setValue("Personages", "StartPersonages", "Ann");
        personages.CreatePersonages(options, nullptr, nullptr);
        personages.ResetForNewGame(false);
    }

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
    CPersonagesManager* GetPersonagesManager() const override {
        return hasPersonages ? &personages : nullptr;
    }
    const CRoomItemLookup& GetRooms() const override { return rooms; }

    CPersonage& personage(const std::string& name) { return *personages.GetPersonage(name); }
    void play(const std::string& name) {
        personages.AddActivePersonage(name);
        personages.SelectPersonage(name);
    }
    // Items of these names in the played personage's inventory.
    void hold(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            held.push_back(std::make_unique<StubItem>(name));
            personages.GetCurrentPersonage()->GetInventory().AddItem(held.back().get());
        }
    }
    // One group still to find in the personage's task list (or generated list) of the room.
    void leaveTask(const std::string& name, const std::string& inRoom, bool generated = false) {
        CFindItemsGroup group("ITEM", 0);
        group.SetRemaining(1);
        CPersonage::CRoomInfo& info = personage(name).GetRoomInfo(inRoom);
        (generated ? info.m_GeneratedGroups : info.m_TaskList).push_back(group);
    }
    // The personage's record of room:item, touched and used so often.
    void record(const std::string& name, const std::string& inRoom, const std::string& item, u32 touches,
                u32 uses, bool usedOnSelf) {
        CPersonage::CItemInfo& info = personage(name).GetItemInfo({inRoom, item});
        info.m_TouchCount = touches;
        info.m_UseCount = uses;
        info.m_UseTo = {"", usedOnSelf ? "ONESELF" : "room_Hall:DOOR"};
    }

    std::string investigation = "Demo";
    bool hasRoom = true;
    std::string room = "room_Hall";
    std::string roomClass = "CRoomBase";
    bool historyEmpty = true;
    bool canGiveHint = false;
    bool hintsDisabled = false;
    bool cardOpened = false;
    bool messageShown = false;
    bool hasPersonages = true;
    StubRooms rooms;
    // Declared before the personages, whose inventories refer to them.
    std::vector<std::unique_ptr<StubItem>> held;
    mutable CPersonagesManager personages;
};
