#pragma once
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/SubscriberInterface.h"

#include <map>
#include <memory>
#include <string>

namespace GUI {

class Event;

// What a subscription returns. Disconnect through Disconnect (or event->Unsubscribe(subscriber));
// it does nothing once the event is gone or when the connection belongs to no event.
struct Connection {
    Event* event = nullptr;
    Subscriber* subscriber = nullptr;

    void Disconnect() const;

    // Expires with the event.
    std::weak_ptr<void> alive;
};

// A named event with its subscribers, kept in order of their addresses.
class Event {
public:
    explicit Event(const std::string& name);
    virtual ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    const std::string& GetName() const { return m_name; }

    // A subscriber subscribed again replaces its earlier connection, so it is still called once a firing.
    Connection Subscribe(Subscriber* subscriber);
    void Unsubscribe(Subscriber* subscriber);
    bool IsSubscribed(Subscriber* subscriber) const { return m_subscribers.count(subscriber) != 0; }
    size_t GetSubscriberCount() const { return m_subscribers.size(); }

    // Calls every subscriber, ORing their results into args.handled. A subscriber unsubscribed by an
    // earlier one during the firing is not called; one subscribed meanwhile waits for the next firing.
    void Fire(EventArgs& args);

private:
    std::string m_name;
    std::map<Subscriber*, Connection> m_subscribers;
    std::shared_ptr<char> m_alive;
};

} // namespace GUI
