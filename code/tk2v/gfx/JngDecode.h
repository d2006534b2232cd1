#pragma once
#include "tk2v/platform/DecodedImage.h"
#include "tk2v/util/types.h"

#include <cstddef>

// True when the data begins with the JNG signature's first four bytes (0x8B 'J' 'N' 'G').
bool isJng(const u8* data, size_t size);

// Decodes the first frame of JNG data through libmng into 0xAARRGGBB pixels at the picture's size.
// False, with `out` empty, when libmng cannot read the data or the picture is empty or oversized.
bool decodeJng(const u8* data, size_t size, platform::DecodedImage& out);
