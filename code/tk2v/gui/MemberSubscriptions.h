#pragma once
#include "tk2v/gui/Event.h"
#include "tk2v/gui/SubscriberInterface.h"
#include "tk2v/gui/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace GUI {

// The subscriptions a composite widget makes on the events of its parts. It owns the binders and
// disconnects them when it goes, so a part that outlives the widget never calls into it; a part
// that went first has taken its events along and is left alone.
class MemberSubscriptions {
public:
    MemberSubscriptions() = default;
    ~MemberSubscriptions() { Clear(); }
    MemberSubscriptions(const MemberSubscriptions&) = delete;
    MemberSubscriptions& operator=(const MemberSubscriptions&) = delete;

    template <typename T>
    void Add(Widget& source, const std::string& event, T* object, bool (T::*member)(const EventArgs&)) {
        auto binder = std::make_unique<_memberBinder<T, bool, const EventArgs&>>(object, member);
        m_connections.push_back(source.SubscribeEvent(event, binder.get()));
        m_binders.push_back(std::move(binder));
    }

    void Clear() {
        for (const Connection& connection : m_connections)
            connection.Disconnect();
        m_connections.clear();
        m_binders.clear();
    }

private:
    std::vector<std::unique_ptr<Subscriber>> m_binders;
    std::vector<Connection> m_connections;
};

} // namespace GUI
