#include "support/PulledAudioOutput.h"
#include "tk2v/platform/AudioSystem.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

// One second of output from 32 looping channels through the mixer, beside a bare loop that only adds 32
// ready-made buffers with a gain each: the floor any mixer pays.

namespace {

constexpr int RATE = 44100;
constexpr int VOICES = 32;
constexpr int SOURCE_FRAMES = RATE * 2;

void put16(std::string& s, unsigned v) {
    s += char(v & 0xFF), s += char(v >> 8 & 0xFF);
}
void put32(std::string& s, u32 v) {
    put16(s, v & 0xFFFF), put16(s, v >> 16);
}

// Two seconds of 16-bit noise.
std::string noiseWav(int rate, int channels, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> level(-12000, 12000);
    std::string data;
    for (int i = 0; i < SOURCE_FRAMES * channels; ++i)
        put16(data, unsigned(level(rng)));
    std::string file = "RIFF";
    put32(file, u32(36 + data.size()));
    file += "WAVEfmt ";
    put32(file, 16);
    put16(file, 1);
    put16(file, unsigned(channels));
    put32(file, u32(rate));
    put32(file, u32(rate * channels * 2));
    put16(file, unsigned(channels * 2));
    put16(file, 16);
    file += "data";
    put32(file, u32(data.size()));
    return file + data;
}

// Each iteration makes one second of sound; the counter is the share of one core, in percent, that
// mixing it in real time takes.
template <class Mix> void runSeconds(benchmark::State& state, Mix mix) {
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        mix();
    std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.counters["pct_of_real_time"] = 100.0 * spent.count() / double(state.iterations());
}

void BM_Mixer32Channels(benchmark::State& state) {
    platform::AudioSystem audio;
    auto pulled = std::make_unique<PulledAudioOutput>();
    PulledAudioOutput* output = pulled.get();
    audio.init(RATE, 64, std::move(pulled));
    // Stereo at the output rate, plus a few mono ones at other rates that the mixer resamples.
    const int resampled[] = {22050, 32000, 48000, 11025};
    for (int i = 0; i < VOICES; ++i) {
        bool other = i % 8 == 7;
        std::string file = noiseWav(other ? resampled[i / 8] : RATE, other ? 1 : 2, unsigned(i));
        int channel =
            audio.playSample(platform::AudioSystem::FREE, audio.loadSample(file.data(), file.size()), true);
        audio.setLoopMode(channel, platform::AudioSystem::LOOP_NORMAL);
        audio.setVolume(channel, 60 + i * 6);
        audio.setPan(channel, i * 8);
        audio.setPaused(channel, false);
    }
    runSeconds(state, [output] { benchmark::DoNotOptimize(output->pull(RATE).data()); });
}
BENCHMARK(BM_Mixer32Channels)->Unit(benchmark::kMillisecond);

void BM_PlainSum32Buffers(benchmark::State& state) {
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> level(-12000, 12000);
    std::vector<std::vector<i16>> sources(VOICES, std::vector<i16>(std::size_t(RATE) * 2));
    for (auto& source : sources)
        for (i16& v : source)
            v = i16(level(rng));
    runSeconds(state, [&sources] {
        std::vector<float> out(std::size_t(RATE) * 2);
        for (int voice = 0; voice < VOICES; ++voice) {
            float gain = float(60 + voice * 6) / (255.0f * 32768.0f);
            const i16* in = sources[std::size_t(voice)].data();
            for (std::size_t i = 0; i < out.size(); ++i)
                out[i] += float(in[i]) * gain;
        }
        benchmark::DoNotOptimize(out.data());
    });
}
BENCHMARK(BM_PlainSum32Buffers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
