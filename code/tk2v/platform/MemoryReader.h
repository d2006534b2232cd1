#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {

// A read cursor over bytes the caller keeps, for the decoders' read/seek/tell callbacks.
struct MemoryReader {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;

    std::size_t read(void* out, std::size_t bytes) {
        std::size_t n = bytes < size - pos ? bytes : size - pos;
        if (n > 0)
            std::memcpy(out, data + pos, n);
        pos += n;
        return n;
    }

    // whence: 0 from the start, 1 from the cursor, 2 from the end; false (cursor kept) when out of range.
    bool seek(std::int64_t offset, int whence) {
        std::int64_t base = whence == 0 ? 0 : whence == 1 ? std::int64_t(pos) : std::int64_t(size);
        if (whence < 0 || whence > 2 || offset < -base || offset > std::int64_t(size) - base)
            return false;
        pos = std::size_t(base + offset);
        return true;
    }
};

} // namespace platform
