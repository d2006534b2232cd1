#include "game/SpyGame/Events/EEventForItem.h"

namespace SpyEvents {

void EEventForItem::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadStringKey(ini, "NPC_Image", Optional, "", m_npcImage);
    ReadStringKey(ini, "TextId", Optional, "", m_textId);
    ReadStringKey(ini, "HideItem", Optional, "", m_hideItem);
    ReadStringKey(ini, "ShowItem", Optional, "", m_showItem);
}

} // namespace SpyEvents
