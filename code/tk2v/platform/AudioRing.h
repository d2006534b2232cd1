#pragma once
#include "tk2v/util/types.h"

#include <atomic>
#include <vector>

namespace platform {

// A single-producer, single-consumer ring of interleaved 16-bit frames: a stream's decoder writes ahead,
// the mixer reads behind, neither waits for the other. All memory is taken at construction.
class AudioRing {
public:
    // What the consumer may read now, as a snapshot.
    struct ReadView {
        const i16* pcm;
        u64 start;
        u32 mask;
        u32 frames;
        int channels;
        const i16* frame(u64 offset) const { return pcm + ((start + offset) & mask) * u64(channels); }
    };

    // The capacity is rounded up to a power of two.
    AudioRing(int channels, u32 capacityFrames);

    int channels() const { return m_channels; }

    // Producer: the free frames that follow the write position without wrapping, then publish them.
    i16* writeRun(u32& frames);
    void commit(u32 frames);

    // Consumer.
    ReadView readView() const;
    void consume(u32 frames);

    // Empties the ring; only while neither side is using it.
    void clear();

private:
    int m_channels;
    u32 m_mask;
    std::vector<i16> m_pcm;
    std::atomic<u64> m_write{0};
    std::atomic<u64> m_read{0};
};

} // namespace platform
