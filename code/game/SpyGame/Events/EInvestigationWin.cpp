#include "game/SpyGame/Events/EInvestigationWin.h"

namespace SpyEvents {

void EInvestigationWin::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyLocation, NotUsed);
    SetKeyMode(KeyNotInCloseUp, NotUsed);
    SetKeyMode(KeyPersonage, NotUsed);
}

void EInvestigationWin::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadFlagKey(ini, "IsEndGame", Optional, 0, m_isEndGame);
    ReadFlagKey(ini, "IsGoToMap", Optional, 0, m_isGoToMap);
}

} // namespace SpyEvents
