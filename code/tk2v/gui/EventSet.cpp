#include "tk2v/gui/EventSet.h"

#include "tk2v/util/log.h"

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

Connection EventSet::SubscribeEvent(std::string_view name, Subscriber* subscriber) {
    auto it = m_events.find(name);
    if (it == m_events.end()) {
        log("EventSet::SubscribeEvent - event %s not found", std::string(name).c_str());
        return Connection{nullptr, noEventSubscriber(), {}};
    }
    return it->second->Subscribe(subscriber);
}

Event* EventSet::GetEvent(std::string_view name) const {
    auto it = m_events.find(name);
    return it == m_events.end() ? nullptr : it->second.get();
}

void EventSet::AddEvent(const std::string& name) {
    if (m_events.count(name)) {
        log("EventSet::AddEvent - event %s already exists", name.c_str());
        return;
    }
    m_events.emplace(name, std::make_unique<Event>(name));
}

void EventSet::LaunchEvent(std::string_view name, EventArgs& args) {
    auto it = m_events.find(name);
    if (it == m_events.end()) {
        log("EventSet::LaunchEvent - event '%s' not found", std::string(name).c_str());
        return;
    }
    it->second->Fire(args);
}

} // namespace GUI
