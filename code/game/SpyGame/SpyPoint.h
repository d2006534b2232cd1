#pragma once
#include "tk2v/util/types.h"

#include <cstdint>

// The float pair of positions and scales in the scene model.
struct SpyPoint {
    f32 x = 0, y = 0;
    bool operator==(const SpyPoint&) const = default;
};

// A float truncated toward zero into the integer range, NaN as 0: positions and sizes come from saves
// and data files, and an out-of-range conversion would be undefined.
inline i32 TruncToInt(f32 value) {
    if (!(value == value))
        return 0;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    return i32(value);
}
