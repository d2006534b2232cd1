#include "support/ScriptedInput.h"

using namespace platform;

void ScriptedInput::key(u8 scanCode, bool down) {
    m_events.push_back({InputEvent::Key, scanCode, down});
}

void ScriptedInput::tapKey(u8 scanCode) {
    keyDown(scanCode);
    keyUp(scanCode);
}

void ScriptedInput::button(u32 index, bool down) {
    m_events.push_back({InputEvent::Button, index, down});
}

void ScriptedInput::click(u32 index) {
    buttonDown(index);
    buttonUp(index);
}

void ScriptedInput::move(i32 dx, i32 dy) {
    m_events.push_back({InputEvent::Motion, 0, false, dx, dy});
    m_cursor.x += dx;
    m_cursor.y += dy;
}

void ScriptedInput::wheel(i32 notches) {
    m_events.push_back({InputEvent::Wheel, 0, false, 0, 0, notches * WHEEL_DELTA});
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
