#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// Leaves the room for a comics scene.
class EEventForComics : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "EventForComics"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void ReadFromIniFile(aOptionsFile& ini) override;

    const std::string& GetComicsName() const { return m_comicsName; }
    // Two music names joined by a colon; split by the runner.
    const std::string& GetComicsMusic() const { return m_comicsMusic; }

private:
    std::string m_comicsName;
    std::string m_comicsMusic;
};

} // namespace SpyEvents
