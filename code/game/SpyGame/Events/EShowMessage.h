#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// Shows a text on the panel as a timed message.
class EShowMessage : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "ShowMessage"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void ReadFromIniFile(aOptionsFile& ini) override;

    const std::string& GetTextId() const { return m_textId; }

private:
    std::string m_textId;
};

} // namespace SpyEvents
