#pragma once
#include "game/SaveLoadEntity.h"
#include "tk2v/gfx/aRect.h"

#include <deque>
#include <string>

class CDialogSpyGamePanel;
class CRoomItemLookup;
class CSpyItem;
class aSound;

// The items a personage carries, in display order. The items belong to their rooms; the inventory
// only refers to them and saves them by full name.
class CInventory : public SaveLoadEntity {
public:
    CInventory() = default;

    // Names the record after the owner and keeps the panel and the item lookup (both may be null);
    // the strip takes the rectangle of the panel's "InventoryArea" and fits its cells into it.
    void Init(const std::string& ownerName, CDialogSpyGamePanel* panel, CRoomItemLookup* roomsManager);

    void Clear();
    // Marks the item carried and scrolls so that it shows in the last cell.
    void AddItem(CSpyItem* item);
    // The first item of exactly that name, taken out; null when none.
    CSpyItem* RemoveItem(const std::string& name);
    CSpyItem* FindItem(const std::string& name) const;
    bool HasItem(const std::string& name) const { return FindItem(name) != nullptr; }
    // Keeps the first visible item in range, places the items that are drawn and shows the arrows
    // that can scroll.
    void UpdateLayout();

    // Steps every item, scrolls by the panel's arrow command and slides towards rest.
    void FrameMove(f32 dt);
    bool IsPointInArea(i16 x, i16 y) const { return m_Area.contains(x, y); }
    // The visible item under the point, taken out of the strip; null between items or outside.
    CSpyItem* TakeItemAtPoint(i16 x, i16 y);
    // Inserts the item at the cell under the point; false outside the strip.
    bool PutItemAtPoint(i16 x, i16 y, CSpyItem* item);
    // The panel's lock over the strip; locking also hides the arrows.
    void SetShown(bool shown);
    // Each item clipped to its column, then the shadow over them.
    void Render();

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    const std::deque<CSpyItem*>& GetItems() const { return m_Items; }
    u32 GetFirstVisible() const { return m_FirstVisible; }
    f32 GetScrollOffset() const { return m_ScrollOffset; }

    const aRect& GetArea() const { return m_Area; }
    u32 GetVisibleCells() const { return m_VisibleCells; }
    i32 GetFirstCellX() const { return m_FirstCellX; }
    u32 GetFirstDrawn() const { return m_FirstDrawn; }
    u32 GetEndDrawn() const { return m_EndDrawn; }

    static constexpr i32 CellPitch = 41;
    // An item shows in a column narrower than its cell.
    static constexpr u16 ClipWidth = 39;
    static constexpr i32 LeftMargin = 3;
    static constexpr i32 Margins = 4;
    static constexpr f32 SlideSpeed = 300.0f;

private:
    CDialogSpyGamePanel* m_pGamePanel = nullptr;
    CRoomItemLookup* m_pRoomsManager = nullptr;
    aRect m_Area;
    u32 m_VisibleCells = 0;
    i32 m_FirstCellX = 0;
    aSound* m_pPutSound = nullptr;
    aSound* m_pTakeSound = nullptr;
    u32 m_FirstDrawn = 0;
    u32 m_EndDrawn = 0;
    std::deque<CSpyItem*> m_Items;
    u32 m_FirstVisible = 0;
    f32 m_ScrollOffset = 0;
};
