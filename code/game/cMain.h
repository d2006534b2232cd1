#pragma once
#include "game/CGameIni.h"
#include "game/ProfilesManager.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/util/aTimer.h"

#include <memory>

class aCmdLine;
class CGameFlow;
class CResManager;
namespace GUI {
class Server;
}

// The game's application: reads the options, sets the game's assigns, loads the profiles, makes
// the engine's servers and the game flow, and hands the flow every frame.
class cMain : public aApplication {
public:
    // The update that sees the flow quit returns this, which closes the window.
    static constexpr u32 ABORT_CODE = 0x80004004;
    // The longest frame the flow is told of.
    static constexpr f32 MAX_FRAME_TIME = 0.04f;

    cMain();
    ~cMain() override;

    // 0 success, 1 another copy runs, a negative code (as i32) when the game cannot start.
    u32 init(const char* name, void* instance, const char* cmdLine, const char* company) override;
    u32 shutdown() override;
    std::intptr_t wndProc(platform::Window* window, u32 message, std::uintptr_t wparam,
                          std::intptr_t lparam) override;
    i32 update() override;
    i32 render() override;
    void onDeactivate() override { setPaused(true); }
    void onDisplayModeChanged() override;

    // The game's assigns for the language, below the game data folder.
    static void SetGameAssigns(aFileServer& files, const std::string& language,
                               const std::string& gameData = "home:GameData/");

    CGameFlow* getGameFlow() const { return m_gameFlow.get(); }
    ProfilesManager& getProfilesManager() { return m_profiles; }
    // The frame time the last update handed to the flow.
    f32 getLastFlowTime() const { return m_lastFlowTime; }

private:
    bool createServers();
    // The game's objects in the reverse order of their making; each only once.
    void destroyObjects();

    std::unique_ptr<aCmdLine> m_cmdLineArgs;
    CGameIni m_gameIni;
    std::unique_ptr<aGraphServer> m_graph;
    std::unique_ptr<GUI::Server> m_gui;
    aTimer m_timer{0};
    std::unique_ptr<CResManager> m_res;
    std::unique_ptr<CGameFlow> m_gameFlow;
    ProfilesManager m_profiles;
    f32 m_lastFlowTime = 0;
};

// The program's entry: one cMain over the command line; the result is the main loop's, or 0 when
// the game could not start.
int rvhMain(int argc, char** argv);
