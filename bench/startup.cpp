// Start-up on the demo data, splash screens off, windowed, for a player whose profile exists: from
// the application's construction to the first presented frame of the main menu, through the real
// main loop with its frame-rate cap, beside a bare platform start with SDL and OpenGL (window, core
// context, one cleared and presented frame), both torn down after each run. The game's time is split
// into the engine (init up to the game flow), the loading frames, and the frame that builds the GUI
// and draws the menu.
//
// Idle main menu: the process's processor time (all its threads: music fades, audio, the software
// rasteriser's) over a few seconds of the menu through the real loop, windowed with vertical sync (the
// offscreen driver reports no refresh rate, so the loop holds 100 frames a second), beside the same
// loop presenting empty scenes, and beside a bare SDL_Renderer loop (its OpenGL backend) that draws
// one 1024 x 768 picture and presents it, held to the same 100 frames a second with SDL_Delay.
// LP_NUM_THREADS is fixed for all.
#include "game/CGameFlow.h"
#include "game/cMain.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/InputDevices.h"
#include "tk2v/platform/Window.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

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

constexpr double IdleSeconds = 5;
constexpr u32 FrameMs = 10;

// A home of its own: the demo's game data and an options file with the splash screens off.
std::string makeHome(const std::string& root) {
    const std::string home = root + "/home/";
    std::filesystem::create_directories(home);
    std::filesystem::create_directory_symlink(RVH_DEMO_DATA "GameData", home + "GameData");
    std::ofstream(home + "Game.ini") << "[Graphics]\nHiColor = 1\nVSync = 1\nShowFPS = 0\nFullScr = 0\n"
                                        "[Other]\nLanguage = English\nSplashScrEnabled = 0\nFastStart = 0\n"
                                        "EnableCheatKeys = 0\n[Sound]\nAmbient = 1\nMusic = 1\n";
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

void BM_GameIdleMenu(benchmark::State& state) {
    for (auto _ : state) {
        Watcher watcher(IdleSeconds);
        cMain app;
        if (i32(app.init("RVH", nullptr, "", "Quarrybell Works")) != 0) {
            state.SkipWithError("the game did not start");
            return;
        }
        app.run();
        app.shutdown();
        state.SetIterationTime(watcher.idleWallSeconds);
        state.counters["cpu_percent"] = 100 * watcher.idleCpu / watcher.idleWallSeconds;
        state.counters["fps"] = watcher.idleFrames / watcher.idleWallSeconds;
    }
}

// The engine's own frame with nothing in it: the application frame's loop, windowed with vertical sync,
// opening and presenting an empty scene; what the menu adds is the rest of the game's figure.
class EmptyFrames : public aApplication {
public:
    i32 update() override {
        if (msSince(m_start, Clock::now()) >= IdleSeconds * 1000)
            return -1;
        ++frames;
        return 0;
    }
    i32 render() override {
        if (m_graph.beginScene())
            m_graph.endScene();
        return 0;
    }
    int frames = 0;

private:
    aGraphServer m_graph{1024, 768, false, true};
    Clock::time_point m_start = Clock::now();
};

void BM_EngineIdleLoop(benchmark::State& state) {
    for (auto _ : state) {
        const double cpu0 = processCpuSeconds();
        const Clock::time_point start = Clock::now();
        EmptyFrames app;
        app.run();
        const double wall = msSince(start, Clock::now()) / 1000;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100 * (processCpuSeconds() - cpu0) / wall;
        state.counters["fps"] = app.frames / wall;
    }
}

// One 1024 x 768 picture drawn and presented each frame, the frames held to 100 a second.
void BM_BareIdleLoop(benchmark::State& state) {
    for (auto _ : state) {
        SDL_Init(SDL_INIT_VIDEO);
        SDL_Window* window =
            SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024, 768, 0);
        // Through OpenGL, so that both sides draw with the same rasteriser.
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
        std::vector<u32> pixels(1024 * 768);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = 0xFF000000u | u32(i * 2654435761u >> 8);
        SDL_UpdateTexture(picture, nullptr, pixels.data(), 1024 * 4);
        const Clock::time_point start = Clock::now();
        const double cpu0 = processCpuSeconds();
        int frames = 0;
        while (msSince(start, Clock::now()) < IdleSeconds * 1000) {
            const Clock::time_point frameStart = Clock::now();
            SDL_Event event;
            while (SDL_PollEvent(&event)) {
            }
            SDL_RenderCopy(renderer, picture, nullptr, nullptr);
            SDL_RenderPresent(renderer);
            ++frames;
            const double spent = msSince(frameStart, Clock::now());
            if (spent < FrameMs)
                SDL_Delay(u32(FrameMs - spent));
        }
        const double wall = msSince(start, Clock::now()) / 1000;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100 * (processCpuSeconds() - cpu0) / wall;
        state.counters["fps"] = frames / wall;
        SDL_DestroyTexture(picture);
        SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
}

BENCHMARK(BM_GameStartToMenu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BarePlatformStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GameIdleMenu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EngineIdleLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BareIdleLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(root);
    return 0;
}
