#pragma once
#include "game/Profile.h"
#include "support/TempDir.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/platform/Clock.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// A manual clock for a whole application: only the test's thread moves it, by hand or by sleeping.
// The music manager's fade thread sleeps too; it waits in real time and leaves the clock alone.
class AppClock : public platform::ClockSource {
public:
    // Starts at the real time, so the log's stamps stay positive.
    AppClock() : m_ns(platform::counter()) { platform::setClockSource(this); }
    ~AppClock() override { platform::setClockSource(nullptr); }
    AppClock(const AppClock&) = delete;
    AppClock& operator=(const AppClock&) = delete;

    void advanceMs(std::uint64_t ms) { m_ns += ms * 1000000ull; }
    std::uint64_t counter() override { return m_ns; }
    std::uint32_t tickMs() override { return std::uint32_t(m_ns / 1000000ull); }
    void sleepMs(std::uint32_t ms) override {
        if (std::this_thread::get_id() == m_owner)
            advanceMs(ms);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

private:
    const std::thread::id m_owner = std::this_thread::get_id();
    std::atomic<std::uint64_t> m_ns;
};

// A folder the game takes for its own ("home:") while this lives: its own Game.ini beside the demo
// data's GameData/ and SplashScr/, linked in. The user data lands in the test process's own data
// home, emptied first.
class GameHome {
public:
    // Without options text there is no Game.ini; a copy of the game data may be changed by the test.
    explicit GameHome(const std::string& gameIni, bool copyGameData = false) {
        const std::string data = RVH_DEMO_DATA;
        if (copyGameData)
            std::filesystem::copy(data + "GameData", m_dir.path() + "GameData",
                                  std::filesystem::copy_options::recursive);
        else
            std::filesystem::create_directory_symlink(data + "GameData", m_dir.path() + "GameData");
        std::filesystem::create_directory_symlink(data + "SplashScr", m_dir.path() + "SplashScr");
        if (!gameIni.empty())
            m_dir.write("Game.ini", gameIni);
        // Tests run in one process share the data home: each starts without profiles, log or saved
        // games.
        std::filesystem::remove_all(userDataFolder());
        std::filesystem::remove_all(savesFolder());
        aFileServer::setExeDirOverride(m_dir.path());
        g_currentProfile = DEFAULT_PROFILE;
    }
    ~GameHome() {
        aFileServer::setExeDirOverride("");
        g_currentProfile = DEFAULT_PROFILE;
    }
    GameHome(const GameHome&) = delete;
    GameHome& operator=(const GameHome&) = delete;

    // The folder "home:" names, with its trailing "/".
    const std::string& path() const { return m_dir.path(); }

    // The test process's data home, with its trailing "/".
    static std::string dataHome() { return std::string(std::getenv("XDG_DATA_HOME")) + "/"; }
    // The folders of the log and the profiles, and of the saved games, below a data home; real paths.
    static std::string userDataFolder(const std::string& home = dataHome()) {
        return home + "Quarrybell Works/RVH/";
    }
    static std::string savesFolder(const std::string& home = dataHome()) {
        return home + "Saved Games/Quarrybell Works/RVH/";
    }
    static std::string profilesFile(const std::string& home = dataHome()) {
        return userDataFolder(home) + "RVH_profiles.dat";
    }

    static void writeFile(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    // The log's messages (without time stamps) written after the last start banner.
    static std::vector<std::string> lastRunLog() {
        std::istringstream in(readFile(userDataFolder() + "tk2v.log"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            const std::string message = line.size() > 13 && line[12] == '\t' ? line.substr(13) : line;
            if (message == "tk2v Engine v1.65 started")
                lines.clear();
            lines.push_back(message);
        }
        return lines;
    }

private:
    TempDir m_dir;
};

// The demo's options with the splash screens on or off.
inline std::string gameIni(bool splash, const std::string& language = "English") {
    return "[Graphics]\nHiColor = 1\nVSync = 1\nShowFPS = 0\nFullScr = 0\n[Other]\nLanguage = " + language +
           "\nSplashScrEnabled = " + (splash ? "1" : "0") +
           "\nFastStart = 0\nEnableCheatKeys = 0\n[Sound]\nAmbient = 1\nMusic = 1\n";
}

// A profiles file: the current profile and one entry, both "Tester", windowed, music 0.3.
inline std::string testerProfilesFile() {
    const char* hex =
        "6a 6a 69 68 6e 6e 6d 6c 5f 12 13 0f 01 0f 09 01 08 44 79 48 7f 7e 7d 28 16 01 05 15 05 "
        "76 75 74 0b 75 d3 d1 d6 70 4d 4c 43 42 40 41 47 47 45 44 5b 0e 3c 2b 2b 3b 2f 5c 53 52 "
        "11 6f cd cf cc 6a 2b 2a 29 28 2e 2f 2d fd 3e 22 21";
    std::string bytes;
    std::istringstream in(hex);
    for (std::string byte; in >> byte;)
        bytes += char(std::stoi(byte, nullptr, 16));
    return bytes;
}
