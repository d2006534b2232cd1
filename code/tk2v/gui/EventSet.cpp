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

Event* EventSet::Made(size_t number) const {
    if (!m_events[number])
        m_events[number] = std::make_unique<Event>(m_names.Name(number));
    return m_events[number].get();
}

Connection EventSet::SubscribeEvent(std::string_view name, Subscriber* subscriber) {
    const size_t n = m_names.Find(name);
    if (n == NameTable::npos) {
        log("EventSet::SubscribeEvent - event %s not found", std::string(name).c_str());
        return Connection{nullptr, noEventSubscriber(), {}};
    }
    return Made(n)->Subscribe(subscriber);
}

Event* EventSet::GetEvent(std::string_view name) const {
    const size_t n = m_names.Find(name);
    return n == NameTable::npos ? nullptr : Made(n);
}

void EventSet::AddEvent(const std::string& name) {
    if (!m_names.Add(name)) {
        log("EventSet::AddEvent - event %s already exists", name.c_str());
        return;
    }
    m_events.emplace_back();
}

void EventSet::LaunchEvent(std::string_view name, EventArgs& args) {
    const size_t n = m_names.Find(name);
    if (n == NameTable::npos) {
        log("EventSet::LaunchEvent - event '%s' not found", std::string(name).c_str());
        return;
    }
    if (m_events[n])
        m_events[n]->Fire(args);
}

} // namespace GUI
