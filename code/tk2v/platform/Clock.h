#pragma once
#include <cstdint>

namespace platform {

// A 64-bit monotonic counter and its frequency, like a high-resolution performance counter.
std::uint64_t counter();
std::uint64_t counterFrequency();

// Milliseconds since an arbitrary start; wraps at 2^32 like a system tick.
std::uint32_t tickMs();

void sleepMs(std::uint32_t ms);

// Test hook: the clocks read through this source while one is installed (null restores the real clock).
struct ClockSource {
    virtual ~ClockSource() = default;
    virtual std::uint64_t counter() = 0;
    virtual std::uint32_t tickMs() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
};
void setClockSource(ClockSource* source);

} // namespace platform
