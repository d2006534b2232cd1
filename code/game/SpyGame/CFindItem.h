#pragma once
#include "game/SaveLoadEntity.h"

#include <string>

// One entry of a task list: an item and the one action on it that completes the entry.
class CFindItem : public SaveLoadEntity {
public:
    static constexpr u32 TypePick = 1;
    static constexpr u32 TypeClick = 2;
    static constexpr u32 TypeUse = 4;
    // Name, type and the three flags.
    static constexpr u32 MinRecordSize = 1 + 4 + 3;

    CFindItem() = default;
    CFindItem(std::string itemName, u32 type) : m_itemName(std::move(itemName)), m_type(type) {}

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    void ResetFlags() { m_picked = m_clicked = m_used = false; }
    // True when the flag of the entry's type is set; an unknown type never completes.
    bool IsComplete() const;

    const std::string& GetItemName() const { return m_itemName; }
    u32 GetType() const { return m_type; }
    bool IsPicked() const { return m_picked; }
    bool IsClicked() const { return m_clicked; }
    bool IsUsed() const { return m_used; }
    void SetPicked() { m_picked = true; }
    void SetClicked() { m_clicked = true; }
    void SetUsed() { m_used = true; }

private:
    std::string m_itemName;
    u32 m_type = TypePick;
    bool m_picked = false;
    bool m_clicked = false;
    bool m_used = false;
};
