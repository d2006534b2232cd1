#include "game/SpyGame/CSpyMain.h"

#include "game/CDialogOptions.h"
#include "game/CGameIni.h"
#include "game/CResLoader.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/Profile.h"
#include "game/ProfilesManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"

namespace {

const char* const InvestigationsFolder = "investigations:";
const char* const InvestigationsList = "investigations:_investigations.list";
const char* const HelpImage = "Help_screen";
constexpr u32 LeftButton = 0;

} // namespace

CSpyMain::CSpyMain() : SaveLoadEntity("<SpyMain>") {}

CSpyMain::~CSpyMain() {
    CloseInvestigation();
}

u8* CSpyMain::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return sys.writeString(pos, m_currentName);
}

const u8* CSpyMain::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return sys.readString(pos, m_currentName);
}

void CSpyMain::Init(CDialogBase* optionsDialog) {
    if (m_state != CONSTRUCTED)
        return;
    m_pRes = CResManager::getSingleton();
    m_pLoader = CResLoader::getSingleton();
    m_pOptionsDialog = optionsDialog;
    m_rooms.LoadSharedRoomsList(&m_personages, &m_panel);
    m_investigation.Init(&m_panel, &m_rooms, &m_personages);
    m_state = INITIALISED;
}

void CSpyMain::LoadCommonData() {
    if (m_state != INITIALISED)
        return;
    for (const std::string& room : {GLOBAL_MAP_ROOM, INVESTIGATION_CARDS_ROOM}) {
        const std::string folder = InvestigationsFolder + room + "/";
        if (file_exists(folder + "room.ini"))
            m_rooms.LoadRooms(room, folder, "language:Investigations/" + room + "/");
    }
    m_investigations.load(InvestigationsList);
    m_state = COMMON_DATA_QUEUED;
}

void CSpyMain::OnResourcesLoaded() {
    if (m_state != COMMON_DATA_QUEUED || !m_pRes || !m_pRes->isDone())
        return;
    m_panel.Init();
    for (const std::string& room : {GLOBAL_MAP_ROOM, INVESTIGATION_CARDS_ROOM})
        if (m_rooms.HasRoom(room))
            m_rooms.AfterLoadInitRoom(room);
    m_state = RESOURCES_READY;
}

void CSpyMain::ResetMapAndCardsRooms() {
    if (m_state == CONSTRUCTED || m_state == INITIALISED || m_state == COMMON_DATA_QUEUED)
        return;
    for (const std::string& name : {GLOBAL_MAP_ROOM, INVESTIGATION_CARDS_ROOM}) {
        if (!m_rooms.HasRoom(name))
            continue;
        CRoomBase* room = m_rooms.GetRoom(name);
        room->Reset();
        room->SetPosition({f32(SCREEN_WIDTH - CInvestigation::RoomAreaWidth), 0});
    }
    m_state = BACK_TO_MENU;
}

void CSpyMain::ContinuePlay() {
    if (m_state != BACK_TO_MENU && m_state != STORY_ENDED)
        return;
    // Nothing to play: the player stays at the menu.
    if (m_investigations.size() == 0) {
        log("CSpyMain::ContinuePlay(). Investigation list is empty!");
        m_state = BACK_TO_MENU;
        return;
    }
    CloseOpenSave();
    if (m_saveDriver.Load(GetSaveFileName(), SaveHeader)) {
        // The driver stays open: the investigation's records are read once it is loaded.
        if (m_saveDriver.LoadEntity(*this) && m_currentName != END_GAME_NAME) {
            if (HasInvestigation(m_currentName)) {
                m_startMode = CONTINUED;
                m_state = CHOSEN;
                return;
            }
            log("CSpyMain::ContinuePlay(). Investigation '%s' not found!", m_currentName.c_str());
        }
        m_saveDriver.Finish();
    }
    ChooseFirst();
}

void CSpyMain::ChooseFirst() {
    m_currentName = m_investigations.lines().front();
    m_startMode = NEW_GAME;
    m_state = CHOSEN;
}

u32 CSpyMain::FrameMove(f32 dt) {
    CGameIni::getSingleton();
    switch (m_state) {
    case LOADING_INVESTIGATION:
        LoadInvestigationResources();
        break;
    case CHOSEN:
        if (m_investigation.GetName() == m_currentName) {
            m_state = LOADED;
        } else {
            m_pLoader->Show(GetInvestigationIndex() + 1);
            m_state = LOADING_INVESTIGATION;
        }
        break;
    case LOADING_STEPS:
        UpdateLoadingSteps(dt);
        break;
    case LOADED:
        StartChosen();
        break;
    case PLAYING:
        switch (m_investigation.Update(dt)) {
        case CInvestigation::Finished:
            StartNextInvestigation();
            break;
        case CInvestigation::Menu:
            m_state = IN_GAME_MENU;
            break;
        default:
            break;
        }
        break;
    case IN_GAME_MENU:
        UpdateMenu(dt);
        break;
    case OPTIONS:
        UpdateOptions(dt);
        break;
    case HELP:
        if (LeftButtonReleased())
            m_state = IN_GAME_MENU;
        break;
    case CONFIRM_SAVE_EXIT:
        UpdateConfirmSaveExit(dt);
        break;
    default:
        break;
    }
    return m_state;
}

void CSpyMain::LoadInvestigationResources() {
    m_pRes->ClearTasks();
    m_investigation.LoadInvestigation(InvestigationsFolder, m_currentName);
    m_pLoader->StartLoading();
    m_state = LOADING_STEPS;
}

void CSpyMain::UpdateLoadingSteps(f32 dt) {
    if (m_pLoader->Update(dt) != CResLoader::DONE)
        return;
    m_investigation.OnResourcesLoaded();
    if (m_investigation.GetState() == CInvestigation::Loaded) {
        m_state = LOADED;
        return;
    }
    // The investigation could not be made (it logged why and closed itself): back to the menu.
    CloseOpenSave();
    HideLoadingScreen();
    m_state = BACK_TO_MENU;
}

void CSpyMain::StartChosen() {
    m_panel.SetLevelNumber(u32(GetInvestigationIndex() + 1));
    switch (m_startMode) {
    case CONTINUED:
        m_investigation.Start(false);
        m_saveDriver.LoadEntity(m_investigation);
        m_saveDriver.Finish();
        if (m_afterContinueLoad)
            m_afterContinueLoad();
        if (m_investigation.GetState() == CInvestigation::Started)
            m_investigation.Entry();
        else if (m_investigation.GetState() == CInvestigation::Menu)
            m_investigation.CloseMenu();
        break;
    case FOLLOWING:
        m_investigation.Start(true);
        SaveGame();
        m_investigation.Entry();
        break;
    default:
        m_investigation.Start(false);
        m_investigation.Entry();
        break;
    }
    HideLoadingScreen();
    m_state = PLAYING;
}

void CSpyMain::UpdateMenu(f32 dt) {
    CDialogInGameMenu& menu = m_panel.GetInGameMenu();
    if (!menu.IsVisible())
        menu.Show();
    m_panel.Update(dt);
    m_investigation.Update(dt);
    switch (menu.GetState()) {
    case CDialogInGameMenu::CMD_RESUME:
        menu.Hide();
        m_investigation.CloseMenu();
        m_state = PLAYING;
        break;
    case CDialogInGameMenu::CMD_OPTIONS:
        m_state = OPTIONS;
        break;
    case CDialogInGameMenu::CMD_EXIT:
        m_state = CONFIRM_SAVE_EXIT;
        break;
    case CDialogInGameMenu::CMD_HELP:
        m_state = HELP;
        break;
    default:
        break;
    }
}

void CSpyMain::UpdateOptions(f32 dt) {
    if (!m_pOptionsDialog) {
        m_state = IN_GAME_MENU;
        return;
    }
    if (!m_pOptionsDialog->IsVisible())
        m_pOptionsDialog->Show();
    m_panel.Update(dt);
    const i32 word = m_pOptionsDialog->GetState();
    if (word == CDialogOptions::CMD_CANCEL || word == CDialogOptions::CMD_APPLY) {
        m_pOptionsDialog->Hide();
        m_state = IN_GAME_MENU;
    }
}

void CSpyMain::UpdateConfirmSaveExit(f32 dt) {
    CDialogConfirmSaveExit& confirm = m_panel.GetConfirmSaveExit();
    if (!confirm.IsVisible())
        confirm.Show();
    m_panel.Update(dt);
    switch (confirm.GetState()) {
    case CInGameDialog::CMD_YES:
        // A failed write is logged by the save driver and leaves the old save whole.
        SaveGame();
        m_investigation.Stop();
        HidePanel();
        m_state = BACK_TO_MENU;
        break;
    case CInGameDialog::CMD_NO:
        confirm.Hide();
        m_state = IN_GAME_MENU;
        break;
    default:
        break;
    }
}

bool CSpyMain::SaveGame() {
    m_saveDriver.BeginSave(GetSaveFileName(), SaveHeader);
    m_saveDriver.SaveEntity(*this);
    m_saveDriver.SaveEntity(m_investigation);
    return m_saveDriver.Finish();
}

bool CSpyMain::StartNextInvestigation() {
    m_panel.GetTipManager().EndLevel();
    const i32 next = GetInvestigationIndex() + 1;
    if (size_t(next) < m_investigations.size()) {
        m_currentName = m_investigations.lines()[size_t(next)];
        m_startMode = FOLLOWING;
        m_state = CHOSEN;
        return true;
    }
    HidePanel();
    m_currentName = END_GAME_NAME;
    SaveGame();
    m_state = STORY_ENDED;
    return false;
}

void CSpyMain::Render() {
    switch (m_state) {
    case LOADING_INVESTIGATION:
    case LOADING_STEPS:
    case LOADED:
        m_pLoader->Render();
        break;
    case PLAYING:
    case IN_GAME_MENU:
    case OPTIONS:
    case CONFIRM_SAVE_EXIT:
        m_investigation.Render();
        break;
    case HELP:
        if (aImage* help = m_pRes ? m_pRes->getImageManager()->getImage(HelpImage) : nullptr)
            help->drawAt(0, 0);
        break;
    default:
        break;
    }
}

std::intptr_t CSpyMain::WndProc(platform::Window*, u32, std::uintptr_t, std::intptr_t) {
    return 0;
}

void CSpyMain::CloseInvestigation() {
    if (m_state == CONSTRUCTED)
        return;
    m_investigation.Close();
    m_rooms.Clear();
    m_state = INITIALISED;
}

i32 CSpyMain::GetInvestigationIndex() {
    return IndexOf(m_currentName);
}

i32 CSpyMain::IndexOf(const std::string& name) {
    i32 index = 0;
    for (m_investigations.first(); !m_investigations.isEnd(); m_investigations.next(), ++index)
        if (m_investigations.getCurrent() == name)
            return index;
    return -1;
}

bool CSpyMain::SeekInvestigation(u32 index) {
    m_investigations.first();
    for (u32 i = 0; i < index; ++i) {
        m_investigations.next();
        if (m_investigations.isEnd()) {
            m_investigations.first();
            return false;
        }
    }
    return true;
}

bool CSpyMain::HasInvestigation(const std::string& name) {
    if (IndexOf(name) >= 0)
        return true;
    m_investigations.first();
    return false;
}

std::string CSpyMain::GetSaveFileName() const {
    return m_profiles ? m_profiles->GetSaveFileName(g_currentProfile)
                      : ProfilesManager().GetSaveFileName(g_currentProfile);
}

// A continue keeps the save open until the investigation's records are read; ended otherwise.
void CSpyMain::CloseOpenSave() {
    if (m_saveDriver.getState() != SaveLoadSystem::Idle)
        m_saveDriver.Finish();
}

void CSpyMain::HideLoadingScreen() {
    if (GUI::Widget* window = m_pLoader ? m_pLoader->GetWindow() : nullptr)
        window->SetVisible(false);
}

void CSpyMain::HidePanel() {
    m_panel.Hide();
    m_panel.HideAll();
}

bool CSpyMain::LeftButtonReleased() const {
    const aInputServer* input = aApplication::inputServer();
    return input && input->mouseButtons[LeftButton] == KEY_RELEASED;
}
