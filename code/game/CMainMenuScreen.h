#pragma once
#include "game/CDialogMainMenu.h"
#include "game/CDialogOptions.h"

// The main menu and the options dialog, held together by the game flow, which drives the GUI
// server through this object while either is up.
class CMainMenuScreen {
public:
    CMainMenuScreen() = default;
    ~CMainMenuScreen() = default;

    // The menu, then the options.
    void Create();
    void Hide();
    // The GUI server's input and update, then the menu's animations and highlight bar.
    void Update(f32 dt);
    // The whole widget tree.
    void Render();

    CDialogMainMenu& GetMainMenu() { return m_mainMenu; }
    CDialogOptions& GetOptions() { return m_options; }

private:
    CDialogMainMenu m_mainMenu;
    CDialogOptions m_options;
};
