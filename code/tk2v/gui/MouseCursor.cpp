#include "tk2v/gui/MouseCursor.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/Server.h"
#include "tk2v/input/aInputServer.h"

#include <algorithm>
#include <cmath>

namespace GUI {

namespace {

constexpr f32 kDefaultFps = 40;

// Truncated towards zero into lo..hi; not a number gives 0 (or lo when 0 is outside).
i32 truncateInto(f32 value, i32 lo, i32 hi) {
    if (std::isnan(value))
        return std::clamp(0, lo, hi);
    return i32(std::clamp(std::trunc(double(value)), double(lo), double(hi)));
}

} // namespace

MouseCursor::MouseCursor() {
    AddProperty("NumFrames", &m_props.numFrames);
    AddProperty("FrameSize", &m_props.frameSize);
    AddProperty("FPS", &m_props.fps);
    AddProperty("Image", &m_props.image);
    AddProperty("ImageRect", &m_props.imageRect);
    AddProperty("HotSpot", &m_props.hotSpot);
}

MouseCursor::~MouseCursor() {
    aInputServer* input = aApplication::inputServer();
    if (m_shown && input)
        input->setSystemCursor(SYSTEM_ARROW);
}

void MouseCursor::MakeFromScript() {
    if (m_props.image.changed)
        MakeFrames();
    if (m_props.hotSpot.changed) {
        f32 x = 0, y = 0;
        ParsePoint(m_props.hotSpot.value, x, y);
        SetHotSpot(truncateInto(x, INT32_MIN, INT32_MAX), truncateInto(y, INT32_MIN, INT32_MAX));
    }
}

void MouseCursor::MakeFrames() {
    aImage* image = Server::exists() ? Server::getSingleton()->GetImage(m_props.image.value) : nullptr;
    const i32 count = m_props.numFrames.changed ? ParseInt(m_props.numFrames.value) : 1;
    f32 frameW = 1, frameH = 1;
    if (m_props.frameSize.changed)
        ParsePoint(m_props.frameSize.value, frameW, frameH);
    const i32 w = truncateInto(frameW, 0, UINT16_MAX), h = truncateInto(frameH, 0, UINT16_MAX);
    f32 fps = m_props.fps.changed ? ParseFloat(m_props.fps.value) : kDefaultFps;
    if (!(fps > 0))
        fps = kDefaultFps;

    m_anim.clearFrames();
    m_anim.setFrameTime(1 / fps);
    if (!image || count < 1 || w == 0 || h == 0)
        return;
    const aRect area = m_props.imageRect.changed ? ParseRect(m_props.imageRect.value)
                                                 : aRect{0, 0, image->getWidth(), image->getHeight()};
    m_anim.makeFrames(image, &area, u16(w), u16(h), u16(std::min(count, i32(UINT16_MAX))));
}

void MouseCursor::Show(bool show) {
    m_shown = show;
    GiveToInputServer();
}

void MouseCursor::SetHotSpot(i32 x, i32 y) {
    m_hotX = x;
    m_hotY = y;
    if (m_shown)
        GiveToInputServer();
}

void MouseCursor::GiveToInputServer() const {
    aInputServer* input = aApplication::inputServer();
    if (!input)
        return;
    if (!m_shown)
        input->setSystemCursor(0);
    else if (m_anim.getFrameCount() > 0)
        input->setCursorAnim(&m_anim, u16(std::clamp(m_hotX, 0, i32(UINT16_MAX))),
                             u16(std::clamp(m_hotY, 0, i32(UINT16_MAX))));
    else
        input->setSystemCursor(SYSTEM_ARROW);
}

} // namespace GUI
