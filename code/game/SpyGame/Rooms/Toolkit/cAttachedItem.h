#pragma once
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/util/types.h"

#include <vector>

class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// Several items of which one shows at a time, standing where the one before it stood: the poses of a
// walking figure, one per direction.
class cAttachedItem {
public:
    void AddItem(CSpyItem* item) { m_Items.push_back(item); }
    // Makes items[index] current at the old current item's place; an index outside the items leaves
    // every item hidden and none current. The current one again changes nothing.
    void Select(i32 index, bool show);
    void HideAll();
    void Show();
    void SetPos(f32 x, f32 y);
    // The current item's place; (0, 0) without one.
    SpyPoint GetPos() const;
    SpyPoint GetCenter() const;
    // Between a centre position and a top-left one: by half the item's size, in whole pixels.
    void ShiftToCorner();
    void ShiftToCenter();
    // -1 without a current item.
    i32 GetCurrentIndex() const;
    // Each square is kept in 16 bits before the sum, as the walking speeds were tuned with.
    f32 GetDiagonal() const;
    CSpyItem* GetCurrent() const { return m_pCurrent; }
    const std::vector<CSpyItem*>& GetItems() const { return m_Items; }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

private:
    void Shift(f32 sign);

    std::vector<CSpyItem*> m_Items;
    CSpyItem* m_pCurrent = nullptr;
};
