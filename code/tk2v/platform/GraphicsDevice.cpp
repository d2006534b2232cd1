#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/GlDevice.h"

#include <SDL.h>

#include <algorithm>

namespace platform {
namespace {

DeviceDecorator& decorator() {
    static DeviceDecorator d;
    return d;
}

// Rounds toward minus infinity; b > 0.
i64 floorDiv(i64 a, i64 b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

DisplayMode fromSdl(const SDL_DisplayMode& m) {
    return {u32(m.w), u32(m.h), u32(m.refresh_rate > 0 ? m.refresh_rate : 0), DISPLAY_FORMAT_X8R8G8B8};
}

} // namespace

std::unique_ptr<GraphicsDevice> createGraphicsDevice(Window& window, const PresentParams& params,
                                                     Result& result) {
    std::unique_ptr<GraphicsDevice> device = GlDevice::create(window, params, result);
    if (device && decorator())
        device = decorator()(std::move(device));
    return device;
}

void setDeviceDecorator(DeviceDecorator d) {
    decorator() = std::move(d);
}

DisplayMode desktopDisplayMode() {
    SDL_DisplayMode m{};
    if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &m) != 0)
        return {};
    return fromSdl(m);
}

std::vector<DisplayMode> displayModes() {
    std::vector<DisplayMode> modes;
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, i, &m) == 0 && SDL_BITSPERPIXEL(m.format) >= 24)
            modes.push_back(fromSdl(m));
    }
    return modes;
}

Rect presentRect(i32 windowW, i32 windowH, i32 backW, i32 backH) {
    if (windowW <= 0 || windowH <= 0 || backW <= 0 || backH <= 0)
        return {};
    i64 w = windowW, h = windowH;
    // Rounded to the nearest pixel, never below one.
    if (i64(windowW) * backH <= i64(windowH) * backW)
        h = std::max<i64>(1, (2 * i64(windowW) * backH + backW) / (2 * i64(backW)));
    else
        w = std::max<i64>(1, (2 * i64(windowH) * backW + backH) / (2 * i64(backH)));
    return {i32((windowW - w) / 2), i32((windowH - h) / 2), i32(w), i32(h)};
}

// Both directions map pixel centres, so a round trip from the finer grid to the coarser one and back
// lands on the pixel it started from.
Point windowToBackBuffer(Point window, const Rect& present, i32 backW, i32 backH) {
    if (present.empty())
        return {};
    return {i32(floorDiv((2 * i64(window.x - present.x) + 1) * backW, 2 * i64(present.w))),
            i32(floorDiv((2 * i64(window.y - present.y) + 1) * backH, 2 * i64(present.h)))};
}

Point backBufferToWindow(Point back, const Rect& present, i32 backW, i32 backH) {
    if (present.empty() || backW <= 0 || backH <= 0)
        return {present.x, present.y};
    return {present.x + i32(floorDiv((2 * i64(back.x) + 1) * present.w, 2 * i64(backW))),
            present.y + i32(floorDiv((2 * i64(back.y) + 1) * present.h, 2 * i64(backH)))};
}

} // namespace platform
