#include "game/SpyGame/Events/EShowMessage.h"

namespace SpyEvents {

void EShowMessage::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadStringKey(ini, "TextId", Required, "", m_textId);
}

} // namespace SpyEvents
