#include "tk2v/platform/Clock.h"

#include <atomic>
#include <time.h>

namespace platform {
namespace {
std::atomic<ClockSource*> g_source{nullptr};

std::uint64_t monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::uint64_t(ts.tv_sec) * 1000000000ull + std::uint64_t(ts.tv_nsec);
}
} // namespace

std::uint64_t counter() {
    if (ClockSource* s = g_source.load())
        return s->counter();
    return monotonicNs();
}

std::uint64_t counterFrequency() { return 1000000000ull; }

std::uint32_t tickMs() {
    if (ClockSource* s = g_source.load())
        return s->tickMs();
    return std::uint32_t(monotonicNs() / 1000000ull);
}

void sleepMs(std::uint32_t ms) {
    if (ClockSource* s = g_source.load()) {
        s->sleepMs(ms);
        return;
    }
    timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void setClockSource(ClockSource* source) { g_source.store(source); }

} // namespace platform
