#include "tk2v/platform/NullAudioOutput.h"

#include "tk2v/platform/Clock.h"

namespace platform {

bool NullAudioOutput::start(AudioRenderer& renderer, int frequency) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_renderer = &renderer;
    m_frequency = u64(frequency);
    m_lastTick = tickMs();
    m_remainder = 0;
    return true;
}

void NullAudioOutput::stop() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_renderer = nullptr;
}

void NullAudioOutput::lock() {
    m_mutex.lock();
    if (m_renderer == nullptr)
        return;
    u32 now = tickMs();
    u64 scaled = u64(now - m_lastTick) * m_frequency + m_remainder;
    m_lastTick = now;
    m_remainder = scaled % 1000;
    m_renderer->advance(scaled / 1000);
}

void NullAudioOutput::unlock() {
    m_mutex.unlock();
}

} // namespace platform
