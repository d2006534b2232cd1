#pragma once
#include "tk2v/platform/InputDevices.h"

#include <deque>

// Plays the keyboard and the mouse for the input devices while it lives: what it is told happens
// before the devices' next poll, in order, so a key pressed and released between two polls is a tap.
// The pointer is over the window at (0, 0) of the client area until moved.
class ScriptedInput : public platform::InputSource {
public:
    ScriptedInput() { platform::setInputSource(this); }
    ~ScriptedInput() override { platform::setInputSource(nullptr); }
    ScriptedInput(const ScriptedInput&) = delete;
    ScriptedInput& operator=(const ScriptedInput&) = delete;

    void keyDown(u8 scanCode) { key(scanCode, true); }
    void keyUp(u8 scanCode) { key(scanCode, false); }
    void tapKey(u8 scanCode);
    // 0 left, 1 right, 2 middle, 3 fourth.
    void buttonDown(u32 button) { this->button(button, true); }
    void buttonUp(u32 button) { this->button(button, false); }
    void click(u32 button);
    // Relative movement; the pointer moves with it.
    void move(i32 dx, i32 dy);
    // Puts the pointer at a client position without any movement, as a warp does.
    void setCursor(i32 x, i32 y) { m_cursor = {x, y}; }
    void setCursorOverWindow(bool over) { m_overWindow = over; }
    void wheel(i32 notches);
    // The next poll of the device (of both without an argument) fails with the code.
    void failNextPoll(platform::Result code = platform::DIERR_INPUTLOST);
    void failNextPoll(platform::InputDevice device, platform::Result code);

    // Where the pointer is (also after setCursorPosition by the code under test).
    platform::Point cursor() const { return m_cursor; }

    bool nextEvent(platform::InputEvent& out) override;
    platform::Result pollResult(platform::InputDevice device) override;
    bool cursorPosition(platform::Point& client) override;
    void setCursorPosition(platform::Point client) override { m_cursor = client; }

private:
    void key(u8 scanCode, bool down);
    void button(u32 button, bool down);

    std::deque<platform::InputEvent> m_events;
    platform::Result m_failKeyboard = platform::S_OK, m_failMouse = platform::S_OK;
    platform::Point m_cursor;
    bool m_overWindow = true;
};
