#include "tk2v/gfx/aGDI.h"

#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using platform::PrimitiveType;
using platform::Result;

aGDI::aGDI() {
    aApplication* application = aApplication::getInstance();
    if (!application) {
        log("aGDI. Error, aApplication object not created!");
        return;
    }
    m_graphServer = application->getGraphServer();
    if (!m_graphServer)
        log("aGDI. Error, aGraphServer object not created!");
}

void aGDI::setVertex(u32 index, f32 x, f32 y) {
    platform::TLVertex& v = m_vertices[index];
    v.x = x;
    v.y = y;
    v.diffuse = color;
}

void aGDI::setRimVertex(u32 index, f32 cx, f32 cy, f32 rx, f32 ry, f32 angle) {
    setVertex(index, cx + std::cos(angle) * rx, cy + std::sin(angle) * ry);
}

Result aGDI::draw(PrimitiveType type, u32 primitiveCount) {
    platform::GraphicsDevice* device = m_graphServer ? m_graphServer->getDevice() : nullptr;
    if (!device)
        return platform::D3DERR_INVALIDCALL;
    return device->drawPrimitiveUP(type, primitiveCount, m_vertices);
}

Result aGDI::drawPoint(f32 x, f32 y) {
    return drawPoints(std::array<f32, 2>{x, y}.data(), 1);
}

Result aGDI::drawPoints(const f32* xy, u32 count) {
    if (count == 0)
        return platform::S_OK;
    if (!xy)
        return platform::D3DERR_INVALIDCALL;
    Result result = platform::S_OK;
    for (u32 first = 0; first < count; first += MaxVertices) {
        const u32 batch = std::min(count - first, MaxVertices);
        for (u32 i = 0; i < batch; ++i)
            setVertex(i, xy[2 * (first + i)], xy[2 * (first + i) + 1]);
        result = draw(PrimitiveType::PointList, batch);
    }
    m_penX = xy[2 * (count - 1)];
    m_penY = xy[2 * (count - 1) + 1];
    return result;
}

Result aGDI::drawLine(f32 x1, f32 y1, f32 x2, f32 y2) {
    setVertex(0, x1, y1);
    setVertex(1, x2, y2);
    m_penX = x2;
    m_penY = y2;
    return draw(PrimitiveType::LineList, 1);
}

Result aGDI::drawRect(f32 x, f32 y, f32 width, f32 height, bool filled) {
    if (filled) {
        setVertex(0, x, y);
        setVertex(1, x + width, y);
        setVertex(2, x, y + height);
        setVertex(3, x + width, y + height);
        return draw(PrimitiveType::TriangleStrip, 2);
    }
    const f32 right = x + width - 1, bottom = y + height - 1;
    setVertex(0, x, y);
    setVertex(1, right, y);
    setVertex(2, right, bottom);
    setVertex(3, x, bottom);
    setVertex(4, x, y);
    return draw(PrimitiveType::LineStrip, 4);
}

Result aGDI::drawRectS(const aRect& rect, bool filled) {
    return drawRect(f32(rect.x), f32(rect.y), f32(rect.w), f32(rect.h), filled);
}

Result aGDI::drawEllipse(f32 cx, f32 cy, f32 rx, f32 ry, bool filled) {
    // A filled fan spends one vertex on the centre and needs at least one rim point.
    const u32 first = filled ? 1 : 0;
    if (segments <= first || segments > MaxEllipseSegments)
        return platform::D3DERR_INVALIDCALL;
    const u32 rim = segments - first;
    const f32 step = 2 * std::numbers::pi_v<f32> / f32(rim);
    if (filled)
        setVertex(0, cx, cy);
    for (u32 i = 0; i < rim; ++i)
        setRimVertex(first + i, cx, cy, rx, ry, f32(i) * step);
    m_vertices[first + rim] = m_vertices[first];
    if (filled)
        return draw(PrimitiveType::TriangleFan, segments - 1u);
    return draw(PrimitiveType::LineStrip, segments);
}

Result aGDI::drawRing(f32 cx1, f32 cy1, f32 rx1, f32 ry1, f32 cx2, f32 cy2, f32 rx2, f32 ry2) {
    if (segments == 0 || segments > MaxRingSegments)
        return platform::D3DERR_INVALIDCALL;
    const f32 step = 2 * std::numbers::pi_v<f32> / f32(segments);
    for (u32 i = 0; i < segments; ++i) {
        setRimVertex(2 * i, cx2, cy2, rx2, ry2, f32(i) * step);
        setRimVertex(2 * i + 1, cx1, cy1, rx1, ry1, f32(i) * step);
    }
    m_vertices[2 * segments] = m_vertices[0];
    m_vertices[2 * segments + 1] = m_vertices[1];
    return draw(PrimitiveType::TriangleStrip, 2u * segments);
}
