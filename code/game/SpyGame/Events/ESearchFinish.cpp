#include "game/SpyGame/Events/ESearchFinish.h"

namespace SpyEvents {

void ESearchFinish::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyLocation, Required);
}

void ESearchFinish::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadFlagKey(ini, "IsGoToMap", Optional, 0, m_isGoToMap);
    ReadStringKey(ini, "TextId", Optional, "", m_textId);
}

} // namespace SpyEvents
