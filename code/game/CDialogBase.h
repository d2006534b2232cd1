#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/Event.h"
#include "tk2v/gui/SubscriberInterface.h"
#include "tk2v/util/types.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace GUI {
class Widget;
}

// The base of every dialog: a window of the GUI scripts found by name, and a state word that its
// owner polls once per update. The word is 0 before Create, 1 hidden, 2 shown, or the id of the last
// command a bound widget event wrote; the root window's "BeginRender" sets it back to 2, so each
// command is seen by one poll between the GUI update and the next drawing.
class CDialogBase {
public:
    enum State : i32 { STATE_NOT_CREATED = 0, STATE_HIDDEN = 1, STATE_SHOWN = 2 };

    CDialogBase();
    // Ends every subscription the dialog made; widgets that went first are left alone.
    ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Once: state 1 and Hide. A subclass finds its widgets first and calls this last.
    virtual void Create();
    // Nothing before Create.
    virtual void Show();
    // The root window's own flag; its ancestors are not asked.
    virtual bool IsVisible() const;
    // Nothing before Create.
    virtual void Hide();
    virtual i32 GetState() const { return m_state; }
    // The root window's area; empty without one.
    virtual aRect GetArea() const;

    // Visible, and the screen point lies in the root window's rectangle (right and bottom excluded).
    bool IsPointInside(i16 x, i16 y) const;

    // Makes the widget's event write the command id into the state word. False, binding nothing, for
    // a null widget or when a widget of that name already carries a command (for any event).
    bool Subscribe(GUI::Widget* widget, const std::string& eventName, i32 commandId);
    // Subscribes a handler of the caller's own, whatever command the name carries; the dialog owns
    // it and ends its subscription when it goes. False only for a null widget.
    bool SubscribeBinder(GUI::Widget* widget, const std::string& eventName,
                         std::unique_ptr<GUI::Subscriber> subscriber);
    template <class T>
    bool SubscribeBinder(GUI::Widget* widget, const std::string& eventName, T* object,
                         bool (T::*member)(const GUI::EventArgs&)) {
        return SubscribeBinder(
            widget, eventName,
            std::make_unique<GUI::_memberBinder<T, bool, const GUI::EventArgs&>>(object, member));
    }

    GUI::Widget* GetRootWindow() const { return m_rootWindow; }
    // The live GUI server's root: a dialog made after the server was re-created looks below the new
    // one. Null, after the singleton's log line, without a server.
    static GUI::Widget* GetGuiRoot();

protected:
    // The handler Subscribe binds: the firing widget's command id goes into the state word.
    bool OnWidgetEvent(const GUI::EventArgs& args);

    // The first steps of every Create: only before the first Create, finds the window below the GUI
    // root, turns on its render events and binds its "BeginRender" to state 2. A missing window is
    // logged (once per dialog) and leaves the dialog uncreated, so none of its operations acts.
    bool CreateRoot(const std::string& windowName);
    // A widget below the root window by name, searched depth first; null when absent or rootless.
    GUI::Widget* FindControl(const std::string& name) const;

    GUI::Widget* m_rootWindow = nullptr;
    i32 m_state = STATE_NOT_CREATED;

private:
    struct SubscriptionEntry {
        i32 commandId = -1;
        GUI::Widget* widget = nullptr;
        std::vector<GUI::Connection> connections;
        std::vector<std::unique_ptr<GUI::Subscriber>> binders;
    };

    SubscriptionEntry& Entry(GUI::Widget* widget);
    static void Connect(SubscriptionEntry& entry, GUI::Widget* widget, const std::string& eventName,
                        std::unique_ptr<GUI::Subscriber> subscriber);

    std::map<std::string, SubscriptionEntry> m_subscriptions;
    bool m_missingRootLogged = false;
};
