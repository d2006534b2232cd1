#include "game/SpyGame/Rooms/Puzzles/cGettingBloodSample.h"

#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"

namespace {

const char* const Swab = "TAMPON";
const char* const Stain = "BLOOD";
const char* const Packet = "PAKET";

} // namespace

cGettingBloodSample::cGettingBloodSample() {
    m_Propertys.SolveButtonShown = 1;
}

cGettingBloodSample::~cGettingBloodSample() = default;

CSpyItem* cGettingBloodSample::FindItem(const std::string& name) {
    return m_Items.HasItem(name) ? GetItem(name) : nullptr;
}

void cGettingBloodSample::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                          std::optional<SpyPoint> grabOffset) {
    // The swab draws itself over the room, so the system pointer hides there while it is carried.
    const bool swab = item && item->GetName() == Swab;
    m_bSharedMouseInside = !swab;
    CRoomBase::SetItemOnCursor(item, swab ? item : roomForm, grabOffset);
}

void cGettingBloodSample::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    if (LeftButtonState() == KEY_PRESSED && m_pItemUnderCursor && m_pCursorItem &&
        m_pCursorItem->GetName() == Swab && m_pItemUnderCursor->GetName() == Stain)
        TakeSample();
}

void cGettingBloodSample::TakeSample() {
    if (CSpyItem* swab = FindItem(Swab)) {
        swab->SetInInventory(false);
        if (swab == m_pCursorItem)
            SetItemOnCursor(nullptr, nullptr, SpyPoint{});
        else if (CPersonage* personage = CurrentPersonage())
            personage->GetInventory().RemoveItem(Swab);
        swab->SetVisible(false);
    }
    if (CSpyItem* packet = FindItem(Packet))
        packet->SetVisible(true);
}

bool cGettingBloodSample::ProcessAutoActions() {
    const CSpyItem* swab = FindItem(Swab);
    if (swab && swab->IsInInventory())
        TakeSample();
    return CRoomBase::ProcessAutoActions();
}
