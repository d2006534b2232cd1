#include "GameHome.h"
#include "game/CGameFlow.h"
#include "game/GameConstants.h"
#include "game/ProfilesManager.h"
#include "game/cMain.h"
#include "support/StderrCapture.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>

namespace {

// Mesa's software driver stays loaded until the leak check, which can then tell its allocations apart.
[[maybe_unused]] void* const g_keepGlDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);

bool logHas(const std::vector<std::string>& log, const std::string& message) {
    return std::find(log.begin(), log.end(), message) != log.end();
}

int runGame() {
    char name[] = "rvh";
    char* argv[] = {name, nullptr};
    return rvhMain(1, argv);
}

// No profiles file: the default profile's full screen is the first display mode, also headless.
TEST(GameApp, StartsFullScreenHandsTheFlowAtMostFourHundredthsOfASecondAndClosesOnQuit) {
    GameHome home(gameIni(true));
    AppClock clock;
    cMain app;
    ASSERT_EQ(i32(app.init(SHORT_NAME.c_str(), nullptr, "", COMPANY_NAME.c_str())), 0);
    ASSERT_NE(app.getGraphServer(), nullptr);
    EXPECT_TRUE(app.getGraphServer()->isFullscreen());
    ASSERT_NE(app.getGameFlow(), nullptr);
    EXPECT_EQ(app.getGameFlow()->GetState(), CGameFlow::SPLASH);
    app.update(); // from the start up to now

    struct Frame {
        u64 ms;
        f32 flowTime;
    };
    const Frame frames[] = {{200, 0.04f}, {40, 0.04f}, {10, 0.01f}};
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.ms);
        clock.advanceMs(f.ms);
        EXPECT_EQ(app.update(), 0);
        EXPECT_FLOAT_EQ(app.getLastFlowTime(), f.flowTime);
    }
    EXPECT_EQ(app.getGameFlow()->GetState(), CGameFlow::SPLASH);

    // The update that finds the flow quit closes the window.
    app.getGameFlow()->Quit();
    EXPECT_EQ(app.update(), i32(cMain::ABORT_CODE));

    // The mode the player switches to is the next start's.
    app.getGraphServer()->setFullscreen(false);
    app.onDisplayModeChanged();
    EXPECT_FALSE(g_currentProfile.fullScreen);
    // The load found no file; the shutdown writes the first one.
    app.shutdown();
    ASSERT_TRUE(std::filesystem::exists(GameHome::profilesFile()));
    g_currentProfile = DEFAULT_PROFILE;
    ProfilesManager written;
    written.setFolders(GameHome::userDataFolder(), GameHome::userDataFolder());
    written.Load();
    EXPECT_FALSE(g_currentProfile.fullScreen);
}

// Without Game.ini nothing is read, so the language is empty and has no main text either.
TEST(GameApp, ALanguageWithoutItsMainTextEndsAfterTheLogLineWithoutTheLoop) {
    struct Case {
        std::string gameIni;
        std::vector<std::string> lines;
        bool removeMainText;
    };
    const Case cases[] = {
        {gameIni(false, "Nowhere"), {"Error: language \"Nowhere\" not found."}, false},
        {"",
         {"file_readFullAndMalloc. Error open file: home:Game.ini", "Error: language \"\" not found."},
         false},
        {gameIni(false), {"Error: language \"English\" not found."}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.back());
        GameHome home(c.gameIni, c.removeMainText);
        if (c.removeMainText)
            std::filesystem::remove(home.path() + "GameData/Language/English/Text/Main.txt");
        GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
        EXPECT_EQ(runGame(), 1);
        const std::vector<std::string> log = GameHome::lastRunLog();
        for (const std::string& line : c.lines)
            EXPECT_TRUE(logHas(log, line)) << line;
        EXPECT_TRUE(logHas(log, "tk2v Engine stopped"));
        // The profiles were loaded, so they are saved, unchanged.
        EXPECT_EQ(GameHome::readFile(GameHome::profilesFile()), testerProfilesFile());
    }
}

// SDL falls back to a driver that shows nothing when there is no display: unless asked for, that is
// no window, and the start ends with the message and a failure status.
TEST(GameApp, WithoutADisplayTheStartEndsWithItsMessageOnStderrAndAFailureStatus) {
    GameHome home(gameIni(false));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    StderrCapture stderrText;
    const int status = runGame();
    const std::string printed = stderrText.stop();
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_EQ(status, 1);
    // SDL may say something of its own first (its look for a Wayland display).
    const std::string expected = "Error!: " + aApplication::errorMessage(ERR_D3D_INIT, "") +
                                 "\nNo display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n";
    EXPECT_TRUE(printed.size() >= expected.size() && printed.ends_with(expected)) << printed;
    const std::vector<std::string> log = GameHome::lastRunLog();
    EXPECT_TRUE(logHas(log, "aGraphServer. Error create D3D object"));
    EXPECT_TRUE(logHas(log, "tk2v Engine stopped"));
}

TEST(GameApp, ASecondCopyLeavesTheProfilesFileAlone) {
    GameHome home(gameIni(false));
    const std::string profiles = testerProfilesFile();
    GameHome::writeFile(GameHome::profilesFile(), profiles);
    platform::SingleInstance running;
    ASSERT_TRUE(running.acquire(aApplication::instanceName(SHORT_NAME, GameHome::userDataFolder())));

    // Its loop finds no window and ends at once with 1.
    EXPECT_EQ(runGame(), 1);
    EXPECT_TRUE(running.pollRaiseRequest());
    EXPECT_EQ(GameHome::readFile(GameHome::profilesFile()), profiles);
}

} // namespace
