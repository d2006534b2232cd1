#pragma once
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/SubscriberInterface.h"

#include <memory>

// A handler a puzzle object keeps: a GUI subscriber, called with an empty event record. Copies share
// the subscriber, so every copy of an edit box calls the same member of the same room; a handler that
// replaces or drops its own cell while it runs still runs to its end.
class cHandlerCell {
public:
    cHandlerCell() = default;
    explicit cHandlerCell(std::unique_ptr<GUI::Subscriber> subscriber)
        : m_Subscriber(std::move(subscriber)) {}

    bool IsEmpty() const { return !m_Subscriber; }
    // What the subscriber answered; false for an empty cell.
    bool Call() const;

private:
    std::shared_ptr<GUI::Subscriber> m_Subscriber;
};

// A handler calling a member of an object, for the cells above.
template <class T>
std::unique_ptr<GUI::Subscriber> MakeHandler(T* object, bool (T::*member)(const GUI::EventArgs&)) {
    return std::make_unique<GUI::_memberBinder<T, bool, const GUI::EventArgs&>>(object, member);
}
