#include "game/SpyGame/Rooms/Toolkit/cItemsAsOne.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

u8* cItemsAsOne::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    return SaveItemRefList(sys, pos, m_Items);
}

const u8* cItemsAsOne::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    return LoadItemRefList(rooms, sys, pos, m_Items);
}

CSpyItem* cItemsAsOne::First() const {
    for (CSpyItem* item : m_Items)
        if (item)
            return item;
    return nullptr;
}

SpyPoint cItemsAsOne::ToLocal(SpyPoint screen) const {
    return m_pTransform->ScreenToLocal(screen.x, screen.y);
}

SpyPoint cItemsAsOne::ToScreen(SpyPoint local) const {
    return m_pTransform->LocalToScreen(local.x, local.y);
}

void cItemsAsOne::SetVisible(bool visible) {
    ForEachItem([visible](CSpyItem& item) { item.SetVisible(visible); });
}

void cItemsAsOne::SetColor(u32 argb) {
    ForEachItem([argb](CSpyItem& item) { item.SetColor(argb); });
}

bool cItemsAsOne::IsVisible() const {
    const CSpyItem* first = First();
    return first && first->IsVisible();
}

SpyPoint cItemsAsOne::GetPos() const {
    const CSpyItem* first = First();
    return first ? ToLocal(first->GetPos()) : SpyPoint{};
}

void cItemsAsOne::SetPos(SpyPoint local) {
    const SpyPoint from = GetPos();
    ForEachItem([&](CSpyItem& item) {
        const SpyPoint at = ToLocal(item.GetPos());
        const SpyPoint to = ToScreen({at.x + local.x - from.x, at.y + local.y - from.y});
        item.SetPos(to.x, to.y);
    });
}
