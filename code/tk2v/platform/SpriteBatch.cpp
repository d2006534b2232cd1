#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Texture.h"

#include <cmath>

namespace platform {

Result SpriteBatch::begin() {
    if (m_open)
        return D3DERR_INVALIDCALL;
    m_open = true;
    return S_OK;
}

Result SpriteBatch::end() {
    if (!m_open)
        return D3DERR_INVALIDCALL;
    m_device.flush();
    m_open = false;
    return S_OK;
}

void SpriteBatch::flush() {
    m_device.flush();
}

Result SpriteBatch::draw(const Texture& texture, const SpriteDraw& s) {
    if (s.source.empty())
        return S_OK;
    const f32 c = std::cos(s.angle), sn = std::sin(s.angle);
    const f32 w = f32(s.source.w), h = f32(s.source.h);
    const f32 texW = f32(texture.width()), texH = f32(texture.height());
    const f32 corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    QuadVertex quad[4];
    for (int i = 0; i < 4; ++i) {
        f32 px = corners[i][0] * s.scaleX - s.centreX, py = corners[i][1] * s.scaleY - s.centreY;
        quad[i] = {s.x + px * c - py * sn + s.centreX, s.y + px * sn + py * c + s.centreY,
                   (f32(s.source.x) + corners[i][0]) / texW, (f32(s.source.y) + corners[i][1]) / texH,
                   s.argb};
    }
    m_device.drawQuad(texture, quad);
    if (!m_open)
        m_device.flush();
    return S_OK;
}

} // namespace platform
