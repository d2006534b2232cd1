#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// An item handed from one personage to another.
struct StringTriple {
    std::string from;
    std::string to;
    std::string item;
    bool operator==(const StringTriple&) const = default;
};

// Changes the active personages, after a phone call when it has a text: who leaves, who joins, the
// items and finished tasks they hand on, then perhaps the map.
class EChangePersonages : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "ChangePersonages"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void ReadFromIniFile(aOptionsFile& ini) override;

    const StringList& GetQuitPersonages() const { return m_quitPersonages; }
    const StringList& GetNewPersonages() const { return m_newPersonages; }
    const std::vector<StringTriple>& GetSendItems() const { return m_sendItems; }
    // "personage:task title" entries, split by the runner.
    const StringList& GetSendFinishedTasks() const { return m_sendFinishedTasks; }
    const std::string& GetTextId() const { return m_textId; }
    const std::string& GetLeftPersImage() const { return m_leftPersImage; }
    const std::string& GetRightPersImage() const { return m_rightPersImage; }
    const std::string& GetRingtone() const { return m_ringtone; }
    bool IsGoToMap() const { return m_isGoToMap != 0; }

private:
    // "from:to>item" entries; a malformed one is logged and dropped.
    void ParseSendItems(const StringList& entries);

    StringList m_quitPersonages;
    StringList m_newPersonages;
    std::vector<StringTriple> m_sendItems;
    StringList m_sendFinishedTasks;
    std::string m_textId;
    std::string m_leftPersImage;
    std::string m_rightPersImage;
    std::string m_ringtone;
    u8 m_isGoToMap = 1;
};

} // namespace SpyEvents
