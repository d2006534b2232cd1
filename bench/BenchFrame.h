// One frame of the engine's graph server, timed for finished work: the scene begins (clearing the
// back buffer), the draws run, one pixel is read back, which waits for them, and the scene ends,
// presenting the back buffer. Read before the end, the frame is drawn whole, never only where it
// differs from the frame before.
#pragma once

#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/GraphicsDevice.h"

#include <vector>

namespace bench {

template <typename Draw> void finishedFrame(aGraphServer& graph, Draw&& draw) {
    if (!graph.beginScene())
        return;
    draw();
    std::vector<u8> pixel;
    graph.getDevice()->readBackBuffer({0, 0, 1, 1}, pixel);
    graph.endScene();
}

} // namespace bench
