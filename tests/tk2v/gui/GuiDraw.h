#pragma once
#include "support/Golden.h"
#include "support/ImageFiles.h"
#include "support/TempDir.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"

#include <memory>
#include <string>
#include <vector>

// Pictures and frames for the GUI drawing tests, drawn on the shared offscreen graph server.
namespace guidraw {

// A picture whose every pixel differs from its neighbours: red = 16 x column + 8, green = 16 x row
// + 8, blue 0xFF, opaque, so a misplaced texel shows.
inline std::vector<u32> gridPixels(u32 width, u32 height) {
    std::vector<u32> pixels;
    for (u32 y = 0; y < height; ++y)
        for (u32 x = 0; x < width; ++x)
            pixels.push_back(0xFF0000FFu | ((x * 16 + 8) & 0xFF) << 16 | ((y * 16 + 8) & 0xFF) << 8);
    return pixels;
}

inline aImage loadImage(const TempDir& dir, const std::string& name, u32 width, u32 height,
                        const std::vector<u32>& argb) {
    dir.write(name, imagefiles::text(imagefiles::png(width, height, argb)));
    return aImage(dir.file(name), platform::FMT_A8R8G8B8, platform::FMT_A8R8G8B8);
}

// The top-left width x height pixels after `draw`, texels sampled without filtering.
template <class Draw> RgbaImage capture(u32 width, u32 height, Draw&& draw) {
    return drawScene(platform::Rect{0, 0, i32(width), i32(height)}, [&] {
        testGraphServer().setLinearFilter(false);
        draw();
    });
}

// 0xRRGGBB of a captured pixel.
inline u32 rgb(const RgbaImage& image, u32 x, u32 y) {
    return image.pixel(x, y) >> 8;
}

// A GUI server over an image manager whose pictures a test adds by name, on the shared graph server.
struct GuiImages {
    GuiImages() {
        testGraphServer();
        server = std::make_unique<GUI::Server>(&images, nullptr);
    }

    // The picture under the key `name`.
    void add(const std::string& name, u32 width, u32 height, const std::vector<u32>& argb) {
        dir.write(name + ".png", imagefiles::text(imagefiles::png(width, height, argb)));
        images.loadResource(dir.path(), name + ".png 8888 8888", "");
    }

    TempDir dir;
    aImageManager images;
    std::unique_ptr<GUI::Server> server;
};

} // namespace guidraw
