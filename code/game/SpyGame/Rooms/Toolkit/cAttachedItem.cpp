#include "game/SpyGame/Rooms/Toolkit/cAttachedItem.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"

#include <algorithm>
#include <cmath>

void cAttachedItem::Select(i32 index, bool show) {
    CSpyItem* next = index >= 0 && size_t(index) < m_Items.size() ? m_Items[size_t(index)] : nullptr;
    if (!next) {
        HideAll();
        m_pCurrent = nullptr;
        return;
    }
    if (next == m_pCurrent)
        return;
    const SpyPoint pos = GetPos();
    HideAll();
    m_pCurrent = next;
    if (show && !next->IsVisible())
        next->SetVisible(true);
    next->SetPos(pos.x, pos.y);
}

void cAttachedItem::HideAll() {
    if (!m_pCurrent)
        return;
    for (CSpyItem* item : m_Items)
        if (item) {
            item->SetVisible(false);
            item->SetPos(0.0f, 0.0f);
        }
    m_pCurrent->SetVisible(false);
}

void cAttachedItem::Show() {
    if (m_pCurrent && !m_pCurrent->IsVisible())
        m_pCurrent->SetVisible(true);
}

void cAttachedItem::SetPos(f32 x, f32 y) {
    if (m_pCurrent)
        m_pCurrent->SetPos(x, y);
}

SpyPoint cAttachedItem::GetPos() const {
    return m_pCurrent ? m_pCurrent->GetPos() : SpyPoint{};
}

SpyPoint cAttachedItem::GetCenter() const {
    return m_pCurrent ? GetItemCenter(m_pCurrent) : SpyPoint{};
}

void cAttachedItem::Shift(f32 sign) {
    if (!m_pCurrent)
        return;
    const SpyPoint pos = m_pCurrent->GetPos(), half = m_pCurrent->GetHalfSize();
    m_pCurrent->SetPos(pos.x + sign * half.x, pos.y + sign * half.y);
}

void cAttachedItem::ShiftToCorner() {
    Shift(-1);
}

void cAttachedItem::ShiftToCenter() {
    Shift(1);
}

i32 cAttachedItem::GetCurrentIndex() const {
    if (!m_pCurrent)
        return -1;
    const auto found = std::find(m_Items.begin(), m_Items.end(), m_pCurrent);
    return found == m_Items.end() ? -1 : i32(found - m_Items.begin());
}

f32 cAttachedItem::GetDiagonal() const {
    if (!m_pCurrent)
        return 0;
    const u32 w = m_pCurrent->GetWidth(), h = m_pCurrent->GetHeight();
    return std::sqrt(f32(u16(w * w) + u16(h * h)));
}

u8* cAttachedItem::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = SaveItemRefVector(sys, pos, m_Items);
    return SaveItemRef(sys, pos, m_pCurrent);
}

const u8* cAttachedItem::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = LoadItemRefVector(rooms, sys, pos, m_Items);
    return LoadItemRef(rooms, sys, pos, m_pCurrent);
}
