#include "game/SpyGame/CSpyItemContainer.h"

#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

namespace {

// Cut at every ',' only: the pieces keep their blanks, as the data has always been read.
void readList(const aOptionsFile& ini, const char* key, std::vector<std::string>& out) {
    if (!ini.hasKey(key))
        return;
    const std::string value = ini.getString(key);
    if (value.empty())
        return;
    size_t start = 0;
    for (size_t comma = value.find(','); comma != std::string::npos; comma = value.find(',', start)) {
        out.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    out.push_back(value.substr(start));
}

} // namespace

void CSpyItemContainer::OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                                    const std::string& roomName, aOptionsFile& ini, const std::string& name) {
    CSpyItem::OneTimeInit(rooms, items, objects, roomName, ini, name);
    readList(ini, "ContainerShow", m_show);
    readList(ini, "ContainerHide", m_hide);
}

void CSpyItemContainer::Reset() {
    CSpyItem::Reset();
    for (const auto* list : {&m_show, &m_hide})
        for (const std::string& listed : *list)
            if (!FindItem(listed, true))
                log("Container '%s' - not exist item with name '%s'", GetName().c_str(), listed.c_str());
}

bool CSpyItemContainer::ClickUse() {
    if (!CSpyItem::ClickUse())
        return false;
    ShowListed(m_show, true);
    ShowListed(m_hide, false);
    return true;
}

void CSpyItemContainer::ShowListed(const std::vector<std::string>& names, bool visible) {
    for (const std::string& listed : names) {
        CSpyItem* item = FindItem(listed, false);
        if (item && !item->IsInInventory())
            item->SetVisible(visible);
    }
}

void CSpyItemContainer::CopyFrom(const CSpyItem& source) {
    CSpyItem::CopyFrom(source);
    if (const auto* same = dynamic_cast<const CSpyItemContainer*>(&source)) {
        m_show = same->m_show;
        m_hide = same->m_hide;
    }
}
