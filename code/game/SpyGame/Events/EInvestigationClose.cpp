#include "game/SpyGame/Events/EInvestigationClose.h"

namespace SpyEvents {

void EInvestigationClose::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    CSpyEventBase::Init(investigation, manager);
    SetKeyMode(KeyLocation, NotUsed);
    SetKeyMode(KeyNotInCloseUp, NotUsed);
    SetKeyMode(KeyPersonage, NotUsed);
}

} // namespace SpyEvents
