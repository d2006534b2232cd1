// 5,000 sprites of 64 x 64 from 8 textures a frame into a 1024 x 768 target: the engine's images
// drawn with aImage::draw through the graph server's scene beside SDL_Renderer's OpenGL backend
// drawing the same sprites. Each frame ends by reading one pixel back, so both sides are timed for
// finished work, not for queued commands; the engine's frame also presents its back buffer.
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/platform/GraphicsDevice.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSprites = 5000, kTextures = 8, kSize = 64, kWidth = 1024, kHeight = 768;

struct Placement {
    int x, y, texture;
};

u32 scaled(u32 rgb, u32 alpha) {
    u32 out = 0;
    for (int shift : {0, 8, 16})
        out |= ((rgb >> shift & 0xFF) * alpha / 255) << shift;
    return out;
}

// Each side holds the 8 translucent textures and then the 8 opaque ones.
constexpr int kTextureSets = 2;

// Sprites grouped by texture, as a scene's layers tend to be, or cycling through the textures, the
// worst case for any batch; or grouped and opaque, as backgrounds and panels are.
enum Mode { kGrouped, kInterleaved, kGroupedOpaque };

std::vector<Placement> placements(int mode) {
    const bool interleaved = mode == kInterleaved;
    const int first = mode == kGroupedOpaque ? kTextures : 0;
    std::vector<Placement> out;
    unsigned state = 12345;
    auto next = [&](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % unsigned(range));
    };
    for (int i = 0; i < kSprites; ++i)
        out.push_back({next(kWidth - kSize), next(kHeight - kSize),
                       first + (interleaved ? i % kTextures : i * kTextures / kSprites)});
    return out;
}

// A soft-edged disc in the texture's own colour, so blending does real work; or, opaque, the same disc
// over black, which normal blending leaves as it is.
std::vector<u32> spritePixels(int index, bool opaque) {
    const u32 colours[kTextures] = {0xFF3060, 0x30FF60, 0x3060FF, 0xFFC030,
                                    0xC030FF, 0x30FFFF, 0xFFFFFF, 0x808080};
    std::vector<u32> argb;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            int dx = x - kSize / 2, dy = y - kSize / 2, d2 = dx * dx + dy * dy;
            u32 alpha = d2 >= 32 * 32 ? 0 : 255 - u32(d2 * 255 / (32 * 32));
            argb.push_back(opaque ? 0xFF000000 | scaled(colours[index], alpha)
                                  : alpha << 24 | colours[index]);
        }
    return argb;
}

struct Ours {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::vector<aImage> images;

    Ours() {
        graph = std::make_unique<aGraphServer>(kWidth, kHeight, false, true, "bench", 0, false);
        if (graph->getFatalError())
            return;
        images.resize(kTextures * kTextureSets);
        for (int t = 0; t < kTextures * kTextureSets; ++t) {
            images[size_t(t)].create(kSize, kSize);
            u32* bits = nullptr;
            i32 pitch = 0;
            if (!images[size_t(t)].lock(&bits, &pitch, nullptr, false))
                continue;
            std::vector<u32> pixels = spritePixels(t % kTextures, t >= kTextures);
            for (int y = 0; y < kSize; ++y)
                std::memcpy(bits + y * pitch, &pixels[size_t(y * kSize)], kSize * 4);
            images[size_t(t)].unlock();
        }
    }
    bool ready() const {
        return !graph->getFatalError() && images.size() == kTextures * kTextureSets &&
               images.back().hasTexture();
    }

    void frame(const std::vector<Placement>& sprites) {
        if (!graph->beginScene())
            return;
        for (const Placement& p : sprites)
            images[size_t(p.texture)].draw(float(p.x), float(p.y), 0, 0, kSize, kSize, 0xFFFFFFFF);
        std::vector<u8> pixel;
        graph->getDevice()->readBackBuffer({0, 0, 1, 1}, pixel);
        graph->endScene();
    }
};

struct Baseline {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* target = nullptr;
    std::vector<SDL_Texture*> textures;

    Baseline() {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        window = SDL_CreateWindow("baseline", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
        renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
        if (!renderer)
            return;
        target =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kWidth, kHeight);
        for (int t = 0; t < kTextures * kTextureSets; ++t) {
            SDL_Texture* texture =
                SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kSize, kSize);
            std::vector<u32> pixels = spritePixels(t % kTextures, t >= kTextures);
            SDL_UpdateTexture(texture, nullptr, pixels.data(), kSize * 4);
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear); // as the engine draws
            textures.push_back(texture);
        }
    }
    ~Baseline() {
        for (SDL_Texture* t : textures)
            SDL_DestroyTexture(t);
        if (target)
            SDL_DestroyTexture(target);
        if (renderer)
            SDL_DestroyRenderer(renderer);
        if (window)
            SDL_DestroyWindow(window);
    }

    void frame(const std::vector<Placement>& sprites) {
        SDL_SetRenderTarget(renderer, target);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (const Placement& p : sprites) {
            SDL_Rect to{p.x, p.y, kSize, kSize};
            SDL_RenderCopy(renderer, textures[size_t(p.texture)], nullptr, &to);
        }
        SDL_Rect one{0, 0, 1, 1};
        u32 pixel = 0;
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    }
};

Ours& ours() {
    static Ours o;
    return o;
}

Baseline& baseline() {
    static Baseline b;
    return b;
}

template <typename Side> void runFrames(benchmark::State& state, Side& side) {
    const std::vector<Placement> sprites = placements(int(state.range(0)));
    for (auto _ : state)
        side.frame(sprites);
    state.counters["sprites_per_s"] =
        benchmark::Counter(double(kSprites) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Tk2vImageDraw(benchmark::State& state) {
    if (!ours().ready())
        return state.SkipWithError("no graph server");
    runFrames(state, ours());
}

void BM_SdlRenderer(benchmark::State& state) {
    if (!baseline().renderer)
        return state.SkipWithError(SDL_GetError());
    runFrames(state, baseline());
}

// Argument: 0 = sprites grouped by texture, 1 = textures interleaved, 2 = grouped, opaque textures.
// Both sides draw every texture in normal alpha blending, as the engine's scenes do.
// The machine may be shared: repetitions in random order, compared by their medians, keep a busy
// moment from landing on one side only.
BENCHMARK(BM_Tk2vImageDraw)
    ->DenseRange(kGrouped, kGroupedOpaque)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->UseRealTime();
BENCHMARK(BM_SdlRenderer)
    ->DenseRange(kGrouped, kGroupedOpaque)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->UseRealTime();

// Keeps the median sprite rate and CPU time of each benchmark so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Figures {
        double rate = 0, cpuMs = 0;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            auto rate = r.counters.find("sprites_per_s");
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median" && rate != r.counters.end())
                figures[r.run_name.function_name + "/" + r.run_name.args] = {rate->second.value,
                                                                             r.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Figures> figures;
};

} // namespace

// Wall time is finished frames; on a software rasteriser both sides spend it mostly filling the same
// pixels. CPU time is what the calling thread spends submitting them.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    argc = int(args.size());
    benchmark::Initialize(&argc, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* const names[] = {"grouped by texture", "textures interleaved", "grouped, opaque textures"};
    for (const char* arg : {"0", "1", "2"}) {
        auto mine = reporter.figures[std::string("BM_Tk2vImageDraw/") + arg];
        auto theirs = reporter.figures[std::string("BM_SdlRenderer/") + arg];
        if (mine.rate > 0 && theirs.rate > 0 && mine.cpuMs > 0)
            std::printf("%s: tk2v %.0f sprites/s, SDL_Renderer %.0f sprites/s, ratio %.2f (goal >= 2); "
                        "CPU per frame %.2f ms vs %.2f ms, ratio %.2f\n",
                        names[*arg - '0'], mine.rate, theirs.rate, mine.rate / theirs.rate, mine.cpuMs,
                        theirs.cpuMs, theirs.cpuMs / mine.cpuMs);
    }
    benchmark::Shutdown();
    return 0;
}
