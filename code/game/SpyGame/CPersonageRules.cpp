#include "game/SpyGame/CPersonage.h"

#include "tk2v/util/log.h"

namespace {

const std::string ONESELF = "ONESELF";

bool AllDone(const std::vector<CFindItemsGroup>& groups) {
    for (const CFindItemsGroup& group : groups)
        if (group.GetRemaining() != 0)
            return false;
    return true;
}

// "?" stands for any one character; otherwise the names must be equal, length included.
bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (name.size() != pattern.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (pattern[i] != '?' && pattern[i] != name[i])
            return false;
    return true;
}

} // namespace

u32 CPersonage::EnterRoom(const std::string& room) {
    m_FocusedRoom = room;
    return ++m_Rooms[room].m_EnterCount;
}

std::string CPersonage::GetRoomEnterText() {
    CRoomInfo& room = m_Rooms[m_FocusedRoom];
    if (room.m_EnterCount == 1 && !room.m_FirstEnter.empty())
        return room.m_FirstEnter;
    return room.m_EnterToRoom;
}

bool CPersonage::SetFocusedItem(const std::string& item) {
    m_FocusedItem = item;
    return FindItemInfo({m_FocusedRoom, item}) != nullptr;
}

bool CPersonage::IsItemUsedOnSelf(const std::string& room, const std::string& item) const {
    const CItemInfo* record = FindItemInfo({room, item});
    return record && record->m_UseTo.second == ONESELF;
}

bool CPersonage::CanPickFocusedItem() {
    const CItemInfo* record = FindItemInfo({m_FocusedRoom, m_FocusedItem});
    if (record && !record->m_UseTo.second.empty() && record->m_UseTo.second != ONESELF)
        return true;
    for (CFindItemsGroup& group : m_Rooms[m_FocusedRoom].m_GeneratedGroups)
        if (group.FindEntry(m_FocusedItem))
            return true;
    return false;
}

std::string CPersonage::GetFocusedItemAbout() {
    auto it = m_Items.find({m_FocusedRoom, m_FocusedItem});
    if (it == m_Items.end())
        return {};
    MarkItemClicked(m_FocusedRoom, m_FocusedItem);
    ++it->second.m_TouchCount;
    return it->second.m_About;
}

std::string CPersonage::GetFocusedItemBadUse() {
    auto it = m_Items.find({m_FocusedRoom, m_FocusedItem});
    if (it == m_Items.end())
        return {};
    MarkItemClicked(m_FocusedRoom, m_FocusedItem);
    ++it->second.m_TouchCount;
    return it->second.m_BadUse;
}

std::string CPersonage::GetItemClickUseText(const std::string& room, const std::string& item) const {
    const CItemInfo* record = FindItemInfo({room, item});
    return record ? record->m_ClickUse : std::string();
}

CPersonage::CItemInfo* CPersonage::FindCarriedRecord(const std::string& item) {
    for (auto& [key, record] : m_Items)
        if (key.second == item)
            return &record;
    return nullptr;
}

const CPersonage::CItemInfo* CPersonage::FindCarriedRecord(const std::string& item) const {
    return const_cast<CPersonage*>(this)->FindCarriedRecord(item);
}

CPersonage::ItemKey CPersonage::GetItemUseTo(const std::string& item) const {
    const CItemInfo* record = FindCarriedRecord(item);
    return record ? record->m_UseTo : ItemKey();
}

std::string CPersonage::GetItemSuccessApplyText(const std::string& item) const {
    const CItemInfo* record = FindCarriedRecord(item);
    return record ? record->m_SuccessApply : std::string();
}

u32 CPersonage::GetItemUseCount(const std::string& room, const std::string& item) const {
    const CItemInfo* record = FindItemInfo({room, item});
    return record ? record->m_UseCount : 0;
}

u32 CPersonage::GetItemTouchCount(const std::string& room, const std::string& item) const {
    const CItemInfo* record = FindItemInfo({room, item});
    return record ? record->m_TouchCount : 0;
}

bool CPersonage::IsRoomISpyListDone(const std::string& room) const {
    const CRoomInfo* record = FindRoomInfo(room);
    return !record || AllDone(record->m_GeneratedGroups);
}

bool CPersonage::IsRoomTaskListDone(const std::string& room) const {
    const CRoomInfo* record = FindRoomInfo(room);
    return !record || AllDone(record->m_TaskList);
}

bool CPersonage::CompleteInvestigationTask(const std::string& title) {
    auto& groups = m_Investigation.m_TaskGroups;
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        if (it->GetTitle() == title) {
            it->SetRemaining(0);
            return true;
        }
    }
    return false;
}

void CPersonage::Mark(const std::string& room, const std::string& item, TickOff tick, bool generatedToo) {
    auto tickLastFirst = [&](std::vector<CFindItemsGroup>& groups) {
        for (auto it = groups.rbegin(); it != groups.rend(); ++it)
            if (((*it).*tick)(item))
                return;
    };
    tickLastFirst(m_Investigation.m_TaskGroups);
    CRoomInfo& record = m_Rooms[room];
    if (generatedToo)
        tickLastFirst(record.m_GeneratedGroups);
    tickLastFirst(record.m_TaskList);
}

void CPersonage::MarkItemPicked(const std::string& room, const std::string& item) {
    Mark(room, item, &CFindItemsGroup::OnItemPicked, true);
}

void CPersonage::MarkItemClicked(const std::string& room, const std::string& item) {
    Mark(room, item, &CFindItemsGroup::OnItemClicked, true);
}

void CPersonage::MarkItemUsed(const std::string& room, const std::string& item) {
    Mark(room, item, &CFindItemsGroup::OnItemUsed, false);
}

void CPersonage::OnClickAtFocusedItem(const std::string& room, const std::string& item) {
    auto it = m_Items.find({room, item});
    if (it == m_Items.end() || it->second.m_UseTo.second != ONESELF) {
        log("CPersonage::OnClickAtFocusedItem(). [%s] Not specification use item '%s':'%s'", m_Name.c_str(),
            room.c_str(), item.c_str());
        return;
    }
    ++it->second.m_UseCount;
    ++it->second.m_TouchCount;
    MarkItemUsed(room, item);
    MarkItemClicked(room, item);
    ApplyItemScripts(it->second.m_UseChanges);
}

void CPersonage::OnUseInventoryItemToFocusedItem(const std::string& carried) {
    CItemInfo* carriedRecord = FindCarriedRecord(carried);
    if (!carriedRecord) {
        log("CPersonage::OnUseInventoryItemToFocusedItem(). [%s] Not specification use item '%s' to '%s'",
            m_Name.c_str(), carried.c_str(), m_FocusedItem.c_str());
        return;
    }
    if (carriedRecord->m_UseTo != ItemKey(m_FocusedRoom, m_FocusedItem)) {
        log("CPersonage::OnUseInventoryItemToFocusedItem(). [%s] Error use item '%s' to '%s'", m_Name.c_str(),
            carried.c_str(), m_FocusedItem.c_str());
        return;
    }
    MarkItemUsed(m_FocusedRoom, m_FocusedItem);
    MarkItemClicked(m_FocusedRoom, m_FocusedItem);
    ApplyItemScripts(carriedRecord->m_UseChanges);
    CItemInfo& target = m_Items[{m_FocusedRoom, m_FocusedItem}];
    ++target.m_TouchCount;
    ++target.m_UseCount;
    ++carriedRecord->m_TouchCount;
}

void CPersonage::OnPickFocusedItem() {
    MarkItemPicked(m_FocusedRoom, m_FocusedItem);
    ApplyItemScripts(m_Items[{m_FocusedRoom, m_FocusedItem}].m_PickChanges);
}

void CPersonage::ApplyItemScripts(const std::vector<ItemInfoChange>& changes) {
    for (const ItemInfoChange& change : changes) {
        ItemKey key(change.room.empty() ? m_FocusedRoom : change.room,
                    change.item.empty() ? m_FocusedItem : change.item);
        if (change.personage.empty()) {
            ApplyItemInfoChange(key, change.type, change.value);
            continue;
        }
        bool matched = false;
        for (CPersonage* personage : registry()) {
            if (change.personage == "ALL" || change.personage == personage->m_Name) {
                personage->ApplyItemInfoChange(key, change.type, change.value);
                matched = true;
            }
        }
        if (!matched)
            log("CPersonage::ApplyItemScripts(). [%s] Not found dest item '%s' for personage '%s'",
                m_Name.c_str(), change.item.c_str(), change.personage.c_str());
    }
}

void CPersonage::ApplyItemInfoChange(const ItemKey& key, const std::string& type, const std::string& value) {
    if (key.second == "ROOM") {
        SetRoomText(key.first, type, value);
        return;
    }
    if (key.second.find('?') == std::string::npos) {
        SetItemText(key, type, value);
        return;
    }
    for (auto& [recordKey, record] : m_Items)
        if (recordKey.first == key.first && MatchesPattern(recordKey.second, key.second))
            SetItemText(recordKey, type, value);
}

void CPersonage::SetItemText(const ItemKey& key, const std::string& type, const std::string& value) {
    CItemInfo& record = m_Items[key];
    if (type == "About")
        record.m_About = value;
    else if (type == "ClickUse")
        record.m_ClickUse = value;
    else if (type == "BadUse")
        record.m_BadUse = value;
    else if (type == "SuccessApply")
        record.m_SuccessApply = value;
    else if (type == "UseTo")
        record.m_UseTo = ParseRoomItemPair(value);
}

void CPersonage::SetRoomText(const std::string& room, const std::string& type, const std::string& value) {
    CRoomInfo& record = m_Rooms[room];
    if (type == "FirstEnter")
        record.m_FirstEnter = value;
    else if (type == "EnterToRoom")
        record.m_EnterToRoom = value;
    else if (type == "RoomTask")
        record.m_RoomTask = value;
}
