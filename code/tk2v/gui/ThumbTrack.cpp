#include "tk2v/gui/ThumbTrack.h"

#include <cmath>

namespace GUI {

f32 FiniteOrZero(f32 value) {
    return std::isfinite(value) ? value : 0.0f;
}

f32 ClampSliderValue(f32 value) {
    value = FiniteOrZero(value);
    if (value < 0)
        value = 0;
    if (value > 1)
        value = 1;
    return value;
}

f32 ClampScrollPosition(f32 position, f32 range) {
    position = FiniteOrZero(position);
    if (position < 0)
        position = 0;
    if (position > range)
        position = range;
    return position;
}

f32 ScrollFraction(f32 position, f32 range) {
    return range > 0 ? position / range : 0.0f;
}

i32 ThumbOffset(f32 fraction, i32 track) {
    fraction = FiniteOrZero(fraction);
    if (fraction < 0)
        fraction = 0;
    if (fraction > 1)
        fraction = 1;
    return i32(fraction * f32(track));
}

std::optional<i32> DragThumb(i32 delta, i32 pointer, i32 anchor, i32 offset, i32 track) {
    if (delta < 0) {
        if (pointer > anchor || offset < 1)
            return std::nullopt;
        return offset + delta < 0 ? 0 : offset + delta;
    }
    if (delta > 0) {
        if (pointer < anchor || offset >= track)
            return std::nullopt;
        return offset + delta > track ? track : offset + delta;
    }
    return std::nullopt;
}

f32 SliderValueAt(i32 offset, i32 track) {
    return track > 0 ? f32(offset) / f32(track) : 0.0f;
}

f32 ScrollPositionAt(f32 range, i32 offset, i32 track) {
    return track > 0 ? range * f32(offset) / f32(track) : 0.0f;
}

ThumbFit FitThumb(f32 documentSize, f32 pageSize, i32 barLength) {
    // A page without extent shows nothing of a document that has one; the thumb then shrinks to
    // nothing rather than dividing by the page.
    if (pageSize <= 0)
        return documentSize > 0 ? ThumbFit{false, 0} : ThumbFit{true, barLength};
    f32 ratio = documentSize / pageSize;
    if (!(ratio > 1))
        return ThumbFit{true, barLength};
    return ThumbFit{false, i32(f32(barLength) / ratio)};
}

} // namespace GUI
