#include "game/SpyGame/Events/ELocationFinish.h"

namespace SpyEvents {

void ELocationFinish::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyLocation, Required);
}

void ELocationFinish::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadFlagKey(ini, "DisableOnMap", Optional, 1, m_disableOnMap);
    ReadFlagKey(ini, "HideOnMap", Optional, 0, m_hideOnMap);
    ReadStringKey(ini, "TextId", Optional, "", m_textId);
}

} // namespace SpyEvents
