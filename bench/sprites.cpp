// 5,000 sprites of 64 x 64 from 8 textures a frame at 1024 x 768: the engine's images drawn with
// aImage::draw through the graph server's scene, beside SDL_Renderer's OpenGL backend and a bare GL
// loop drawing the same sprites, each on a hidden window of its own. Every frame clears, draws, reads
// one pixel back (so each side is timed for finished work, not for queued commands) and presents.
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/platform/GraphicsDevice.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
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

// The engine as a game drives it: a graph server on a hidden window, images made and filled through
// lock and unlock, and a frame of aGraphServer::beginScene (which clears the back buffer), one
// aImage::draw a sprite in white, a read-back of one pixel, and endScene, which presents the back
// buffer (a blit into the window and a swap). The device samples these 1:1 quads nearest, draws the
// opaque textures without blending and the white ones through a shader that only samples; it sends
// a sprite with an earlier one of its texture where no sprite queued between them overlaps it.
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
        bench::finishedFrame(*graph, [&] {
            for (const Placement& p : sprites)
                images[size_t(p.texture)].draw(float(p.x), float(p.y), 0, 0, kSize, kSize, 0xFFFFFFFF);
        });
    }
};

// SDL_Renderer's OpenGL backend with the settings an SDL user picks for this picture: nearest
// sampling, since every sprite is drawn at its own size on whole pixels; alpha blending for the
// translucent textures, none for the opaque ones. It draws straight into its window, reads one pixel
// back and presents.
struct SdlSide {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Texture*> textures;

    SdlSide() {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        window = SDL_CreateWindow("SDL_Renderer", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
        renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
        if (!renderer)
            return;
        for (int t = 0; t < kTextures * kTextureSets; ++t) {
            const bool opaque = t >= kTextures;
            SDL_Texture* texture =
                SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kSize, kSize);
            std::vector<u32> pixels = spritePixels(t % kTextures, opaque);
            SDL_UpdateTexture(texture, nullptr, pixels.data(), kSize * 4);
            SDL_SetTextureBlendMode(texture, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
            textures.push_back(texture);
        }
    }
    ~SdlSide() {
        for (SDL_Texture* t : textures)
            SDL_DestroyTexture(t);
        if (renderer)
            SDL_DestroyRenderer(renderer);
        if (window)
            SDL_DestroyWindow(window);
    }
    bool ready() const { return renderer && textures.size() == kTextures * kTextureSets; }

    void frame(const std::vector<Placement>& sprites) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (const Placement& p : sprites) {
            SDL_Rect to{p.x, p.y, kSize, kSize};
            SDL_RenderCopy(renderer, textures[size_t(p.texture)], nullptr, &to);
        }
        SDL_Rect one{0, 0, 1, 1};
        u32 pixel = 0;
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        SDL_RenderPresent(renderer);
    }
};

// The limit: GL 3.3 core alone, on a hidden window and context of its own made as the engine makes
// its own. One program that only samples; textures and a 1024 x 768 colour texture to draw into, all
// in B, G, R, A order (the order Mesa's software rasteriser draws fastest; straight into the window
// it is several times slower), sampled nearest. A frame sends all sprites' vertices in one buffer and
// draws them with one glDrawArrays a run of one texture, blending on for the translucent textures
// and off for the opaque ones; it clears first, reads one pixel back, and presents as the engine
// does: a blit into the window and a swap. Sorted, its vertices go by texture, one draw a texture;
// with the textures interleaved that is not the order the sprites came in, and where translucent
// sprites of different textures overlap it draws another picture, cheaper than any that keeps it.
class BareGl {
public:
    explicit BareGl(bool sorted) : m_sorted(sorted) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        m_window = SDL_CreateWindow("bare GL", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        m_context = m_window ? SDL_GL_CreateContext(m_window) : nullptr;
        if (!m_context)
            return;
        SDL_GL_SetSwapInterval(0);
        m_program = makeProgram();
        glGenVertexArrays(1, &m_vertexArray);
        glBindVertexArray(m_vertexArray);
        glGenBuffers(1, &m_vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), nullptr);
        for (int t = 0; t < kTextures * kTextureSets; ++t) {
            std::vector<u32> pixels = spritePixels(t % kTextures, t >= kTextures);
            m_textures.push_back(makeTexture(kSize, kSize, pixels.data()));
        }
        m_target = makeTexture(kWidth, kHeight, nullptr);
        glGenFramebuffers(1, &m_framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_target, 0);
        m_ready = m_program && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(0, 0, 0, 1);
    }
    ~BareGl() {
        if (m_context) {
            SDL_GL_MakeCurrent(m_window, m_context);
            glDeleteFramebuffers(1, &m_framebuffer);
            glDeleteTextures(1, &m_target);
            glDeleteTextures(GLsizei(m_textures.size()), m_textures.data());
            glDeleteBuffers(1, &m_vertexBuffer);
            glDeleteVertexArrays(1, &m_vertexArray);
            glDeleteProgram(m_program);
            SDL_GL_DeleteContext(m_context);
        }
        if (m_window)
            SDL_DestroyWindow(m_window);
    }
    BareGl(const BareGl&) = delete;
    BareGl& operator=(const BareGl&) = delete;

    bool ready() const { return m_ready; }

    void frame(const std::vector<Placement>& sprites) {
        SDL_GL_MakeCurrent(m_window, m_context);
        fillVertices(sprites);
        glClear(GL_COLOR_BUFFER_BIT);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_vertices.size() * sizeof(Vertex)), m_vertices.data(),
                     GL_STREAM_DRAW);
        for (size_t first = 0, last = 0; first < m_order.size(); first = last) {
            const int texture = m_order[first].texture;
            while (last < m_order.size() && m_order[last].texture == texture)
                ++last;
            texture >= kTextures ? glDisable(GL_BLEND) : glEnable(GL_BLEND);
            glBindTexture(GL_TEXTURE_2D, m_textures[size_t(texture)]);
            glDrawArrays(GL_TRIANGLES, GLint(first * 6), GLsizei((last - first) * 6));
        }
        u8 pixel[4];
        glReadPixels(0, 0, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, pixel);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        SDL_GL_SwapWindow(m_window);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    }

private:
    struct Vertex {
        f32 x, y, u, v;
    };

    static GLuint makeTexture(int width, int height, const u32* pixels) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        return texture;
    }

    static GLuint makeProgram() {
        const char* vertex =
            "#version 330 core\n"
            "layout(location = 0) in vec4 corner;\n"
            "out vec2 uv;\n"
            "void main() {\n"
            "    gl_Position = vec4(corner.x / 512.0 - 1.0, 1.0 - corner.y / 384.0, 0.0, 1.0);\n"
            "    uv = corner.zw;\n"
            "}\n";
        const char* fragment = "#version 330 core\n"
                               "in vec2 uv;\n"
                               "uniform sampler2D picture;\n"
                               "out vec4 colour;\n"
                               "void main() { colour = texture(picture, uv); }\n";
        GLuint program = glCreateProgram();
        for (auto [kind, source] :
             {std::pair{GL_VERTEX_SHADER, vertex}, std::pair{GL_FRAGMENT_SHADER, fragment}}) {
            GLuint shader = glCreateShader(kind);
            glShaderSource(shader, 1, &source, nullptr);
            glCompileShader(shader);
            glAttachShader(program, shader);
            glDeleteShader(shader);
        }
        glLinkProgram(program);
        GLint linked = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (!linked) {
            glDeleteProgram(program);
            return 0;
        }
        glUseProgram(program);
        return program;
    }

    // The sprites in drawing order, sorted by texture (stable) when asked, then six vertices each.
    void fillVertices(const std::vector<Placement>& sprites) {
        m_order = sprites;
        if (m_sorted)
            std::stable_sort(m_order.begin(), m_order.end(),
                             [](const Placement& a, const Placement& b) { return a.texture < b.texture; });
        m_vertices.clear();
        for (const Placement& p : m_order) {
            const f32 l = f32(p.x), t = f32(p.y), r = l + kSize, b = t + kSize;
            m_vertices.insert(
                m_vertices.end(),
                {{l, t, 0, 0}, {r, t, 1, 0}, {r, b, 1, 1}, {l, t, 0, 0}, {r, b, 1, 1}, {l, b, 0, 1}});
        }
    }

    bool m_sorted, m_ready = false;
    SDL_Window* m_window = nullptr;
    SDL_GLContext m_context = nullptr;
    GLuint m_program = 0, m_vertexArray = 0, m_vertexBuffer = 0, m_target = 0, m_framebuffer = 0;
    std::vector<GLuint> m_textures;
    std::vector<Placement> m_order;
    std::vector<Vertex> m_vertices;
};

Ours& ours() {
    static Ours o;
    return o;
}

SdlSide& sdl() {
    static SdlSide side;
    return side;
}

BareGl& bareSorted() {
    static BareGl side(true);
    return side;
}

BareGl& bareInOrder() {
    static BareGl side(false);
    return side;
}

template <typename Side> void runFrames(benchmark::State& state, Side& side) {
    if (!side.ready())
        return state.SkipWithError("could not set up");
    const std::vector<Placement> sprites = placements(int(state.range(0)));
    for (auto _ : state)
        side.frame(sprites);
    state.counters["sprites_per_s"] =
        benchmark::Counter(double(kSprites) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Tk2vImageDraw(benchmark::State& state) {
    runFrames(state, ours());
}

void BM_SdlRenderer(benchmark::State& state) {
    runFrames(state, sdl());
}

void BM_BareGl(benchmark::State& state) {
    runFrames(state, bareSorted());
}

void BM_BareGlInOrder(benchmark::State& state) {
    runFrames(state, bareInOrder());
}

// Argument: 0 = sprites grouped by texture, 1 = textures interleaved, 2 = grouped, opaque textures.
// The machine may be shared: repetitions in random order, compared by their medians, keep a busy
// moment from landing on one side only.
void arguments(benchmark::internal::Benchmark* b) {
    b->DenseRange(kGrouped, kGroupedOpaque)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0)
        ->Repetitions(5)
        ->UseRealTime();
}
BENCHMARK(BM_Tk2vImageDraw)->Apply(arguments);
BENCHMARK(BM_SdlRenderer)->Apply(arguments);
BENCHMARK(BM_BareGl)->Apply(arguments);
// Grouped, the sprites come in texture order already: the sorted loop is the in-order one there.
BENCHMARK(BM_BareGlInOrder)
    ->Arg(kInterleaved)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->UseRealTime();

} // namespace

// Wall time is finished frames; on a software rasteriser every side spends it mostly filling the same
// pixels. CPU time is what the calling thread spends submitting them.
// Wall time is finished frames; on a software rasteriser every side spends it mostly filling the same
// pixels. CPU time is what the calling thread spends submitting them.
int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    auto rate = [&](const std::string& name) { return figures[name].counters["sprites_per_s"]; };
    const char* const names[] = {"grouped by texture", "textures interleaved", "grouped, opaque textures"};
    for (const char* arg : {"0", "1", "2"}) {
        const std::string mine = std::string("BM_Tk2vImageDraw/") + arg,
                          sdl = std::string("BM_SdlRenderer/") + arg, gl = std::string("BM_BareGl/") + arg;
        if (rate(mine) > 0 && rate(sdl) > 0 && rate(gl) > 0)
            std::printf(
                "%s: sprites/s tk2v %.0f, SDL_Renderer %.0f, bare GL %.0f; tk2v / SDL_Renderer %.2f "
                "(goal >= 2), bare GL / tk2v %.2f (goal <= 1.2); CPU per frame %.2f / %.2f / %.2f ms\n",
                names[*arg - '0'], rate(mine), rate(sdl), rate(gl), rate(mine) / rate(sdl),
                rate(gl) / rate(mine), figures[mine].cpu, figures[sdl].cpu, figures[gl].cpu);
    }
    const double mine = rate("BM_Tk2vImageDraw/1"), inOrder = rate("BM_BareGlInOrder/1");
    if (mine > 0 && inOrder > 0)
        std::printf(
            "textures interleaved, bare GL in the sprites' order: %.0f sprites/s; bare GL / tk2v %.2f\n",
            inOrder, inOrder / mine);
    return 0;
}
