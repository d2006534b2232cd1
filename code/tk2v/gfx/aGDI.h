#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Result.h"
#include "tk2v/util/types.h"

class aGraphServer;

// Untextured points, lines, rectangles, ellipses and rings in one flat colour, straight onto the
// graph server's device between its begin and end of scene. Every call refills one fixed vertex
// array, so drawing allocates nothing and an instance costs no device resources.
class aGDI {
public:
    static constexpr u32 MaxVertices = 400;
    // Ellipses need segments + 1 vertices, rings 2 x segments + 2.
    static constexpr u16 MaxEllipseSegments = MaxVertices - 1;
    static constexpr u16 MaxRingSegments = MaxVertices / 2 - 1;

    aGDI();
    aGDI(const aGDI&) = delete;
    aGDI& operator=(const aGDI&) = delete;

    // Each returns the device's result; D3DERR_INVALIDCALL without a device or with a segment count
    // the vertex array cannot hold.
    platform::Result drawPoint(f32 x, f32 y);
    // `xy` holds `count` x, y pairs; they go out in batches of MaxVertices.
    platform::Result drawPoints(const f32* xy, u32 count);
    platform::Result drawLine(f32 x1, f32 y1, f32 x2, f32 y2);
    // An outline covers the pixels x .. x + width - 1 and y .. y + height - 1.
    platform::Result drawRect(f32 x, f32 y, f32 width, f32 height, bool filled);
    platform::Result drawRectS(const aRect& rect, bool filled);
    platform::Result drawEllipse(f32 cx, f32 cy, f32 rx, f32 ry, bool filled);
    // The filled band between two ellipses.
    platform::Result drawRing(f32 cx1, f32 cy1, f32 rx1, f32 ry1, f32 cx2, f32 cy2, f32 rx2, f32 ry2);

    // The last point of the last point or line drawn.
    f32 getPenX() const { return m_penX; }
    f32 getPenY() const { return m_penY; }

    // Set directly by the users.
    u32 color = 0xFFFFFFFF;
    u16 segments = 50;

private:
    void setVertex(u32 index, f32 x, f32 y);
    void setRimVertex(u32 index, f32 cx, f32 cy, f32 rx, f32 ry, f32 angle);
    platform::Result draw(platform::PrimitiveType type, u32 primitiveCount);

    aGraphServer* m_graphServer = nullptr;
    platform::TLVertex m_vertices[MaxVertices];
    f32 m_penX = 0, m_penY = 0;
};
