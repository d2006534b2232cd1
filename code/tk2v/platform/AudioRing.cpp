#include "tk2v/platform/AudioRing.h"

#include <algorithm>
#include <bit>

namespace platform {

AudioRing::AudioRing(int channels, u32 capacityFrames)
    : m_channels(channels), m_mask(std::bit_ceil(std::max(capacityFrames, 2u)) - 1),
      m_pcm(std::size_t(m_mask + 1) * std::size_t(channels)) {}

i16* AudioRing::writeRun(u32& frames) {
    u64 write = m_write.load(std::memory_order_relaxed);
    u64 used = write - m_read.load(std::memory_order_acquire);
    u32 at = u32(write & m_mask);
    frames = std::min(u32(m_mask + 1 - used), m_mask + 1 - at);
    return m_pcm.data() + std::size_t(at) * std::size_t(m_channels);
}

void AudioRing::commit(u32 frames) {
    m_write.store(m_write.load(std::memory_order_relaxed) + frames, std::memory_order_release);
}

AudioRing::ReadView AudioRing::readView() const {
    u64 read = m_read.load(std::memory_order_relaxed);
    u32 frames = u32(m_write.load(std::memory_order_acquire) - read);
    return {m_pcm.data(), read, m_mask, frames, m_channels};
}

void AudioRing::consume(u32 frames) {
    m_read.store(m_read.load(std::memory_order_relaxed) + frames, std::memory_order_release);
}

void AudioRing::clear() {
    m_read.store(0, std::memory_order_relaxed);
    m_write.store(0, std::memory_order_relaxed);
}

} // namespace platform
