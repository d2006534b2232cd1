#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/Event.h"
#include "tk2v/gui/SubscriberInterface.h"

#include <memory>

namespace GUI {
class Widget;
}

// A widget of the GUI scripts that something outside the GUI holds on to, whether it still lives (the
// GUI server may free its widgets before the dialogs that keep pointers into them), and the area and
// alpha it had when the watch began, for putting it back.
class CWidgetWatch {
public:
    CWidgetWatch() = default;
    ~CWidgetWatch();
    CWidgetWatch(const CWidgetWatch&) = delete;
    CWidgetWatch& operator=(const CWidgetWatch&) = delete;

    // Starts watching the widget (null watches nothing) and notes its area and alpha.
    void Watch(GUI::Widget* widget);
    // The widget while it lives, else null.
    GUI::Widget* Get() const;
    const aRect& Initial() const { return m_initial; }
    f32 InitialAlpha() const { return m_initialAlpha; }
    // The noted area back on the widget, when it lives.
    void RestoreArea() const;

private:
    GUI::Widget* m_widget = nullptr;
    aRect m_initial;
    f32 m_initialAlpha = 1.0f;
    // A subscription that does nothing: its token expires with the widget's events.
    std::unique_ptr<GUI::Subscriber> m_probe;
    GUI::Connection m_connection;
};
