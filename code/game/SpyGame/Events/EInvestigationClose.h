#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// Closes the investigation, wherever the player is.
class EInvestigationClose : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "InvestigationClose"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
};

} // namespace SpyEvents
