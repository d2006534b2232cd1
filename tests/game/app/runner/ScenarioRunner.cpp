// The game in a process of its own, played by a scenario named on the command line, for the tests
// that kill it on its way. The test lays out the game's folder and names it in RVH_GAME_HOME; the
// game keeps its user data below XDG_DATA_HOME, which the test sets as well, so the real home is
// never touched.
//
//   scenario_runner SCENARIO [--progress FD] [--kill-write N POINT]
//
// --progress FD         one line on the open descriptor FD for each step of the scenario as it is
//                       done ("step <name>") and each point of every file write ("write <n> <point>",
//                       counting writes from 1). When the game has ended: "exit <code>", and then
//                       the runner waits for its standard input to close, so that a kill the test
//                       times from these lines always lands.
// --kill-write N POINT  SIGKILL at that point (TempWritten, BeforeRename, AfterRename) of the Nth
//                       file write.
//
// The game's clock moves only by the main loop's frame-cap sleeps (a windowed game with VSync on, as
// the test's Game.ini and profile make it, sleeps every frame), so the game runs as fast as it can
// draw; the scenario's deadlines are in real time.
#include "game/SpyGame/CSpyMain.h"
#include "game/app/GameHome.h"
#include "game/app/Scenario.h"
#include "game/cMain.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/file.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>

namespace {

// Mesa's software driver stays loaded until the leak check, which can then tell its allocations apart.
[[maybe_unused]] void* const g_keepGlDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);

const char* const kPointNames[] = {"TempWritten", "BeforeRename", "AfterRename"};

struct Options {
    std::string scenario;
    int progressFd = -1;
    u32 killWrite = 0;
    FileWritePoint killPoint = FileWritePoint::TempWritten;
};
Options g_options;
u32 g_writes = 0;

void report(const std::string& line) {
    if (g_options.progressFd < 0)
        return;
    const std::string text = line + "\n";
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(g_options.progressFd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

void onWritePoint(FileWritePoint point, const std::string&) {
    if (point == FileWritePoint::TempWritten)
        ++g_writes;
    report("write " + std::to_string(g_writes) + " " + kPointNames[int(point)]);
    if (g_writes == g_options.killWrite && point == g_options.killPoint)
        std::raise(SIGKILL);
}

bool parsePoint(const std::string& name, FileWritePoint& point) {
    for (int i = 0; i < 3; ++i)
        if (name == kPointNames[i])
            return point = FileWritePoint(i), true;
    return false;
}

bool parse(int argc, char** argv, Options& options) {
    if (argc < 2)
        return false;
    options.scenario = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--progress" && i + 1 < argc)
            options.progressFd = std::atoi(argv[++i]);
        else if (arg == "--kill-write" && i + 2 < argc && parsePoint(argv[i + 2], options.killPoint))
            options.killWrite = u32(std::atoi(argv[i + 1])), i += 2;
        else
            return false;
    }
    return true;
}

// From the menu to the investigation's map, then out through the in-game menu, saving, and Exit.
void saveAndExit(Scenario& player) {
    player.waitForState(CGameFlow::MAIN_MENU, 30);
    player.playThenSaveAndExit();
}

// Play continues the saved game, which is saved again as soon as it is read; then the window closes,
// which saves nothing more.
void continueAndSaveAgain(Scenario& player) {
    player.waitForState(CGameFlow::MAIN_MENU, 30);
    player.add("save again once loaded", 1, [] {
        Scenario::game().SetAfterContinueLoad([] { Scenario::game().SaveGame(); });
        return true;
    });
    player.clickOn("MainMenu", "Play");
    player.add("continued", 120, [] { return Scenario::game().GetState() == CSpyMain::PLAYING; });
    player.add("close the window", 1, [] {
        aApplication::getInstance()->getWindow()->dispatch({platform::WM_CLOSE, 0, 0});
        return true;
    });
}

const std::map<std::string, std::function<void(Scenario&)>> kScenarios = {
    {"save-and-exit", saveAndExit},
    {"continue-and-save-again", continueAndSaveAgain},
};

// Until the test closes the other end (or is gone).
void waitForStandardInputToClose() {
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* home = std::getenv("RVH_GAME_HOME");
    if (!parse(argc, argv, g_options) || !kScenarios.count(g_options.scenario) || !home) {
        std::fprintf(stderr,
                     "usage: RVH_GAME_HOME=folder %s SCENARIO [--progress FD] [--kill-write N POINT]\n",
                     argv[0]);
        return 2;
    }
    aFileServer::setExeDirOverride(home);
    file_setWriteProbe(onWritePoint);
    AppClock clock;
    Scenario player;
    player.onStepDone([](const std::string& step) { report("step " + step); });
    kScenarios.at(g_options.scenario)(player);

    char name[] = "rvh";
    char* gameArgv[] = {name, nullptr};
    const int code = rvhMain(1, gameArgv);
    if (!player.failure().empty())
        std::fprintf(stderr, "scenario %s: %s\n", g_options.scenario.c_str(), player.failure().c_str());
    report("exit " + std::to_string(code));
    if (g_options.progressFd >= 0)
        waitForStandardInputToClose();
    return code != 0 ? code : player.failure().empty() ? 0 : 1;
}
