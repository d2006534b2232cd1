#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// Switches the magic stars of items on or off, wherever the player is.
class EMagicStarsChanger : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "MagicStarsChanger"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
    void ReadFromIniFile(aOptionsFile& ini) override;

    const StringList& GetItems() const { return m_items; }
    bool GetShowStars() const { return m_showStars != 0; }

private:
    StringList m_items;
    u8 m_showStars = 0;
};

} // namespace SpyEvents
