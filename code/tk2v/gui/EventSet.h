#pragma once
#include "tk2v/gui/Event.h"
#include "tk2v/gui/PropertySet.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace GUI {

// The named events of a widget.
class EventSet {
public:
    EventSet() { m_events.reserve(24); }
    virtual ~EventSet();
    EventSet(const EventSet&) = delete;
    EventSet& operator=(const EventSet&) = delete;

    // An unknown name logs and returns a connection to no event, whose subscriber is never called.
    Connection SubscribeEvent(std::string_view name, Subscriber* subscriber);
    // Null for an unknown name, silently.
    Event* GetEvent(std::string_view name) const;

protected:
    // A taken name logs and keeps the first event.
    void AddEvent(const std::string& name);
    // AddEvent for each name, in one step when the set is still empty and the names are unique and
    // in NoCaseLess order.
    void AddSortedEvents(const char* const* names, size_t count);
    // An unknown name logs and calls nothing.
    void LaunchEvent(std::string_view name, EventArgs& args);

private:
    struct Entry {
        std::string name;
        // Made when first asked for: most events of most widgets never get a subscriber.
        mutable std::unique_ptr<Event> event;
    };
    const Entry* Find(std::string_view name) const;
    Event* Made(const Entry& entry) const;

    std::vector<Entry> m_events;
};

} // namespace GUI
