#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/CInventory.h"

#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

class aOptionsFile;
class CPersonagesManager;

// A change rule of an item: whose record (empty: the rule's owner), which room and item (empty: the
// focused ones), which text and its new value.
struct ItemInfoChange {
    std::string personage, room, item, type, value;
    bool operator==(const ItemInfoChange&) const = default;
};

struct StringTriple {
    std::string target, type, value;
    bool operator==(const StringTriple&) const = default;
};

// A playable character: its own view of every room and item, its task lists and its inventory.
// Every text is kept twice, as the scripts give it and as play has changed it; a save holds only
// the changed values, counters and task lists.
class CPersonage : public SaveLoadEntity {
public:
    // (room, item)
    using ItemKey = std::pair<std::string, std::string>;

    // What the personage knows of one item of one room.
    class CItemInfo : public SaveLoadEntity {
    public:
        const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
        u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
        void Reset();

        u32 m_UseCount = 0;
        u32 m_TouchCount = 0;
        std::string m_About, m_ScriptAbout;
        std::string m_ClickUse, m_ScriptClickUse;
        // The item "ONESELF": used by a click where it lies.
        ItemKey m_UseTo, m_ScriptUseTo;
        std::string m_SuccessApply, m_ScriptSuccessApply;
        std::string m_BadUse, m_ScriptBadUse;
        std::vector<StringTriple> m_StateScripts;
        std::vector<ItemInfoChange> m_UseChanges;
        std::vector<ItemInfoChange> m_PickChanges;
    };

    // The personage's view of one room.
    class CRoomInfo : public SaveLoadEntity {
    public:
        const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
        u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
        void Reset();

        std::string m_ScriptFirstEnter, m_ScriptEnterToRoom, m_ScriptRoomTask;
        u32 m_DiffLevel = 2;
        u32 m_ISpyItemsCount = 0;
        std::list<std::string> m_QuestGroupNames;
        std::vector<CFindItemsGroup> m_QuestGroups;
        std::vector<CFindItemsGroup> m_MustClickGroups;
        std::vector<CFindItemsGroup> m_MustUseGroups;
        u32 m_EnterCount = 0;
        std::string m_FirstEnter, m_EnterToRoom, m_RoomTask;
        std::vector<CFindItemsGroup> m_GeneratedGroups;
        std::vector<CFindItemsGroup> m_TaskList;
    };

    class CInvestigationInfo : public SaveLoadEntity {
    public:
        const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
        u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

        std::string m_InvTask;
        // Must-click, must-use and evidence groups in script order.
        std::vector<CFindItemsGroup> m_TaskGroups;
    };

    explicit CPersonage(const std::string& name);
    ~CPersonage() override;
    CPersonage(const CPersonage&) = delete;
    CPersonage& operator=(const CPersonage&) = delete;

    // Every personage alive, in creation order.
    static const std::vector<CPersonage*>& GetRegistry() { return registry(); }

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    void SaveChildren(SaveLoadSystem& sys) override;
    void LoadChildren(SaveLoadSystem& sys) override;

    // Back to the script values for a new game, drawing the room lists when asked.
    void Reset(bool generateLists);
    // Draws the room's hidden-object groups from the owner's pools and builds its task list.
    void GenItemsListToFind(const std::string& roomName, CRoomInfo& room);

    // Reads folder + name + ".ai" into the records of the room key; false without a name or file.
    bool LoadScript(const std::string& folder, const std::string& roomKey);
    void ParseKey_ChangeItemInfo(const std::vector<std::string>& tokens,
                                 std::vector<ItemInfoChange>& out) const;
    void ChangeState(const std::vector<std::string>& tokens, std::vector<StringTriple>& out) const;

    // Item rules.
    u32 EnterRoom(const std::string& room);
    std::string GetRoomEnterText();
    bool SetFocusedItem(const std::string& item);
    bool IsFocusedItemUsedOnSelf() const { return IsItemUsedOnSelf(m_FocusedRoom, m_FocusedItem); }
    bool IsItemUsedOnSelf(const std::string& room, const std::string& item) const;
    bool CanPickFocusedItem();
    std::string GetFocusedItemAbout();
    std::string GetFocusedItemBadUse();
    std::string GetFocusedItemClickUseText() const {
        return GetItemClickUseText(m_FocusedRoom, m_FocusedItem);
    }
    std::string GetItemClickUseText(const std::string& room, const std::string& item) const;
    ItemKey GetItemUseTo(const std::string& item) const;
    std::string GetItemSuccessApplyText(const std::string& item) const;
    u32 GetItemUseCount(const std::string& room, const std::string& item) const;
    u32 GetItemTouchCount(const std::string& room, const std::string& item) const;
    bool IsRoomISpyListDone(const std::string& room) const;
    bool IsRoomTaskListDone(const std::string& room) const;
    bool CompleteInvestigationTask(const std::string& title);
    void OnClickAtFocusedItem(const std::string& room, const std::string& item);
    void OnUseInventoryItemToFocusedItem(const std::string& carried);
    void OnPickFocusedItem();
    void ApplyItemScripts(const std::vector<ItemInfoChange>& changes);
    void SetItemText(const ItemKey& key, const std::string& type, const std::string& value);
    void SetRoomText(const std::string& room, const std::string& type, const std::string& value);
    void MarkItemPicked(const std::string& room, const std::string& item);
    void MarkItemClicked(const std::string& room, const std::string& item);
    void MarkItemUsed(const std::string& room, const std::string& item);

    const std::string& GetName() const { return m_Name; }
    CPersonagesManager* GetOwner() const { return m_pOwner; }
    void SetOwner(CPersonagesManager* owner) { m_pOwner = owner; }
    const std::string& GetFocusedRoom() const { return m_FocusedRoom; }
    const std::string& GetFocusedItem() const { return m_FocusedItem; }
    CInventory& GetInventory() { return m_Inventory; }
    CInvestigationInfo& GetInvestigationInfo() { return m_Investigation; }
    // Created when missing.
    CRoomInfo& GetRoomInfo(const std::string& room) { return m_Rooms[room]; }
    CItemInfo& GetItemInfo(const ItemKey& key) { return m_Items[key]; }
    // Null when missing.
    const CItemInfo* FindItemInfo(const ItemKey& key) const;
    const CRoomInfo* FindRoomInfo(const std::string& room) const;
    const std::map<ItemKey, CItemInfo>& GetItemInfos() const { return m_Items; }
    const std::map<std::string, CRoomInfo>& GetRoomInfos() const { return m_Rooms; }
    std::map<std::string, std::string>& GetNamedValues() { return m_NamedValues; }
    std::map<std::string, std::string>& GetStartNamedValues() { return m_StartNamedValues; }

private:
    static std::vector<CPersonage*>& registry();

    void ReadInvestigationSection(const aOptionsFile& file);
    void ReadRoomSection(const aOptionsFile& file, const std::string& roomKey);
    void ReadItemSection(const aOptionsFile& file, const std::string& roomKey, const std::string& item);
    // The first record, in map order, of that item name in any room.
    CItemInfo* FindCarriedRecord(const std::string& item);
    const CItemInfo* FindCarriedRecord(const std::string& item) const;
    void ApplyItemInfoChange(const ItemKey& key, const std::string& type, const std::string& value);
    using TickOff = bool (CFindItemsGroup::*)(const std::string&);
    void Mark(const std::string& room, const std::string& item, TickOff tick, bool generatedToo);

    CPersonagesManager* m_pOwner = nullptr;
    std::string m_Name;
    std::string m_FocusedRoom;
    std::string m_FocusedItem;
    std::map<std::string, std::string> m_NamedValues;
    std::map<std::string, std::string> m_StartNamedValues;
    std::map<ItemKey, CItemInfo> m_Items;
    CInventory m_Inventory;
    CInvestigationInfo m_Investigation;
    std::map<std::string, CRoomInfo> m_Rooms;
};

// "room:item" at the first ':'; without one the room is empty and the whole text is the item.
CPersonage::ItemKey ParseRoomItemPair(const std::string& text);
// One one-entry group per list token of the key in the current section, when the key is there.
void ParseFindList(const aOptionsFile& file, const std::string& key, std::vector<CFindItemsGroup>& groups,
                   u32 type);
