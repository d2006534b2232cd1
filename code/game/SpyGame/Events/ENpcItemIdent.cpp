#include "game/SpyGame/Events/ENpcItemIdent.h"

namespace SpyEvents {

void ENpcItemIdent::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyItemInInventory, Required);
}

void ENpcItemIdent::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadStringKey(ini, "NPC_Image", Required, "", m_npcImage);
    ReadStringKey(ini, "TextId", Required, "", m_textId);
    m_item = GetItemInInventory();
    ReadStringKey(ini, "ShowItem", Required, "", m_showItem);
    ReadFlagKey(ini, "IsDelItem", Optional, 0, m_isDelItem);
    ReadStringKey(ini, "OpenItem", Optional, "", m_openItem);
}

} // namespace SpyEvents
