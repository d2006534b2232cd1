#include "tk2v/util/aTimer.h"

#include "tk2v/platform/Clock.h"

#include <cstdint>

namespace {
u64 g_counterFrequency = 0;
}

aTimer::aTimer(u8 mode) : m_mode(mode) {
    if (m_mode == 0 && g_counterFrequency == 0)
        g_counterFrequency = platform::counterFrequency();
    reset();
}

void aTimer::reset() {
    if (m_mode == 0)
        m_startCounter = m_lastCounter = platform::counter();
    else
        m_startMs = m_lastMs = platform::tickMs();
}

float aTimer::getElapsed() {
    if (m_mode == 0) {
        m_lastCounter = platform::counter();
        return float(double(m_lastCounter - m_startCounter) / double(g_counterFrequency));
    }
    m_lastMs = platform::tickMs();
    double diff = double(i32(m_lastMs - m_startMs));
    if (diff < 0)
        diff += 4294967296.0;
    return float(diff / 1000.0);
}

i32 aTimer::getElapsedMs() {
    if (m_mode == 0)
        return secondsToMs(getElapsed());
    m_lastMs = platform::tickMs();
    return i32(m_lastMs - m_startMs);
}

i32 aTimer::secondsToMs(float seconds) {
    // Past the range of the result (about 24.8 days) the conversion would be undefined: the nearest
    // end is given instead.
    const float ms = seconds * 1000.0f;
    return ms >= 2147483648.0f ? INT32_MAX : ms < -2147483648.0f ? INT32_MIN : i32(ms);
}

void aTimer::wait(u32 ms) {
    aTimer start(m_mode);
    const float seconds = float(ms) / 1000.0f;
    while (start.getElapsed() < seconds) {
    }
}
