// The pictures the benchmarks' rooms load: plain BMP files made in memory.
#pragma once

#include "tk2v/util/types.h"

#include <string>

namespace bench {

// An uncompressed 24-bit BMP of one colour, size x size.
inline std::string solidBmp(int size, u32 rgb) {
    const int row = (size * 3 + 3) & ~3;
    const u32 dataSize = u32(row * size);
    std::string out = "BM";
    auto put = [&out](u32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += char(value >> (8 * i));
    };
    for (u32 value : {54 + dataSize, 0u, 54u, 40u, u32(size), u32(size)})
        put(value, 4);
    put(1, 2);
    put(24, 2);
    for (u32 value : {0u, dataSize, 2835u, 2835u, 0u, 0u})
        put(value, 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            put(rgb, 3);
        out.append(size_t(row - size * 3), '\0');
    }
    return out;
}

} // namespace bench
