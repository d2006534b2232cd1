#pragma once
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"

#include <utility>

// What the toolkit's mouse-driven classes read of the frame's input. Without an input server (a
// room run before the application is up) the button is up and the pointer at (0, 0).
inline aKeyState MouseButtonState(u32 button) {
    const aInputServer* input = aApplication::inputServer();
    return input && button < 3 ? input->mouseButtons[button] : KEY_UP;
}

inline aKeyState LeftButtonState() {
    return MouseButtonState(0);
}

inline std::pair<i32, i32> MousePosition() {
    i32 x = 0, y = 0;
    if (const aInputServer* input = aApplication::inputServer())
        input->getMousePos(x, y);
    return {x, y};
}
