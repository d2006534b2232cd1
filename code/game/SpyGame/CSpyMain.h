#pragma once
#include "tk2v/util/types.h"

#include <cstdint>

class CDialogBase;
class CResLoader;
class CResManager;
namespace GUI {
class Widget;
}
namespace platform {
class Window;
}

// The top game object as the game flow drives it. No investigation is bundled yet: Play shows a
// message saying so and goes back to the menu when the player clicks or presses Escape.
class CSpyMain {
public:
    enum State : u32 {
        CONSTRUCTED = 0,
        INITIALISED = 1,
        COMMON_DATA_QUEUED = 3,
        RESOURCES_READY = 5,
        BACK_TO_MENU = 6,
        STORY_ENDED = 7,
        PLAYING = 9,
    };

    CSpyMain() = default;
    ~CSpyMain() = default;
    CSpyMain(const CSpyMain&) = delete;
    CSpyMain& operator=(const CSpyMain&) = delete;

    void Init(CDialogBase* optionsDialog);
    void LoadCommonData();
    // Only once the loading pass is done.
    void OnResourcesLoaded();
    void ResetMapAndCardsRooms();
    void ContinuePlay();
    u32 FrameMove(f32 dt);
    void Render();
    void CloseInvestigation();
    std::intptr_t WndProc(platform::Window* window, u32 message, std::uintptr_t wparam, std::intptr_t lparam);

    u32 GetState() const { return m_state; }

private:
    void hideMessage();

    u32 m_state = CONSTRUCTED;
    CResManager* m_res = nullptr;
    CResLoader* m_loader = nullptr;
    CDialogBase* m_optionsDialog = nullptr;
    // The message window, found when play starts.
    GUI::Widget* m_message = nullptr;
};
