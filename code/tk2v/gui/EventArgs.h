#pragma once
#include "tk2v/util/types.h"

namespace GUI {

class Widget;

// Modifier mask of the mouse and key event records.
enum Modifier : u32 {
    MOD_SHIFT = 1,
    MOD_CTRL = 2,
    MOD_ALT = 4,
    MOD_CAPSLOCK = 8,
    MOD_SCROLLLOCK = 16,
    MOD_NUMLOCK = 32,
};

// Mouse buttons of MouseEventArgs::button.
enum MouseButton : i32 { MOUSE_LEFT = 0, MOUSE_RIGHT = 1, MOUSE_MIDDLE = 2 };

// The record handed to every subscriber of one firing; each subscriber's result is OR-ed into handled.
class EventArgs {
public:
    EventArgs() = default;
    virtual ~EventArgs() = default;

    bool handled = false;
};

class WidgetEventArgs : public EventArgs {
public:
    explicit WidgetEventArgs(Widget* w = nullptr) : widget(w) {}

    Widget* widget;
};

class MouseEventArgs : public WidgetEventArgs {
public:
    explicit MouseEventArgs(Widget* w = nullptr) : WidgetEventArgs(w) {}

    u32 modifiers = 0;
    i32 button = MOUSE_LEFT;
    // Whole notches.
    i32 wheel = 0;
    // Relative to the widget's screen position.
    i32 x = 0, y = 0;
    // Movement since the previous frame.
    i32 dx = 0, dy = 0;
};

class KeybEventArgs : public WidgetEventArgs {
public:
    explicit KeybEventArgs(Widget* w = nullptr) : WidgetEventArgs(w) {}

    u32 modifiers = 0;
    // Scan code.
    u32 key = 0;
    // The typed byte; 0 when the key types nothing.
    u8 character = 0;
};

} // namespace GUI
