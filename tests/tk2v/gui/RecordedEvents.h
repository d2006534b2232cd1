#pragma once
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/SubscriberInterface.h"
#include "tk2v/gui/Widget.h"

#include <memory>
#include <string>
#include <vector>

// Records the names of the events a test listens to, in the order they fire.
class RecordedEvents {
public:
    void listen(GUI::Widget& widget, const std::string& event) {
        auto binder = std::make_unique<Binder>(this, event);
        widget.SubscribeEvent(event, binder.get());
        m_binders.push_back(std::move(binder));
    }
    int count(const std::string& event) const {
        int n = 0;
        for (const std::string& name : names)
            n += name == event;
        return n;
    }
    void clear() { names.clear(); }

    std::vector<std::string> names;

private:
    struct Binder : GUI::Subscriber {
        Binder(RecordedEvents* owner, std::string event) : owner(owner), event(std::move(event)) {}
        bool operator()(const GUI::EventArgs&) override {
            owner->names.push_back(event);
            return true;
        }
        RecordedEvents* owner;
        std::string event;
    };
    std::vector<std::unique_ptr<Binder>> m_binders;
};
