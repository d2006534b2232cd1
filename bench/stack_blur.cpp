// The blur pass behind the blur and bloom effects on a 512 x 512 picture at radius 8, beside the same
// weighted window summed afresh at every pixel. Both report the time per megapixel.
#include "tk2v/gfx/StackBlur.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr u32 kSide = 512, kRadius = 8;

std::vector<u32> picture() {
    std::vector<u32> pixels(size_t(kSide) * kSide);
    unsigned state = 1;
    for (u32& p : pixels) {
        state = state * 1103515245u + 12345u;
        p = state;
    }
    return pixels;
}

// One pass of the window written the plain way: 2r + 1 reads a pixel and channel.
void directPass(const std::vector<u32>& in, std::vector<u32>& out, bool rows) {
    const int r = int(kRadius), divisor = (r + 1) * (r + 1), side = int(kSide);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            u32 sums[4] = {0, 0, 0, 0};
            for (int i = -r; i <= r; ++i) {
                const int at = std::clamp((rows ? x : y) + i, 0, side - 1);
                const u32 p = in[size_t(rows ? y * side + at : at * side + x)];
                const u32 weight = u32(r + 1 - std::abs(i));
                for (int c = 0; c < 4; ++c)
                    sums[c] += weight * ((p >> (8 * c)) & 0xFF);
            }
            u32 result = 0;
            for (int c = 0; c < 4; ++c)
                result |= sums[c] / u32(divisor) << (8 * c);
            out[size_t(y * side + x)] = result;
        }
}

void perMegapixel(benchmark::State& state) {
    state.counters["per_Mpixel"] =
        benchmark::Counter(double(kSide) * kSide / 1e6 * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_StackBlur(benchmark::State& state) {
    const std::vector<u32> source = picture();
    std::vector<u32> pixels;
    for (auto _ : state) {
        state.PauseTiming();
        pixels = source;
        state.ResumeTiming();
        stackBlur(pixels.data(), kSide, kSide, kRadius);
        benchmark::DoNotOptimize(pixels.data());
    }
    perMegapixel(state);
}

void BM_DirectWindowSum(benchmark::State& state) {
    const std::vector<u32> source = picture();
    std::vector<u32> rows(source.size()), out(source.size());
    for (auto _ : state) {
        directPass(source, rows, true);
        directPass(rows, out, false);
        benchmark::DoNotOptimize(out.data());
    }
    perMegapixel(state);
}

BENCHMARK(BM_StackBlur)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectWindowSum)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
