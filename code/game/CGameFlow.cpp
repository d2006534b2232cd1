#include "game/CGameFlow.h"

#include "game/CDialogMainMenu.h"
#include "game/CDialogOptions.h"
#include "game/CGameIni.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/Profile.h"
#include "game/ProfilesManager.h"
#include "game/SplashManager.h"
#include "game/UCredits.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSoundManager.h"

namespace {

const std::string SplashSettings = "home:SplashScr/settings.ini";
const std::string CreditsScript = "language:credits.ini";
const std::string GuiScript = "gui:index.agui";
const std::string HelpImage = "Help_screen";
// The credits roll over the menu behind a half-dark veil, between the menu's top and bottom bands.
constexpr u32 CreditsVeil = 0x80000000;
constexpr aRect CreditsViewport{0, 53, 1024, 637};
constexpr u32 LEFT_BUTTON = 0;

// The global resource lists in the order they are queued.
struct ListRow {
    const char* list;
    const char* group;
};
constexpr ListRow ImageLists[] = {
    {"images:Particles/_images.list", "Particles"},
    {"images:Personages/_images.list", "Personages"},
    {"images:_images.list", ""},
    {"language:Images/_images.list", ""},
    {"images:GamePanel/_images.list", "GamePanel"},
    {"language:Images/GamePanel/_images.list", "GamePanel"},
    {"images:Menu/_images.list", "Menu"},
    {"language:Images/Menu/_images.list", "Menu"},
};

} // namespace

CGameFlow::CGameFlow() = default;

CGameFlow::~CGameFlow() = default;

void CGameFlow::Init(ProfilesManager* profiles) {
    if (m_state != CONSTRUCTED)
        return;
    m_profiles = profiles;
    m_res = CResManager::getSingleton();
    m_gui = GUI::Server::getSingleton();
    m_loader.Init();
    m_game.SetProfilesManager(profiles);
    m_game.Init(&m_menuScreen.GetOptions());
    m_firstMusic = true;
    if (!CGameIni::getSingleton()->IsSplashEnabled()) {
        m_state = SPLASH_OFF;
        return;
    }
    m_splash = std::make_shared<SplashManager>(SplashSettings);
    m_splash->setVolume(g_currentProfile.soundVolume);
    m_splash->start(true);
    m_state = SPLASH;
}

u32 CGameFlow::Update(f32 dt) {
    switch (m_state) {
    case SPLASH:
        updateSplash(dt);
        break;
    case SPLASH_OFF:
        m_loader.Show(CResLoader::NO_INVESTIGATION);
        m_state = QUEUE_LISTS;
        break;
    case QUEUE_LISTS:
        queueLists();
        m_loader.StartLoading();
        m_state = LOADING;
        break;
    case LOADING:
        updateLoading(dt);
        break;
    case BUILD_GUI:
        if (GUI::Widget* window = m_loader.GetWindow())
            window->SetVisible(false);
        buildGui();
        afterGuiBuilt();
        break;
    case MAIN_MENU:
        updateMenu(dt);
        break;
    case PROFILES:
        updateProfiles(dt);
        break;
    case OPTIONS:
        updateOptions(dt);
        break;
    case HELP:
        if (leftButtonReleased())
            m_state = MAIN_MENU;
        break;
    case CREDITS:
        updateCredits(dt);
        break;
    case GAME:
        updateGame(dt);
        break;
    default:
        break;
    }
    return m_state;
}

void CGameFlow::updateSplash(f32 dt) {
    if (m_splash->update(dt))
        return;
    m_splash.reset();
    m_loader.Show(CResLoader::NO_INVESTIGATION);
    m_state = QUEUE_LISTS;
}

void CGameFlow::updateLoading(f32 dt) {
    if (m_loader.Update(dt) == CResLoader::DONE)
        m_state = BUILD_GUI;
    startMenuMusic();
}

// The track may not be loaded yet: the next update of the loading asks again.
void CGameFlow::startMenuMusic() {
    aMusicManager* music = m_res->getMusicManager();
    if (!m_firstMusic || music->findTrack(MENU_MUSIC, "") < 0)
        return;
    music->setTrackVolume(MENU_MUSIC, g_currentProfile.musicVolume);
    music->play(MENU_MUSIC, "", true);
    m_firstMusic = false;
}

void CGameFlow::queueLists() {
    m_loader.Init();
    m_loader.Show(CResLoader::NO_INVESTIGATION);
    m_res->ClearTasks();
    for (const ListRow& row : ImageLists)
        m_res->getImageManager()->AddListToTask(row.list, row.group);
    m_res->getParticleManager()->AddListToTask("particles:_particles.list", "");
    m_res->getSoundManager()->AddListToTask("sounds:_sounds.list", "");
    const CGameIni* ini = CGameIni::getSingleton();
    if (ini->IsAmbientEnabled())
        m_res->getSoundManager()->AddListToTask("sounds:Ambient/_sounds.list", "Ambient");
    if (ini->IsMusicEnabled())
        m_res->getMusicManager()->AddListToTask("music:playlist.txt", "");
    m_game.LoadCommonData();
}

void CGameFlow::buildGui() {
    if (!m_res->isDone())
        return;
    m_gui->load(GuiScript);
    m_gui->InitializeWidgets();
    m_credits = std::make_shared<UCredits>(CreditsScript, m_res->getImageManager());
    m_menuScreen.Create();
    m_menuScreen.GetMainMenu().SetUserName(g_currentProfile.name);
    m_game.OnResourcesLoaded();
    m_state = GUI_BUILT;
}

// The profiles dialog finds its widgets once the scripts are in, before the menu first asks for it.
void CGameFlow::afterGuiBuilt() {
    m_profiles->InitDialog(m_gui->GetRoot());
    m_menuScreen.Hide();
    m_game.ResetMapAndCardsRooms();
    ReturnToMenu();
}

void CGameFlow::ReturnToMenu() {
    aMusicManager* music = m_res->getMusicManager();
    music->stop(true);
    music->play(MENU_MUSIC, "", true);
    CDialogMainMenu& menu = m_menuScreen.GetMainMenu();
    menu.Show();
    if (m_profiles->ShowDialog(true)) {
        menu.SetWelcomeVisible(false);
        m_state = PROFILES;
    } else if (m_firstReturn && CGameIni::getSingleton()->IsFastStart()) {
        menu.Hide();
        m_game.ContinuePlay();
        m_state = GAME;
    } else {
        m_state = MAIN_MENU;
    }
    m_firstReturn = false;
}

void CGameFlow::updateMenu(f32 dt) {
    m_menuScreen.Update(dt);
    CDialogMainMenu& menu = m_menuScreen.GetMainMenu();
    switch (menu.GetState()) {
    case CDialogMainMenu::CMD_PLAY:
        menu.Hide();
        m_game.ContinuePlay();
        m_state = GAME;
        break;
    case CDialogMainMenu::CMD_OPTIONS:
        m_state = OPTIONS;
        break;
    case CDialogMainMenu::CMD_HELP:
        m_state = HELP;
        break;
    case CDialogMainMenu::CMD_CREDITS:
        StartCredits();
        break;
    case CDialogMainMenu::CMD_EXIT:
        Quit();
        break;
    case CDialogMainMenu::CMD_CHANGE_PROFILE:
        m_profiles->ShowDialog(false);
        m_state = PROFILES;
        break;
    default:
        break;
    }
}

void CGameFlow::updateProfiles(f32 dt) {
    m_menuScreen.Update(dt);
    if (m_profiles->getDialogState() != 0)
        return;
    CDialogMainMenu& menu = m_menuScreen.GetMainMenu();
    menu.SetWelcomeVisible(true);
    menu.SetUserName(g_currentProfile.name);
    CDialogOptions::ApplyOptions();
    m_state = MAIN_MENU;
}

void CGameFlow::updateOptions(f32 dt) {
    CDialogOptions& options = m_menuScreen.GetOptions();
    if (!options.IsVisible())
        options.Show();
    m_menuScreen.Update(dt);
    const i32 command = options.GetState();
    if (command == CDialogOptions::CMD_CANCEL || command == CDialogOptions::CMD_APPLY) {
        options.Hide();
        m_state = MAIN_MENU;
    }
}

void CGameFlow::updateCredits(f32 dt) {
    CDialogMainMenu& menu = m_menuScreen.GetMainMenu();
    menu.Update(dt, true);
    const bool over = !m_credits || m_credits->Update(dt);
    if (over || leftButtonReleased()) {
        menu.SetMenuVisible(true);
        m_state = MAIN_MENU;
    }
}

void CGameFlow::updateGame(f32 dt) {
    const u32 game = m_game.FrameMove(dt);
    if (game == CSpyMain::BACK_TO_MENU) {
        ReturnToMenu();
    } else if (game == CSpyMain::STORY_ENDED) {
        m_res->getMusicManager()->play(END_CREDITS_MUSIC, "", true);
        StartCredits();
    }
}

void CGameFlow::StartCredits() {
    CDialogMainMenu& menu = m_menuScreen.GetMainMenu();
    menu.Show();
    menu.SetMenuVisible(false);
    if (m_credits)
        m_credits->Start();
    m_state = CREDITS;
}

void CGameFlow::Quit() {
    m_game.CloseInvestigation();
    m_state = QUIT;
}

bool CGameFlow::leftButtonReleased() const {
    const aInputServer* input = aApplication::inputServer();
    return input && input->mouseButtons[LEFT_BUTTON] == KEY_RELEASED;
}

void CGameFlow::Render() {
    switch (m_state) {
    case SPLASH:
        m_splash->render();
        break;
    case QUEUE_LISTS:
    case LOADING:
    case BUILD_GUI:
        m_loader.Render();
        break;
    case MAIN_MENU:
    case PROFILES:
    case OPTIONS:
        m_menuScreen.Render();
        break;
    case HELP:
        if (aImage* help = m_res->getImageManager()->getImage(HelpImage))
            help->drawAt(0, 0);
        break;
    case CREDITS:
        m_menuScreen.Render();
        renderCredits();
        break;
    case GAME:
        m_game.Render();
        break;
    default:
        break;
    }
}

void CGameFlow::renderCredits() {
    aGDI& gdi = m_res->getGDI();
    gdi.color = CreditsVeil;
    gdi.drawRect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true);
    aGraphServer* graph = aApplication::graphServer();
    const aRect previous = graph->getViewport();
    graph->setViewport(CreditsViewport);
    if (m_credits)
        m_credits->Render();
    graph->setViewport(previous);
}
