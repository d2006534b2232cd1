#include "tk2v/platform/Window.h"
#include "tk2v/platform/NativeWindowSize.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

SDL_Window* sdl(void* window) {
    return static_cast<SDL_Window*>(window);
}

// Posted messages travel through SDL's queue so that a blocking wait wakes up for them.
u32 postedEventType() {
    static const u32 type = SDL_RegisterEvents(1);
    return type;
}

Rect displayRect(int display) {
    SDL_Rect r{};
    if (SDL_GetDisplayUsableBounds(display, &r) == 0 && r.w > 0 && r.h > 0)
        return {r.x, r.y, r.w, r.h};
    // Some drivers report success without filling the rectangle.
    r = {};
    if (SDL_GetDisplayBounds(display, &r) == 0 && r.w > 0 && r.h > 0)
        return {r.x, r.y, r.w, r.h};
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display, &mode) == 0)
        return {0, 0, mode.w, mode.h};
    return {};
}

u32 buttonFlags(u32 state) {
    u32 flags = 0;
    if (state & SDL_BUTTON_LMASK)
        flags |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK)
        flags |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK)
        flags |= MK_MBUTTON;
    return flags;
}

} // namespace

bool isHeadlessDriver(const std::string& driver) {
    return driver == "offscreen" || driver == "dummy";
}

bool headlessDriverRequested() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (!asked)
        return false;
    // SDL takes a list of drivers to try, separated by commas.
    std::string list = asked;
    for (size_t start = 0; start <= list.size();) {
        const size_t end = std::min(list.find(',', start), list.size());
        if (isHeadlessDriver(list.substr(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

std::unique_ptr<Window> Window::create(const WindowConfig& config) {
    // Without this a poll stops at the marker of its last event pump, and a message posted since
    // then (a quit, say) would only show on a second look.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return nullptr;
    // Without a display SDL falls back to a driver that shows nothing: a game nobody can see would
    // run until killed. Only a run that asks for such a driver (the tests) gets one.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && isHeadlessDriver(driver) && !headlessDriverRequested()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    // Some drivers pick the drawing surface's format when the window is made; SDL's default asks for
    // a depth buffer, which nothing here uses and which makes a software rasteriser's every frame
    // into the window cost about twice as much.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    u32 flags = SDL_WINDOW_OPENGL | (config.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    if (config.fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* window = SDL_CreateWindow(config.title.c_str(), config.client.x, config.client.y,
                                          config.client.w > 0 ? config.client.w : 1,
                                          config.client.h > 0 ? config.client.h : 1, flags);
    if (!window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_DisableScreenSaver();
    return std::unique_ptr<Window>(new Window(window, config.fullscreen));
}

Window::Window(void* window, bool fullscreen) : m_window(window), m_fullscreen(fullscreen) {}

Window::~Window() {
    dispatch({WM_DESTROY, 0, 0});
    SDL_DestroyWindow(sdl(m_window));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

u32 Window::id() const {
    return SDL_GetWindowID(sdl(m_window));
}

void Window::setFullscreen() {
    SDL_SetWindowFullscreen(sdl(m_window), SDL_WINDOW_FULLSCREEN_DESKTOP);
    m_fullscreen = true;
}

void Window::setWindowed(const Rect& client) {
    SDL_SetWindowFullscreen(sdl(m_window), 0);
    SDL_SetWindowSize(sdl(m_window), client.w > 0 ? client.w : 1, client.h > 0 ? client.h : 1);
    SDL_SetWindowPosition(sdl(m_window), client.x, client.y);
    m_fullscreen = false;
}

void Window::show() {
    SDL_ShowWindow(sdl(m_window));
}
void Window::minimise() {
    SDL_MinimizeWindow(sdl(m_window));
}
void Window::restore() {
    SDL_RestoreWindow(sdl(m_window));
}
void Window::raise() {
    SDL_RaiseWindow(sdl(m_window));
}

Point Window::clientSize() const {
    Point size;
    if (!nativeWindowSize(m_window, size))
        SDL_GetWindowSize(sdl(m_window), &size.x, &size.y);
    return size;
}

Point Window::drawableSize() const {
    Point size;
    // An X window's drawable is its client area, pixel for pixel.
    if (!nativeWindowSize(m_window, size))
        SDL_GL_GetDrawableSize(sdl(m_window), &size.x, &size.y);
    return size;
}

Rect Window::workArea() const {
    int display = SDL_GetWindowDisplayIndex(sdl(m_window));
    return displayRect(display < 0 ? 0 : display);
}

FrameExtents Window::frameExtents() const {
    FrameExtents f;
    if (m_fullscreen || SDL_GetWindowBordersSize(sdl(m_window), &f.top, &f.left, &f.bottom, &f.right) != 0)
        return {};
    return f;
}

bool Window::cursorPosition(Point& out) const {
    if (SDL_GetMouseFocus() != sdl(m_window))
        return false;
    SDL_GetMouseState(&out.x, &out.y);
    return true;
}

void Window::showCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool Window::take(WindowMessage& out) {
    out = m_pending.front();
    m_pending.pop_front();
    return true;
}

bool Window::peek(WindowMessage& out) {
    SDL_Event event;
    while (m_pending.empty()) {
        if (!SDL_PollEvent(&event))
            return false;
        translate(&event);
    }
    return take(out);
}

void Window::wait(WindowMessage& out) {
    SDL_Event event;
    while (m_pending.empty()) {
        if (SDL_WaitEvent(&event))
            translate(&event);
        else
            SDL_Delay(10);
    }
    take(out);
}

std::intptr_t Window::dispatch(const WindowMessage& message) {
    if (message.id == WM_QUIT || !m_proc)
        return 0;
    return m_proc(message);
}

void Window::post(const WindowMessage& message) {
    SDL_Event event{};
    event.type = postedEventType();
    event.user.windowID = id();
    event.user.code = i32(message.id);
    event.user.data1 = reinterpret_cast<void*>(message.wparam);
    event.user.data2 = reinterpret_cast<void*>(message.lparam);
    SDL_PushEvent(&event);
}

void Window::translate(const void* raw) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
    if (event.type == SDL_QUIT)
        queue(WM_CLOSE, 0, 0);
    else if (event.type == SDL_WINDOWEVENT && event.window.windowID == id())
        translateWindowEvent(raw);
    else if (event.type == SDL_MOUSEMOTION && event.motion.windowID == id())
        translateMouseMotion(raw);
    else if (event.type == postedEventType() && event.user.windowID == id())
        queue(u32(event.user.code), reinterpret_cast<std::uintptr_t>(event.user.data1),
              reinterpret_cast<std::intptr_t>(event.user.data2));
}

void Window::translateWindowEvent(const void* raw) {
    const SDL_WindowEvent& event = static_cast<const SDL_Event*>(raw)->window;
    Point size = clientSize();
    u32 flags = SDL_GetWindowFlags(sdl(m_window));
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        return queue(WM_CLOSE, 0, 0);
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        SDL_DisableScreenSaver();
        return queue(WM_ACTIVATEAPP, 1, 0);
    case SDL_WINDOWEVENT_FOCUS_LOST:
        SDL_EnableScreenSaver();
        return queue(WM_ACTIVATEAPP, 0, 0);
    case SDL_WINDOWEVENT_EXPOSED:
        return queue(WM_PAINT, 0, 0);
    case SDL_WINDOWEVENT_MAXIMIZED:
        return queue(WM_SIZE, SIZE_MAXIMIZED, makeLParam(size.x, size.y));
    case SDL_WINDOWEVENT_MINIMIZED:
        return queue(WM_SIZE, SIZE_MINIMIZED, 0);
    case SDL_WINDOWEVENT_RESTORED:
        return queue(WM_SIZE, SIZE_RESTORED, makeLParam(size.x, size.y));
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // Maximising and minimising report themselves; this is a plain resize.
        if (!(flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)))
            queue(WM_SIZE, SIZE_RESTORED, makeLParam(size.x, size.y));
        return;
    case SDL_WINDOWEVENT_ENTER:
        return queue(WM_SETCURSOR, 0, makeLParam(HTCLIENT, 0));
    default:
        return;
    }
}

void Window::translateMouseMotion(const void* raw) {
    const SDL_MouseMotionEvent& motion = static_cast<const SDL_Event*>(raw)->motion;
    queue(WM_SETCURSOR, 0, makeLParam(HTCLIENT, WM_MOUSEMOVE));
    queue(WM_MOUSEMOVE, buttonFlags(motion.state), makeLParam(motion.x, motion.y));
}

} // namespace platform
