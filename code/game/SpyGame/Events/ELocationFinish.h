#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// A location is finished: a dialog, and the location disabled or hidden on the map.
class ELocationFinish : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "LocationFinish"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
    void ReadFromIniFile(aOptionsFile& ini) override;

    const std::string& GetTextId() const { return m_textId; }
    bool IsDisableOnMap() const { return m_disableOnMap != 0; }
    bool IsHideOnMap() const { return m_hideOnMap != 0; }

private:
    std::string m_textId;
    u8 m_disableOnMap = 1;
    u8 m_hideOnMap = 0;
};

} // namespace SpyEvents
