#pragma once
#include "tk2v/platform/InputDevices.h"
#include "tk2v/platform/Rect.h"
#include "tk2v/util/aTimer.h"
#include "tk2v/util/types.h"

#include <memory>

class aAnim;

// The state of a key or mouse button in the current frame.
enum aKeyState : u32 { KEY_UP = 0, KEY_RELEASED = 1, KEY_PRESSED = 2, KEY_HELD = 3 };

// Scan codes the application frame reads.
constexpr u8 DIK_RETURN = 0x1C;
constexpr u8 DIK_LMENU = 0x38;
constexpr u8 DIK_SYSRQ = 0xB7;
constexpr u8 DIK_RMENU = 0xB8;

// Reads keyboard and mouse once a frame into per-key and per-button states, the mouse position in
// back-buffer pixels, the frame's movement and wheel, and double clicks; chooses the cursor.
class aInputServer {
public:
    struct DoubleClick {
        bool clicked = false; // in this frame
        i32 timer = -1;       // milliseconds since the release; -1 idle
        i32 x = 0, y = 0;
    };

    aInputServer();
    ~aInputServer();
    aInputServer(const aInputServer&) = delete;
    aInputServer& operator=(const aInputServer&) = delete;

    void update();
    void initMouse(bool nonExclusive, bool reset);
    void getMousePos(i32& x, i32& y) const;
    void setMousePos(i32 x, i32 y);
    void setCursorAnim(const aAnim* anim, u16 hotX, u16 hotY);
    void setSystemCursor(u32 cursor);
    bool anyKeyPressed() const;
    bool anyMouseButtonPressed() const;
    // State 2 or 3.
    bool isMouseButtonDown(u32 button) const;
    // Caps Lock, Num Lock or Scroll Lock (by scan code) is on.
    bool isKeyToggled(u8 scanCode) const;

    // Read directly by the frame, the GUI and the game.
    aKeyState keyStates[256] = {};
    aKeyState mouseButtons[3] = {};
    DoubleClick doubleClicks[3];
    i32 mouseDx = 0, mouseDy = 0, mouseWheel = 0;
    bool nonExclusive = true;
    u16 hotX = 0, hotY = 0;

private:
    void createKeyboard();
    void acquire(platform::InputDevice device, const char* name);
    // The device failed its poll: whatever it read is void, and a lost one is taken back.
    void recover(platform::InputDevice device, const char* name, platform::Result r);
    void pollKeyboard();
    void pollMouse(i32 elapsedMs);
    void updateDoubleClick(u32 button, i32 elapsedMs);
    void updatePosition();
    void resetMouse();
    // Where the back buffer is shown in the client area, and its size.
    platform::Rect presentation(platform::Point& backBuffer) const;

    std::unique_ptr<platform::InputDevices> m_devices;
    u8 m_keyBytes[256] = {};
    u8 m_mouseButtonBytes[4] = {};
    i32 m_mouseX = 0, m_mouseY = 0;
    aTimer m_timer{0};
};
