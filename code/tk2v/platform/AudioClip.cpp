#include "tk2v/platform/AudioClip.h"

#include "tk2v/platform/AudioDecoder.h"

#include <algorithm>

namespace platform {
namespace {

constexpr u32 PIECE_FRAMES = 16384;

// Reads the decoder dry; false when it yields nothing or more than a clip may hold.
bool readAll(AudioDecoder& decoder, AudioClip& clip) {
    std::size_t width = std::size_t(decoder.channels());
    clip.pcm.reserve(std::size_t(std::min<u64>(decoder.lengthHint(), AudioClip::MAX_FRAMES) + PIECE_FRAMES) *
                     width);
    u64 frames = 0;
    for (;;) {
        clip.pcm.resize(std::size_t(frames + PIECE_FRAMES) * width);
        u32 got = decoder.read(clip.pcm.data() + frames * width, PIECE_FRAMES);
        frames += got;
        if (got == 0 || frames > AudioClip::MAX_FRAMES)
            break;
    }
    clip.pcm.resize(std::size_t(frames) * width);
    clip.pcm.shrink_to_fit();
    clip.frames = u32(frames);
    return frames > 0 && frames <= AudioClip::MAX_FRAMES;
}

} // namespace

std::unique_ptr<AudioClip> AudioClip::decode(const void* data, std::size_t size) {
    std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(data, size);
    if (!decoder)
        return nullptr;
    auto clip = std::make_unique<AudioClip>();
    clip->channels = decoder->channels();
    clip->frequency = decoder->frequency();
    if (!readAll(*decoder, *clip))
        return nullptr;
    return clip;
}

} // namespace platform
