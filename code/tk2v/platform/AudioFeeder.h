#pragma once
#include "tk2v/platform/AudioRenderer.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

// The thread that keeps the streams decoded ahead of the mixer, waking every few milliseconds.
class AudioFeeder {
public:
    static constexpr int PERIOD_MS = 10;

    ~AudioFeeder() { stop(); }

    // False when no thread can be had.
    bool start(AudioRenderer& renderer);
    // Returns once the thread has ended; a feed in progress finishes first.
    void stop();

private:
    void run(AudioRenderer& renderer);

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
};

} // namespace platform
