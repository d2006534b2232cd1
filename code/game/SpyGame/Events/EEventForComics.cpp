#include "game/SpyGame/Events/EEventForComics.h"

namespace SpyEvents {

void EEventForComics::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadStringKey(ini, "ComicsName", Required, "", m_comicsName);
    ReadStringKey(ini, "ComicsMusic", Optional, "", m_comicsMusic);
}

} // namespace SpyEvents
