#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

void CRoomBase::CollectHintItems() {
    m_HintCandidates.clear();
    CPersonage* personage = CurrentPersonage();
    if (!personage)
        return;
    for (const CFindItemsGroup& group : personage->GetRoomInfo(m_Name).m_TaskList) {
        if (group.GetRemaining() == 0)
            continue;
        for (const CFindItem& entry : group.GetItems()) {
            if (entry.IsPicked() || !m_Items.HasItem(entry.GetItemName()))
                continue;
            CSpyItem* item = m_Items.GetItem(entry.GetItemName());
            if (item->IsVisible() && !item->IsDisabled())
                m_HintCandidates.push_back(entry.GetItemName());
        }
    }
}

void CRoomBase::ShowHint() {
    if (m_HintCandidates.empty())
        return;
    std::vector<const std::string*> fresh;
    for (const std::string& name : m_HintCandidates)
        if (!m_HintedNames.count(name))
            fresh.push_back(&name);
    std::string name;
    if (fresh.empty()) {
        m_HintedNames.clear();
        name = m_HintCandidates[size_t(platform::rand()) % m_HintCandidates.size()];
    } else {
        name = *fresh[size_t(platform::rand()) % fresh.size()];
    }
    m_HintedNames.insert(name);
    // A candidate may have left the room's items since the list was made.
    if (!m_Items.HasItem(name))
        return;
    m_pHintItem = m_Items.GetItem(name);
    m_pHintItem->SetFlash(true);
    m_HintTime = 0;
    if (aSound* sound = GetSound("show_hint"))
        sound->play(false);
}

bool CRoomBase::CheckItemsFoundInOrigPlace(const std::string& group) {
    const CSpyItemManager::ItemList* listItems = m_Items.GetGroupItems(group);
    if (!listItems) {
        log("%s: %s %s", "CRoomBase::CheckItemsFoundInOrigPlace", "&listItems != NULL",
            a_fileLine("RoomBase", __LINE__));
        return false;
    }
    for (CSpyItem* item : *listItems) {
        SpyPoint orig = item->GetOrigPos();
        SpyPoint pos = item->GetPos();
        if (orig.x + m_Origin.x != pos.x || orig.y + m_Origin.y != pos.y)
            return false;
    }
    return true;
}
