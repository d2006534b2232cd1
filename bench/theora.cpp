#include "tk2v/video/TheoraClip.h"
#include "tk2v/video/YuvToRgb.h"
#include "tk2v/video/aTheoraDecoder.h"

#include <benchmark/benchmark.h>

#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

// The player (read, demultiplex, decode, convert to 32-bit colour) beside the bare library's decode
// of the same clip, and the fixed-point colour conversion beside a plain floating-point one.

namespace {

constexpr u32 kWidth = 1024, kHeight = 768, kFrames = 50, kFps = 25;

// A drifting gradient with a moving block and some grain, so that frames differ like a real scene.
void sceneFrame(u32 index, th_ycbcr_buffer planes) {
    u32 grain = 12345 + index;
    for (int plane = 0; plane < 3; ++plane) {
        const th_img_plane& p = planes[plane];
        const int scale = plane == 0 ? 1 : 2;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                grain = grain * 1103515245u + 12345u;
                const int px = x * scale, py = y * scale;
                const bool block = std::abs(px - int(index * 12 % kWidth)) < 120 && std::abs(py - 384) < 90;
                int value = plane == 0 ? (px + py + int(index) * 6) / 8 % 200 + 30
                                       : 128 + (plane == 1 ? px : py) / 16 - 24;
                value += block ? 60 : 0;
                value += int(grain >> 28) - 8;
                p.data[y * p.stride + x] = u8(std::clamp(value, 0, 255));
            }
    }
}

struct Clip {
    std::string bytes;
    std::string path;

    Clip() {
        ClipSpec spec;
        spec.width = kWidth;
        spec.height = kHeight;
        spec.fpsNumerator = kFps;
        spec.frameCount = kFrames;
        spec.fill = sceneFrame;
        spec.quality = 40;
        bytes = encodeClip(spec);
        char name[] = "/tmp/bench_theora_XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            std::abort();
        ::close(fd);
    }
    ~Clip() { std::remove(path.c_str()); }
};

const Clip& clip() {
    static const Clip c;
    return c;
}

void reportRealTime(benchmark::State& state) {
    state.counters["x_real_time"] =
        benchmark::Counter(double(kFrames) / kFps, benchmark::Counter::kIsIterationInvariantRate);
    state.SetItemsProcessed(i64(state.iterations()) * kFrames);
}

void BM_Player(benchmark::State& state) {
    const std::string& path = clip().path;
    aTheoraDecoder video;
    for (auto _ : state) {
        if (!video.open(path, false))
            state.SkipWithError("open failed");
        u32 frames = 0;
        while (video.isOpen())
            frames += video.update(video.getFrameTime());
        if (frames != kFrames)
            state.SkipWithError("wrong frame count");
        benchmark::DoNotOptimize(video.getPixels());
    }
    reportRealTime(state);
}
BENCHMARK(BM_Player)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: libogg and libtheora alone over the clip in memory, without any colour conversion.
void BM_BareLibraryDecode(benchmark::State& state) {
    const std::string& bytes = clip().bytes;
    for (auto _ : state) {
        ogg_sync_state sync;
        ogg_sync_init(&sync);
        char* buffer = ogg_sync_buffer(&sync, long(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), buffer);
        ogg_sync_wrote(&sync, long(bytes.size()));
        ogg_stream_state stream;
        ogg_stream_init(&stream, 1);
        th_info info;
        th_comment comment;
        th_setup_info* setup = nullptr;
        th_info_init(&info);
        th_comment_init(&comment);
        th_dec_ctx* decoder = nullptr;
        ogg_page page;
        ogg_packet packet;
        u32 frames = 0;
        while (ogg_sync_pageout(&sync, &page) > 0) {
            ogg_stream_pagein(&stream, &page);
            while (ogg_stream_packetout(&stream, &packet) > 0) {
                if (!decoder) {
                    if (th_decode_headerin(&info, &comment, &setup, &packet) > 0)
                        continue;
                    decoder = th_decode_alloc(&info, setup);
                }
                th_decode_packetin(decoder, &packet, nullptr);
                th_ycbcr_buffer picture;
                th_decode_ycbcr_out(decoder, picture);
                benchmark::DoNotOptimize(picture[0].data);
                ++frames;
            }
        }
        if (frames != kFrames)
            state.SkipWithError("wrong frame count");
        th_decode_free(decoder);
        th_setup_free(setup);
        th_comment_clear(&comment);
        th_info_clear(&info);
        ogg_stream_clear(&stream);
        ogg_sync_clear(&sync);
    }
    reportRealTime(state);
}
BENCHMARK(BM_BareLibraryDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

struct Planes {
    std::vector<u8> y, u, v;
    Planes() : y(size_t(kWidth) * kHeight), u(y.size() / 4), v(y.size() / 4) {
        th_ycbcr_buffer planes = {{int(kWidth), int(kHeight), int(kWidth), y.data()},
                                  {int(kWidth / 2), int(kHeight / 2), int(kWidth / 2), u.data()},
                                  {int(kWidth / 2), int(kHeight / 2), int(kWidth / 2), v.data()}};
        sceneFrame(7, planes);
    }
};

void BM_ConvertFixedPoint(benchmark::State& state) {
    const Planes p;
    std::vector<u32> out(size_t(kWidth) * kHeight);
    for (auto _ : state) {
        convertYuv420({p.y.data(), int(kWidth)}, {p.u.data(), int(kWidth / 2)}, {p.v.data(), int(kWidth / 2)},
                      kWidth, kHeight, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(i64(state.iterations()));
}
BENCHMARK(BM_ConvertFixedPoint)->Unit(benchmark::kMicrosecond);

// Baseline: the same conversion in floating point, one pixel at a time.
void BM_ConvertFloat(benchmark::State& state) {
    const Planes p;
    std::vector<u32> out(size_t(kWidth) * kHeight);
    auto channel = [](float value) { return u32(std::clamp(value + 0.5f, 0.0f, 255.0f)); };
    for (auto _ : state) {
        for (u32 y = 0; y < kHeight; ++y)
            for (u32 x = 0; x < kWidth; ++x) {
                const float l = p.y[y * kWidth + x];
                const size_t c = (y / 2) * (kWidth / 2) + x / 2;
                const float u = p.u[c] - 128.0f, v = p.v[c] - 128.0f;
                out[y * kWidth + x] = 0xFF000000u | channel(l + 1.731f * v) << 16 |
                                      channel(l - 0.336f * u - 0.698f * v) << 8 | channel(l + 1.732f * u);
            }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(i64(state.iterations()));
}
BENCHMARK(BM_ConvertFloat)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
