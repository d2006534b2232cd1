#include "support/OffscreenGfx.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

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
