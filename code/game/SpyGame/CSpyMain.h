#pragma once
#include "game/GameConstants.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CInvestigation.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aStringList.h"
#include "tk2v/util/types.h"

#include <cstdint>
#include <functional>
#include <string>

class CDialogBase;
class CResLoader;
class CResManager;
class ProfilesManager;
namespace platform {
class Window;
}

// The top game object: the list of investigations, the one chosen to run, its loading behind the
// loading screen, its frames with the in-game menu, options, help and the save-and-exit question, the
// saved game, and the move to the next investigation once one is finished.
class CSpyMain : public SaveLoadEntity {
public:
    enum State : u32 {
        CONSTRUCTED = 0,
        INITIALISED = 1,
        LOADING_INVESTIGATION = 2,
        COMMON_DATA_QUEUED = 3,
        RESOURCES_READY = 5,
        BACK_TO_MENU = 6,
        STORY_ENDED = 7,
        CHOSEN = 8,
        LOADING_STEPS = 9,
        LOADED = 10,
        PLAYING = 12,
        IN_GAME_MENU = 13,
        OPTIONS = 14,
        HELP = 15,
        CONFIRM_SAVE_EXIT = 16,
    };
    enum StartMode : u32 { NEW_GAME = 0, CONTINUED = 1, FOLLOWING = 2 };
    static constexpr u32 SaveHeader = BUILD_NUMBER;

    CSpyMain();
    ~CSpyMain() override;
    CSpyMain(const CSpyMain&) = delete;
    CSpyMain& operator=(const CSpyMain&) = delete;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    void Init(CDialogBase* optionsDialog);
    // Whose saved game is continued and written: the profiles' current player. Without one, the
    // application's saved-games folder.
    void SetProfilesManager(const ProfilesManager* profiles) { m_profiles = profiles; }
    void LoadCommonData();
    // Only once the loading pass is done.
    void OnResourcesLoaded();
    void ResetMapAndCardsRooms();
    void ContinuePlay();
    u32 FrameMove(f32 dt);
    void Render();
    // Window messages change nothing that play, drawing or saving reads.
    std::intptr_t WndProc(platform::Window* window, u32 message, std::uintptr_t wparam, std::intptr_t lparam);
    void CloseInvestigation();
    bool SaveGame();
    bool StartNextInvestigation();

    i32 GetInvestigationIndex();
    bool SeekInvestigation(u32 index);
    bool HasInvestigation(const std::string& name);

    u32 GetState() const { return m_state; }
    u32 GetStartMode() const { return m_startMode; }
    const std::string& GetCurrentInvestigation() const { return m_currentName; }
    std::string GetSaveFileName() const;
    CInvestigation& GetInvestigation() { return m_investigation; }
    CRoomsManager& GetRoomsManager() { return m_rooms; }
    CPersonagesManager& GetPersonagesManager() { return m_personages; }
    CDialogSpyGamePanel& GetPanel() { return m_panel; }
    const aStringList& GetInvestigationList() const { return m_investigations; }

    // Runs once a continued game's records are read and the save is closed, before the loaded state
    // decides how play resumes. Tests save the game again there.
    void SetAfterContinueLoad(std::function<void()> hook) { m_afterContinueLoad = std::move(hook); }

private:
    void LoadInvestigationResources();
    void UpdateLoadingSteps(f32 dt);
    void StartChosen();
    void UpdateMenu(f32 dt);
    void UpdateOptions(f32 dt);
    void UpdateConfirmSaveExit(f32 dt);
    void CloseOpenSave();
    // The line of that name, leaving the list cursor on it; -1 when absent.
    i32 IndexOf(const std::string& name);
    void HideLoadingScreen();
    void HidePanel();
    // The first investigation of the list as a new game.
    void ChooseFirst();
    bool LeftButtonReleased() const;

    SaveLoadSystem m_saveDriver{0};
    u32 m_state = CONSTRUCTED;
    u32 m_startMode = NEW_GAME;
    CResManager* m_pRes = nullptr;
    CResLoader* m_pLoader = nullptr;
    CDialogBase* m_pOptionsDialog = nullptr;
    aStringList m_investigations;
    CInvestigation m_investigation;
    CRoomsManager m_rooms;
    CPersonagesManager m_personages;
    CDialogSpyGamePanel m_panel;
    std::string m_currentName;
    const ProfilesManager* m_profiles = nullptr;
    std::function<void()> m_afterContinueLoad;
};
