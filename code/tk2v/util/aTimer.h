#pragma once
#include "tk2v/util/types.h"

// Mode 0 reads the high-resolution counter; any other mode the millisecond tick.
class aTimer {
public:
    explicit aTimer(u8 mode = 0);

    void reset();
    float getElapsed();
    i32 getElapsedMs();
    // Seconds as the timer's milliseconds: times 1000 in float, truncated.
    static i32 secondsToMs(float seconds);
    void wait(u32 ms);

private:
    u8 m_mode;
    u32 m_startMs = 0;
    u32 m_lastMs = 0;
    u64 m_startCounter = 0;
    u64 m_lastCounter = 0;
};
