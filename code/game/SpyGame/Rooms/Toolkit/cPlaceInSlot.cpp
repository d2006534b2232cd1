#include "game/SpyGame/Rooms/Toolkit/cPlaceInSlot.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

void cPlaceInSlot::RegisterPiece(const std::string& name, CSpyItem* slot, const Place& value) {
    m_Slots[name].push_back(slot);
    m_Places[slot] = value;
}

bool cPlaceInSlot::IsInSlotArea(const CSpyItem* slot, i32 x, i32 y) const {
    const auto found = m_Places.find(const_cast<CSpyItem*>(slot));
    if (!slot || found == m_Places.end() || !found->second.marker)
        return false;
    const SpyPoint pointer = m_pTransform->ScreenToLocal(f32(x), f32(y));
    const SpyPoint marker = found->second.marker->GetPos();
    const SpyPoint corner = m_pTransform->ScreenToLocal(marker.x, marker.y);
    return PointInRectF(corner.x, corner.y, f32(slot->GetWidth()), f32(slot->GetHeight()), pointer.x,
                        pointer.y);
}

CSpyItem* cPlaceInSlot::Put(CSpyItem* carried, CSpyItem* under) {
    if (!carried || !under || LeftButtonState() != KEY_PRESSED)
        return nullptr;
    const auto slots = m_Slots.find(carried->GetName());
    if (slots == m_Slots.end())
        return nullptr;
    const auto [x, y] = MousePosition();
    for (CSpyItem* slot : slots->second) {
        const Place& place = m_Places[slot];
        if (slot != under || slot->IsLocked() || !place.placed || !IsInSlotArea(slot, x, y))
            continue;
        carried->SetInInventory(false);
        carried->SetVisible(false);
        const SpyPoint at = place.marker->GetPos();
        place.placed->SetPos(at.x, at.y);
        place.placed->SetVisible(true);
        slot->SetDisabled(true);
        return place.placed;
    }
    return nullptr;
}

CSpyItem* cPlaceInSlot::Find(const std::string& name) const {
    const auto slots = m_Slots.find(name);
    if (slots == m_Slots.end() || slots->second.empty())
        return nullptr;
    return m_Places.at(slots->second.front()).placed;
}

std::list<CSpyItem*> cPlaceInSlot::GetItems() const {
    std::list<CSpyItem*> items;
    for (const auto& [slot, place] : m_Places)
        items.push_back(place.placed);
    return items;
}
