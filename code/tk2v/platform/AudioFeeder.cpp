#include "tk2v/platform/AudioFeeder.h"

#include <chrono>
#include <system_error>

namespace platform {

bool AudioFeeder::start(AudioRenderer& renderer) {
    stop();
    setStopping(false);
    try {
        m_thread = std::thread([this, &renderer] { run(renderer); });
    } catch (const std::system_error&) {
        setStopping(true);
        return false;
    }
    return true;
}

void AudioFeeder::stop() {
    if (!m_thread.joinable())
        return;
    setStopping(true);
    m_wake.notify_all();
    m_fed.notify_all();
    m_thread.join();
}

void AudioFeeder::setStopping(bool stopping) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_stopping = stopping;
}

bool AudioFeeder::awaitFeed() {
    std::unique_lock<std::mutex> guard(m_mutex);
    // A feed already under way may have read the streams before the caller's last consumption.
    const u64 target = m_feedsBegun + 1;
    m_fed.wait(guard, [this, target] { return m_stopping || m_feedsEnded >= target; });
    return !m_stopping;
}

void AudioFeeder::run(AudioRenderer& renderer) {
    std::unique_lock<std::mutex> guard(m_mutex);
    while (!m_wake.wait_for(guard, std::chrono::milliseconds(PERIOD_MS), [this] { return m_stopping; })) {
        ++m_feedsBegun;
        guard.unlock();
        renderer.feed();
        guard.lock();
        ++m_feedsEnded;
        m_fed.notify_all();
    }
}

} // namespace platform
