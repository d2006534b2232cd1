#pragma once
#include "tk2v/util/types.h"

namespace platform {

struct Point {
    i32 x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// Left, top, width and height; the pixels x .. x + w - 1 and y .. y + h - 1.
struct Rect {
    i32 x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
    bool empty() const { return w <= 0 || h <= 0; }
    // The overlap of the two, or an empty rectangle at this one's corner.
    Rect intersect(const Rect& o) const;
};

inline Rect Rect::intersect(const Rect& o) const {
    i64 left = x > o.x ? x : o.x, top = y > o.y ? y : o.y;
    i64 right = i64(x) + w < i64(o.x) + o.w ? i64(x) + w : i64(o.x) + o.w;
    i64 bottom = i64(y) + h < i64(o.y) + o.h ? i64(y) + h : i64(o.y) + o.h;
    if (right <= left || bottom <= top)
        return {x, y, 0, 0};
    return {i32(left), i32(top), i32(right - left), i32(bottom - top)};
}

} // namespace platform
