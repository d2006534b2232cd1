#pragma once
#include "tk2v/util/types.h"

namespace platform {

// What an audio output drives: the mixer behind the sound API.
class AudioRenderer {
public:
    // Writes `frames` interleaved stereo float frames. Called with the output locked; never allocates or
    // waits.
    virtual void render(float* out, u32 frames) = 0;
    // Moves playback on by `frames` without producing sound, for outputs with no device. Output locked.
    virtual void advance(u64 frames) = 0;
    // Decodes ahead for the streams. Called without the output's lock, from any thread but the render's.
    virtual void feed() = 0;

protected:
    ~AudioRenderer() = default;
};

} // namespace platform
