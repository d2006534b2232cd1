#pragma once
#include "tk2v/platform/AudioOutput.h"

#include <mutex>

namespace platform {

// Stands in when no sound device opens: nothing is heard, but every lock first moves playback on by the
// wall-clock time since the last one, so sounds still end and the game never waits on one forever.
class NullAudioOutput : public AudioOutput {
public:
    bool start(AudioRenderer& renderer, int frequency) override;
    void stop() override;
    void lock() override;
    void unlock() override;

private:
    std::mutex m_mutex;
    AudioRenderer* m_renderer = nullptr;
    u64 m_frequency = 0;
    u32 m_lastTick = 0;
    // Elapsed milliseconds x frequency not yet worth a whole frame.
    u64 m_remainder = 0;
};

} // namespace platform
