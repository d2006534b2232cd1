#pragma once
#include "tk2v/util/types.h"

#include <cstddef>
#include <memory>

namespace platform {

// Turns an encoded sound held in memory into interleaved 16-bit frames, a piece at a time. The memory
// must outlive the decoder.
class AudioDecoder {
public:
    // Mono or stereo; rates outside this range are treated as damaged data.
    static constexpr int MAX_CHANNELS = 2;
    static constexpr long MAX_FREQUENCY = 384000;

    virtual ~AudioDecoder() = default;

    // Chooses the format by content: RIFF WAVE, Ogg Vorbis, else MPEG audio. Null when no decoder accepts
    // the data.
    static std::unique_ptr<AudioDecoder> open(const void* data, std::size_t size);

    int channels() const { return m_channels; }
    int frequency() const { return m_frequency; }
    // What the container claims the length is, in frames; 0 when it does not say. Only a hint.
    virtual u64 lengthHint() const = 0;
    // Decodes up to `frames` frames into `out`; fewer only at the end of the data or where it is damaged.
    virtual u32 read(i16* out, u32 frames) = 0;
    // Back to the first frame; false when the data cannot be read again.
    virtual bool rewind() = 0;

protected:
    // Accepts a format the mixer can play.
    bool setFormat(long channels, long frequency);

private:
    int m_channels = 0;
    int m_frequency = 0;
};

} // namespace platform
