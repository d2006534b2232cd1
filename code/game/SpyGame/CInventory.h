#pragma once
#include "game/SaveLoadEntity.h"
#include "tk2v/gfx/aRect.h"

#include <deque>
#include <string>

class CDialogSpyGamePanel;
class CRoomItemLookup;
class CSpyItem;

// The items a personage carries, in display order. The items belong to their rooms; the inventory
// only refers to them and saves them by full name.
class CInventory : public SaveLoadEntity {
public:
    CInventory() = default;

    // Names the record after the owner and keeps the panel and the item lookup (both may be null).
    void Init(const std::string& ownerName, CDialogSpyGamePanel* panel, CRoomItemLookup* roomsManager);

    void Clear();
    // Marks the item carried and scrolls so that it shows in the last cell.
    void AddItem(CSpyItem* item);
    // The first item of exactly that name, taken out; null when none.
    CSpyItem* RemoveItem(const std::string& name);
    CSpyItem* FindItem(const std::string& name) const;
    bool HasItem(const std::string& name) const { return FindItem(name) != nullptr; }
    // Keeps the first visible item in range and places the items that are drawn.
    void UpdateLayout();

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    const std::deque<CSpyItem*>& GetItems() const { return m_Items; }
    u32 GetFirstVisible() const { return m_FirstVisible; }
    f32 GetScrollOffset() const { return m_ScrollOffset; }

    static constexpr i32 CellPitch = 41;

private:
    CDialogSpyGamePanel* m_pGamePanel = nullptr;
    CRoomItemLookup* m_pRoomsManager = nullptr;
    aRect m_Area;
    u32 m_VisibleCells = 0;
    i32 m_FirstCellX = 0;
    u32 m_FirstDrawn = 0;
    u32 m_EndDrawn = 0;
    std::deque<CSpyItem*> m_Items;
    u32 m_FirstVisible = 0;
    f32 m_ScrollOffset = 0;
};
