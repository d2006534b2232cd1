#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CFindItem.h"

#include <string>
#include <vector>

// One line of a task list: entries that together stand for it, and how many of them are still open.
class CFindItemsGroup : public SaveLoadEntity {
public:
    // Name, remaining and the entry count.
    static constexpr u32 MinRecordSize = 1 + 2 + 4;

    CFindItemsGroup() = default;
    CFindItemsGroup(const std::string& itemName, u32 type);

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    void AddItem(const std::string& itemName, u32 type);
    // Room for that many entries, so that adding them allocates once.
    void ReserveItems(size_t count) { m_items.reserve(count); }
    void Reset();
    // The last entry of that name that has not been picked up, or null.
    CFindItem* FindEntry(const std::string& itemName);
    // Each sets its own flag on the entry FindEntry gives; true when that completed the entry.
    bool OnItemPicked(const std::string& itemName);
    bool OnItemClicked(const std::string& itemName);
    bool OnItemUsed(const std::string& itemName);
    // The group's name, else its first entry's item name, else "".
    std::string GetTitle() const;

    const std::string& GetGroupName() const { return m_groupName; }
    void SetGroupName(const std::string& name) { m_groupName = name; }
    const std::vector<CFindItem>& GetItems() const { return m_items; }
    u16 GetRemaining() const { return m_remaining; }
    // Closes (0) or reopens the line without touching its entries' flags.
    void SetRemaining(u16 remaining) { m_remaining = remaining; }

private:
    bool Tick(const std::string& itemName, void (CFindItem::*setFlag)());

    std::string m_groupName;
    std::vector<CFindItem> m_items;
    u16 m_remaining = 0;
};

// A u32 count, then each group's record.
u8* SaveFindItemsGroupList(SaveLoadSystem& sys, u8* pos, std::vector<CFindItemsGroup>& groups);
const u8* LoadFindItemsGroupList(SaveLoadSystem& sys, const u8* pos, std::vector<CFindItemsGroup>& groups);
