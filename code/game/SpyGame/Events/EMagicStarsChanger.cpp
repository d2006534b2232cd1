#include "game/SpyGame/Events/EMagicStarsChanger.h"

namespace SpyEvents {

void EMagicStarsChanger::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyLocation, NotUsed);
    SetKeyMode(KeyNotInCloseUp, NotUsed);
    SetKeyMode(KeyWaitCloseMessage, NotUsed);
}

void EMagicStarsChanger::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadListKey(ini, "Items", Required, m_items);
    ReadFlagKey(ini, "ShowStars", Optional, 0, m_showStars);
}

} // namespace SpyEvents
