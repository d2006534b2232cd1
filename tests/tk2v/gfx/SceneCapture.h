#pragma once
#include "support/Golden.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aGraphServer.h"

#include <gtest/gtest.h>

#include <utility>

// Runs `draw` in one scene of the shared graph server on a black back buffer and returns the area
// of the back buffer it drew into, read before the scene ends.
template <class Draw> RgbaImage drawScene(const platform::Rect& area, Draw&& draw) {
    aGraphServer& server = testGraphServer();
    server.clearColor = 0xFF000000;
    RgbaImage image;
    if (!server.beginScene()) {
        ADD_FAILURE() << "no scene";
        return image;
    }
    std::forward<Draw>(draw)();
    server.getSprite()->flush();
    if (platform::succeeded(server.getDevice()->readBackBuffer(area, image.rgba))) {
        image.width = u32(area.w);
        image.height = u32(area.h);
    } else {
        ADD_FAILURE() << "no read-back";
    }
    server.endScene();
    return image;
}

// Counts the pixels that are not black.
inline int countLit(const RgbaImage& image) {
    int lit = 0;
    for (u32 y = 0; y < image.height; ++y)
        for (u32 x = 0; x < image.width; ++x)
            lit += (image.pixel(x, y) & 0xFFFFFF00u) != 0;
    return lit;
}
