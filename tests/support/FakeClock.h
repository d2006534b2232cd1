#pragma once
#include "tk2v/platform/Clock.h"

#include <cstdint>

// A manual clock: time moves only when the test (or a sleep) moves it.
class FakeClock : public platform::ClockSource {
public:
    FakeClock() { platform::setClockSource(this); }
    ~FakeClock() override { platform::setClockSource(nullptr); }

    void advanceMs(std::uint64_t ms) { m_ns += ms * 1000000ull; }
    void advanceNs(std::uint64_t ns) { m_ns += ns; }
    void setTickMs(std::uint32_t tick) { m_tickBase = tick - std::uint32_t(m_ns / 1000000ull); }

    std::uint64_t counter() override { return m_ns; }
    std::uint32_t tickMs() override { return m_tickBase + std::uint32_t(m_ns / 1000000ull); }
    void sleepMs(std::uint32_t ms) override {
        m_slept += ms;
        advanceMs(ms);
    }
    std::uint64_t sleptMs() const { return m_slept; }

private:
    std::uint64_t m_ns = 1000000000ull;
    std::uint32_t m_tickBase = 0;
    std::uint64_t m_slept = 0;
};
