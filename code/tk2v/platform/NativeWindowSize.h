#pragma once
#include "tk2v/platform/Rect.h"

namespace platform {

// The size an SDL window really has on the window system, where the system can tell (X11); false
// elsewhere. SDL takes a full-screen window for the desktop's size as soon as it asks for it, but
// without a window manager nobody carries the request out and the window keeps its old size.
bool nativeWindowSize(void* sdlWindow, Point& size);

} // namespace platform
