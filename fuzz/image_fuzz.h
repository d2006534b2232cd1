#pragma once
#include "tk2v/platform/ImageDecode.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Puts `magic` in front of inputs that lack it, so every run reaches the decoder it belongs to. The
// input is copied into a buffer of exactly its size, so any read past the end is caught.
template <size_t N> int decodeWithMagic(const char (&magic)[N], const uint8_t* data, size_t size) {
    constexpr size_t length = N - 1;
    std::vector<u8> bytes;
    if (size < length || std::memcmp(data, magic, length) != 0)
        bytes.assign(magic, magic + length);
    bytes.insert(bytes.end(), data, data + size);
    platform::DecodedImage out;
    platform::decodeImage(bytes.data(), u32(bytes.size()), out);
    return 0;
}
