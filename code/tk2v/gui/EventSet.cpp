#include "tk2v/gui/EventSet.h"

#include "tk2v/util/log.h"

#include <algorithm>

namespace GUI {

namespace {

bool neverHandled(const EventArgs&) {
    return false;
}

// The subscriber of connections to no event: never called, shared, never freed.
Subscriber* noEventSubscriber() {
    static _freeBinder<bool, const EventArgs&> binder(neverHandled);
    return &binder;
}

} // namespace

EventSet::~EventSet() = default;

const EventSet::Entry* EventSet::Find(std::string_view name) const {
    auto it = std::lower_bound(m_events.begin(), m_events.end(), name,
                               [](const Entry& e, std::string_view n) { return NoCaseLess()(e.name, n); });
    return it != m_events.end() && NoCaseEqual(it->name, name) ? &*it : nullptr;
}

Event* EventSet::Made(const Entry& entry) const {
    if (!entry.event)
        entry.event = std::make_unique<Event>(entry.name);
    return entry.event.get();
}

Connection EventSet::SubscribeEvent(std::string_view name, Subscriber* subscriber) {
    const Entry* entry = Find(name);
    if (!entry) {
        log("EventSet::SubscribeEvent - event %s not found", std::string(name).c_str());
        return Connection{nullptr, noEventSubscriber(), {}};
    }
    return Made(*entry)->Subscribe(subscriber);
}

Event* EventSet::GetEvent(std::string_view name) const {
    const Entry* entry = Find(name);
    return entry ? Made(*entry) : nullptr;
}

void EventSet::AddSortedEvents(const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (m_events.empty() || NoCaseLess()(m_events.back().name, names[i]))
            m_events.push_back(Entry{names[i], nullptr});
        else
            AddEvent(names[i]);
    }
}

void EventSet::AddEvent(const std::string& name) {
    auto it = std::lower_bound(m_events.begin(), m_events.end(), name,
                               [](const Entry& e, const std::string& n) { return NoCaseLess()(e.name, n); });
    if (it != m_events.end() && NoCaseEqual(it->name, name)) {
        log("EventSet::AddEvent - event %s already exists", name.c_str());
        return;
    }
    m_events.insert(it, Entry{name, nullptr});
}

void EventSet::LaunchEvent(std::string_view name, EventArgs& args) {
    const Entry* entry = Find(name);
    if (!entry) {
        log("EventSet::LaunchEvent - event '%s' not found", std::string(name).c_str());
        return;
    }
    if (entry->event)
        entry->event->Fire(args);
}

} // namespace GUI
