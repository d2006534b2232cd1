#pragma once
#include "tk2v/platform/AudioOutput.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

// An audio output that the test drives: each pull mixes the next frames, in device-sized pieces with the
// streams topped up before each piece, as the sound device and the feeding thread would.
class PulledAudioOutput : public platform::AudioOutput {
public:
    static constexpr std::uint32_t PIECE_FRAMES = 512;

    bool start(platform::AudioRenderer& renderer, int frequency) override {
        m_renderer = &renderer;
        m_frequency = frequency;
        return true;
    }
    void stop() override {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_renderer = nullptr;
    }
    void lock() override { m_mutex.lock(); }
    void unlock() override { m_mutex.unlock(); }

    int frequency() const { return m_frequency; }

    // Interleaved stereo: left, right, left, right... Without `feed`, the streams have only what the
    // mixer's own feeding thread decoded for them.
    std::vector<float> pull(std::uint32_t frames, bool feed = true) {
        std::vector<float> out(2 * std::size_t(frames));
        for (std::uint32_t done = 0; done < frames && m_renderer != nullptr;) {
            std::uint32_t n = std::min(frames - done, PIECE_FRAMES);
            if (feed)
                m_renderer->feed();
            lock();
            m_renderer->render(out.data() + 2 * std::size_t(done), n);
            unlock();
            done += n;
        }
        return out;
    }

private:
    std::mutex m_mutex;
    platform::AudioRenderer* m_renderer = nullptr;
    int m_frequency = 0;
};
