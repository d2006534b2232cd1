#include "game/SpyGame/Events/CSpyEventsManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Events/CStoryWorld.h"
#include "game/SpyGame/Events/EChangePersonageInfo.h"
#include "game/SpyGame/Events/EChangePersonages.h"
#include "game/SpyGame/Events/EEventForComics.h"
#include "game/SpyGame/Events/EEventForItem.h"
#include "game/SpyGame/Events/EInvestigationClose.h"
#include "game/SpyGame/Events/EInvestigationWin.h"
#include "game/SpyGame/Events/ELocationFinish.h"
#include "game/SpyGame/Events/EMagicStarsChanger.h"
#include "game/SpyGame/Events/ENpcItemIdent.h"
#include "game/SpyGame/Events/ESearchFinish.h"
#include "game/SpyGame/Events/EShowMessage.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

#include <boost/make_shared.hpp>

namespace {

template <class Event> boost::shared_ptr<CSpyEventBase> make() {
    return boost::make_shared<Event>();
}

struct Factory {
    const char* key;
    boost::shared_ptr<CSpyEventBase> (*create)();
};

const Factory factories[] = {
    {CSpyEventBase::GetClassStaticName(), make<CSpyEventBase>},
    {SpyEvents::EChangePersonages::GetClassStaticName(), make<SpyEvents::EChangePersonages>},
    {SpyEvents::ENpcItemIdent::GetClassStaticName(), make<SpyEvents::ENpcItemIdent>},
    {SpyEvents::EShowMessage::GetClassStaticName(), make<SpyEvents::EShowMessage>},
    {SpyEvents::EEventForItem::GetClassStaticName(), make<SpyEvents::EEventForItem>},
    {SpyEvents::EChangePersonageInfo::GetClassStaticName(), make<SpyEvents::EChangePersonageInfo>},
    {SpyEvents::EEventForComics::GetClassStaticName(), make<SpyEvents::EEventForComics>},
    {SpyEvents::EMagicStarsChanger::GetClassStaticName(), make<SpyEvents::EMagicStarsChanger>},
    {SpyEvents::ESearchFinish::GetClassStaticName(), make<SpyEvents::ESearchFinish>},
    {SpyEvents::ELocationFinish::GetClassStaticName(), make<SpyEvents::ELocationFinish>},
    {SpyEvents::EInvestigationWin::GetClassStaticName(), make<SpyEvents::EInvestigationWin>},
    {SpyEvents::EInvestigationClose::GetClassStaticName(), make<SpyEvents::EInvestigationClose>},
};

} // namespace

boost::shared_ptr<CSpyEventBase> CSpyEventsManager::CreateEvent(const std::string& classKey) {
    for (const Factory& factory : factories)
        if (classKey == factory.key)
            return factory.create();
    return nullptr;
}

void CSpyEventsManager::AddEvents(const std::string& fileName) {
    if (!m_investigation)
        return;
    const std::string investigation = m_investigation->GetInvestigationName();
    setName("SpyEventsManager : " + investigation);
    aOptionsFile ini(fileName);
    for (ini.first(); !ini.isEnd(); ini.nextSection()) {
        const std::string section = ini.getSectionName();
        boost::shared_ptr<CSpyEventBase> event = CreateEvent(section);
        if (!event) {
            log("CSpyEventsManager::AddEvents(). Investigation '%s', not find class for event '%s'",
                investigation.c_str(), section.c_str());
            continue;
        }
        event->Init(m_investigation, this);
        event->ReadFromIniFile(ini);
        m_events.push_back(event);
        m_byName.emplace(event->GetName(), event.get());
        if (event->GetClassName() != section)
            log("Warning, class '%s' return difference names in methods GetClassStaticName() and "
                "GetClassName().",
                section.c_str());
    }
}

CSpyEventBase* CSpyEventsManager::GetNextEvent() {
    for (const auto& event : m_events)
        if (!event->IsDone() && event->CanStart())
            return m_current = event.get();
    return nullptr;
}

CSpyEventBase* CSpyEventsManager::FindEvent(const std::string& name) const {
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

void CSpyEventsManager::ResetAll() {
    for (const auto& event : m_events)
        event->Reset();
    m_current = nullptr;
}

u32 CSpyEventsManager::IndexOfCurrent() const {
    for (size_t i = 0; i < m_events.size(); ++i)
        if (m_events[i].get() == m_current)
            return u32(i);
    return NoEvent;
}

u8* CSpyEventsManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, u32(m_events.size()));
    for (const auto& event : m_events)
        pos = event->SaveSelf(sys, pos);
    return sys.writeU32(pos, IndexOfCurrent());
}

const u8* CSpyEventsManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (count != m_events.size())
        log("CSpyEventsManager::LoadSelf(). Saved events difference!");
    // Each event's record is its done flag; a count the record cannot hold is damage, and reading on
    // would take billions of steps through bytes that belong to no event.
    if (!countFits(sys, pos, count, 1, "CSpyEventsManager::LoadSelf()")) {
        m_current = nullptr;
        return pos;
    }
    CSpyEventBase surplus;
    for (u32 i = 0; i < count; ++i)
        pos = (i < m_events.size() ? *m_events[i] : surplus).LoadSelf(sys, pos);
    // A record cut before the index has no current event rather than one read from the next record.
    u32 index = NoEvent;
    if (sys.bytesLeftInRecord(pos) >= 4)
        pos = sys.readU32(pos, index);
    m_current = index < m_events.size() ? m_events[index].get() : nullptr;
    return pos;
}
