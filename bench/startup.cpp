// Start-up on the demo data, splash screens off, windowed, for a player whose profile exists: from
// the application's construction to the first presented frame of the main menu, through the real
// main loop with its frame-rate cap, beside a bare platform start with SDL and OpenGL (window, core
// context, one cleared and presented frame), both torn down after each run. The game's time is split
// into the engine (init up to the game flow), the loading frames, and the frame that builds the GUI
// and draws the menu.
//
// Idle main menu: the process's processor time (all its threads: music fades, audio, the software
// rasteriser's) over ten seconds of the menu through the real loop, windowed, beside the engine's
// loop presenting empty scenes and beside two bare loops that draw one 1024 x 768 picture into the
// window and present it. Idle play: the same for the demo game (its game flow, game object,
// investigation, panel and rooms, fast-started, no music or tips) through the application frame's
// loop, in the hall with its message read, and in the desk close-up opened from the hall. The bare
// loops are: SDL_Renderer (its OpenGL backend, the picture opaque so drawn without
// blending, default nearest scaling) and bare OpenGL 3.3 (the picture as one textured quad, nearest,
// no blending). Argument 1 is the capped case: the game's options say VSync = 1, which windowed means
// a swap interval of 0 and a sleep to the refresh rate (the offscreen driver reports none, so 100
// frames a second), and the bare loops sleep to the same 10 ms frame; argument 0 runs uncapped.
// LP_NUM_THREADS is fixed for all.
//
// The offscreen driver's swap neither shows the frame nor hands it to the rasteriser, which then
// queues frame after frame and draws them all when the context goes, outside the measurement. Every
// loop here flushes after its swap, as a window system's swap does, so that each side draws every
// frame it presents: the engine's device does so itself, the bare loops right after their swap. The
// engine draws a frame again only where it differs from the one before (on the idle menu, where the
// fog and the candle's flame step 30 times a second); its present still draws the whole picture into
// the window each frame, as the bare loops do.
#include "../tests/support/game/DemoGame.h"
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "game/CGameFlow.h"
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/cMain.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/InputDevices.h"
#include "tk2v/platform/Window.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <time.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using bench::Figures;

double msSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// The profiles file of a player "Tester" who plays in a window.
const unsigned char TesterProfiles[] = {
    0x6a, 0x6a, 0x69, 0x68, 0x6e, 0x6e, 0x6d, 0x6c, 0x5f, 0x12, 0x13, 0x0f, 0x01, 0x0f, 0x09,
    0x01, 0x08, 0x44, 0x79, 0x48, 0x7f, 0x7e, 0x7d, 0x28, 0x16, 0x01, 0x05, 0x15, 0x05, 0x76,
    0x75, 0x74, 0x0b, 0x75, 0xd3, 0xd1, 0xd6, 0x70, 0x4d, 0x4c, 0x43, 0x42, 0x40, 0x41, 0x47,
    0x47, 0x45, 0x44, 0x5b, 0x0e, 0x3c, 0x2b, 0x2b, 0x3b, 0x2f, 0x5c, 0x53, 0x52, 0x11, 0x6f,
    0xcd, 0xcf, 0xcc, 0x6a, 0x2b, 0x2a, 0x29, 0x28, 0x2e, 0x2f, 0x2d, 0xfd, 0x3e, 0x22, 0x21};

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Watches the flow from the keyboard's poll, which the loop makes once a frame before the update:
// notes when loading ends and when the first menu frame has been drawn; then, after the idle time
// asked for, closes the window.
class Watcher : public platform::InputSource {
public:
    explicit Watcher(double idleSeconds = 0) : m_idleSeconds(idleSeconds) { platform::setInputSource(this); }
    ~Watcher() override { platform::setInputSource(nullptr); }

    bool nextEvent(platform::InputEvent&) override { return false; }
    bool cursorPosition(platform::Point& client) override { return client = {0, 0}, true; }
    void setCursorPosition(platform::Point) override {}
    platform::Result pollResult(platform::InputDevice device) override {
        if (device != platform::InputDevice::Keyboard)
            return platform::S_OK;
        ++frames;
        const auto* app = dynamic_cast<cMain*>(aApplication::getInstance());
        const u32 state = app && app->getGameFlow() ? app->getGameFlow()->GetState() : 0;
        if (state == CGameFlow::BUILD_GUI && loaded == Clock::time_point())
            loaded = Clock::now();
        if (state >= CGameFlow::MAIN_MENU && menu == Clock::time_point()) {
            menu = Clock::now();
            menuFrames = frames;
            menuCpu = processCpuSeconds();
        }
        if (menu != Clock::time_point() && msSince(menu, Clock::now()) >= m_idleSeconds * 1000) {
            idleCpu = processCpuSeconds() - menuCpu;
            idleFrames = frames - menuFrames;
            idleWallSeconds = msSince(menu, Clock::now()) / 1000;
            app->getWindow()->dispatch({platform::WM_CLOSE, 0, 0});
        }
        return platform::S_OK;
    }

    Clock::time_point loaded, menu;
    int frames = 0, menuFrames = 0, idleFrames = 0;
    double menuCpu = 0, idleCpu = 0, idleWallSeconds = 0;

private:
    double m_idleSeconds;
};

constexpr double IdleSeconds = 10;
constexpr u32 FrameMs = 10;

std::string g_home;

// The options file: windowed, the splash screens off, vertical sync as asked.
void writeOptions(bool vsync) {
    std::ofstream(g_home + "Game.ini") << "[Graphics]\nHiColor = 1\nVSync = " << (vsync ? 1 : 0)
                                       << "\nShowFPS = 0\nFullScr = 0\n"
                                          "[Other]\nLanguage = English\nSplashScrEnabled = 0\nFastStart = 0\n"
                                          "EnableCheatKeys = 0\n[Sound]\nAmbient = 1\nMusic = 1\n";
}

// A home of its own: the demo's game data and the options file.
std::string makeHome(const std::string& root) {
    const std::string home = root + "/home/";
    std::filesystem::create_directories(home);
    std::filesystem::create_directory_symlink(RVH_DEMO_DATA "GameData", home + "GameData");
    g_home = home;
    writeOptions(true);
    const std::string data = root + "/data/Quarrybell Works/RVH/";
    std::filesystem::create_directories(data);
    std::ofstream(data + "RVH_profiles.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(TesterProfiles), sizeof TesterProfiles);
    return home;
}

void BM_GameStartToMenu(benchmark::State& state) {
    double engineMs = 0, loadingMs = 0, guiMs = 0, frames = 0;
    for (auto _ : state) {
        Watcher watcher;
        const Clock::time_point start = Clock::now();
        Clock::time_point ready;
        {
            cMain app;
            if (i32(app.init("RVH", nullptr, "", "Quarrybell Works")) != 0) {
                state.SkipWithError("the game did not start");
                return;
            }
            ready = Clock::now();
            app.run();
            app.shutdown();
        }
        if (watcher.menu == Clock::time_point()) {
            state.SkipWithError("the menu was not reached");
            return;
        }
        state.SetIterationTime(msSince(start, watcher.menu) / 1000);
        engineMs += msSince(start, ready);
        loadingMs += msSince(ready, watcher.loaded);
        guiMs += msSince(watcher.loaded, watcher.menu);
        frames += watcher.frames;
    }
    const double runs = double(state.iterations());
    state.counters["engine_ms"] = engineMs / runs;
    state.counters["loading_ms"] = loadingMs / runs;
    state.counters["gui_ms"] = guiMs / runs;
    state.counters["frames"] = frames / runs;
}

// What any program on this platform pays to show its first frame.
void BM_BarePlatformStart(benchmark::State& state) {
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        SDL_Init(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024,
                                              768, SDL_WINDOW_OPENGL);
        SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
        if (!context) {
            state.SkipWithError(SDL_GetError());
            return;
        }
        using ClearColor = void (*)(float, float, float, float);
        using Clear = void (*)(unsigned);
        using Finish = void (*)();
        reinterpret_cast<ClearColor>(SDL_GL_GetProcAddress("glClearColor"))(0, 0, 0, 1);
        reinterpret_cast<Clear>(SDL_GL_GetProcAddress("glClear"))(0x4000); // the colour buffer
        SDL_GL_SwapWindow(window);
        reinterpret_cast<Finish>(SDL_GL_GetProcAddress("glFinish"))();
        state.SetIterationTime(msSince(start, Clock::now()) / 1000);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
}

void setIdleCounters(benchmark::State& state, double cpuSeconds, double wallSeconds, int frames) {
    state.SetIterationTime(wallSeconds);
    state.counters["cpu_percent"] = 100 * cpuSeconds / wallSeconds;
    state.counters["fps"] = frames / wallSeconds;
}

void BM_GameIdleMenu(benchmark::State& state) {
    writeOptions(state.range(0) != 0);
    for (auto _ : state) {
        Watcher watcher(IdleSeconds);
        cMain app;
        if (i32(app.init("RVH", nullptr, "", "Quarrybell Works")) != 0) {
            state.SkipWithError("the game did not start");
            return;
        }
        app.run();
        app.shutdown();
        setIdleCounters(state, watcher.idleCpu, watcher.idleWallSeconds, watcher.idleFrames);
    }
    writeOptions(true);
}

// The engine's own frame with nothing in it: the application frame's loop, windowed, capped or not as
// asked, opening and presenting an empty scene; what the menu adds is the rest of the game's figure.
// Timed from its first frame, as the bare loops are, so that making the window and context is left out.
// An application frame whose loop runs for the idle time from its first update, counting the frames
// and the processor time from there; each update makes one step of what it times.
class TimedFrames : public aApplication {
public:
    i32 update() override {
        if (frames == 0) {
            start = Clock::now();
            startCpu = processCpuSeconds();
        }
        if (msSince(start, Clock::now()) >= IdleSeconds * 1000)
            return -1;
        ++frames;
        step();
        return 0;
    }
    int frames = 0;
    Clock::time_point start;
    double startCpu = 0;

protected:
    virtual void step() {}
};

class EmptyFrames : public TimedFrames {
public:
    explicit EmptyFrames(bool vsync) : m_graph{1024, 768, false, true, nullptr, 0, vsync} {}
    i32 render() override {
        if (m_graph.beginScene())
            m_graph.endScene();
        return 0;
    }

private:
    aGraphServer m_graph;
};

void BM_EngineIdleLoop(benchmark::State& state) {
    for (auto _ : state) {
        EmptyFrames app(state.range(0) != 0);
        app.run();
        setIdleCounters(state, processCpuSeconds() - app.startCpu, msSince(app.start, Clock::now()) / 1000,
                        app.frames);
    }
}

// The picture both bare loops draw: opaque, every pixel different from its neighbours.
std::vector<u32> barePicture() {
    std::vector<u32> pixels(1024 * 768);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | u32(i * 2654435761u >> 8);
    return pixels;
}

// Runs frames for the idle time, each held to 10 ms when capped, as the engine's loop holds them.
template <typename DrawFrame> void runBareLoop(benchmark::State& state, DrawFrame drawFrame) {
    const bool capped = state.range(0) != 0;
    const Clock::time_point start = Clock::now();
    const double cpu0 = processCpuSeconds();
    int frames = 0;
    while (msSince(start, Clock::now()) < IdleSeconds * 1000) {
        const Clock::time_point frameStart = Clock::now();
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        drawFrame();
        ++frames;
        const double spent = msSince(frameStart, Clock::now());
        if (capped && spent < FrameMs)
            SDL_Delay(u32(FrameMs - spent));
    }
    setIdleCounters(state, processCpuSeconds() - cpu0, msSince(start, Clock::now()) / 1000, frames);
}

// SDL_Renderer's OpenGL backend, so that both sides draw with the same rasteriser.
void BM_BareRendererIdleLoop(benchmark::State& state) {
    for (auto _ : state) {
        SDL_Init(SDL_INIT_VIDEO);
        SDL_Window* window =
            SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024, 768, 0);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
        SDL_Texture* picture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                            SDL_TEXTUREACCESS_STATIC, 1024, 768)
                                        : nullptr;
        if (!picture) {
            state.SkipWithError(SDL_GetError());
            return;
        }
        SDL_RendererInfo info{};
        SDL_GetRendererInfo(renderer, &info);
        state.SetLabel(info.name);
        SDL_SetTextureBlendMode(picture, SDL_BLENDMODE_NONE);
        SDL_UpdateTexture(picture, nullptr, barePicture().data(), 1024 * 4);
        runBareLoop(state, [&] {
            SDL_RenderCopy(renderer, picture, nullptr, nullptr);
            SDL_RenderPresent(renderer);
            glFlush();
        });
        SDL_DestroyTexture(picture);
        SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
}

const char* const BareVertexShader = R"(#version 330 core
out vec2 uv;
void main() {
    uv = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    gl_Position = vec4(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0, 0.0, 1.0);
}
)";

const char* const BareFragmentShader = R"(#version 330 core
in vec2 uv;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    fragment = texture(picture, uv);
}
)";

GLuint bareProgram() {
    GLuint program = glCreateProgram();
    for (auto [kind, source] :
         {std::pair{GL_VERTEX_SHADER, BareVertexShader}, {GL_FRAGMENT_SHADER, BareFragmentShader}}) {
        GLuint shader = glCreateShader(kind);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked ? program : 0;
}

// OpenGL 3.3 core on the window: the picture in a texture of the rasteriser's own B, G, R, A order,
// drawn as one quad over the window each frame.
void BM_BareGlIdleLoop(benchmark::State& state) {
    for (auto _ : state) {
        SDL_Init(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024,
                                              768, SDL_WINDOW_OPENGL);
        SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
        const GLuint program = context ? bareProgram() : 0;
        if (!program) {
            state.SkipWithError("no OpenGL 3.3 program");
            return;
        }
        SDL_GL_SetSwapInterval(0);
        GLuint texture = 0, vertexArray = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1024, 768, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     barePicture().data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
        glUseProgram(program);
        runBareLoop(state, [&] {
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            SDL_GL_SwapWindow(window);
            glFlush();
        });
        glDeleteVertexArrays(1, &vertexArray);
        glDeleteTextures(1, &texture);
        glDeleteProgram(program);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
}

// The demo game in the hall, or in the desk close-up opened from it, one frame of the game flow (update
// and drawing) a pass of the application frame's loop, windowed and capped as the menu is. Timed from
// the first frame in that place.
class PlayFrames : public TimedFrames {
public:
    PlayFrames(bool vsync, bool desk) : m_graph{1024, 768, false, true, nullptr, 0, vsync} {
        // Without the story's events, which could hold the desk back: the rooms draw the same.
        m_game = std::make_unique<demo::DemoGame>(RVH_DEMO_DATA, m_folder.path, std::string());
        if (!m_game->play())
            return;
        if (m_game->investigation().GetState() == CInvestigation::OnMap)
            m_game->goThrough("HALL", "room_Hall");
        m_game->game().GetPanel().GetMessage().Hide();
        if (desk)
            m_game->goThrough("DESK", "zoom_Desk");
        const CRoomBase* room = m_game->investigation().GetCurrentRoomPtr();
        ready = room && room->GetName() == (desk ? "zoom_Desk" : "room_Hall");
    }
    i32 render() override { return 0; }

    bool ready = false;

private:
    void step() override { m_game->frame(); }

    aGraphServer m_graph;
    bench::TempFolder m_folder{"bench_startup_play"};
    std::unique_ptr<demo::DemoGame> m_game;
};

void BM_GameIdlePlay(benchmark::State& state) {
    for (auto _ : state) {
        PlayFrames app(state.range(0) != 0, state.range(1) != 0);
        if (!app.ready) {
            state.SkipWithError("the demo game did not reach the room");
            return;
        }
        app.run();
        setIdleCounters(state, processCpuSeconds() - app.startCpu, msSince(app.start, Clock::now()) / 1000,
                        app.frames);
    }
}

BENCHMARK(BM_GameStartToMenu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BarePlatformStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
// Capped (1) and uncapped (0).
BENCHMARK(BM_GameIdleMenu)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
// Capped (1) and uncapped (0); the hall (0) and the desk close-up (1).
BENCHMARK(BM_GameIdlePlay)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_EngineIdleLoop)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BareRendererIdleLoop)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_BareGlIdleLoop)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// The game's folders go to a temporary data home, never the user's; the program's own folder is the
// temporary home beside them.
int main(int argc, char** argv) {
    std::string root = (std::filesystem::temp_directory_path() / "rvh-bench-XXXXXX").string();
    if (!mkdtemp(root.data()))
        return 1;
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LP_NUM_THREADS", "4", 0);
    aFileServer::setExeDirOverride(makeHome(root));
    auto figures = bench::run(argc, argv);
    // Each idle figure beside the bare GL loop at the same cap: the processor time a second of it.
    for (const char* cap : {"1", "0"}) {
        Figures& bareFigures = figures[std::string("BM_BareGlIdleLoop/") + cap];
        const double bare = bareFigures.counters["cpu_percent"], bareFps = bareFigures.counters["fps"];
        auto ratio = [&](const char* what, const std::string& ours) {
            const Figures& f = figures[ours];
            const double mine = f.counters.count("cpu_percent") ? f.counters.at("cpu_percent") : 0;
            // Where a busy machine keeps a side below the cap, the processor time a frame compares them.
            const double fps = mine > 0 ? f.counters.at("fps") : 0;
            if (mine > 0 && bare > 0 && fps > 0)
                std::printf("%s, %s: %.0f %% of a core at %.0f fps (%.1f ms a frame) beside %.0f %% at %.0f "
                            "fps (%.1f ms) for bare GL, ratio %.2f, a frame %.2f (goal <= 1.5)\n",
                            what, cap[0] == '1' ? "capped" : "uncapped", mine, fps, 10 * mine / fps, bare,
                            bareFps, 10 * bare / bareFps, mine / bare, (mine / fps) / (bare / bareFps));
        };
        ratio("Idle menu", std::string("BM_GameIdleMenu/") + cap);
        ratio("Idle hall", std::string("BM_GameIdlePlay/") + cap + "/0");
        ratio("Idle desk close-up", std::string("BM_GameIdlePlay/") + cap + "/1");
    }
    std::filesystem::remove_all(root);
    return 0;
}
