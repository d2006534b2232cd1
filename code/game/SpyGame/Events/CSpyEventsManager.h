#pragma once
#include "game/SaveLoadEntity.h"

#include <boost/shared_ptr.hpp>
#include <deque>
#include <string>
#include <unordered_map>

class CSpyEventBase;
class CStoryWorld;

// The story events of an investigation, in file order: made from "_events.ini" through the class
// factory, chosen one at a time for the runner, reset for a new start and saved as their done flags.
class CSpyEventsManager : public SaveLoadEntity {
public:
    // The current-event index that stands for none.
    static constexpr u32 NoEvent = 0xFFFFFFFF;

    CSpyEventsManager() = default;
    ~CSpyEventsManager() override = default;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    void SetInvestigation(CStoryWorld* investigation) { m_investigation = investigation; }
    // Appends the events of the file's sections; nothing without an investigation.
    void AddEvents(const std::string& fileName);
    // The first event not done whose conditions hold, which becomes current; null (the current event
    // kept) when none does.
    CSpyEventBase* GetNextEvent();
    CSpyEventBase* FindEvent(const std::string& name) const;
    void ResetAll();
    // A new event of the class with that key; null for an unknown key.
    static boost::shared_ptr<CSpyEventBase> CreateEvent(const std::string& classKey);

    CSpyEventBase* GetCurrentEvent() const { return m_current; }
    size_t GetEventCount() const { return m_events.size(); }
    CSpyEventBase* GetEvent(size_t index) const { return m_events[index].get(); }

private:
    u32 IndexOfCurrent() const;

    CStoryWorld* m_investigation = nullptr;
    std::deque<boost::shared_ptr<CSpyEventBase>> m_events;
    // The first event of each name: the conditions of every waiting event name other events, and
    // they are asked on every frame of play.
    std::unordered_map<std::string, CSpyEventBase*> m_byName;
    CSpyEventBase* m_current = nullptr;
};
