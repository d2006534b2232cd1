#pragma once
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/util/types.h"

#include <cstddef>
#include <list>

class cRoomTransform;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// Room items shown, hidden, coloured and moved as one. The first item stands for the group: its
// place is the group's, and the others keep their offsets from it.
class cItemsAsOne {
public:
    explicit cItemsAsOne(const cRoomTransform& transform) : m_pTransform(&transform) {}
    virtual ~cItemsAsOne() = default;
    cItemsAsOne(const cItemsAsOne&) = delete;
    cItemsAsOne& operator=(const cItemsAsOne&) = delete;

    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

    void AddItem(CSpyItem* item) { m_Items.push_back(item); }
    void Clear() { m_Items.clear(); }
    size_t GetCount() const { return m_Items.size(); }
    const std::list<CSpyItem*>& GetItems() const { return m_Items; }
    void SetVisible(bool visible);
    void SetColor(u32 argb);
    // The first item's; false for an empty group.
    bool IsVisible() const;
    // Room-local; (0, 0) for an empty group.
    SpyPoint GetPos() const;
    void SetPos(SpyPoint local);

protected:
    // The first item that is there: a reference that loaded as null stands for nothing.
    CSpyItem* First() const;
    SpyPoint ToLocal(SpyPoint screen) const;
    SpyPoint ToScreen(SpyPoint local) const;
    // Items a group reaches are never null.
    template <class F> void ForEachItem(F f) const {
        for (CSpyItem* item : m_Items)
            if (item)
                f(*item);
    }

    const cRoomTransform* m_pTransform;
    std::list<CSpyItem*> m_Items;
};
