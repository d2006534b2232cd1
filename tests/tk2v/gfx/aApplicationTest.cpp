#include "tk2v/gfx/aApplication.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/PulledAudioOutput.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/platform/SingleInstance.h"
#include "tk2v/platform/SystemInfo.h"
#include "tk2v/util/log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

// The shared application with empty hooks, and the clock its frames run on.
struct aApplicationFrameTest : ::testing::Test {
    // The log's clock started on the real one: the manual clock goes on from there.
    const u64 realNow = platform::counter();
    FakeClock clock;
    aGraphServer& graph = testGraphServer();
    TestApplication& app = testApp();
    // The sleeps before each update, in milliseconds.
    std::vector<u64> sleeps;

    aApplicationFrameTest() {
        clock.advanceNs(realNow);
        app.clearHooks();
    }
    ~aApplicationFrameTest() override { app.clearHooks(); }

    // Runs the main loop for `passes` updates, noting the sleep before each.
    i32 runPasses(int passes) {
        u64 before = clock.sleptMs();
        app.onUpdate = [this, passes, before]() mutable {
            sleeps.push_back(clock.sleptMs() - before);
            before = clock.sleptMs();
            return app.updates >= passes ? -1 : 0;
        };
        return app.run();
    }
};

TEST(aApplicationTest, ErrorMessages) {
    const std::string direct3d =
        "Could not initialize Direct3D.\nTo solve this problem you may want to check that "
        "the\nlatest version of DirectX and latest version of drivers\nfor your video card "
        "are correctly installed.";
    const std::pair<u32, std::string> cases[] = {
        {0x8A760001, direct3d},
        {0x8A760003, direct3d},
        {0x88760827, "A serious problem occurred with the display driver.\nPlease install latest drivers."},
        {0x8A760002, "Game error. Please reinstall."},
        {0x80070002, "Could not load required media."},
        {0x8A76000B, "Could not load required media."},
        {8431, "Critical error. File \"crash.dmp\" has been saved to \n\"/home/u/data/\"\n"},
        {0, "Unknown error. Please reinstall or contact user support."},
        {0x8A760004, "Unknown error. Please reinstall or contact user support."},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(aApplication::errorMessage(code, "/home/u/data/"), text) << std::hex << code;
}

TEST(aApplicationTest, RefreshAndLoadingCaps) {
    struct Case {
        u32 rate;
        bool fullscreen, vsync;
        double elapsed;
        u32 sleepMs;
    };
    const Case cases[] = {
        {0, false, true, 0, 10},     {1000, false, true, 0, 1},     {1001, false, true, 0, 10},
        {60, false, true, 0, 16},    {0x1003C, false, true, 0, 16}, {100, false, true, 0.0045, 5},
        {100, false, true, 0.02, 0}, {60, true, true, 0, 0},        {60, false, false, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(aApplication::refreshCapSleepMs(c.rate, c.fullscreen, c.vsync, c.elapsed), c.sleepMs)
            << c.rate << " " << c.fullscreen << c.vsync << " " << c.elapsed;
    EXPECT_EQ(aApplication::loadingCapSleepMs(0), 33u);
    EXPECT_EQ(aApplication::loadingCapSleepMs(0.01), 23u);
    EXPECT_EQ(aApplication::loadingCapSleepMs(0.04), 0u);
}

TEST_F(aApplicationFrameTest, WindowedLoopSleepsToTheRefreshRate) {
    EXPECT_EQ(runPasses(3), 0);
    EXPECT_EQ(sleeps, (std::vector<u64>{10, 10, 10}));
    EXPECT_FLOAT_EQ(app.getFrameTime(), 0.01f);
    EXPECT_EQ(app.renders, 2); // the closing pass does not render

    testDevice().rate = 1000;
    graph.resetDevice();
    sleeps.clear();
    app.clearHooks();
    runPasses(2);
    testDevice().rate = 0;
    graph.resetDevice();
    EXPECT_EQ(sleeps, (std::vector<u64>{1, 1}));
}

TEST_F(aApplicationFrameTest, FullscreenLoopDoesNotSleep) {
    graph.setFullscreen(true);
    runPasses(3);
    graph.setFullscreen(false);
    EXPECT_EQ(sleeps, (std::vector<u64>{0, 0, 0}));
}

TEST_F(aApplicationFrameTest, PausedLoopRendersWithoutUpdating) {
    app.setPaused(true);
    app.onRender = [this] { return app.renders >= 3 ? -1 : 0; };
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.updates, 0);
    EXPECT_EQ(app.renders, 3);
}

// A mono 16-bit PCM WAV of 44100 frames at one level.
std::string flatWav() {
    const u32 frames = 44100, dataBytes = frames * 2;
    std::string file;
    auto put = [&file](u32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file += char(value >> (8 * i) & 0xFF);
    };
    file += "RIFF";
    put(36 + dataBytes, 4);
    file += "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(frames, 4), put(frames * 2, 4), put(2, 2), put(16, 2);
    file += "data";
    put(dataBytes, 4);
    for (u32 i = 0; i < frames; ++i)
        put(16384, 2);
    return file;
}

bool audible(PulledAudioOutput& output) {
    for (float v : output.pull(256))
        if (v != 0)
            return true;
    return false;
}

TEST_F(aApplicationFrameTest, PauseHoldsEverySoundChannel) {
    AudioSystem& audio = AudioSystem::shared();
    auto output = std::make_unique<PulledAudioOutput>();
    PulledAudioOutput& pulled = *output;
    ASSERT_TRUE(audio.init(44100, 8, std::move(output)));
    const std::string bytes = flatWav();
    const AudioSystem::Sample sample = audio.loadSample(bytes.data(), bytes.size());
    audio.playSample(AudioSystem::FREE, sample, false);
    audio.playSample(AudioSystem::FREE, sample, false);
    EXPECT_TRUE(audible(pulled));
    app.setPaused(true);
    EXPECT_FALSE(audible(pulled));
    EXPECT_EQ(audio.channelsPlaying(), 2);
    app.setPaused(false);
    EXPECT_TRUE(audible(pulled));
    audio.close();
}

TEST_F(aApplicationFrameTest, RunWithoutGraphServerFails) {
    LogCapture log;
    app.setGraphServer(nullptr);
    EXPECT_EQ(app.run(), 1);
    app.setGraphServer(&graph);
    EXPECT_TRUE(log.contains("aApplication: Error, aGraphServer object not created!"));
    EXPECT_EQ(app.updates, 0);
}

TEST_F(aApplicationFrameTest, FatalGraphicsErrorIsShownAndClosesTheWindow) {
    testDevice().setState(D3DERR_DRIVERINTERNALERROR);
    app.onRender = [this] {
        graph.beginScene();
        return 0;
    };
    app.onUpdate = [this] { return app.updates > 100 ? -1 : 0; };
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.errors, (std::vector<u32>{ERR_DRIVER_INTERNAL}));
    EXPECT_EQ(app.updates, 1);
}

// Blocks until released; the exit code is the argument's.
struct Loading {
    std::atomic<bool> release{false};
    u32 exitCode = 0;
    static u32 routine(void* self) {
        Loading& loading = *static_cast<Loading*>(self);
        while (!loading.release)
            std::this_thread::yield();
        return loading.exitCode;
    }
};

TEST_F(aApplicationFrameTest, LoadingThreadCapsAt30FramesPerSecond) {
    Loading loading;
    LogCapture log;
    app.createLoadingThread(Loading::routine, &loading);
    app.createLoadingThread(Loading::routine, &loading);
    EXPECT_TRUE(log.contains("Error: thread for loading already created!"));
    EXPECT_FALSE(app.isLoadingFinished());

    u64 before = clock.sleptMs();
    app.onUpdate = [&]() {
        sleeps.push_back(clock.sleptMs() - before);
        before = clock.sleptMs();
        if (app.updates == 2) {
            loading.release = true;
            while (app.loadingRunning())
                std::this_thread::yield();
        }
        return app.updates >= 4 ? -1 : 0;
    };
    app.run();
    // 10 ms to the refresh rate, then the rest of a 30th of a second.
    EXPECT_EQ(sleeps, (std::vector<u64>{33, 33, 10, 10}));
    EXPECT_TRUE(app.isLoadingFinished());
    EXPECT_TRUE(app.errors.empty());
}

TEST_F(aApplicationFrameTest, LoadingThreadFailureShowsTheMediaErrorAndCloses) {
    Loading loading;
    loading.exitCode = 1;
    loading.release = true;
    app.createLoadingThread(Loading::routine, &loading);
    while (app.loadingRunning())
        std::this_thread::yield();
    app.onUpdate = [this] { return app.updates > 100 ? -1 : 0; };
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.errors, (std::vector<u32>{ERR_MEDIA}));
    EXPECT_EQ(app.updates, 1);
}

TEST_F(aApplicationFrameTest, WindowMessages) {
    Window* window = app.getWindow();
    app.wndProc(window, WM_ACTIVATEAPP, 0, 0);
    EXPECT_FALSE(app.isActive());
    EXPECT_TRUE(app.isPaused());
    EXPECT_EQ(app.renders, 1);
    app.wndProc(window, WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(app.renders, 1);
    app.wndProc(window, WM_ACTIVATEAPP, 1, 0);
    EXPECT_TRUE(app.isActive());
    EXPECT_FALSE(app.isPaused());

    app.wndProc(window, WM_ENTERSIZEMOVE, 0, 0);
    EXPECT_TRUE(app.isPaused());
    EXPECT_EQ(app.renders, 2);
    app.wndProc(window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_FALSE(app.isPaused());

    // Painting renders only from within the loop.
    app.wndProc(window, WM_PAINT, 0, 0);
    EXPECT_EQ(app.renders, 2);

    app.wndProc(window, WM_SIZE, SIZE_MAXIMIZED, 0);
    EXPECT_TRUE(graph.isFullscreen());
    EXPECT_EQ(app.modeChanges, 1);
    graph.setFullscreen(false);

    // Closing ends the loop with code 0 before any frame.
    app.wndProc(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.updates, 0);
}

TEST_F(aApplicationFrameTest, AltEnterTogglesOncePerPressInsteadOfAnUpdate) {
    ScriptedInput input;
    new aInputServer;
    input.keyDown(DIK_LMENU);
    input.keyDown(DIK_RETURN);
    bool fullscreenAfterPress = false;
    app.onUpdate = [&] {
        switch (app.updates) {
        case 1: // Enter still held: no second switch
            fullscreenAfterPress = graph.isFullscreen();
            input.keyUp(DIK_RETURN);
            return 0;
        case 2:
            input.keyDown(DIK_RETURN);
            return 0;
        default:
            return -1;
        }
    };
    EXPECT_EQ(app.run(), 0);
    app.deleteInputServer();
    EXPECT_EQ(app.getInputServer(), nullptr);
    EXPECT_TRUE(fullscreenAfterPress);
    EXPECT_FALSE(graph.isFullscreen());
    EXPECT_EQ(app.modeChanges, 2);
    EXPECT_EQ(app.updates, 3);
    EXPECT_EQ(app.renders, 4);
}

TEST_F(aApplicationFrameTest, ExclusiveMouseHidesTheSystemCursor) {
    ScriptedInput input;
    auto* server = new aInputServer;
    Window* window = app.getWindow();
    server->initMouse(false, false);
    EXPECT_EQ(app.wndProc(window, WM_SETCURSOR, 0, makeLParam(HTCLIENT, 0)), 1);
    server->initMouse(true, false);
    // The headless display puts no pointer over the window: the window system's cursor stays.
    EXPECT_EQ(app.wndProc(window, WM_SETCURSOR, 0, makeLParam(HTCLIENT, 0)), 0);
    app.deleteInputServer();
}

TEST_F(aApplicationFrameTest, PrintScreenSavesAScreenshotAfterTheFrame) {
    ScriptedInput input;
    TempDir dir;
    new aInputServer;
    app.setScreenshotFolder(dir.path() + "shots/");
    input.tapKey(DIK_SYSRQ);
    runPasses(2);
    app.deleteInputServer();
    EXPECT_TRUE(std::ifstream(dir.file("shots/ScreenShot000.bmp")).good());
    EXPECT_FALSE(std::ifstream(dir.file("shots/ScreenShot001.bmp")).good());
}

// Instance names are machine-wide: each test process takes names of its own, so that parallel runs
// (of this suite or of another copy of it) never find each other's instances.
std::string uniqueName(const std::string& base) {
    return base + "-" + std::to_string(getpid());
}

std::string dataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    return xdg && *xdg == '/' ? std::string(xdg) + "/" : std::string(std::getenv("HOME")) + "/.local/share/";
}

// The log's lines without their time stamps.
std::vector<std::string> logLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        const size_t tab = line.find('\t');
        lines.push_back(tab == std::string::npos ? line : line.substr(tab + 1));
    }
    return lines;
}

TEST_F(aApplicationFrameTest, InitWritesTheBannerAndRestartsALongLog) {
    const std::string name = uniqueName("FrameLog");
    const std::string dir = dataHome() + "Test Works/" + name + "/";
    const std::string path = dir + "tk2v.log";
    for (const size_t size : {size_t(50000), size_t(50001)}) {
        std::filesystem::create_directories(dir);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(size - 1, 'x') << '\n';
        ASSERT_EQ(app.init(name.c_str(), nullptr, "", "Test Works"), 0u);
        app.closeLog();
        std::vector<std::string> lines = logLines(path);
        const bool kept = size == 50000;
        ASSERT_GT(lines.size(), 20u);
        EXPECT_EQ(lines[0] == std::string(size - 1, 'x'), kept) << size;
        const size_t at = std::find(lines.begin(), lines.end(), "tk2v Engine v1.65 started") - lines.begin();
        ASSERT_LT(at, lines.size());
        EXPECT_EQ(at, kept ? 6u : 5u); // after five empty lines
        EXPECT_EQ(lines[at + 1], std::string(65, '-'));
        EXPECT_EQ(lines[at + 2], "Application: " + name);
        EXPECT_EQ(lines[at + 3].rfind("Launched on: ", 0), 0u);
        EXPECT_EQ(lines[at + 3].size(), std::string("Launched on: 10.12.2026, 07:00:00").size());
        EXPECT_EQ(lines[at + 4], "");
        EXPECT_EQ(lines[at + 5], "----------------- System configuration --------------------------");
        EXPECT_EQ(lines[at + 6].rfind("    Operating System: ", 0), 0u);
        EXPECT_NE(lines[at + 6].find(" (Build "), std::string::npos);
        EXPECT_EQ(lines[at + 7].rfind("       Computer Name: ", 0), 0u);
        EXPECT_EQ(lines[at + 8].rfind("           User Name: ", 0), 0u);
        EXPECT_EQ(lines[at + 10].rfind("         Memory Load: ", 0), 0u);
        EXPECT_EQ(lines[at + 15], "    Application Path: " + aFileServer::getExeDir());
        // A chroot lists no mounted file system.
        if (platform::readSystemInfo().drives.empty())
            EXPECT_EQ(lines[at + 16], "              Drives: none found");
        else
            EXPECT_EQ(lines[at + 16].rfind("             Drive /", 0), 0u);
        EXPECT_EQ(lines.back(), std::string(65, '-'));
    }
    EXPECT_EQ(app.getScreenshotFolder(), "userappdata:Test Works/" + name + "/ScreenShots/");
    EXPECT_EQ(app.getSavedGamesFolder(), "userprof:Saved Games/Test Works/" + name + "/");
    struct stat st;
    EXPECT_EQ(stat((dataHome() + "Saved Games/Test Works/" + name).c_str(), &st), 0);
}

TEST_F(aApplicationFrameTest, SecondInstanceAsksTheFirstToShowItself) {
    const std::string duplicate = uniqueName("FrameDuplicate"), first = uniqueName("FrameFirst");
    const std::string folders = aFileServer::resolve("userappdata:Test Works/");
    SingleInstance running;
    ASSERT_TRUE(running.acquire(aApplication::instanceName(duplicate, folders + duplicate + "/")));
    std::FILE* logBefore = a_logFile();
    EXPECT_EQ(app.init(duplicate.c_str(), nullptr, "", "Test Works"), 1u);
    EXPECT_TRUE(running.pollRaiseRequest());
    EXPECT_EQ(a_logFile(), logBefore);

    // The running copy answers within a frame.
    ASSERT_EQ(app.init(first.c_str(), nullptr, "", "Test Works"), 0u);
    app.closeLog();
    SingleInstance second;
    EXPECT_FALSE(second.acquire(aApplication::instanceName(first, folders + first + "/")));
    EXPECT_TRUE(second.acquire(aApplication::instanceName(first, "/another/data/home/")));
    runPasses(1);
    EXPECT_FALSE(app.answersRaiseRequest());
}

} // namespace
