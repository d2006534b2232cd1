#include "tk2v/platform/InputDevices.h"
#include "tk2v/platform/Window.h"

#include <SDL.h>

#include <array>
#include <cstring>

namespace platform {
namespace {

InputSource*& installedSource() {
    static InputSource* source = nullptr;
    return source;
}

struct KeyPosition {
    SDL_Scancode usage;
    u8 scanCode;
};

// Keys by position; AltGr is the right Alt key.
constexpr KeyPosition kKeyPositions[] = {
    {SDL_SCANCODE_ESCAPE, 0x01},
    {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},
    {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, 0x0B},
    {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10},
    {SDL_SCANCODE_W, 0x11},
    {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14},
    {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16},
    {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F},
    {SDL_SCANCODE_D, 0x20},
    {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22},
    {SDL_SCANCODE_H, 0x23},
    {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26},
    {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B},
    {SDL_SCANCODE_Z, 0x2C},
    {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30},
    {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37},
    {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_KP_ENTER, 0x9C},
    {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7},
    {SDL_SCANCODE_SYSREQ, 0xB7},
    {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, 0xC7},
    {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9},
    {SDL_SCANCODE_LEFT, 0xCB},
    {SDL_SCANCODE_RIGHT, 0xCD},
    {SDL_SCANCODE_END, 0xCF},
    {SDL_SCANCODE_DOWN, 0xD0},
    {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2},
    {SDL_SCANCODE_DELETE, 0xD3},
    {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD},
};

const std::array<u8, SDL_NUM_SCANCODES>& scanCodeTable() {
    static const std::array<u8, SDL_NUM_SCANCODES> table = [] {
        std::array<u8, SDL_NUM_SCANCODES> t{};
        for (const KeyPosition& k : kKeyPositions)
            t[k.usage] = k.scanCode;
        return t;
    }();
    return table;
}

// Button numbers of SDL -> left, right, middle, fourth; -1 for the rest.
i32 buttonIndex(u8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    default:
        return -1;
    }
}

u8 downByte(bool down) {
    return down ? 0x80 : 0;
}

} // namespace

void setInputSource(InputSource* source) {
    installedSource() = source;
}

u32 doubleClickTime() {
    return 500;
}

u8 scanCodeFromUsbUsage(u32 usage) {
    return usage < SDL_NUM_SCANCODES ? scanCodeTable()[usage] : 0;
}

InputDevices::InputDevices(Window* window) : m_window(window) {
    const SDL_Keymod mods = SDL_GetModState();
    m_capsLock = mods & KMOD_CAPS;
    m_numLock = mods & KMOD_NUM;
    SDL_AddEventWatch(&InputDevices::onSystemEvent, this);
}

InputDevices::~InputDevices() {
    SDL_DelEventWatch(&InputDevices::onSystemEvent, this);
    releaseMouse();
}

int InputDevices::onSystemEvent(void* self, SDL_Event* event) {
    if (!installedSource())
        static_cast<InputDevices*>(self)->translate(*event);
    return 1;
}

void InputDevices::translate(const SDL_Event& event) {
    InputEvent e;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        e.code = scanCodeFromUsbUsage(event.key.keysym.scancode);
        if (event.key.repeat || e.code == 0)
            return;
        e.down = event.type == SDL_KEYDOWN;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const i32 index = buttonIndex(event.button.button);
        if (index < 0)
            return;
        e.type = InputEvent::Button;
        e.code = u32(index);
        e.down = event.type == SDL_MOUSEBUTTONDOWN;
        break;
    }
    case SDL_MOUSEMOTION:
        e.type = InputEvent::Motion;
        e.dx = event.motion.xrel;
        e.dy = event.motion.yrel;
        break;
    case SDL_MOUSEWHEEL:
        e.type = InputEvent::Wheel;
        e.wheel = event.wheel.y * WHEEL_DELTA * (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1);
        break;
    case SDL_WINDOWEVENT:
        // Whatever is let go while another window has the focus is never reported here.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            std::lock_guard<std::mutex> guard(m_mutex);
            releaseAll();
        }
        return;
    default:
        return;
    }
    std::lock_guard<std::mutex> guard(m_mutex);
    apply(e);
}

void InputDevices::apply(const InputEvent& e) {
    switch (e.type) {
    case InputEvent::Key:
        if (e.code >= 256)
            return;
        if (e.down && !m_keysDown[e.code]) {
            m_keyPresses[e.code].press();
            m_capsLock ^= e.code == SCAN_CAPSLOCK;
            m_numLock ^= e.code == SCAN_NUMLOCK;
            m_scrollLock ^= e.code == SCAN_SCROLL;
        }
        m_keysDown[e.code] = e.down;
        return;
    case InputEvent::Button:
        if (e.code >= MOUSE_BUTTON_COUNT)
            return;
        if (e.down && !m_buttonsDown[e.code])
            m_buttonPresses[e.code].press();
        m_buttonsDown[e.code] = e.down;
        return;
    case InputEvent::Motion:
        m_dx += e.dx;
        m_dy += e.dy;
        return;
    case InputEvent::Wheel:
        m_wheel += e.wheel;
        return;
    }
}

void InputDevices::releaseAll() {
    std::memset(m_keysDown, 0, sizeof m_keysDown);
    std::memset(m_buttonsDown, 0, sizeof m_buttonsDown);
}

// A lost device's pending input is gone; it reads the current state once acquired again.
void InputDevices::dropPending() {
    for (PressQueue& presses : m_keyPresses)
        presses.drop();
    for (PressQueue& presses : m_buttonPresses)
        presses.drop();
    m_dx = m_dy = m_wheel = 0;
}

void InputDevices::drainSource() {
    InputSource* source = installedSource();
    InputEvent e;
    while (source && source->nextEvent(e))
        apply(e);
}

Result InputDevices::createKeyboard() {
    if (!m_window)
        return E_FAIL;
    // Keys are read by position; composed text would only hold some of them back.
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_StopTextInput();
    m_keyboard = {true, false};
    return S_OK;
}

Result InputDevices::createMouse(bool exclusive) {
    releaseMouse();
    if (!m_window)
        return E_FAIL;
    m_mouse = {true, false};
    m_exclusive = exclusive;
    return S_OK;
}

void InputDevices::releaseMouse() {
    showPointer(true);
    m_mouse = {};
    m_exclusive = false;
}

Result InputDevices::acquire(InputDevice which) {
    Device& device = which == InputDevice::Keyboard ? m_keyboard : m_mouse;
    if (!device.created)
        return E_FAIL;
    device.acquired = true;
    if (which == InputDevice::Mouse && m_exclusive)
        showPointer(false);
    return S_OK;
}

void InputDevices::showPointer(bool shown) {
    if (!m_window || shown != m_pointerHidden)
        return;
    m_window->showCursor(shown);
    m_pointerHidden = !shown;
}

Result InputDevices::checkPoll(Device& device, InputDevice which) {
    if (!device.created)
        return E_FAIL;
    if (!device.acquired)
        return DIERR_NOTACQUIRED;
    InputSource* source = installedSource();
    const Result r = source ? source->pollResult(which) : S_OK;
    if (r == DIERR_INPUTLOST || r == DIERR_NOTACQUIRED) {
        device.acquired = false;
        dropPending();
    }
    return r;
}

Result InputDevices::pollKeyboard(u8 (&keys)[256]) {
    std::lock_guard<std::mutex> guard(m_mutex);
    drainSource();
    const Result r = checkPoll(m_keyboard, InputDevice::Keyboard);
    if (failed(r))
        return r;
    for (u32 i = 0; i < 256; ++i)
        keys[i] = downByte(m_keyPresses[i].poll(m_keysDown[i]));
    return r;
}

Result InputDevices::pollMouse(MouseState& state) {
    std::lock_guard<std::mutex> guard(m_mutex);
    drainSource();
    const Result r = checkPoll(m_mouse, InputDevice::Mouse);
    if (failed(r))
        return r;
    state.dx = m_dx;
    state.dy = m_dy;
    state.wheel = m_wheel;
    for (u32 i = 0; i < MOUSE_BUTTON_COUNT; ++i)
        state.buttons[i] = downByte(m_buttonPresses[i].poll(m_buttonsDown[i]));
    m_dx = m_dy = m_wheel = 0;
    return r;
}

bool InputDevices::cursorPosition(Point& client) const {
    if (InputSource* source = installedSource())
        return source->cursorPosition(client);
    return m_window && m_window->cursorPosition(client);
}

void InputDevices::setCursorPosition(Point client) {
    if (InputSource* source = installedSource())
        return source->setCursorPosition(client);
    if (m_window)
        SDL_WarpMouseInWindow(static_cast<SDL_Window*>(m_window->nativeHandle()), client.x, client.y);
}

Point InputDevices::clientSize() const {
    return m_window ? m_window->clientSize() : Point{};
}

bool InputDevices::isToggled(u8 scanCode) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    switch (scanCode) {
    case SCAN_CAPSLOCK:
        return m_capsLock;
    case SCAN_NUMLOCK:
        return m_numLock;
    case SCAN_SCROLL:
        return m_scrollLock;
    default:
        return false;
    }
}

} // namespace platform
