#include "game/SpyGame/CPersonage.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"

#include <algorithm>

namespace {

// The smallest saved records: empty strings are one byte, counts four.
constexpr u32 MinNamedValue = 2;
constexpr u32 MinItemRecord = 2 + 4 + 4 + 6;
constexpr u32 MinRoomRecord = 1 + 4 + 3 + 4 + 4;

void ResetGroups(std::vector<CFindItemsGroup>& groups) {
    for (CFindItemsGroup& group : groups)
        group.Reset();
}

// A damaged count leaves the rest of the record unread: past it nothing lines up any more.
const u8* SkipRecord(SaveLoadSystem& sys, const u8* pos) {
    return pos + sys.bytesLeftInRecord(pos);
}

} // namespace

std::vector<CPersonage*>& CPersonage::registry() {
    static std::vector<CPersonage*> personages;
    return personages;
}

CPersonage::CPersonage(const std::string& name) : SaveLoadEntity("<Personage:" + name), m_Name(name) {
    registry().push_back(this);
}

CPersonage::~CPersonage() {
    auto& all = registry();
    all.erase(std::find(all.begin(), all.end(), this));
}

void CPersonage::CItemInfo::Reset() {
    m_UseCount = m_TouchCount = 0;
    m_About = m_ScriptAbout;
    m_ClickUse = m_ScriptClickUse;
    m_UseTo = m_ScriptUseTo;
    m_SuccessApply = m_ScriptSuccessApply;
    m_BadUse = m_ScriptBadUse;
}

void CPersonage::CRoomInfo::Reset() {
    m_EnterCount = 0;
    m_FirstEnter = m_ScriptFirstEnter;
    m_EnterToRoom = m_ScriptEnterToRoom;
    m_RoomTask = m_ScriptRoomTask;
    ResetGroups(m_GeneratedGroups);
    ResetGroups(m_TaskList);
}

void CPersonage::Reset(bool generateLists) {
    for (auto& [key, item] : m_Items)
        item.Reset();
    for (auto& [name, room] : m_Rooms)
        room.Reset();
    ResetGroups(m_Investigation.m_TaskGroups);
    for (auto& [name, room] : m_Rooms) {
        if (generateLists)
            GenItemsListToFind(name, room);
        else
            room.Reset();
    }
    m_Inventory.Clear();
    m_NamedValues = m_StartNamedValues;
}

const CPersonage::CItemInfo* CPersonage::FindItemInfo(const ItemKey& key) const {
    auto it = m_Items.find(key);
    return it == m_Items.end() ? nullptr : &it->second;
}

const CPersonage::CRoomInfo* CPersonage::FindRoomInfo(const std::string& room) const {
    auto it = m_Rooms.find(room);
    return it == m_Rooms.end() ? nullptr : &it->second;
}

u8* CPersonage::CItemInfo::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(sys.writeU32(pos, m_UseCount), m_TouchCount);
    for (const std::string* text :
         {&m_About, &m_ClickUse, &m_UseTo.first, &m_UseTo.second, &m_SuccessApply, &m_BadUse})
        pos = sys.writeString(pos, *text);
    return pos;
}

const u8* CPersonage::CItemInfo::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(sys.readU32(pos, m_UseCount), m_TouchCount);
    for (std::string* text :
         {&m_About, &m_ClickUse, &m_UseTo.first, &m_UseTo.second, &m_SuccessApply, &m_BadUse})
        pos = sys.readString(pos, *text);
    return pos;
}

u8* CPersonage::CRoomInfo::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, m_EnterCount);
    for (const std::string* text : {&m_FirstEnter, &m_EnterToRoom, &m_RoomTask})
        pos = sys.writeString(pos, *text);
    pos = SaveFindItemsGroupList(sys, pos, m_GeneratedGroups);
    return SaveFindItemsGroupList(sys, pos, m_TaskList);
}

const u8* CPersonage::CRoomInfo::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(pos, m_EnterCount);
    for (std::string* text : {&m_FirstEnter, &m_EnterToRoom, &m_RoomTask})
        pos = sys.readString(pos, *text);
    pos = LoadFindItemsGroupList(sys, pos, m_GeneratedGroups);
    return LoadFindItemsGroupList(sys, pos, m_TaskList);
}

u8* CPersonage::CInvestigationInfo::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return SaveFindItemsGroupList(sys, pos, m_TaskGroups);
}

const u8* CPersonage::CInvestigationInfo::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return LoadFindItemsGroupList(sys, pos, m_TaskGroups);
}

u8* CPersonage::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeString(sys.writeString(pos, m_FocusedRoom), m_FocusedItem);
    pos = sys.writeU32(pos, u32(m_NamedValues.size()));
    for (const auto& [key, value] : m_NamedValues)
        pos = sys.writeString(sys.writeString(pos, key), value);
    pos = sys.writeU32(pos, u32(m_Items.size()));
    for (auto& [key, item] : m_Items)
        pos = item.SaveSelf(sys, sys.writeString(sys.writeString(pos, key.first), key.second));
    pos = sys.writeU32(pos, u32(m_Rooms.size()));
    for (auto& [name, room] : m_Rooms)
        pos = room.SaveSelf(sys, sys.writeString(pos, name));
    return m_Investigation.SaveSelf(sys, pos);
}

const u8* CPersonage::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readString(sys.readString(pos, m_FocusedRoom), m_FocusedItem);
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinNamedValue, "CPersonage::LoadSelf() named values"))
        return SkipRecord(sys, pos);
    m_NamedValues.clear();
    for (u32 i = 0; i < count; ++i) {
        std::string key;
        pos = sys.readString(pos, key);
        pos = sys.readString(pos, m_NamedValues[key]);
    }
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinItemRecord, "CPersonage::LoadSelf() item records"))
        return SkipRecord(sys, pos);
    for (u32 i = 0; i < count; ++i) {
        ItemKey key;
        pos = sys.readString(sys.readString(pos, key.first), key.second);
        pos = m_Items[key].LoadSelf(sys, pos);
    }
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinRoomRecord, "CPersonage::LoadSelf() room records"))
        return SkipRecord(sys, pos);
    for (u32 i = 0; i < count; ++i) {
        std::string name;
        pos = sys.readString(pos, name);
        pos = m_Rooms[name].LoadSelf(sys, pos);
    }
    return m_Investigation.LoadSelf(sys, pos);
}

void CPersonage::SaveChildren(SaveLoadSystem& sys) {
    sys.SaveEntity(m_Inventory);
}

void CPersonage::LoadChildren(SaveLoadSystem& sys) {
    sys.LoadEntity(m_Inventory);
}
