#pragma once
#include "tk2v/platform/PressQueue.h"
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/Result.h"
#include "tk2v/util/types.h"

#include <mutex>

union SDL_Event;

namespace platform {

class Window;

// Scan codes of the lock keys, whose on/off states the layer keeps itself: X11 reports Scroll Lock
// badly.
constexpr u8 SCAN_CAPSLOCK = 0x3A;
constexpr u8 SCAN_NUMLOCK = 0x45;
constexpr u8 SCAN_SCROLL = 0x46;

constexpr u32 MOUSE_BUTTON_COUNT = 4;
// One notch of the wheel.
constexpr i32 WHEEL_DELTA = 120;

// One poll of the mouse: movement since the previous poll, wheel (positive away from the user) and
// the buttons left, right, middle and fourth (bit 7 = down).
struct MouseState {
    i32 dx = 0, dy = 0, wheel = 0;
    u8 buttons[MOUSE_BUTTON_COUNT] = {};
};
static_assert(sizeof(MouseState) == 16);

enum class InputDevice { Keyboard, Mouse };

// One thing the keyboard or the mouse did.
struct InputEvent {
    enum Type { Key, Button, Motion, Wheel };
    Type type = Key;
    u32 code = 0; // Key: scan code; Button: 0 left, 1 right, 2 middle, 3 fourth
    bool down = false;
    i32 dx = 0, dy = 0; // Motion
    i32 wheel = 0;      // Wheel, in WHEEL_DELTA units
};

// Test hook: while one is installed the devices ignore the system's input and take the events, the
// poll results and the pointer from it instead.
class InputSource {
public:
    virtual ~InputSource() = default;
    // The events since the previous call, oldest first; false when none is left.
    virtual bool nextEvent(InputEvent& out) = 0;
    // S_OK lets the device's poll go through; any other code makes it fail with that code.
    virtual Result pollResult(InputDevice device) = 0;
    virtual bool cursorPosition(Point& client) = 0;
    virtual void setCursorPosition(Point client) = 0;
};
// Null restores the system's input.
void setInputSource(InputSource* source);

// The longest time between the two clicks of a double click, in milliseconds.
u32 doubleClickTime();

// The scan code of the key at a USB HID keyboard usage (the key's position, whatever the layout);
// 0 for keys without one.
u8 scanCodeFromUsbUsage(u32 usage);

// The keyboard and the mouse of the game's window, read by polling. No press is lost: a key or button
// pressed and released between two polls still reads as down in the second, and a press that follows
// one the last poll read is kept for a later poll (see PressQueue); key repeat is ignored. After
// DIERR_INPUTLOST a device reports DIERR_NOTACQUIRED until it is acquired again.
class InputDevices {
public:
    explicit InputDevices(Window* window);
    ~InputDevices();
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;

    // Both need the window (E_FAIL without one). An exclusive mouse hides the pointer while it is
    // acquired; the pointer position still follows the mouse.
    Result createKeyboard();
    Result createMouse(bool exclusive);
    void releaseMouse();
    bool hasKeyboard() const { return m_keyboard.created; }
    bool hasMouse() const { return m_mouse.created; }
    Result acquire(InputDevice device);

    // Bit 7 of a byte = the key at that scan code is down.
    Result pollKeyboard(u8 (&keys)[256]);
    Result pollMouse(MouseState& state);

    // In the window's client coordinates; false while the pointer is not over the window.
    bool cursorPosition(Point& client) const;
    void setCursorPosition(Point client);
    // (0, 0) without a window.
    Point clientSize() const;
    // Caps Lock, Num Lock or Scroll Lock, by scan code, is on.
    bool isToggled(u8 scanCode) const;

private:
    struct Device {
        bool created = false;
        bool acquired = false;
    };

    static int onSystemEvent(void* self, SDL_Event* event);
    void translate(const SDL_Event& event);
    void apply(const InputEvent& event);
    void releaseAll();
    void dropPending();
    void drainSource();
    Result checkPoll(Device& device, InputDevice which);
    void showPointer(bool shown);

    Window* m_window;
    mutable std::mutex m_mutex;
    Device m_keyboard, m_mouse;
    bool m_exclusive = false;
    bool m_pointerHidden = false;
    bool m_keysDown[256] = {};
    PressQueue m_keyPresses[256];
    bool m_buttonsDown[MOUSE_BUTTON_COUNT] = {};
    PressQueue m_buttonPresses[MOUSE_BUTTON_COUNT];
    i32 m_dx = 0, m_dy = 0, m_wheel = 0;
    bool m_capsLock = false, m_numLock = false, m_scrollLock = false;
};

} // namespace platform
