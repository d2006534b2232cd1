#include "tk2v/input/aInputServer.h"

#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Window.h"
#include "tk2v/util/log.h"

#include <algorithm>

using platform::InputDevice;
using platform::Point;
using platform::Rect;
using platform::Result;

namespace {

// The animation last given as the sprite cursor, compared by identity only.
const aAnim* g_lastCursorAnim = nullptr;

aKeyState nextState(aKeyState previous, bool down) {
    if (previous == KEY_UP || previous == KEY_RELEASED)
        return down ? KEY_PRESSED : KEY_UP;
    return down ? KEY_HELD : KEY_RELEASED;
}

// Positions left of or above the picture stay on their own side of zero.
i32 floorDiv(i64 a, i64 b) {
    return i32(a >= 0 ? a / b : -((-a + b - 1) / b));
}

void sendSetCursor() {
    aApplication* app = aApplication::getInstance();
    if (app && app->getWindow())
        app->getWindow()->dispatch({platform::WM_SETCURSOR, 0, 0});
}

} // namespace

aInputServer::aInputServer() {
    aApplication* app = aApplication::getInstance();
    if (app)
        app->setInputServer(this);
    else
        log("aInputServer. aApplication object not created!");
    m_devices = std::make_unique<platform::InputDevices>(app ? app->getWindow() : nullptr);
    createKeyboard();
    initMouse(nonExclusive, true);
    if (app)
        app->setCursorAnim(nullptr);
    g_lastCursorAnim = nullptr;
    sendSetCursor();
}

aInputServer::~aInputServer() {
    aApplication* app = aApplication::getInstance();
    if (app) {
        if (app->getInputServer() == this)
            app->setInputServer(nullptr);
        app->setCursorAnim(nullptr);
    }
    g_lastCursorAnim = nullptr;
}

void aInputServer::createKeyboard() {
    const Result r = m_devices->createKeyboard();
    if (platform::failed(r))
        log("aInputServer. Keyboard CreateDevice failed (%s)", platform::resultName(r));
    else
        acquire(InputDevice::Keyboard, "Keyboard");
}

void aInputServer::acquire(InputDevice device, const char* name) {
    const Result r = m_devices->acquire(device);
    if (platform::failed(r))
        log("aInputServer. %s Acquire failed (%s)", name, platform::resultName(r));
}

void aInputServer::recover(InputDevice device, const char* name, Result r) {
    log("aInputServer. %s GetDeviceState failed (%s)", name, platform::resultName(r));
    if (r == platform::DIERR_INPUTLOST || r == platform::DIERR_NOTACQUIRED)
        acquire(device, name);
}

void aInputServer::initMouse(bool nonExclusiveMouse, bool reset) {
    m_devices->releaseMouse();
    const Result r = m_devices->createMouse(!nonExclusiveMouse);
    if (platform::failed(r))
        log("aInputServer. Mouse CreateDevice failed (%s)", platform::resultName(r));
    else
        acquire(InputDevice::Mouse, "Mouse");
    if (reset)
        resetMouse();
    nonExclusive = nonExclusiveMouse;
}

void aInputServer::resetMouse() {
    mouseDx = mouseDy = mouseWheel = 0;
    std::fill(std::begin(m_mouseButtonBytes), std::end(m_mouseButtonBytes), 0);
    std::fill(std::begin(mouseButtons), std::end(mouseButtons), KEY_UP);
    std::fill(std::begin(doubleClicks), std::end(doubleClicks), DoubleClick{});
}

void aInputServer::update() {
    aApplication* app = aApplication::getInstance();
    // An inactive application reads nothing, so every state keeps its value.
    if (!app || app->isActive()) {
        pollKeyboard();
        pollMouse(m_timer.getElapsedMs());
    }
    updatePosition();
    m_timer.reset();
}

void aInputServer::pollKeyboard() {
    if (!m_devices->hasKeyboard())
        return;
    const Result r = m_devices->pollKeyboard(m_keyBytes);
    if (platform::failed(r)) {
        std::fill(std::begin(m_keyBytes), std::end(m_keyBytes), 0);
        recover(InputDevice::Keyboard, "Keyboard", r);
    }
    for (u32 i = 0; i < 256; ++i)
        keyStates[i] = nextState(keyStates[i], m_keyBytes[i] & 0x80);
}

void aInputServer::pollMouse(i32 elapsedMs) {
    if (!m_devices->hasMouse())
        return;
    platform::MouseState state;
    const Result r = m_devices->pollMouse(state);
    if (platform::failed(r)) {
        state = {};
        recover(InputDevice::Mouse, "Mouse", r);
    }
    mouseDx = state.dx;
    mouseDy = state.dy;
    mouseWheel = state.wheel;
    std::copy(std::begin(state.buttons), std::end(state.buttons), m_mouseButtonBytes);
    for (u32 b = 0; b < 3; ++b) {
        mouseButtons[b] = nextState(mouseButtons[b], m_mouseButtonBytes[b] & 0x80);
        updateDoubleClick(b, elapsedMs);
    }
}

// The second press counts only where the release was, and in time; the position compared is the
// one of the previous update.
void aInputServer::updateDoubleClick(u32 button, i32 elapsedMs) {
    DoubleClick& click = doubleClicks[button];
    click.clicked = false;
    if (click.timer >= 0) {
        click.timer += elapsedMs;
        if (click.timer >= i32(platform::doubleClickTime()) || click.x != m_mouseX || click.y != m_mouseY) {
            click.timer = -1;
        } else if (mouseButtons[button] == KEY_PRESSED) {
            click.clicked = true;
            click.timer = -1;
        }
    }
    if (click.timer < 0 && mouseButtons[button] == KEY_RELEASED) {
        click.timer = 0;
        click.x = m_mouseX;
        click.y = m_mouseY;
    }
}

// Windowed, the picture fills the client area, so this is the client area scaled to the back buffer;
// in full screen the picture is letterboxed inside the desktop and the bars lie outside it.
Rect aInputServer::presentation(Point& backBuffer) const {
    const Point client = m_devices->clientSize();
    const aGraphServer* graph = aApplication::graphServer();
    backBuffer = graph ? Point{graph->getWidth(), graph->getHeight()} : client;
    return platform::presentRect(client.x, client.y, backBuffer.x, backBuffer.y);
}

void aInputServer::updatePosition() {
    if (!m_devices->hasMouse()) {
        m_mouseX = m_mouseY = 0;
        return;
    }
    Point client;
    Point back;
    const Rect shown = presentation(back);
    // Off the window the last position stands.
    if (shown.empty() || !m_devices->cursorPosition(client))
        return;
    m_mouseX = floorDiv(i64(client.x - shown.x) * back.x, shown.w);
    m_mouseY = floorDiv(i64(client.y - shown.y) * back.y, shown.h);
}

void aInputServer::getMousePos(i32& x, i32& y) const {
    x = m_mouseX;
    y = m_mouseY;
}

void aInputServer::setMousePos(i32 x, i32 y) {
    if (!m_devices->hasMouse())
        return;
    m_mouseX = x;
    m_mouseY = y;
    Point back;
    const Rect shown = presentation(back);
    if (shown.empty())
        return;
    m_devices->setCursorPosition(
        {shown.x + floorDiv(i64(x) * shown.w, back.x), shown.y + floorDiv(i64(y) * shown.h, back.y)});
}

// Giving the current animation again keeps the cursor running (the cursor widgets give it again to
// move the hot spot).
void aInputServer::setCursorAnim(const aAnim* anim, u16 x, u16 y) {
    aApplication* app = aApplication::getInstance();
    if (app && !anim) {
        app->setCursorAnim(nullptr);
    } else if (app && (anim != g_lastCursorAnim || !app->getCursorAnim())) {
        if (aAnim* cursor = app->getCursorAnim())
            *cursor = *anim;
        else
            app->setCursorAnim(std::make_unique<aAnim>(*anim));
        app->getCursorAnim()->play();
    }
    g_lastCursorAnim = anim;
    sendSetCursor();
    hotX = x;
    hotY = y;
}

void aInputServer::setSystemCursor(u32 cursor) {
    aApplication* app = aApplication::getInstance();
    if (app) {
        app->setCursorAnim(nullptr);
        app->setSystemCursor(cursor);
    }
    g_lastCursorAnim = nullptr;
    sendSetCursor();
}

bool aInputServer::anyKeyPressed() const {
    return std::find(std::begin(keyStates), std::end(keyStates), KEY_PRESSED) != std::end(keyStates);
}

bool aInputServer::anyMouseButtonPressed() const {
    return std::find(std::begin(mouseButtons), std::end(mouseButtons), KEY_PRESSED) != std::end(mouseButtons);
}

bool aInputServer::isMouseButtonDown(u32 button) const {
    return button < 3 && (mouseButtons[button] == KEY_PRESSED || mouseButtons[button] == KEY_HELD);
}

bool aInputServer::isKeyToggled(u8 scanCode) const {
    return m_devices->isToggled(scanCode);
}
