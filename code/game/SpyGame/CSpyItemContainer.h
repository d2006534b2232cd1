#pragma once
#include "game/SpyGame/CSpyItem.h"

#include <string>
#include <vector>

// A drawer or a box: a click shows some items and hides others.
class CSpyItemContainer : public CSpyItem {
public:
    static const char* GetClassStaticName() { return "Container"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                     const std::string& roomName, aOptionsFile& ini, const std::string& name) override;
    // Also reports every listed name that names no item.
    void Reset() override;
    bool ClickUse() override;

    const std::vector<std::string>& GetContainerShow() const { return m_show; }
    const std::vector<std::string>& GetContainerHide() const { return m_hide; }

protected:
    void CopyFrom(const CSpyItem& source) override;

private:
    void ShowListed(const std::vector<std::string>& names, bool visible);

    // Names as written between the commas, blanks included ("room:item" allowed).
    std::vector<std::string> m_show;
    std::vector<std::string> m_hide;
};
