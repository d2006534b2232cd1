#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// The search of a location is over: a dialog, then perhaps the map.
class ESearchFinish : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "SearchFinish"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
    void ReadFromIniFile(aOptionsFile& ini) override;

    bool IsGoToMap() const { return m_isGoToMap != 0; }
    const std::string& GetTextId() const { return m_textId; }

private:
    u8 m_isGoToMap = 0;
    std::string m_textId;
};

} // namespace SpyEvents
