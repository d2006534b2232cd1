#pragma once
#include "tk2v/util/types.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace platform {

// A sound decoded whole: interleaved 16-bit frames at the file's own rate.
struct AudioClip {
    // Longer sounds are refused rather than cut: a whole decode this size is a mistake or damage.
    static constexpr u32 MAX_FRAMES = 1u << 28;

    // Decodes WAV, Ogg Vorbis or MP3 from memory; null when nothing decodes.
    static std::unique_ptr<AudioClip> decode(const void* data, std::size_t size);

    std::vector<i16> pcm;
    int channels = 0;
    int frequency = 0;
    u32 frames = 0;
};

} // namespace platform
