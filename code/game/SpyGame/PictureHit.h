#pragma once
#include "tk2v/util/types.h"

#include <algorithm>
#include <cmath>

// The alpha hit test that image and animation objects share: the picture's drawn rectangle, its
// rotation about the rectangle's centre, and the alpha of the source pixel under a probe point.
struct PictureHit {
    i64 x = 0, y = 0; // position truncated to integers
    i64 w = 0, h = 0; // drawn size, rounded
    f32 scaleX = 1, scaleY = 1;
    i32 sourceW = 0, sourceH = 0;
    u32 threshold = 1;
    // The colour's alpha for the main picture; 255 for an icon, which the colour does not fade.
    u32 colorAlpha = 255;

    // Turns the probes by `radians` about the rectangle's centre.
    void SetRotation(f32 radians) {
        rotated = radians != 0;
        cosR = std::cos(radians);
        sinR = std::sin(radians);
    }

    // `readPixel(u, v)` gives the ARGB of source pixel (u, v).
    template <class ReadPixel> bool Probe(i64 px, i64 py, ReadPixel readPixel) const {
        f32 fx = f32(px), fy = f32(py);
        if (rotated) {
            const f32 cx = f32(x) + f32(w) / 2, cy = f32(y) + f32(h) / 2;
            const f32 dx = fx - cx, dy = fy - cy;
            fx = cosR * dx - sinR * dy + cx;
            fy = sinR * dx + cosR * dy + cy;
        }
        if (!(fx >= f32(x) && fx < f32(x + w) && fy >= f32(y) && fy < f32(y + h)))
            return false;
        if (threshold == 0)
            return true;
        if (threshold >= 255)
            return false;
        // The drawn size is rounded up from the scaled source, so a probe in the last column can
        // land one source pixel past the picture: keep it on the picture's edge.
        const i32 u = std::clamp(i32((fx - f32(x)) / scaleX), 0, std::max(sourceW - 1, 0));
        const i32 v = std::clamp(i32((fy - f32(y)) / scaleY), 0, std::max(sourceH - 1, 0));
        const u32 alpha = (readPixel(u, v) >> 24) * colorAlpha / 255;
        return alpha >= threshold;
    }

private:
    bool rotated = false;
    f32 cosR = 1, sinR = 0;
};
