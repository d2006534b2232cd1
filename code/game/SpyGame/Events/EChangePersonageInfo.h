#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// Rewrites one text of a personage's item or room record. Its "Personage" names the personage to
// change and, as for every event, must also be the current one for the event to start.
class EChangePersonageInfo : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "ChangePersonageInfo"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
    void ReadFromIniFile(aOptionsFile& ini) override;

    // Empty: the current personage.
    const std::string& GetTargetPersonage() const { return m_personage; }
    // "room:item", or "room:ROOM" for the room's record.
    const std::string& GetItem() const { return m_item; }
    const std::string& GetTypeInfo() const { return m_typeInfo; }
    const std::string& GetNewInfo() const { return m_newInfo; }

private:
    std::string m_personage;
    std::string m_item;
    std::string m_typeInfo;
    std::string m_newInfo;
};

} // namespace SpyEvents
