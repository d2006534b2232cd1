#include "support/ScriptedInput.h"

using namespace platform;

void ScriptedInput::key(u8 scanCode, bool down) {
    InputEvent e;
    e.type = InputEvent::Key;
    e.code = scanCode;
    e.down = down;
    m_events.push_back(e);
}

void ScriptedInput::tapKey(u8 scanCode) {
    keyDown(scanCode);
    keyUp(scanCode);
}

void ScriptedInput::button(u32 index, bool down) {
    InputEvent e;
    e.type = InputEvent::Button;
    e.code = index;
    e.down = down;
    m_events.push_back(e);
}

void ScriptedInput::click(u32 index) {
    buttonDown(index);
    buttonUp(index);
}

void ScriptedInput::move(i32 dx, i32 dy) {
    InputEvent e;
    e.type = InputEvent::Motion;
    e.dx = dx;
    e.dy = dy;
    m_events.push_back(e);
    m_cursor.x += dx;
    m_cursor.y += dy;
}

void ScriptedInput::wheel(i32 notches) {
    InputEvent e;
    e.type = InputEvent::Wheel;
    e.wheel = notches * WHEEL_DELTA;
    m_events.push_back(e);
}

void ScriptedInput::failNextPoll(Result code) {
    m_failKeyboard = m_failMouse = code;
}

void ScriptedInput::failNextPoll(InputDevice device, Result code) {
    (device == InputDevice::Keyboard ? m_failKeyboard : m_failMouse) = code;
}

bool ScriptedInput::nextEvent(InputEvent& out) {
    if (m_events.empty())
        return false;
    out = m_events.front();
    m_events.pop_front();
    return true;
}

Result ScriptedInput::pollResult(InputDevice device) {
    Result& fail = device == InputDevice::Keyboard ? m_failKeyboard : m_failMouse;
    const Result r = fail;
    fail = S_OK;
    return r;
}

bool ScriptedInput::cursorPosition(Point& client) {
    if (m_overWindow)
        client = m_cursor;
    return m_overWindow;
}
