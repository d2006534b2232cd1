#pragma once
#include "tk2v/util/types.h"

namespace GUI {

// A colour as four channels 0..1, as the text and image widgets keep it. Set from 0xAARRGGBB, each
// channel stored as channel / 255.
struct ColorF {
    f32 r = 1, g = 1, b = 1, a = 1;

    static ColorF FromARGB(u32 argb) {
        return {f32((argb >> 16) & 0xFF) / 255.0f, f32((argb >> 8) & 0xFF) / 255.0f,
                f32(argb & 0xFF) / 255.0f, f32(argb >> 24) / 255.0f};
    }
    bool operator==(const ColorF&) const = default;
};

// Packs four channels as 0xAARRGGBB, each 255 from 1 up, 0 from 0 down, else channel x 255 + 0.5
// truncated.
u32 PackColor(f32 r, f32 g, f32 b, f32 a);

} // namespace GUI
