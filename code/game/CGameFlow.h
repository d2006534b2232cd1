#pragma once
#include "game/CMainMenuScreen.h"
#include "game/CResLoader.h"
#include "game/SpyGame/CSpyMain.h"
#include "tk2v/util/types.h"

#include <memory>

class CResManager;
class ProfilesManager;
class SplashManager;
class UCredits;
namespace GUI {
class Server;
}

// The game's top-level states: splash screens, the loading of the global resources, the GUI build,
// then the main menu with its dialogs, help, credits and the game, until the player quits.
class CGameFlow {
public:
    enum State : u32 {
        CONSTRUCTED = 0,
        SPLASH = 1,
        SPLASH_OFF = 2,
        QUEUE_LISTS = 3,
        LOADING = 4,
        BUILD_GUI = 5,
        GUI_BUILT = 6,
        MAIN_MENU = 7,
        PROFILES = 8,
        OPTIONS = 9,
        HELP = 10,
        CREDITS = 11,
        GAME = 12,
        QUIT = 13,
    };

    CGameFlow();
    ~CGameFlow();
    CGameFlow(const CGameFlow&) = delete;
    CGameFlow& operator=(const CGameFlow&) = delete;

    // Only once: the loading screen and the game stand, and the splash screens start when enabled.
    void Init(ProfilesManager* profiles);
    u32 Update(f32 dt);
    // Between the graph server's begin and end of scene.
    void Render();

    void ReturnToMenu();
    void StartCredits();
    void Quit();

    u32 GetState() const { return m_state; }
    CSpyMain& GetGame() { return m_game; }
    CMainMenuScreen& GetMenuScreen() { return m_menuScreen; }
    CResLoader& GetLoader() { return m_loader; }

private:
    void updateSplash(f32 dt);
    void updateLoading(f32 dt);
    void startMenuMusic();
    void queueLists();
    void buildGui();
    void afterGuiBuilt();
    void updateMenu(f32 dt);
    void updateProfiles(f32 dt);
    void updateOptions(f32 dt);
    void updateCredits(f32 dt);
    void updateGame(f32 dt);
    void renderCredits();
    bool leftButtonReleased() const;

    u32 m_state = CONSTRUCTED;
    std::shared_ptr<SplashManager> m_splash;
    std::shared_ptr<UCredits> m_credits;
    CResManager* m_res = nullptr;
    GUI::Server* m_gui = nullptr;
    CMainMenuScreen m_menuScreen;
    CResLoader m_loader;
    CSpyMain m_game;
    bool m_firstReturn = true;
    bool m_firstMusic = false;
    ProfilesManager* m_profiles = nullptr;
};
