#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <vector>

// One-bit BMP files made in memory for the region tests.
namespace bmpfiles {

struct OneBitOptions {
    // Negative height in the header, first row first in the file; otherwise the last row comes first.
    bool topDown = false;
    // Palette entry 0 is black (0, 0, 0, 0) and entry 1 white; otherwise the other way round.
    bool blackFirst = true;
};

// The mask's rows top-down, `bits[y * width + x]` set = bit 1. Rows are padded to 4 bytes, bits
// written most significant first.
std::string oneBit(u32 width, u32 height, const std::vector<bool>& bits, OneBitOptions options = {});

// The row size of a one-bit picture of that width in a BMP file.
u32 oneBitRowBytes(u32 width);

} // namespace bmpfiles
