#include "tk2v/gfx/JngDecode.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <zlib.h>

namespace {

constexpr u8 kSignature[8] = {0x8B, 'J', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

u32 readBe32(const u8* p) {
    return u32(p[0]) << 24 | u32(p[1]) << 16 | u32(p[2]) << 8 | p[3];
}

// libmng refuses a chunk whose CRC is wrong; putting every CRC right lets mutated chunk contents
// reach the chunk readers and the JPEG and zlib decoders behind them.
void fixCrcs(std::vector<u8>& bytes) {
    size_t pos = sizeof kSignature;
    while (pos + 12 <= bytes.size()) {
        const u32 length = readBe32(&bytes[pos]);
        if (length > bytes.size() - pos - 12)
            return;
        const u32 crc = u32(crc32(0, &bytes[pos + 4], uInt(length + 4)));
        for (int i = 0; i < 4; ++i)
            bytes[pos + 8 + length + size_t(i)] = u8(crc >> (24 - 8 * i));
        pos += 12 + size_t(length);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<u8> bytes;
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0)
        bytes.assign(kSignature, kSignature + sizeof kSignature);
    bytes.insert(bytes.end(), data, data + size);
    fixCrcs(bytes);
    platform::DecodedImage out;
    decodeJng(bytes.data(), bytes.size(), out);
    return 0;
}
