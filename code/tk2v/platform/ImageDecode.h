#pragma once
#include "tk2v/platform/DecodedImage.h"
#include "tk2v/platform/Result.h"
#include "tk2v/util/types.h"

namespace platform {

// Pictures beyond these bounds are refused before any pixel memory is taken.
inline constexpr u32 kMaxImageSide = 16384;
inline constexpr u64 kMaxImageBytes = u64(256) << 20;

// Decodes a PNG, JPEG or BMP picture held in memory, recognised by its leading bytes, into 32-bit
// ARGB at the picture's own size (no scaling, no colour key). Returns S_OK, or D3DXERR_INVALIDDATA
// for unknown, damaged, truncated or oversized data; `out` is then left empty.
Result decodeImage(const u8* bytes, u32 size, DecodedImage& out);

} // namespace platform
