#include "tk2v/video/aTheoraVideo.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

aTheoraVideo::~aTheoraVideo() {
    close();
}

bool aTheoraVideo::open(const std::string& path, bool loop) {
    if (!m_decoder.open(path, loop))
        return false;
    m_image.create(m_decoder.getWidth(), m_decoder.getHeight());
    return true;
}

void aTheoraVideo::close() {
    m_decoder.close();
}

void aTheoraVideo::update(f32 dt) {
    if (m_decoder.update(dt))
        copyFrame();
}

void aTheoraVideo::draw(f32 x, f32 y, u32 color, const aRect* src, const f32* scale, f32 angle,
                        const f32* centre) {
    if (src)
        m_image.draw(x, y, src->x, src->y, src->w, src->h, color, scale, angle, centre);
    else
        m_image.drawAtF(x, y, color, scale, angle, centre);
}

void aTheoraVideo::copyFrame() {
    const u32 width = std::min(m_decoder.getWidth(), m_decoder.getPixelsWidth());
    const u32 height = std::min(m_decoder.getHeight(), m_decoder.getPixelsHeight());
    const aRect rect{0, 0, u16(m_decoder.getWidth()), u16(m_decoder.getHeight())};
    u32* bits = nullptr;
    i32 pitch = 0;
    if (!m_image.lock(&bits, &pitch, &rect, false))
        return;
    const u32* source = m_decoder.getPixels();
    for (u32 row = 0; row < height; ++row)
        std::memcpy(bits + std::ptrdiff_t(row) * pitch, source + size_t(row) * m_decoder.getPixelsWidth(),
                    width * 4);
    m_image.unlock();
}
