#pragma once
#include "support/PulledAudioOutput.h"
#include "support/TempDir.h"
#include "tk2v/platform/AudioSystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The process's sound system opened over an output the test pulls, so that sounds advance only when the
// test mixes frames. The engine's sounds find it open and leave it to the fixture to close.
class SoundFixture : public testing::Test {
protected:
    static constexpr int RATE = 44100;

    void SetUp() override {
        auto pulled = std::make_unique<PulledAudioOutput>();
        output = pulled.get();
        ASSERT_TRUE(audio().init(RATE, 64, std::move(pulled)));
    }
    void TearDown() override { audio().close(); }

    static platform::AudioSystem& audio() { return platform::AudioSystem::shared(); }

    // A mono 16-bit PCM WAV of `frames` frames at one level (0.5 of full scale by default).
    static std::string wav(int frames, int level = 16384, int rate = RATE) {
        std::string data;
        for (int i = 0; i < frames; ++i)
            put16(data, unsigned(level));
        std::string file = "RIFF";
        put32(file, std::uint32_t(36 + data.size()));
        file += "WAVEfmt ";
        put32(file, 16);
        put16(file, 1);
        put16(file, 1);
        put32(file, std::uint32_t(rate));
        put32(file, std::uint32_t(rate * 2));
        put16(file, 2);
        put16(file, 16);
        file += "data";
        put32(file, std::uint32_t(data.size()));
        return file + data;
    }

    std::string writeWav(const std::string& name, int frames, int level = 16384) {
        dir.write(name, wav(frames, level));
        return dir.file(name);
    }

    // Left and right of the next mixed frame.
    std::pair<float, float> pullFrame() {
        std::vector<float> out = output->pull(1);
        return {out[0], out[1]};
    }

    // The levels a channel of this file's sample gives at the given channel volume and pan.
    std::pair<float, float> referenceLevels(const std::string& bytes, int volume, int pan) {
        platform::AudioSystem::Sample sample = audio().loadSample(bytes.data(), bytes.size());
        int channel = audio().playSample(platform::AudioSystem::FREE, sample, false);
        audio().setVolume(channel, volume);
        audio().setPan(channel, pan);
        std::pair<float, float> levels = pullFrame();
        audio().freeSample(sample);
        return levels;
    }

    TempDir dir;
    PulledAudioOutput* output = nullptr;

private:
    static void put16(std::string& s, unsigned v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
    static void put32(std::string& s, std::uint32_t v) { put16(s, v & 0xFFFF), put16(s, v >> 16); }
};
