#pragma once
#include "tk2v/platform/AudioRenderer.h"
#include "tk2v/util/types.h"

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
    // Returns once a feed that began after this call has ended, so whatever was consumed before the call
    // has been topped up; false at once when the thread is not running or is stopped meanwhile.
    bool awaitFeed();

private:
    void setStopping(bool stopping);
    void run(AudioRenderer& renderer);

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_fed;
    // True while no thread runs, and from the moment stop() asks it to end.
    bool m_stopping = true;
    // Passes of the thread, counted under the mutex.
    u64 m_feedsBegun = 0;
    u64 m_feedsEnded = 0;
};

} // namespace platform
