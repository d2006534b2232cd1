#include "game/SpyGame/CPersonagesManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/SaveCounts.h"
#include "game/SpyGame/StringListField.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/aStringList.h"
#include "tk2v/util/aException.h"
#include "tk2v/util/log.h"

#include <algorithm>

namespace {

// A room name, a level count; a level, a group count.
constexpr u32 MinPoolRecord = 1 + 4;
constexpr u32 MinLevelRecord = 4 + 4;

bool Contains(const std::list<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

CPersonagesManager::CPersonagesManager() : SaveLoadEntity("<PersonagesManager>") {}

CPersonagesManager::~CPersonagesManager() = default;

std::list<std::string> CPersonagesManager::ReadNameList(const aOptionsFile& options, const std::string& key) {
    std::vector<std::string> names;
    options.getValueList(names, "Personages", key);
    return {names.begin(), names.end()};
}

void CPersonagesManager::Fail(const char* condition, unsigned line) {
    const char* function = "CPersonagesManager::CreatePersonages";
    const char* where = a_fileLine("PersonagesManager", line);
    log("%s: %s %s", function, condition, where);
    throw aException("%s%s\n%s%s %s", "Application generated exception!\n", condition, "Catch stack:\n",
                     function, where);
}

void CPersonagesManager::CreatePersonages(const aOptionsFile& options, CDialogSpyGamePanel* panel,
                                          CRoomsManager* roomsManager) {
    m_pRoomsManager = roomsManager;
    for (const std::string& name : ReadNameList(options, "PersonagesList"))
        m_All.push_back(name);
    m_Personages.reserve(m_Personages.size() + m_All.size());
    for (const std::string& name : m_All) {
        boost::shared_ptr<CPersonage> personage(new CPersonage(name));
        personage->SetOwner(this);
        personage->GetInventory().Init(name, panel, roomsManager);
        m_Personages.push_back(personage);
    }
    for (const std::string& name : ReadNameList(options, "StartPersonages"))
        m_Start.push_back(name);
    if (m_Personages.empty())
        Fail("!personages.empty()", 122);
    if (m_Start.empty())
        Fail("!startPersonages.empty()", 123);
}

void CPersonagesManager::LoadScripts(const std::string& folder, const std::string& roomKey) {
    for (const std::string& name : m_All)
        if (CPersonage* personage = GetPersonage(name))
            personage->LoadScript(folder, roomKey);
}

void CPersonagesManager::LoadInvestigationScripts(const std::string& folder,
                                                  const std::string& investigation) {
    aStringList rooms(folder + "_rooms.list");
    for (const std::string& name : m_All) {
        CPersonage* personage = GetPersonage(name);
        if (!personage)
            continue;
        for (const std::string& room : rooms.lines())
            personage->LoadScript(folder + room + "/", room);
        personage->LoadScript(folder, investigation);
    }
}

CPersonage* CPersonagesManager::GetPersonage(const std::string& name) const {
    for (const auto& personage : m_Personages)
        if (personage->GetName() == name)
            return personage.get();
    return nullptr;
}

void CPersonagesManager::SelectPersonage(const std::string& name) {
    if (!Contains(m_Active, name))
        return;
    m_pCurrent = GetPersonage(name);
    if (m_pCurrent)
        m_pCurrent->GetInventory().UpdateLayout();
}

bool CPersonagesManager::AddActivePersonage(const std::string& name) {
    if (!Contains(m_All, name))
        return false;
    if (!Contains(m_Active, name))
        m_Active.push_back(name);
    return true;
}

bool CPersonagesManager::RemoveActivePersonage(const std::string& name) {
    auto it = std::find(m_Active.begin(), m_Active.end(), name);
    if (it == m_Active.end())
        return false;
    m_Active.erase(it);
    return true;
}

void CPersonagesManager::ResetForNewGame(bool keepSharedPools) {
    BuildISpyPools(!keepSharedPools);
    for (const auto& personage : m_Personages)
        personage->Reset(true);
    m_Active = m_Start;
    m_pCurrent = m_Active.empty() ? nullptr : GetPersonage(m_Active.front());
}

void CPersonagesManager::Clear() {
    m_pCurrent = nullptr;
    m_Personages.clear();
    m_All.clear();
    m_Start.clear();
    m_Active.clear();
}

u8* CPersonagesManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeString(pos, m_pCurrent ? m_pCurrent->GetName() : std::string());
    pos = SaveStringList(sys, pos, m_Active);
    pos = sys.writeU32(pos, u32(m_Pools.size()));
    for (auto& [room, levels] : m_Pools) {
        pos = sys.writeU32(sys.writeString(pos, room), u32(levels.size()));
        for (auto& [level, groups] : levels)
            pos = SaveFindItemsGroupList(sys, sys.writeU32(pos, level), groups);
    }
    return pos;
}

const u8* CPersonagesManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    std::string current;
    pos = sys.readString(pos, current);
    m_pCurrent = GetPersonage(current);
    pos = LoadStringList(sys, pos, m_Active);
    return LoadPools(sys, pos);
}

const u8* CPersonagesManager::LoadPools(SaveLoadSystem& sys, const u8* pos) {
    u32 rooms = 0;
    pos = sys.readU32(pos, rooms);
    if (!countFits(sys, pos, rooms, MinPoolRecord, "CPersonagesManager::LoadSelf() pools"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < rooms; ++i) {
        std::string room;
        u32 levels = 0;
        pos = sys.readU32(sys.readString(pos, room), levels);
        if (!countFits(sys, pos, levels, MinLevelRecord, "CPersonagesManager::LoadSelf() levels"))
            return pos + sys.bytesLeftInRecord(pos);
        LevelPools& pool = m_Pools[room];
        pool.clear();
        for (u32 j = 0; j < levels; ++j) {
            u32 level = 0;
            pos = sys.readU32(pos, level);
            pos = LoadFindItemsGroupList(sys, pos, pool[level]);
        }
    }
    return pos;
}

void CPersonagesManager::SaveChildren(SaveLoadSystem& sys) {
    for (const auto& personage : m_Personages)
        sys.SaveEntity(*personage);
}

void CPersonagesManager::LoadChildren(SaveLoadSystem& sys) {
    for (const auto& personage : m_Personages)
        sys.LoadEntity(*personage);
}
