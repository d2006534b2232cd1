#include "game/SpyGame/Events/CSpyEventBase.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "game/SpyGame/Events/CStoryWorld.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

const u8* CSpyEventBase::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return sys.readU8(pos, m_done);
}

u8* CSpyEventBase::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return sys.writeU8(pos, m_done);
}

void CSpyEventBase::Init(CStoryWorld* investigation, CSpyEventsManager* manager) {
    m_investigation = investigation;
    m_manager = manager;
}

void CSpyEventBase::ReadFromIniFile(aOptionsFile& ini) {
    if (!m_investigation)
        return;
    ReadStringKey(ini, "EventName", Optional, "", m_eventName);
    ReadStringKey(ini, "Location", GetKeyMode(KeyLocation), "", m_location);
    ReadFlagKey(ini, "NotInCloseUp", GetKeyMode(KeyNotInCloseUp), 0, m_notInCloseUp);
    ReadListKey(ini, "AfterEvents", GetKeyMode(KeyAfterEvents), m_afterEvents);
    ReadListKey(ini, "BeforeEvents", GetKeyMode(KeyBeforeEvents), m_beforeEvents);
    ReadListKey(ini, "WinItemsList", GetKeyMode(KeyWinItemsList), m_winItemsList);
    ReadFlagKey(ini, "WaitCloseMessage", GetKeyMode(KeyWaitCloseMessage), 0, m_waitCloseMessage);
    ReadStringKey(ini, "ItemInInventory", GetKeyMode(KeyItemInInventory), "", m_itemInInventory);
    ReadListKey(ini, "VisibilityItems", GetKeyMode(KeyVisibilityItems), m_visibilityItems);
    ReadStringKey(ini, "Personage", GetKeyMode(KeyPersonage), "", m_personage);
}

bool CSpyEventBase::CheckKey(const aOptionsFile& ini, const char* key, KeyMode mode) const {
    const bool present = ini.hasKey(key);
    if (present && mode == NotUsed)
        log("Event system: warning, key '%s' in event '%s' not used.", key, GetClassName().c_str());
    else if (!present && mode == Required)
        log("Event system: not found required key '%s' in event '%s'!", key, GetClassName().c_str());
    return present;
}

void CSpyEventBase::ReadIntKey(aOptionsFile& ini, const char* key, KeyMode mode, i32 def, i32& out) {
    out = CheckKey(ini, key, mode) ? ini.getInt(key) : def;
}

void CSpyEventBase::ReadFlagKey(aOptionsFile& ini, const char* key, KeyMode mode, u8 def, u8& out) {
    i32 value = 0;
    ReadIntKey(ini, key, mode, def, value);
    out = value != 0;
}

void CSpyEventBase::ReadStringKey(aOptionsFile& ini, const char* key, KeyMode mode, const std::string& def,
                                  std::string& out) {
    out = CheckKey(ini, key, mode) ? ini.getString(key) : def;
}

void CSpyEventBase::ReadListKey(aOptionsFile& ini, const char* key, KeyMode mode, StringList& out) {
    out.clear();
    if (CheckKey(ini, key, mode))
        ini.getStringList(out, key);
}

bool CSpyEventBase::CanStart() {
    if (!m_investigation)
        return false;
    CStoryWorld& world = *m_investigation;
    if (Uses(KeyWaitCloseMessage) && m_waitCloseMessage && world.IsMessageShown())
        return false;
    CPersonage* personage = CurrentPersonage();
    if (Uses(KeyPersonage) && !m_personage.empty() && (!personage || personage->GetName() != m_personage))
        return false;
    if (Uses(KeyLocation) && !m_location.empty()) {
        std::string room, className;
        if (!world.GetCurrentRoom(room, className) || room != m_location)
            return false;
    }
    if (Uses(KeyNotInCloseUp) && m_notInCloseUp && !world.IsHistoryEmpty())
        return false;
    if (Uses(KeyAfterEvents) && !CheckEventsDone(m_afterEvents, true))
        return false;
    if (Uses(KeyBeforeEvents) && !CheckEventsDone(m_beforeEvents, false))
        return false;
    if (Uses(KeyItemInInventory) && !m_itemInInventory.empty() &&
        (!personage || !personage->GetInventory().HasItem(m_itemInInventory)))
        return false;
    if (Uses(KeyWinItemsList) && !m_winItemsList.empty() && !CheckWinItemsList())
        return false;
    if (Uses(KeyVisibilityItems) && !m_visibilityItems.empty())
        return CheckVisibilityItems();
    return true;
}

// Every named event that exists must be done (or, for `done` false, not done); unknown names pass.
bool CSpyEventBase::CheckEventsDone(const StringList& names, bool done) const {
    if (!m_manager)
        return true;
    for (const std::string& name : names) {
        const CSpyEventBase* event = m_manager->FindEvent(name);
        if (event && event->IsDone() != done)
            return false;
    }
    return true;
}

bool CSpyEventBase::CheckWinItemsList() const {
    for (const std::string& entry : m_winItemsList)
        if (!CheckWinItem(entry))
            return false;
    return true;
}

// "[!][@personage:]room:item"; without a ':' the remainder is an item with no room.
bool CSpyEventBase::CheckWinItem(const std::string& entry) const {
    const bool negate = !entry.empty() && entry[0] == '!';
    std::string rest = entry.substr(negate ? 1 : 0);
    std::string personage;
    if (!rest.empty() && rest[0] == '@') {
        const size_t colon = rest.find(':');
        personage = rest.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
        rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    }
    std::string room, item;
    SplitFullItemName(rest, room, item);

    const CPersonagesManager* personages = m_investigation->GetPersonagesManager();
    const CPersonage* named =
        personages && !personage.empty() ? personages->GetPersonage(personage) : nullptr;
    bool value;
    if (named) {
        value = CheckPersonageItem(*named, room, item);
    } else {
        const CRoomItemLookup& rooms = m_investigation->GetRooms();
        // A missing item holds whatever the negation: the entry names something this game lacks.
        if (!rooms.HasItem(room, item))
            return true;
        const CSpyItem* found = rooms.GetItem(room, item);
        value = found && found->IsWin();
    }
    return negate ? !value : value;
}

bool CSpyEventBase::CheckPersonageItem(const CPersonage& personage, const std::string& room,
                                       const std::string& item) const {
    if (item == "TASK")
        return personage.IsRoomTaskListDone(room);
    if (item == "ISPY")
        return personage.IsRoomISpyListDone(room);
    if (!personage.FindItemInfo({room, item}))
        return false;
    if (personage.IsItemUsedOnSelf(room, item))
        return personage.GetItemUseCount(room, item) > 0;
    return personage.GetItemTouchCount(room, item) > 0;
}

CPersonage* CSpyEventBase::CurrentPersonage() const {
    const CPersonagesManager* personages = m_investigation->GetPersonagesManager();
    return personages ? personages->GetCurrentPersonage() : nullptr;
}

bool CSpyEventBase::CheckVisibilityItems() {
    const CRoomItemLookup& rooms = m_investigation->GetRooms();
    for (const std::string& entry : m_visibilityItems) {
        const bool negate = !entry.empty() && entry[0] == '!';
        const std::string name = entry.substr(negate ? 1 : 0);
        std::string room, item;
        SplitFullItemName(name, room, item);
        const CSpyItem* found = rooms.HasItem(room, item) ? rooms.GetItem(room, item) : nullptr;
        if (!found) {
            // The event can never start: it names an item this investigation does not have.
            SetDone();
            log("CSpyEventBase::CheckVisibilityItems(). Item '%s' not exist!", name.c_str());
            return false;
        }
        if (found->IsVisible() == negate)
            return false;
    }
    return true;
}
