#include "support/OffscreenGfx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>

namespace {

// Mesa's software driver is unloaded when the last GL context goes, taking the names of the
// allocations it keeps for the process with it; kept loaded, LeakSanitizer can tell them apart.
[[maybe_unused]] void* const g_keepGlDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);

struct Offscreen {
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<platform::GraphicsDevice> device;

    Offscreen() {
        platform::WindowConfig config;
        config.title = "test";
        config.client = {0, 0, 320, 240};
        config.visible = false;
        window = platform::Window::create(config);
        platform::Result result = platform::E_FAIL;
        if (window)
            device = platform::createGraphicsDevice(*window, {}, result);
    }
};

// Never torn down: the GL driver then stays loaded until the leak check at exit, which can then name
// the driver's own allocations (see lsan.supp).
Offscreen& offscreen() {
    static Offscreen* o = new Offscreen;
    return *o;
}

} // namespace

platform::GraphicsDevice& offscreenDevice(u32 width, u32 height) {
    Offscreen& o = offscreen();
    if (!o.device) {
        ADD_FAILURE() << "no offscreen GL device";
        std::abort();
    }
    o.device->endScene();
    o.device->reset({width, height, 0});
    o.device->clear(0xFF000000);
    o.device->beginScene();
    return *o.device;
}

platform::Window& offscreenWindow() {
    offscreenDevice(1, 1);
    return *offscreen().window;
}

RgbaImage readBack(platform::GraphicsDevice& device) {
    RgbaImage image;
    image.width = device.backBufferWidth();
    image.height = device.backBufferHeight();
    device.readBackBuffer({0, 0, i32(image.width), i32(image.height)}, image.rgba);
    return image;
}
