#pragma once
#include "tk2v/platform/AudioRenderer.h"

namespace platform {

// Where mixed sound goes. The output decides when the renderer runs; its lock keeps every change to
// the mixer out of a render in progress.
class AudioOutput {
public:
    class Lock {
    public:
        explicit Lock(AudioOutput& output) : m_output(output) { m_output.lock(); }
        ~Lock() { m_output.unlock(); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        AudioOutput& m_output;
    };

    virtual ~AudioOutput() = default;

    // Begins taking stereo frames at `frequency` from the renderer; false when the output cannot run.
    virtual bool start(AudioRenderer& renderer, int frequency) = 0;
    // No render runs once this returns.
    virtual void stop() = 0;
    virtual void lock() = 0;
    virtual void unlock() = 0;
};

} // namespace platform
