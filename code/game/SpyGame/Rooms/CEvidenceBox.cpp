#include "game/SpyGame/Rooms/CEvidenceBox.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CSpyItem.h"

CEvidenceBox::CEvidenceBox() {
    m_Propertys.InventoryEnabled = false;
}

CEvidenceBox::~CEvidenceBox() = default;

const u8* CEvidenceBox::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return sys.readU8(CRoomBase::LoadSelf(sys, pos), m_NewEvidence);
}

u8* CEvidenceBox::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return sys.writeU8(CRoomBase::SaveSelf(sys, pos), m_NewEvidence);
}

void CEvidenceBox::Enter(const std::string& entryName, CSpyItem* entryItem) {
    if (!IsActive() && m_State != Idle)
        return;
    CRoomBase::Enter(entryName, entryItem);
    if (m_pGamePanel)
        m_pGamePanel->SetGlowEvidences(false);
    m_NewEvidence = 0;
}

void CEvidenceBox::Leave() {
    if (!IsActive())
        return;
    CRoomBase::Leave();
    SetPanelWidgetEnabled("Evidences", true);
}

void CEvidenceBox::ResetBox(const std::string&) {
    Reset();
    m_NewEvidence = 0;
}

bool CEvidenceBox::ShowEvidence(const std::string& itemName) {
    if ((!IsActive() && m_State != Idle) || !m_Items.HasItem(itemName))
        return false;
    m_Items.GetItem(itemName)->SetVisible(true);
    if (m_pGamePanel)
        m_pGamePanel->SetGlowEvidences(true);
    m_NewEvidence = 1;
    return true;
}

u32 CEvidenceBox::CountClosedItems() {
    u32 closed = 0;
    for (size_t i = 0; i < m_Items.GetItemCount(); ++i)
        closed += m_Items.GetItemAt(i)->IsVisible() ? 0 : 1;
    return closed;
}
