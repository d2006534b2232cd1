#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// The case is solved: the completion effect, then the map or the room left.
class EInvestigationWin : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "InvestigationWin"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
    void ReadFromIniFile(aOptionsFile& ini) override;

    bool IsEndGame() const { return m_isEndGame != 0; }
    bool IsGoToMap() const { return m_isGoToMap != 0; }

private:
    u8 m_isEndGame = 0;
    u8 m_isGoToMap = 0;
};

} // namespace SpyEvents
