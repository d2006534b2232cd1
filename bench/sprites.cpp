// 5,000 sprites of 64 x 64 from 8 textures a frame into a 1024 x 768 target: the engine's sprite batch
// on its GL device beside SDL_Renderer's OpenGL backend drawing the same sprites. Each frame ends by
// reading one pixel back, so both sides are timed for finished work, not for queued commands.
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/platform/Texture.h"
#include "tk2v/platform/Window.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSprites = 5000, kTextures = 8, kSize = 64, kWidth = 1024, kHeight = 768;

struct Placement {
    int x, y, texture;
};

// Sprites grouped by texture, as a scene's layers tend to be, or cycling through the textures, the
// worst case for any batch.
std::vector<Placement> placements(bool interleaved) {
    std::vector<Placement> out;
    unsigned state = 12345;
    auto next = [&](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % unsigned(range));
    };
    for (int i = 0; i < kSprites; ++i)
        out.push_back({next(kWidth - kSize), next(kHeight - kSize),
                       interleaved ? i % kTextures : i * kTextures / kSprites});
    return out;
}

// A soft-edged disc in the texture's own colour, so blending does real work.
std::vector<u32> spritePixels(int index) {
    const u32 colours[kTextures] = {0xFF3060, 0x30FF60, 0x3060FF, 0xFFC030,
                                    0xC030FF, 0x30FFFF, 0xFFFFFF, 0x808080};
    std::vector<u32> argb;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            int dx = x - kSize / 2, dy = y - kSize / 2, d2 = dx * dx + dy * dy;
            u32 alpha = d2 >= 32 * 32 ? 0 : 255 - u32(d2 * 255 / (32 * 32));
            argb.push_back(alpha << 24 | colours[index]);
        }
    return argb;
}

struct Ours {
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<platform::GraphicsDevice> device;
    std::vector<std::unique_ptr<platform::Texture>> textures;

    Ours() {
        platform::WindowConfig config;
        config.title = "bench";
        config.client = {0, 0, kWidth, kHeight};
        config.visible = false;
        window = platform::Window::create(config);
        platform::Result result = platform::E_FAIL;
        if (window)
            device = platform::createGraphicsDevice(*window, {kWidth, kHeight, 0}, result);
        if (device)
            for (int t = 0; t < kTextures; ++t) {
                platform::DecodedImage image{kSize, kSize, spritePixels(t)};
                textures.push_back(platform::Texture::create(image, platform::FMT_A8R8G8B8));
            }
    }

    void frame(const std::vector<Placement>& sprites) {
        device->beginScene();
        device->clear(0xFF000000);
        platform::SpriteBatch batch(*device);
        batch.begin();
        platform::SpriteDraw draw;
        draw.source = {0, 0, kSize, kSize};
        for (const Placement& p : sprites) {
            draw.x = float(p.x);
            draw.y = float(p.y);
            batch.draw(*textures[size_t(p.texture)], draw);
        }
        batch.end();
        device->endScene();
        std::vector<u8> pixel;
        device->readBackBuffer({0, 0, 1, 1}, pixel);
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
        for (int t = 0; t < kTextures; ++t) {
            SDL_Texture* texture =
                SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kSize, kSize);
            std::vector<u32> pixels = spritePixels(t);
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

template <typename Side> void runFrames(benchmark::State& state, Side& side, bool interleaved) {
    const std::vector<Placement> sprites = placements(interleaved);
    for (auto _ : state)
        side.frame(sprites);
    state.counters["sprites_per_s"] =
        benchmark::Counter(double(kSprites) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Tk2vSpriteBatch(benchmark::State& state) {
    if (!ours().device || ours().textures.back() == nullptr)
        return state.SkipWithError("no GL device");
    runFrames(state, ours(), state.range(0) != 0);
}

void BM_SdlRenderer(benchmark::State& state) {
    if (!baseline().renderer)
        return state.SkipWithError(SDL_GetError());
    runFrames(state, baseline(), state.range(0) != 0);
}

// Argument: 0 = sprites grouped by texture, 1 = textures interleaved.
BENCHMARK(BM_Tk2vSpriteBatch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SdlRenderer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Keeps the sprite rate and the CPU time of each run so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Figures {
        double rate = 0, cpuMs = 0;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            auto rate = r.counters.find("sprites_per_s");
            if (r.run_type == Run::RT_Iteration && rate != r.counters.end())
                figures[r.benchmark_name()] = {rate->second.value, r.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Figures> figures;
};

} // namespace

// Wall time is finished frames; on a software rasteriser both sides spend it mostly filling the same
// pixels. CPU time is what the calling thread spends submitting them.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* arg : {"0", "1"}) {
        auto mine = reporter.figures[std::string("BM_Tk2vSpriteBatch/") + arg + "/min_time:2.000/real_time"];
        auto theirs = reporter.figures[std::string("BM_SdlRenderer/") + arg + "/min_time:2.000/real_time"];
        if (mine.rate > 0 && theirs.rate > 0 && mine.cpuMs > 0)
            std::printf("%s: tk2v %.0f sprites/s, SDL_Renderer %.0f sprites/s, ratio %.2f (goal >= 2); "
                        "CPU per frame %.2f ms vs %.2f ms, ratio %.2f\n",
                        *arg == '0' ? "grouped by texture" : "textures interleaved", mine.rate, theirs.rate,
                        mine.rate / theirs.rate, mine.cpuMs, theirs.cpuMs, theirs.cpuMs / mine.cpuMs);
    }
    benchmark::Shutdown();
    return 0;
}
