#pragma once
#include "tk2v/platform/AudioDecoder.h"
#include "tk2v/platform/AudioRing.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace platform {

// A sound decoded as it plays: the decoder fills a ring ahead of the mixer from any thread but the mixer's,
// so the mixer never decodes, allocates or waits. Looping happens here, by rewinding the decoder.
class AudioStream {
public:
    // About 370 ms at 44.1 kHz: room for the feeding thread to be late.
    static constexpr u32 BUFFER_FRAMES = 16384;

    // What the mixer may read and whether more will ever come.
    struct Snapshot {
        AudioRing::ReadView view;
        bool ended;
    };

    // Null when the data does not decode. The memory must stay until close().
    static std::unique_ptr<AudioStream> open(const void* data, std::size_t size, bool loop);

    AudioStream(std::unique_ptr<AudioDecoder> decoder, bool loop);

    int channels() const { return m_ring.channels(); }
    int frequency() const { return m_frequency; }
    void setLoop(bool loop) { m_loop.store(loop); }

    // Producer side, serialised among themselves.
    void fill();
    // Back to the first frame with a full ring; only while no channel reads the stream.
    void restart();
    // Lets go of the decoder and the caller's memory; the stream stays silent and ended afterwards.
    void close();

    // Consumer side: the mixer.
    Snapshot snapshot() const;
    void consume(u32 frames) { m_ring.consume(frames); }

private:
    void fillLocked();

    std::mutex m_decoding;
    std::unique_ptr<AudioDecoder> m_decoder;
    AudioRing m_ring;
    int m_frequency;
    std::atomic<bool> m_loop;
    std::atomic<bool> m_ended{false};
    u64 m_framesSinceRewind = 0;
};

} // namespace platform
