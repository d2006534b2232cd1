#pragma once
#include "support/Golden.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Window.h"

#include <memory>

// One hidden window with its GL device for the whole test program: contexts are costly to make.
// Each call resets the device to a back buffer of the given size, cleared to opaque black, with the
// default render state and an open scene.
platform::GraphicsDevice& offscreenDevice(u32 width, u32 height);
platform::Window& offscreenWindow();

// The whole back buffer.
RgbaImage readBack(platform::GraphicsDevice& device);
