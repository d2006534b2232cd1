#pragma once
#include "tk2v/platform/Rect.h"
#include "tk2v/util/types.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Window message ids, with the values the engine's window procedure was written against.
constexpr u32 WM_DESTROY = 0x0002;
constexpr u32 WM_SIZE = 0x0005;
constexpr u32 WM_PAINT = 0x000F;
constexpr u32 WM_CLOSE = 0x0010;
constexpr u32 WM_QUIT = 0x0012;
constexpr u32 WM_ACTIVATEAPP = 0x001C;
constexpr u32 WM_SETCURSOR = 0x0020;
constexpr u32 WM_SYSCOMMAND = 0x0112;
constexpr u32 WM_MOUSEMOVE = 0x0200;
constexpr u32 WM_ENTERMENULOOP = 0x0211;
constexpr u32 WM_EXITMENULOOP = 0x0212;
constexpr u32 WM_ENTERSIZEMOVE = 0x0231;
constexpr u32 WM_EXITSIZEMOVE = 0x0232;
constexpr u32 WM_USER = 0x0400;

// WM_SIZE first parameter.
constexpr u32 SIZE_RESTORED = 0;
constexpr u32 SIZE_MINIMIZED = 1;
constexpr u32 SIZE_MAXIMIZED = 2;
// WM_SYSCOMMAND first parameter.
constexpr u32 SC_KEYMENU = 0xF100;
constexpr u32 SC_SCREENSAVE = 0xF140;
constexpr u32 SC_MONITORPOWER = 0xF170;
// WM_SETCURSOR hit-test code (low half of the second parameter).
constexpr u32 HTCLIENT = 1;
// WM_MOUSEMOVE button flags.
constexpr u32 MK_LBUTTON = 0x0001;
constexpr u32 MK_RBUTTON = 0x0002;
constexpr u32 MK_MBUTTON = 0x0010;

// Packs two 16-bit values the way size and mouse messages carry them (low = x or width).
constexpr std::intptr_t makeLParam(i32 low, i32 high) {
    return std::intptr_t((u32(high) & 0xFFFF) << 16 | (u32(low) & 0xFFFF));
}

struct WindowMessage {
    u32 id = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

using WindowProc = std::function<std::intptr_t(const WindowMessage&)>;

// Space the frame takes around the client area, in pixels.
struct FrameExtents {
    i32 left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowConfig {
    std::string title;
    // Where the client area goes when windowed: position on the desktop and size.
    Rect client{0, 0, 1024, 768};
    bool fullscreen = false;
    bool visible = true;
};

// SDL's video drivers that show nothing, and whether SDL_VIDEODRIVER names one of them (as the tests
// do): without that, such a driver is no place for the game's window.
bool isHeadlessDriver(const std::string& driver);
bool headlessDriverRequested();

// The game's one top-level window: a fixed-size captioned window or a borderless one covering the
// desktop, with a message queue in the shape the engine's window procedure expects.
class Window {
public:
    // Null when the video system or the window cannot be made, also when SDL could only fall back to
    // a driver that shows nothing.
    static std::unique_ptr<Window> create(const WindowConfig& config);
    // Sends WM_DESTROY to the procedure, then closes the window.
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void setFullscreen();
    void setWindowed(const Rect& client);
    bool isFullscreen() const { return m_fullscreen; }

    void show();
    void minimise();
    void restore();
    void raise();
    // Width and height of the client area in window coordinates (mouse positions use these), as the
    // window really stands, also where SDL believes a size that the window system never gave it.
    Point clientSize() const;
    // The client area in pixels of the GL drawable, likewise.
    Point drawableSize() const;
    // The usable desktop of the window's display (without panels and docks).
    Rect workArea() const;
    // Zero until the window manager has framed the window.
    FrameExtents frameExtents() const;
    // The mouse position in client coordinates; false while the mouse is not over the window.
    bool cursorPosition(Point& out) const;
    void showCursor(bool visible);

    void setProc(WindowProc proc) { m_proc = std::move(proc); }
    // Takes the next message without waiting; false when none is queued.
    bool peek(WindowMessage& out);
    // Waits until a message arrives and takes it.
    void wait(WindowMessage& out);
    // Hands a message to the procedure; 0 when none is set. WM_QUIT is not dispatched.
    std::intptr_t dispatch(const WindowMessage& message);
    // Queues a message for a later peek or wait; safe from any thread.
    void post(const WindowMessage& message);
    void postQuit(i32 code) { post({WM_QUIT, std::uintptr_t(u32(code)), 0}); }

    // The SDL window, for the GL device in this layer.
    void* nativeHandle() const { return m_window; }

private:
    explicit Window(void* window, bool fullscreen);
    bool take(WindowMessage& out);
    void translate(const void* event);
    void translateWindowEvent(const void* event);
    void translateMouseMotion(const void* event);
    void queue(u32 id, std::uintptr_t wparam, std::intptr_t lparam) {
        m_pending.push_back({id, wparam, lparam});
    }
    u32 id() const;

    void* m_window;
    bool m_fullscreen;
    WindowProc m_proc;
    std::deque<WindowMessage> m_pending;
};

} // namespace platform
