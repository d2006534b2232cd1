#include "game/CMainMenuScreen.h"

#include "tk2v/gui/Server.h"

void CMainMenuScreen::Create() {
    m_mainMenu.Create();
    m_options.Create();
}

void CMainMenuScreen::Hide() {
    m_mainMenu.Hide();
    m_options.Hide();
}

void CMainMenuScreen::Update(f32 dt) {
    if (GUI::Server* server = GUI::Server::getSingleton())
        server->Update(dt);
    m_mainMenu.Update(dt, false);
}

void CMainMenuScreen::Render() {
    if (GUI::Server* server = GUI::Server::getSingleton())
        server->Render();
}
