#include "game/SpyGame/Events/EChangePersonageInfo.h"

namespace SpyEvents {

void EChangePersonageInfo::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyWaitCloseMessage, NotUsed);
}

void EChangePersonageInfo::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadStringKey(ini, "Personage", Optional, "", m_personage);
    ReadStringKey(ini, "Item", Required, "", m_item);
    ReadStringKey(ini, "TypeInfo", Required, "", m_typeInfo);
    ReadStringKey(ini, "NewInfo", Required, "", m_newInfo);
}

} // namespace SpyEvents
