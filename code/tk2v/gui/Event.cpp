#include "tk2v/gui/Event.h"

#include <array>
#include <vector>

namespace GUI {

void Connection::Disconnect() const {
    if (event && !alive.expired())
        event->Unsubscribe(subscriber);
}

Event::Event(const std::string& name) : m_name(name) {}

Event::~Event() = default;

Connection Event::Subscribe(Subscriber* subscriber) {
    // Only events with subscribers need the token that tells connections whether the event lives.
    if (!m_alive)
        m_alive = std::make_shared<char>(0);
    Connection connection{this, subscriber, m_alive};
    m_subscribers[subscriber] = connection;
    return connection;
}

void Event::Unsubscribe(Subscriber* subscriber) {
    m_subscribers.erase(subscriber);
}

void Event::Fire(EventArgs& args) {
    // A subscriber may end subscriptions (its own or others') while it runs, and a widget event usually
    // has one or two subscribers: walk a copy of the keys, kept on the stack when it is short.
    constexpr size_t Inline = 8;
    std::array<Subscriber*, Inline> small;
    std::vector<Subscriber*> large;
    Subscriber** keys = small.data();
    const size_t count = m_subscribers.size();
    if (count > Inline) {
        large.resize(count);
        keys = large.data();
    }
    size_t n = 0;
    for (const auto& entry : m_subscribers)
        keys[n++] = entry.first;
    // A handler may also destroy the widget that owns this event.
    const std::weak_ptr<char> alive = m_alive;
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (alive.expired() || !IsSubscribed(keys[i])))
            continue;
        if ((*keys[i])(args))
            args.handled = true;
    }
}

} // namespace GUI
