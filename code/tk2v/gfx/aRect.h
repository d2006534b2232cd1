#pragma once
#include "tk2v/util/types.h"

// The engine's short rectangle: the pixels x .. x + w - 1 and y .. y + h - 1.
struct aRect {
    i16 x = 0, y = 0;
    u16 w = 0, h = 0;

    bool operator==(const aRect&) const = default;

    // Half-open on the right and bottom edges.
    bool contains(i32 px, i32 py) const { return px >= x && px < x + w && py >= y && py < y + h; }

    // Writes the overlap of this rectangle and `other` into `out` and returns it. Touching edges give
    // a rectangle of width or height 0 where they touch; rectangles apart give all four fields 0.
    aRect& intersect(aRect& out, const aRect& other) const {
        i32 left = x > other.x ? x : other.x;
        i32 top = y > other.y ? y : other.y;
        i32 right = x + w < other.x + other.w ? x + w : other.x + other.w;
        i32 bottom = y + h < other.y + other.h ? y + h : other.y + other.h;
        if (right < left || bottom < top)
            out = aRect{};
        else
            out = aRect{i16(left), i16(top), u16(right - left), u16(bottom - top)};
        return out;
    }
};
