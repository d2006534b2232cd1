#pragma once
#include "tk2v/util/types.h"

// Blurs a width x height buffer of 0xAARRGGBB pixels in place, each channel on its own: a horizontal
// pass, then a vertical one. Each output of a pass is the sum of the 2r + 1 neighbours weighted
// 1, 2, .., r + 1, .., 2, 1, divided by (r + 1) squared and rounded down; neighbours beyond the
// buffer take the nearest edge pixel. A radius of 0 leaves the buffer as it is.
void stackBlur(u32* argb, u32 width, u32 height, u32 radius);
