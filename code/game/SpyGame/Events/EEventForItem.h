#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// Hides one item and shows another, after a character's dialog when it has a picture.
class EEventForItem : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "EventForItem"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void ReadFromIniFile(aOptionsFile& ini) override;

    const std::string& GetNpcImage() const { return m_npcImage; }
    const std::string& GetTextId() const { return m_textId; }
    const std::string& GetHideItem() const { return m_hideItem; }
    const std::string& GetShowItem() const { return m_showItem; }

private:
    std::string m_npcImage;
    std::string m_textId;
    std::string m_hideItem;
    std::string m_showItem;
};

} // namespace SpyEvents
