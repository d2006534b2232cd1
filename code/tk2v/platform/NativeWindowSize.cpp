#include "tk2v/platform/NativeWindowSize.h"

#include <SDL.h>
#include <SDL_syswm.h>
// Xlib's names (Window, None, Status...) stay in this file.
#include <X11/Xlib.h>

namespace platform {

bool nativeWindowSize(void* sdlWindow, Point& size) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!sdlWindow || !SDL_GetWindowWMInfo(static_cast<SDL_Window*>(sdlWindow), &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return false;
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &width, &height, &border,
                      &depth))
        return false;
    size = {i32(width), i32(height)};
    return true;
}

} // namespace platform
