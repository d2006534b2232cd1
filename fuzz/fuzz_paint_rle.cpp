#include "game/SpyGame/Rooms/Puzzles/RunLengthPacking.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

// Input: any bytes. Read as a packed block, a damaged one must be refused and a sound one unpack
// within its stated size; packed as data, they must come back unchanged.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    const u32 n = u32(size);
    PackedRunsInfo info = CheckPackedRuns(data, n, 1 << 22);
    if (info.check == PackedRunsInfo::Sound) {
        if (info.size > n)
            std::abort();
        std::vector<u8> out(info.unpackedSize);
        UnpackRuns(data, info, out.data());
    }

    std::vector<u8> block(PackedRunsHeaderBytes + n);
    if (n > 0)
        std::memcpy(block.data() + PackedRunsHeaderBytes, data, n);
    const u32 packed = PackRunsInPlace(block.data(), n);
    if (packed > block.size())
        std::abort();
    info = CheckPackedRuns(block.data(), packed, n);
    if (info.check != PackedRunsInfo::Sound || info.size != packed || info.unpackedSize != n)
        std::abort();
    std::vector<u8> back(n);
    UnpackRuns(block.data(), info, back.data());
    if (n > 0 && std::memcmp(back.data(), data, n) != 0)
        std::abort();
    return 0;
}
