#pragma once
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/Result.h"
#include "tk2v/util/types.h"

namespace platform {

class GraphicsDevice;
class Texture;

// How one sprite is drawn. A point p of the source rectangle (0, 0 at its top-left) lands at
// position + R(angle) (S p - centre) + centre, with x' = x cos - y sin, y' = x sin + y cos: a positive
// angle turns clockwise on the screen. The centre is in scaled pixels.
struct SpriteDraw {
    Rect source;
    f32 scaleX = 1, scaleY = 1;
    f32 centreX = 0, centreY = 0;
    f32 angle = 0; // radians
    f32 x = 0, y = 0;
    u32 argb = 0xFFFFFFFF;
};

// Draws textured quads in back-buffer pixels through the device's queue. Between begin and end the
// quads are batched; a draw outside them is drawn at once.
class SpriteBatch {
public:
    explicit SpriteBatch(GraphicsDevice& device) : m_device(device) {}

    Result begin();
    Result end();
    void flush();
    bool isOpen() const { return m_open; }
    // A source rectangle that is empty draws nothing.
    Result draw(const Texture& texture, const SpriteDraw& sprite);

    GraphicsDevice& device() const { return m_device; }

private:
    GraphicsDevice& m_device;
    bool m_open = false;
};

} // namespace platform
