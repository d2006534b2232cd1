#include "game/SpyGame/CSpyMain.h"

#include "game/CResLoader.h"
#include "game/CResManager.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"

namespace {
constexpr u8 DIK_ESCAPE = 0x01;
constexpr u32 LEFT_BUTTON = 0;
const char* const MessageWindow = "Message";
const char* const NoInvestigationText = "PLAY_NO_INVESTIGATION";
} // namespace

void CSpyMain::Init(CDialogBase* optionsDialog) {
    if (m_state != CONSTRUCTED)
        return;
    m_res = CResManager::getSingleton();
    m_loader = CResLoader::getSingleton();
    m_optionsDialog = optionsDialog;
    m_state = INITIALISED;
}

void CSpyMain::LoadCommonData() {
    if (m_state == INITIALISED)
        m_state = COMMON_DATA_QUEUED;
}

void CSpyMain::OnResourcesLoaded() {
    if (m_state == COMMON_DATA_QUEUED && m_res->isDone())
        m_state = RESOURCES_READY;
}

void CSpyMain::ResetMapAndCardsRooms() {
    if (m_state != CONSTRUCTED && m_state != INITIALISED && m_state != COMMON_DATA_QUEUED)
        m_state = BACK_TO_MENU;
}

// There is no saved investigation to resume: the player is told so.
void CSpyMain::ContinuePlay() {
    if (m_state != BACK_TO_MENU && m_state != STORY_ENDED)
        return;
    m_state = PLAYING;
    m_message = GUI::Server::exists() ? GUI::Server::getSingleton()->GetRoot()->FindChild(MessageWindow, true)
                                      : nullptr;
    if (!m_message) {
        log("CSpyMain::ContinuePlay(). Cannot find window: %s", MessageWindow);
        return;
    }
    if (GUI::Widget* text = m_message->FindChild("text", true))
        text->SetText(m_res->GetString(NoInvestigationText));
    m_message->SetVisible(true);
    m_message->MoveToFront();
}

u32 CSpyMain::FrameMove(f32 dt) {
    if (m_state != PLAYING)
        return m_state;
    if (GUI::Server::exists())
        GUI::Server::getSingleton()->Update(dt);
    const aApplication* app = aApplication::getInstance();
    const aInputServer* input = app ? app->getInputServer() : nullptr;
    if (input &&
        (input->mouseButtons[LEFT_BUTTON] == KEY_RELEASED || input->keyStates[DIK_ESCAPE] == KEY_PRESSED)) {
        hideMessage();
        m_state = BACK_TO_MENU;
    }
    return m_state;
}

void CSpyMain::Render() {
    if (m_state == PLAYING && m_message)
        m_message->Render();
}

void CSpyMain::hideMessage() {
    if (m_message)
        m_message->SetVisible(false);
    m_message = nullptr;
}

void CSpyMain::CloseInvestigation() {
    if (m_state == CONSTRUCTED)
        return;
    hideMessage();
    m_state = INITIALISED;
}

std::intptr_t CSpyMain::WndProc(platform::Window*, u32, std::uintptr_t, std::intptr_t) {
    return 0;
}
