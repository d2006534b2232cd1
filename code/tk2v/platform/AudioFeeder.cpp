#include "tk2v/platform/AudioFeeder.h"

#include <chrono>
#include <system_error>

namespace platform {

bool AudioFeeder::start(AudioRenderer& renderer) {
    stop();
    m_stopping = false;
    try {
        m_thread = std::thread([this, &renderer] { run(renderer); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void AudioFeeder::stop() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void AudioFeeder::run(AudioRenderer& renderer) {
    std::unique_lock<std::mutex> guard(m_mutex);
    while (!m_wake.wait_for(guard, std::chrono::milliseconds(PERIOD_MS), [this] { return m_stopping; })) {
        guard.unlock();
        renderer.feed();
        guard.lock();
    }
}

} // namespace platform
