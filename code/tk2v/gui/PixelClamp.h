#pragma once
#include "tk2v/util/types.h"

#include <algorithm>

namespace GUI {

// Coordinates and sizes of the short rectangle computed in 32 bits stop at its limits instead of
// wrapping.
inline i16 ClampToI16(i32 v) {
    return i16(std::clamp<i32>(v, -32768, 32767));
}
inline u16 ClampToU16(i32 v) {
    return u16(std::clamp<i32>(v, 0, 65535));
}

} // namespace GUI
