#pragma once
#include "tk2v/gui/Widget.h"

#include <memory>
#include <string>
#include <vector>

// Records the events of widgets as "widget:Event" lines, in the order they fire.
class WidgetTrace {
public:
    static constexpr const char* CommonEvents[] = {
        "FocusGain",   "FocusLost",   "Hide",        "Show",    "Enabled",     "Disabled",
        "MouseEnter",  "MouseLeave",  "MouseDown",   "MouseUp", "MouseMove",   "MouseWheel",
        "Click",       "DoubleClick", "TripleClick", "KeyDown", "KeyUp",       "KeyPress",
        "TextChanged", "FontChanged", "Moved",       "Sized",   "BeginRender", "EndRender"};

    // Every common event of the widget, or only those named.
    void watch(GUI::Widget& widget, const std::vector<std::string>& events = {}) {
        const std::vector<std::string> all(std::begin(CommonEvents), std::end(CommonEvents));
        for (const std::string& event : events.empty() ? all : events) {
            m_recorders.push_back(std::make_unique<Recorder>(this, widget.GetName() + ":" + event));
            widget.SubscribeEvent(event, m_recorders.back().get());
        }
    }

    std::vector<std::string> lines;
    // The last record of each kind, for tests that look at its fields.
    GUI::MouseEventArgs lastMouse;
    GUI::KeybEventArgs lastKey;

private:
    struct Recorder : GUI::Subscriber {
        WidgetTrace* trace;
        std::string line;
        Recorder(WidgetTrace* t, std::string l) : trace(t), line(std::move(l)) {}
        bool operator()(const GUI::EventArgs& e) override {
            trace->lines.push_back(line);
            if (auto* m = dynamic_cast<const GUI::MouseEventArgs*>(&e))
                trace->lastMouse = *m;
            if (auto* k = dynamic_cast<const GUI::KeybEventArgs*>(&e))
                trace->lastKey = *k;
            return false;
        }
    };
    std::vector<std::unique_ptr<Recorder>> m_recorders;
};

using Lines = std::vector<std::string>;
