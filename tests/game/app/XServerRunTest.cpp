// The game as a player starts it, on an X server without a window manager (Xvfb, 1280 x 1024): the
// real program in a process of its own, full screen and windowed. After the menu shows, the screen is
// read back and held against the game's own screenshot of its back buffer: the picture fills its
// letterbox rectangle in the window as it really stands, with nothing cut and no band, and the rest
// of the screen is black. Then a click at the Exit button's place on the screen ends the game.
#include "GameHome.h"
#include "VirtualXServer.h"
#include "game/ProfilesManager.h"
#include "support/TempDir.h"
#include "tk2v/platform/DecodedImage.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/ImageDecode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using platform::Point;
using platform::Rect;

constexpr i32 BackW = 1024, BackH = 768;
// Generous bounds for a loaded machine and the sanitizer builds; a pass takes far less.
constexpr double StartSeconds = 240, MenuSeconds = 120, ExitSeconds = 120;

bool waitFor(const std::function<bool()>& ready, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The program beside a game folder of its own: a copy of the built binary (the game takes its own
// folder for "home:"), the demo's game data linked in, and options without splash screens.
class GameFolder {
public:
    GameFolder() {
        const std::string data = RVH_DEMO_DATA;
        std::filesystem::copy_file(RVH_GAME_BINARY, m_dir.file("rvh"));
        std::filesystem::create_directory_symlink(data + "GameData", m_dir.file("GameData"));
        m_dir.write("Game.ini", gameIni(false));
    }
    std::string program() const { return m_dir.file("rvh"); }

private:
    TempDir m_dir;
};

// The game running in a child process on the display, with a data home of its own; killed if it is
// still running when this goes.
class GameProcess {
public:
    GameProcess(const std::string& program, const std::string& display, const std::string& dataHome) {
        std::vector<std::string> env = {"DISPLAY=" + display, "XDG_DATA_HOME=" + dataHome, "HOME=" + dataHome,
                                        "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy"};
        // On an X server SDL talks through D-Bus and the X libraries, which keep allocations the leak
        // check has no names for (their stacks end in the libraries); the game's own leaks are checked
        // by the tests that run it in their process. Memory errors still end this run.
        const char* asan = std::getenv("ASAN_OPTIONS");
        env.push_back(std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") +
                      "detect_leaks=0");
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            if (name != "DISPLAY" && name != "XDG_DATA_HOME" && name != "HOME" && name != "SDL_VIDEODRIVER" &&
                name != "SDL_AUDIODRIVER" && name != "WAYLAND_DISPLAY" && name != "ASAN_OPTIONS")
                env.push_back(entry);
        }
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string name = program;
        char* argv[] = {name.data(), nullptr};
        if (posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
            m_pid = -1;
    }
    ~GameProcess() {
        if (m_pid > 0 && !m_ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &m_status, 0);
        }
    }
    bool started() const { return m_pid > 0; }
    bool ended() {
        if (!m_ended && m_pid > 0 && ::waitpid(m_pid, &m_status, WNOHANG) == m_pid)
            m_ended = true;
        return m_ended;
    }
    int status() const { return m_status; }

private:
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
};

// A data home with the player "Tester" as the current profile, full screen or not.
void writeProfile(const std::string& dataHome, bool fullScreen) {
    const std::string folder = GameHome::userDataFolder(dataHome), saves = GameHome::savesFolder(dataHome);
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(saves);
    Profile tester = DEFAULT_PROFILE;
    tester.name = "Tester";
    tester.fullScreen = fullScreen;
    g_currentProfile = tester;
    ProfilesManager profiles;
    profiles.setFolders(folder, saves);
    profiles.getProfiles().push_back(tester);
    profiles.setSelected(0);
    profiles.Save();
    g_currentProfile = DEFAULT_PROFILE;
}

// The area of the main menu's Exit button in the back buffer, as the demo's menu script places it: its
// own rectangle inside the menu window's.
Rect exitButtonArea() {
    std::ifstream in(std::string(RVH_DEMO_DATA) + "GameData/Language/English/GUI/MainMenu.agui");
    const std::regex area(R"(^\s*AreaRect\s+(-?\d+)\s+(-?\d+)\s+(\d+)\s+(\d+))");
    Rect window{}, button{};
    bool inWindow = false, inButton = false;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (line.find("window MainMenu") != std::string::npos)
            inWindow = true;
        else if (line.find("stylebutton Exit") != std::string::npos)
            inButton = true;
        else if (std::regex_search(line, m, area) && (inWindow || inButton)) {
            Rect& r = inButton ? button : window;
            r = {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
            if (inButton)
                break;
            inWindow = false;
        }
    }
    return {window.x + button.x, window.y + button.y, button.w, button.h};
}

std::string screenshotPath(const std::string& dataHome, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "ScreenShot%03d.bmp", n);
    return GameHome::userDataFolder(dataHome) + "ScreenShots/" + name;
}

// The game's screenshot: its back buffer, 0xRRGGBB words; empty until the file is whole.
std::vector<u32> readScreenshot(const std::string& path) {
    const std::string bytes = GameHome::readFile(path);
    platform::DecodedImage image;
    if (bytes.empty() ||
        platform::failed(
            platform::decodeImage(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size()), image)) ||
        image.width != u32(BackW) || image.height != u32(BackH))
        return {};
    std::vector<u32> pixels(image.argb.begin(), image.argb.end());
    for (u32& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

// The mean colour channels of an area of a picture of the given width.
void meanColour(const std::vector<u32>& pixels, i32 width, const Rect& area, double (&mean)[3]) {
    double sum[3] = {0, 0, 0};
    for (i32 y = area.y; y < area.y + area.h; ++y)
        for (i32 x = area.x; x < area.x + area.w; ++x) {
            const u32 p = pixels[size_t(y) * size_t(width) + size_t(x)];
            for (int c = 0; c < 3; ++c)
                sum[c] += (p >> (16 - 8 * c)) & 0xFF;
        }
    const double n = std::max(1.0, double(area.w) * area.h);
    for (int c = 0; c < 3; ++c)
        mean[c] = sum[c] / n;
}

// The share of the back buffer's 32 x 32 blocks whose mean colour on the screen, where the picture
// rectangle shows that block, is off by more than a little (the menu's waves and fog move between the
// screenshot and the read of the screen).
double mismatchedShare(const std::vector<u32>& shot, const std::vector<u32>& screen, i32 screenW,
                       const Rect& picture) {
    constexpr i32 Block = 32;
    constexpr double Tolerance = 16;
    int blocks = 0, mismatched = 0;
    for (i32 by = 0; by < BackH; by += Block)
        for (i32 bx = 0; bx < BackW; bx += Block) {
            const Rect back{bx, by, Block, Block};
            const Rect shown{picture.x + bx * picture.w / BackW, picture.y + by * picture.h / BackH,
                             std::max(1, Block * picture.w / BackW), std::max(1, Block * picture.h / BackH)};
            double expected[3], seen[3];
            meanColour(shot, BackW, back, expected);
            meanColour(screen, screenW, shown, seen);
            bool off = false;
            for (int c = 0; c < 3; ++c)
                off = off || std::abs(expected[c] - seen[c]) > Tolerance;
            ++blocks;
            mismatched += off;
        }
    return double(mismatched) / blocks;
}

// Pixels of the screen outside the picture rectangle that are not black.
int litOutside(const std::vector<u32>& screen, i32 width, i32 height, const Rect& picture) {
    int lit = 0;
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x) {
            const bool inside =
                x >= picture.x && x < picture.x + picture.w && y >= picture.y && y < picture.y + picture.h;
            if (!inside && screen[size_t(y) * size_t(width) + size_t(x)] != 0)
                ++lit;
        }
    return lit;
}

double averageFps(const std::string& dataHome) {
    std::istringstream log(GameHome::readFile(GameHome::userDataFolder(dataHome) + "tk2v.log"));
    double fps = -1;
    for (std::string line; std::getline(log, line);)
        if (const size_t at = line.find("aGraphServer. Average fps "); at != std::string::npos)
            fps = std::atof(line.c_str() + at + 26);
    return fps;
}

bool logHasLine(const std::string& dataHome, const std::string& text) {
    return GameHome::readFile(GameHome::userDataFolder(dataHome) + "tk2v.log").find(text) !=
           std::string::npos;
}

void playOnXServer(bool fullScreen) {
    VirtualXServer x(1280, 1024);
    ASSERT_TRUE(x.running()) << "Xvfb did not start";
    TempDir dataDir;
    const std::string dataHome = dataDir.path() + "data/";
    writeProfile(dataHome, fullScreen);
    GameFolder folder;
    GameProcess game(folder.program(), x.name(), dataHome);
    ASSERT_TRUE(game.started());

    // The menu is built once the GUI scripts are read; it shows in the frames after that.
    ASSERT_TRUE(
        waitFor([&] { return game.ended() || logHasLine(dataHome, "'gui:index.agui' parsing finished"); },
                StartSeconds));
    ASSERT_FALSE(game.ended()) << "the game ended before its menu showed";
    Rect window;
    ASSERT_TRUE(x.findWindow(window));
    const Rect picture = platform::presentRect(window.w, window.h, BackW, BackH);
    const Rect onScreen{window.x + picture.x, window.y + picture.y, picture.w, picture.h};
    // Keys go to the window under the pointer on a server without a window manager.
    x.movePointer(window.x + window.w / 2, window.y + window.h / 2);

    // Each round asks the game for a screenshot and reads the screen as soon as it is written, until
    // both show the same menu (the first rounds may still catch the menu fading in).
    double share = 1;
    std::vector<u32> shot, screen;
    for (int n = 0; n < 20 && share > 0.1; ++n) {
        x.tapPrintScreen();
        const std::string path = screenshotPath(dataHome, n);
        ASSERT_TRUE(
            waitFor([&] { return game.ended() || !(shot = readScreenshot(path)).empty(); }, MenuSeconds))
            << "no screenshot " << path;
        ASSERT_FALSE(game.ended());
        screen = x.readScreen();
        ASSERT_EQ(screen.size(), size_t(x.width()) * size_t(x.height()));
        share = mismatchedShare(shot, screen, x.width(), onScreen);
    }
    EXPECT_LE(share, 0.1) << "the screen does not show the back buffer in " << onScreen.x << "," << onScreen.y
                          << " " << onScreen.w << "x" << onScreen.h;
    EXPECT_EQ(litOutside(screen, x.width(), x.height(), onScreen), 0);

    // The Exit button's centre in the back buffer, shown on the screen through the picture rectangle.
    const Rect exit = exitButtonArea();
    ASSERT_GT(exit.w, 0);
    const Point at =
        platform::backBufferToWindow({exit.x + exit.w / 2, exit.y + exit.h / 2}, picture, BackW, BackH);
    x.movePointer(window.x + at.x, window.y + at.y);
    // The menu takes clicks once it has faded in, which on a busy machine may come after the picture
    // shows: the click is made again until the game ends. A click anywhere else never ends it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(ExitSeconds);
    while (!game.ended() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        x.click();
        waitFor([&] { return game.ended(); }, 5);
    }
    ASSERT_TRUE(game.ended()) << "no click on Exit ended the game";
    EXPECT_TRUE(WIFEXITED(game.status()) && WEXITSTATUS(game.status()) == 0) << game.status();
    // Vertical sync is on: whatever the driver does with the swap, frames are held to the refresh rate
    // (Xvfb reports none, so 100 a second).
    const double fps = averageFps(dataHome);
    EXPECT_GT(fps, 0);
    EXPECT_LE(fps, 105);
}

TEST(OnAnXServerWithoutAWindowManager, FullScreenTheMenuFillsItsPictureAndAClickOnExitEndsTheGame) {
    if (!VirtualXServer::installed())
        GTEST_SKIP() << "Xvfb is not installed (tools/setup.sh installs it)";
    playOnXServer(true);
}

TEST(OnAnXServerWithoutAWindowManager, WindowedTheMenuFillsItsPictureAndAClickOnExitEndsTheGame) {
    if (!VirtualXServer::installed())
        GTEST_SKIP() << "Xvfb is not installed (tools/setup.sh installs it)";
    playOnXServer(false);
}

} // namespace
