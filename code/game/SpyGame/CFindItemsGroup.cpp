#include "game/SpyGame/CFindItemsGroup.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"

CFindItemsGroup::CFindItemsGroup(const std::string& itemName, u32 type) {
    AddItem(itemName, type);
}

void CFindItemsGroup::AddItem(const std::string& itemName, u32 type) {
    m_items.emplace_back(itemName, type);
    ++m_remaining;
}

void CFindItemsGroup::Reset() {
    for (CFindItem& item : m_items)
        item.ResetFlags();
    m_remaining = u16(m_items.size());
}

CFindItem* CFindItemsGroup::FindEntry(const std::string& itemName) {
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if (!it->IsPicked() && it->GetItemName() == itemName)
            return &*it;
    return nullptr;
}

bool CFindItemsGroup::Tick(const std::string& itemName, void (CFindItem::*setFlag)()) {
    CFindItem* entry = FindEntry(itemName);
    if (!entry || entry->IsComplete())
        return false;
    (entry->*setFlag)();
    if (!entry->IsComplete())
        return false;
    --m_remaining;
    return true;
}

bool CFindItemsGroup::OnItemPicked(const std::string& itemName) {
    return Tick(itemName, &CFindItem::SetPicked);
}

bool CFindItemsGroup::OnItemClicked(const std::string& itemName) {
    return Tick(itemName, &CFindItem::SetClicked);
}

bool CFindItemsGroup::OnItemUsed(const std::string& itemName) {
    return Tick(itemName, &CFindItem::SetUsed);
}

std::string CFindItemsGroup::GetTitle() const {
    if (!m_groupName.empty())
        return m_groupName;
    return m_items.empty() ? std::string() : m_items.front().GetItemName();
}

const u8* CFindItemsGroup::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 count = 0;
    pos = sys.readU32(sys.readU16(sys.readString(pos, m_groupName), m_remaining), count);
    if (!countFits(sys, pos, count, CFindItem::MinRecordSize, "CFindItemsGroup::LoadSelf()")) {
        m_items.clear();
        return pos + sys.bytesLeftInRecord(pos);
    }
    m_items.assign(count, CFindItem());
    for (CFindItem& item : m_items)
        pos = item.LoadSelf(sys, pos);
    return pos;
}

u8* CFindItemsGroup::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(sys.writeU16(sys.writeString(pos, m_groupName), m_remaining), u32(m_items.size()));
    for (CFindItem& item : m_items)
        pos = item.SaveSelf(sys, pos);
    return pos;
}

u8* SaveFindItemsGroupList(SaveLoadSystem& sys, u8* pos, std::vector<CFindItemsGroup>& groups) {
    pos = sys.writeU32(pos, u32(groups.size()));
    for (CFindItemsGroup& group : groups)
        pos = group.SaveSelf(sys, pos);
    return pos;
}

const u8* LoadFindItemsGroupList(SaveLoadSystem& sys, const u8* pos, std::vector<CFindItemsGroup>& groups) {
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, CFindItemsGroup::MinRecordSize, "LoadFindItemsGroupList()")) {
        groups.clear();
        return pos + sys.bytesLeftInRecord(pos);
    }
    groups.resize(count);
    for (CFindItemsGroup& group : groups)
        pos = group.LoadSelf(sys, pos);
    return pos;
}
