#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <vector>

namespace platform {

// Writes an uncompressed 32-bit BMP (BGRA, bottom-up rows) from RGBA bytes with rows top-down.
// False when the pixel count does not match the size or the file cannot be written.
bool writeBmp32(const std::string& path, u32 width, u32 height, const std::vector<u8>& rgba);

} // namespace platform
