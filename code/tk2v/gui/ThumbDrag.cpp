#include "tk2v/gui/ThumbDrag.h"

#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/PixelClamp.h"
#include "tk2v/gui/ThumbTrack.h"
#include "tk2v/gui/Widget.h"

namespace GUI {

i32 ThumbDrag::TrackLength(const Widget& owner) const {
    const aRect& area = owner.GetArea();
    return (m_vertical ? area.h : area.w) - ThumbLength();
}

i32 ThumbDrag::ThumbLength() const {
    if (!m_thumb)
        return 0;
    return m_vertical ? m_thumb->GetArea().h : m_thumb->GetArea().w;
}

i32 ThumbDrag::Offset() const {
    if (!m_thumb)
        return 0;
    return m_vertical ? m_thumb->GetArea().y : m_thumb->GetArea().x;
}

void ThumbDrag::MoveThumb(i32 offset) {
    if (!m_thumb)
        return;
    const aRect& area = m_thumb->GetArea();
    if (m_vertical)
        m_thumb->SetPosition(area.x, ClampToI16(offset));
    else
        m_thumb->SetPosition(ClampToI16(offset), area.y);
}

void ThumbDrag::SetThumbLength(i32 length) {
    if (!m_thumb)
        return;
    if (m_vertical)
        m_thumb->SetHeight(ClampToU16(length));
    else
        m_thumb->SetWidth(ClampToU16(length));
}

bool ThumbDrag::Press(const MouseEventArgs& e) {
    if (e.button != MOUSE_LEFT)
        return false;
    m_dragging = true;
    m_dragAnchor = m_vertical ? e.y : e.x;
    return true;
}

bool ThumbDrag::Release(const MouseEventArgs& e) {
    if (e.button != MOUSE_LEFT)
        return false;
    m_dragging = false;
    return true;
}

std::optional<i32> ThumbDrag::Move(const MouseEventArgs& e, i32 track) {
    if (!m_dragging || !m_thumb)
        return std::nullopt;
    std::optional<i32> offset = m_vertical ? DragThumb(e.dy, e.y, m_dragAnchor, Offset(), track)
                                           : DragThumb(e.dx, e.x, m_dragAnchor, Offset(), track);
    if (offset)
        MoveThumb(*offset);
    return offset;
}

} // namespace GUI
