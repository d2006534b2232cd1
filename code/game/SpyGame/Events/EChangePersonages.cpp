#include "game/SpyGame/Events/EChangePersonages.h"

#include "tk2v/util/log.h"

namespace SpyEvents {

void EChangePersonages::ReadFromIniFile(aOptionsFile& ini) {
    if (!GetInvestigation())
        return;
    CSpyEventBase::ReadFromIniFile(ini);
    ReadListKey(ini, "QuitPersonages", Optional, m_quitPersonages);
    ReadListKey(ini, "NewPersonages", Optional, m_newPersonages);
    ReadStringKey(ini, "TextId", Optional, "", m_textId);
    ReadStringKey(ini, "LeftPersImage", Optional, "", m_leftPersImage);
    ReadStringKey(ini, "RightPersImage", Optional, "", m_rightPersImage);
    ReadStringKey(ini, "Ringtone", Optional, "", m_ringtone);
    ReadFlagKey(ini, "IsGoToMap", Optional, 1, m_isGoToMap);
    StringList sendItems;
    ReadListKey(ini, "SendItemsList", Optional, sendItems);
    ParseSendItems(sendItems);
    ReadListKey(ini, "SendFinishedTasks", Optional, m_sendFinishedTasks);
}

void EChangePersonages::ParseSendItems(const StringList& entries) {
    m_sendItems.clear();
    for (const std::string& entry : entries) {
        const size_t arrow = entry.find('>');
        const size_t colon = entry.find(':');
        if (arrow == std::string::npos || colon == std::string::npos) {
            log("EChangePersonages::ReadFromIniFile(). Error in expression: %s", entry.c_str());
            continue;
        }
        std::string to = colon < arrow ? entry.substr(colon + 1, arrow - colon - 1) : std::string();
        m_sendItems.push_back({entry.substr(0, colon), std::move(to), entry.substr(arrow + 1)});
    }
}

} // namespace SpyEvents
