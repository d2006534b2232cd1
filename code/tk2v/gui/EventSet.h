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
    EventSet() { m_names.Reserve(24); }
    virtual ~EventSet();
    EventSet(const EventSet&) = delete;
    EventSet& operator=(const EventSet&) = delete;

    // An unknown name logs and returns a connection to no event, whose subscriber is never called and
    // belongs to the event set, not to the caller.
    Connection SubscribeEvent(std::string_view name, Subscriber* subscriber);
    // Null for an unknown name, silently.
    Event* GetEvent(std::string_view name) const;

protected:
    // A taken name logs and keeps the first event.
    void AddEvent(const std::string& name);
    // An unknown name logs and calls nothing.
    void LaunchEvent(std::string_view name, EventArgs& args);

private:
    Event* Made(size_t number) const;

    NameTable m_names;
    // By the names' numbers; each made when first asked for: most events of most widgets never get a
    // subscriber.
    mutable std::vector<std::unique_ptr<Event>> m_events;
};

} // namespace GUI
