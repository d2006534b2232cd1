#pragma once
#include "tk2v/platform/AudioOutput.h"

namespace platform {

// The sound device: float stereo, the mixer rendering inside the device's callback under the device lock.
class SdlAudioOutput : public AudioOutput {
public:
    ~SdlAudioOutput() override;

    bool start(AudioRenderer& renderer, int frequency) override;
    void stop() override;
    void lock() override;
    void unlock() override;

    // Used by the device callback.
    void render(float* out, u32 frames) { m_renderer->render(out, frames); }

private:
    AudioRenderer* m_renderer = nullptr;
    u32 m_device = 0;
};

} // namespace platform
