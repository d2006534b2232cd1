#include "tk2v/platform/AudioStream.h"

namespace platform {

std::unique_ptr<AudioStream> AudioStream::open(const void* data, std::size_t size, bool loop) {
    std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(data, size);
    if (!decoder)
        return nullptr;
    auto stream = std::make_unique<AudioStream>(std::move(decoder), loop);
    stream->fill();
    // A stream that yields nothing at its start is not worth a channel.
    if (stream->snapshot().view.frames == 0)
        return nullptr;
    return stream;
}

AudioStream::AudioStream(std::unique_ptr<AudioDecoder> decoder, bool loop)
    : m_decoder(std::move(decoder)), m_ring(m_decoder->channels(), BUFFER_FRAMES),
      m_frequency(m_decoder->frequency()), m_loop(loop) {}

void AudioStream::fill() {
    std::lock_guard<std::mutex> lock(m_decoding);
    fillLocked();
}

// A pass over the data that yields nothing ends the stream even when it loops, so an empty or broken
// file cannot spin the decoder.
void AudioStream::fillLocked() {
    if (!m_decoder || m_ended.load(std::memory_order_relaxed))
        return;
    for (;;) {
        u32 room = 0;
        i16* run = m_ring.writeRun(room);
        if (room == 0)
            return;
        u32 got = m_decoder->read(run, room);
        if (got > 0) {
            m_ring.commit(got);
            m_framesSinceRewind += got;
            continue;
        }
        if (!m_loop.load() || m_framesSinceRewind == 0 || !m_decoder->rewind()) {
            m_ended.store(true, std::memory_order_release);
            return;
        }
        m_framesSinceRewind = 0;
    }
}

void AudioStream::restart() {
    std::lock_guard<std::mutex> lock(m_decoding);
    if (!m_decoder)
        return;
    m_ring.clear();
    m_framesSinceRewind = 0;
    m_ended.store(!m_decoder->rewind(), std::memory_order_release);
    fillLocked();
}

void AudioStream::close() {
    std::lock_guard<std::mutex> lock(m_decoding);
    m_decoder.reset();
    m_ended.store(true, std::memory_order_release);
}

AudioStream::Snapshot AudioStream::snapshot() const {
    // Ended is read first: once it is seen, every frame written before it is in the view.
    bool ended = m_ended.load(std::memory_order_acquire);
    return {m_ring.readView(), ended};
}

} // namespace platform
