#include "game/cMain.h"

#include "game/CGameFlow.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/Profile.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Server.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/aCmdLine.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <string>

namespace {

const std::string MainTextFile = "language:Text/Main.txt";
// init's result when the language has no main text: nothing of the game stands.
constexpr u32 NO_LANGUAGE = ERR_GAME;

// The command line as one text; arguments holding blanks are quoted, as the splitter reads them.
std::string commandLineText(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (i > 1)
            text += ' ';
        const bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
        text += quote ? '"' + arg + '"' : arg;
    }
    return text;
}

} // namespace

cMain::cMain() = default;

// A test may drop the application without its shutdown: the objects still go in their order.
cMain::~cMain() {
    destroyObjects();
}

void cMain::SetGameAssigns(aFileServer& files, const std::string& language, const std::string& gameData) {
    files.setAssign("gamedata", gameData);
    files.setAssign("images", "gamedata:Images/");
    files.setAssign("sounds", "gamedata:Sounds/");
    files.setAssign("music", "gamedata:Music/");
    files.setAssign("particles", "gamedata:Particles/");
    files.setAssign("video", "gamedata:Video/");
    files.setAssign("language", "gamedata:Language/" + language + "/");
    files.setAssign("fonts", "language:Fonts/");
    files.setAssign("gui", "language:GUI/");
    files.setAssign("investigations", "gamedata:Investigations/");
}

u32 cMain::init(const char* name, void* instance, const char* cmdLine, const char* company) {
    if (const u32 result = aApplication::init(name, instance, cmdLine, company))
        return result;
    log("Build: %u, %s %s", BUILD_NUMBER, "release", "compilation");
    m_gameIni.Load(GAME_INI_FILE);
    SetGameAssigns(getFileServer(), m_gameIni.GetLanguage());
    m_cmdLineArgs = std::make_unique<aCmdLine>(getCmdLine());
    // The current profile's display mode is the first one, so the profiles come before the window.
    m_profiles.Load();
    if (!createServers()) {
        const u32 code = m_graph->getFatalError();
        showError(code);
        return code;
    }
    if (!file_exists(MainTextFile)) {
        log("Error: language \"" + m_gameIni.GetLanguage() + "\" not found.");
        return NO_LANGUAGE;
    }
    m_res->getLocaleServer()->loadFile(MainTextFile, "");
    m_gui = std::make_unique<GUI::Server>(m_res->getImageManager(), m_res->getSoundManager());
    m_gameFlow = std::make_unique<CGameFlow>();
    m_gameFlow->Init(&m_profiles);
    return 0;
}

// False when the graph server could not start.
bool cMain::createServers() {
    m_graph = std::make_unique<aGraphServer>(SCREEN_WIDTH, SCREEN_HEIGHT, g_currentProfile.fullScreen,
                                             m_gameIni.IsHiColor(), nullptr, ICON_RESOURCE,
                                             m_gameIni.IsVSync(), false);
    if (m_graph->getFatalError())
        return false;
    m_graph->showFps = m_gameIni.IsShowFPS();
    m_graph->fpsX = FPS_TEXT_X;
    m_graph->fpsY = FPS_TEXT_Y;
    new aInputServer(); // registers itself with the application, which deletes it
    m_res = std::make_unique<CResManager>();
    return true;
}

i32 cMain::update() {
    const f32 elapsed = m_timer.getElapsed();
    m_timer.reset();
    m_lastFlowTime = std::min(elapsed, MAX_FRAME_TIME);
    if (!m_gameFlow)
        return 0;
    return m_gameFlow->Update(m_lastFlowTime) == CGameFlow::QUIT ? i32(ABORT_CODE) : 0;
}

i32 cMain::render() {
    if (m_graph && m_graph->beginScene()) {
        if (m_gameFlow)
            m_gameFlow->Render();
        m_graph->endScene();
    }
    return 0;
}

std::intptr_t cMain::wndProc(platform::Window* window, u32 message, std::uintptr_t wparam,
                             std::intptr_t lparam) {
    if (m_gameFlow)
        m_gameFlow->GetGame().WndProc(window, message, wparam, lparam);
    return aApplication::wndProc(window, message, wparam, lparam);
}

void cMain::onDisplayModeChanged() {
    if (m_graph)
        g_currentProfile.fullScreen = m_graph->isFullscreen();
}

u32 cMain::shutdown() {
    // A copy that never loaded the profiles (another one runs) must leave the file alone; one whose
    // load found no file writes the first.
    if (m_profiles.WasLoaded())
        m_profiles.Save();
    destroyObjects();
    const i32 result = i32(aApplication::shutdown());
    return result < 0 ? u32(result) : 0;
}

void cMain::destroyObjects() {
    m_gameFlow.reset();
    m_gui.reset();
    m_res.reset();
    deleteInputServer();
    m_graph.reset();
    m_cmdLineArgs.reset();
}

int rvhMain(int argc, char** argv) {
    platform::srand(platform::tickMs());
    const std::string commandLine = commandLineText(argc, argv);
    cMain app;
    // A start that fails (no window, no language) ends with a failure status, not as a game played.
    int result = 1;
    if (i32(app.init(SHORT_NAME.c_str(), nullptr, commandLine.c_str(), COMPANY_NAME.c_str())) >= 0)
        result = app.run();
    app.shutdown();
    return result;
}
