#pragma once
#include "game/SpyGame/Events/CSpyEventBase.h"

namespace SpyEvents {

// A character identifies an item the player holds: a dialog with the character's picture.
class ENpcItemIdent : public CSpyEventBase {
public:
    static const char* GetClassStaticName() { return "NpcItemIdent"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CStoryWorld* investigation, CSpyEventsManager* manager) override;
    void ReadFromIniFile(aOptionsFile& ini) override;

    const std::string& GetNpcImage() const { return m_npcImage; }
    const std::string& GetTextId() const { return m_textId; }
    // The held item, which is also the start condition.
    const std::string& GetItem() const { return m_item; }
    const std::string& GetShowItem() const { return m_showItem; }
    bool IsDelItem() const { return m_isDelItem != 0; }
    const std::string& GetOpenItem() const { return m_openItem; }

private:
    std::string m_npcImage;
    std::string m_textId;
    std::string m_item;
    std::string m_showItem;
    u8 m_isDelItem = 0;
    std::string m_openItem;
};

} // namespace SpyEvents
