#pragma once
#include "tk2v/util/types.h"

#include <optional>

namespace GUI {

class MouseEventArgs;
class Widget;

// The thumb of a slider or scrollbar and its drag: which child it is, which axis it runs along,
// where it was grabbed and whether it is held. Positions in the thumb's mouse events are relative
// to the thumb.
class ThumbDrag {
public:
    Widget* GetThumb() const { return m_thumb; }
    void SetThumb(Widget* thumb) { m_thumb = thumb; }
    bool IsVertical() const { return m_vertical; }
    void SetVertical(bool vertical) { m_vertical = vertical; }
    bool IsDragging() const { return m_dragging; }

    // The owner's length along the axis minus the thumb's.
    i32 TrackLength(const Widget& owner) const;
    // The thumb's length along the axis, 0 without a thumb.
    i32 ThumbLength() const;
    // Where the thumb is on the track; 0 without a thumb.
    i32 Offset() const;
    // Along the axis only; the other coordinate stays.
    void MoveThumb(i32 offset);
    void SetThumbLength(i32 length);

    // True when the press starts a drag (the left button only).
    bool Press(const MouseEventArgs& e);
    // True when the release ends a drag (the left button only).
    bool Release(const MouseEventArgs& e);
    // While dragging: moves the thumb by the event's movement along the axis and answers its new
    // offset; nothing when the move is ignored.
    std::optional<i32> Move(const MouseEventArgs& e, i32 track);

private:
    Widget* m_thumb = nullptr;
    i32 m_dragAnchor = 0;
    bool m_dragging = false;
    bool m_vertical = false;
};

} // namespace GUI
