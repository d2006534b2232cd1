#pragma once
#include "tk2v/gui/Event.h"
#include "tk2v/gui/PropertySet.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace GUI {

// The named events of a widget.
class EventSet {
public:
    EventSet() = default;
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
    // An unknown name logs and calls nothing.
    void LaunchEvent(std::string_view name, EventArgs& args);

private:
    std::map<std::string, std::unique_ptr<Event>, NoCaseLess> m_events;
};

} // namespace GUI
