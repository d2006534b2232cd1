#pragma once
#include "tk2v/util/types.h"

#include <optional>

// The arithmetic shared by the slider and the scrollbar: where a thumb sits on its track, how a drag
// moves it, and how big a scrollbar's thumb is. Kept free of widgets so each rule can be checked
// alone.
namespace GUI {

// Volumes and positions come from files and from game code: NaN and the infinities count as 0.
f32 FiniteOrZero(f32 value);

// A slider value: below 0 becomes 0, then above 1 becomes 1.
f32 ClampSliderValue(f32 value);

// A scroll position over `range` = document size - page size: below 0 becomes 0, then above the
// range becomes the range, so a document smaller than the page makes every position the (negative)
// range.
f32 ClampScrollPosition(f32 position, f32 range);

// The part of the track a scroll position stands for; 0 when there is nothing to scroll (range <= 0).
f32 ScrollFraction(f32 position, f32 range);

// Thumb offset on a track of length `track` for a fraction of it: the integer part of fraction x
// track. The fraction is kept in 0..1 so the thumb never leaves its track.
i32 ThumbOffset(f32 fraction, i32 track);

// A drag of the thumb by `delta` pixels along the axis, the pointer at `pointer` (relative to the
// thumb) and the thumb grabbed at `anchor`; `offset` is where the thumb is on the track. Answers the
// new offset, or nothing when the move is ignored: a pointer still behind its grab point, a thumb
// already at that end of the track, or no movement.
std::optional<i32> DragThumb(i32 delta, i32 pointer, i32 anchor, i32 offset, i32 track);

// A slider value for a thumb offset; 0 on a track without length.
f32 SliderValueAt(i32 offset, i32 track);

// A scroll position for a thumb offset: range x offset / track, not clamped again; 0 on a track
// without length.
f32 ScrollPositionAt(f32 range, i32 offset, i32 track);

// How a scrollbar's thumb fits its document, for a scrollbar `barLength` long. `fits`: the whole
// document is visible and a stretched thumb fills the bar. Else `thumbLength` is the stretched
// thumb's length along the axis: the bar's length over document size / page size, truncated.
struct ThumbFit {
    bool fits = true;
    i32 thumbLength = 0;
};
ThumbFit FitThumb(f32 documentSize, f32 pageSize, i32 barLength);

} // namespace GUI
