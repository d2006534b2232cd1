#include "tk2v/gfx/aApplication.h"

#include "tk2v/file/file.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/platform/CrashHandler.h"
#include "tk2v/platform/MessageBox.h"
#include "tk2v/platform/SystemInfo.h"
#include "tk2v/util/log.h"

#include <cctype>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr const char* kDashes = "-----------------------------------------------------------------";
constexpr const char* kVersion = "v1.65";
// A log longer than this is started afresh.
constexpr long kMaxLogSize = 50000;
constexpr u32 kStillActive = 259;
constexpr double kLoadingFrameSeconds = 1.0 / 30;
// While inactive the loop looks for messages this often.
constexpr u32 kInactiveWaitMs = 20;

// Made at init, so that the crash callback has nothing to build.
std::string g_crashLogText;
std::string g_crashBoxText;

void logDashes() {
    log("%s", kDashes);
}

// Runs from the signal handler once the report is written. The texts were made at init, so that
// nothing is built here; the input server is left alone, as tearing it down could fault again.
void onCrash() {
    log(g_crashLogText);
    if (aApplication* app = aApplication::getInstance())
        app->showError(ERR_CRASH_DUMP);
}

// The number after "#" in the kernel's version text ("#1 SMP ..."), 0 when there is none.
i32 buildNumber(const std::string& version) {
    const size_t hash = version.find('#');
    i32 n = 0;
    for (size_t i = hash == std::string::npos ? version.size() : hash + 1;
         i < version.size() && std::isdigit(u8(version[i])) && n < 100000000; ++i)
        n = n * 10 + (version[i] - '0');
    return n;
}

std::string osText(const platform::OsInfo& os) {
    return os.name + " " + os.release + " (Build " + std::to_string(buildNumber(os.build)) + ")";
}

std::string driveText(const platform::DriveInfo& drive) {
    if (drive.type != "fixed")
        return drive.type;
    return "fixed <" + drive.fileSystem + ">, " + drive.label + ", " + std::to_string(drive.freeMb) + " of " +
           std::to_string(drive.totalMb) + " MB free";
}

// For "%llu": u64 is unsigned long here.
unsigned long long ull(u64 value) {
    return value;
}

} // namespace

aApplication::aApplication() : m_exeDir(aFileServer::getExeDir()) {
    s_instance = this;
}

aApplication::~aApplication() {
    if (m_loadingThread.joinable())
        m_loadingThread.join();
    // The window's last message must not reach an object that is going.
    if (m_window)
        m_window->setProc({});
    closeLog();
    if (s_instance == this)
        s_instance = nullptr;
}

void aApplication::setWindow(std::unique_ptr<platform::Window> window) {
    if (m_window)
        m_window->setProc({});
    m_window = std::move(window);
}

void aApplication::setCursorAnim(std::unique_ptr<aAnim> anim) {
    m_cursorAnim = std::move(anim);
}

void aApplication::readWorkArea() {
    if (m_window)
        s_workArea = m_window->workArea();
}

u32 aApplication::init(const char* name, void* instance, const char* cmdLine, const char* company) {
    if (name)
        m_name = name;
    m_instance = instance;
    m_cmdLineText = cmdLine ? cmdLine : "";
    m_cmdLine = cmdLine ? m_cmdLineText.c_str() : nullptr;
    buildFolders(company);
    const std::string userData = m_fileServer.manglePath(m_userDataFolder);
    if (!m_singleInstance.acquire(instanceName(m_name, userData)))
        return 1;
    g_crashLogText = "\n\nCritical Error. File \"crash.dmp\" has been saved to\n" + userData + "\n";
    g_crashBoxText = errorMessage(ERR_CRASH_DUMP, userData);
    platform::installCrashHandler(userData + "crash.dmp", onCrash);
    for (const std::string* folder : {&m_userDataFolder, &m_sharedDataFolder, &m_savedGamesFolder})
        if (!file_dirExistsPlain(*folder))
            m_fileServer.makeDir(*folder);
    openLog();
    readWorkArea();
    return 0;
}

std::string aApplication::instanceName(const std::string& name, const std::string& userDataPath) {
    return name + "@" + userDataPath;
}

void aApplication::buildFolders(const char* company) {
    const std::string sub = (company && *company ? std::string(company) + "/" : std::string()) + m_name + "/";
    m_userDataFolder = "userappdata:" + sub;
    m_savedGamesFolder = "userprof:Saved Games/" + sub;
    m_sharedDataFolder = "allappdata:" + sub;
    m_screenshotFolder = m_userDataFolder + "ScreenShots/";
}

void aApplication::openLog() {
    closeLog();
    const std::string path = aFileServer::resolve(m_userDataFolder + m_logFileName);
    m_logFile = std::fopen(path.c_str(), "a+");
    if (m_logFile && std::fseek(m_logFile, 0, SEEK_END) == 0 && std::ftell(m_logFile) > kMaxLogSize) {
        std::fclose(m_logFile);
        m_logFile = std::fopen(path.c_str(), "w+");
    }
    if (!m_logFile) {
        showError(ERR_GAME);
        return;
    }
    a_logSetFile(m_logFile);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    m_frameTimer.reset();
    std::fputs("\n\n\n\n\n", m_logFile);
    log("tk2v Engine %s started", kVersion);
    logDashes();
    log("Application: %s", m_name.c_str());
    log("Launched on: %.2u.%.2u.%.4u, %.2u:%.2u:%.2u", unsigned(local.tm_mday), unsigned(local.tm_mon + 1),
        unsigned(local.tm_year + 1900), unsigned(local.tm_hour), unsigned(local.tm_min),
        unsigned(local.tm_sec));
    log(std::string());
    logSystemConfiguration();
}

void aApplication::closeLog() {
    if (!m_logFile)
        return;
    if (a_logFile() == m_logFile)
        a_logSetFile(nullptr);
    std::fclose(m_logFile);
    m_logFile = nullptr;
}

void aApplication::logSystemConfiguration() {
    const platform::SystemInfo info = platform::readSystemInfo();
    const platform::MemoryInfo& memory = info.memory;
    log("----------------- System configuration --------------------------");
    log("    Operating System: %s", osText(info.os).c_str());
    log("       Computer Name: %s", info.computerName.c_str());
    log("           User Name: %s", info.userName.c_str());
    log(std::string());
    log("         Memory Load: %d%%", i32(memory.loadPercent));
    log("Free Physical Memory: %llu of %llu KB", ull(memory.physicalFreeKb), ull(memory.physicalTotalKb));
    log(" Free Virtual Memory: %llu of %llu KB", ull(memory.virtualFreeKb), ull(memory.virtualTotalKb));
    const u64 pageUsed =
        memory.pageFileTotalKb > memory.pageFileFreeKb ? memory.pageFileTotalKb - memory.pageFileFreeKb : 0;
    log("       Pagefile Used: %llu of %llu KB", ull(pageUsed), ull(memory.pageFileTotalKb));
    log(std::string());
    log("    Application Path: %s", m_exeDir.c_str());
    for (const platform::DriveInfo& drive : info.drives)
        log("             Drive %s: %s", drive.root.c_str(), driveText(drive).c_str());
    if (info.drives.empty())
        log("              Drives: none found");
    logDashes();
}

u32 aApplication::shutdown() {
    m_window.reset();
    logDashes();
    log("tk2v Engine stopped");
    log(std::string());
    closeLog();
    return 0;
}

i32 aApplication::run() {
    platform::Window* window = getWindow();
    if (!m_graphServer || !window) {
        log("aApplication: Error, aGraphServer object not created!");
        return 1;
    }
    m_frameTimer.reset();
    m_inMainLoop = true;
    platform::WindowMessage message;
    for (;;) {
        if (!takeMessage(*window, message)) {
            idlePass();
            continue;
        }
        if (message.id == platform::WM_QUIT)
            break;
        window->dispatch(message);
    }
    m_inMainLoop = false;
    return i32(message.wparam);
}

// A blocking wait while inactive would leave another copy's request to show the window unanswered.
bool aApplication::takeMessage(platform::Window& window, platform::WindowMessage& message) {
    if (m_active)
        return window.peek(message);
    while (!window.peek(message)) {
        answerRaiseRequest();
        platform::sleepMs(kInactiveWaitMs);
    }
    return true;
}

void aApplication::idlePass() {
    answerRaiseRequest();
    capFrameRate();
    m_frameTimer.reset();
    if (m_inputServer)
        m_inputServer->update();
    if (fullscreenToggleRequested()) {
        m_graphServer->setFullscreen(!m_graphServer->isFullscreen());
        onDisplayModeChanged();
    } else if (!m_paused) {
        m_frameResult = update();
    }
    if (m_frameResult == 0)
        m_frameResult = render();
    if (m_frameResult < 0)
        closeWindow();
    else if (isScreenshotAllowed() && keyState(DIK_SYSRQ) == KEY_PRESSED)
        m_graphServer->screenshot(m_screenshotFolder, "ScreenShot");
    reportFatalError();
}

void aApplication::capFrameRate() {
    m_frameTime = m_frameTimer.getElapsed();
    const u32 refreshSleep = refreshCapSleepMs(m_graphServer->getRefreshRate(), m_graphServer->isFullscreen(),
                                               m_graphServer->isVSync(), m_frameTime);
    if (refreshSleep > 0) {
        platform::sleepMs(refreshSleep);
        m_frameTime = m_frameTimer.getElapsed();
    }
    if (m_loadingThread.joinable() && !isLoadingFinished())
        if (const u32 loadingSleep = loadingCapSleepMs(m_frameTime))
            platform::sleepMs(loadingSleep);
}

u32 aApplication::refreshCapSleepMs(u32 refreshRate, bool fullscreen, bool vsync, double elapsed) {
    if (fullscreen || !vsync)
        return 0;
    const double period = 1.0 / platform::frameRateCap(refreshRate & 0xFFFF);
    return elapsed < period ? u32((period - elapsed) * 1000) : 0;
}

u32 aApplication::loadingCapSleepMs(double elapsed) {
    return elapsed < kLoadingFrameSeconds ? u32((kLoadingFrameSeconds - elapsed) * 1000) : 0;
}

u32 aApplication::keyState(u8 key) const {
    return m_inputServer ? m_inputServer->keyStates[key] : KEY_UP;
}

bool aApplication::fullscreenToggleRequested() {
    const bool alt = keyState(DIK_LMENU) >= KEY_PRESSED || keyState(DIK_RMENU) >= KEY_PRESSED;
    return isFullscreenToggleAllowed() && alt && keyState(DIK_RETURN) == KEY_PRESSED;
}

void aApplication::answerRaiseRequest() {
    if (m_singleInstance.pollRaiseRequest() && m_window) {
        m_window->restore();
        m_window->raise();
    }
}

void aApplication::reportFatalError() {
    if (!m_graphServer || !m_graphServer->getFatalError())
        return;
    const u32 code = m_graphServer->getFatalError();
    m_graphServer->clearFatalError();
    showError(code);
    closeWindow();
}

void aApplication::closeWindow() {
    if (m_window)
        m_window->dispatch({platform::WM_CLOSE, 0, 0});
}

std::intptr_t aApplication::wndProc(platform::Window* window, u32 message, std::uintptr_t wparam,
                                    [[maybe_unused]] std::intptr_t lparam) {
    if (!window)
        window = getWindow();
    switch (message) {
    case platform::WM_ENTERMENULOOP:
    case platform::WM_ENTERSIZEMOVE:
        onDeactivate();
        if (m_graphServer)
            render();
        return 0;
    case platform::WM_EXITMENULOOP:
    case platform::WM_EXITSIZEMOVE:
        onActivate();
        return 0;
    case platform::WM_DESTROY:
    case platform::WM_CLOSE:
        if (window)
            window->postQuit(0);
        return 0;
    case platform::WM_SIZE:
        if (wparam == platform::SIZE_MAXIMIZED) {
            if (window)
                window->raise();
            if (m_graphServer && !m_graphServer->isFullscreen()) {
                m_graphServer->setFullscreen(true);
                onDisplayModeChanged();
            }
        }
        return 0;
    case platform::WM_PAINT:
        if (m_inMainLoop && m_graphServer && !m_graphServer->isFullscreen())
            render();
        return 0;
    case platform::WM_ACTIVATEAPP:
        onActivateApp(wparam == 1);
        return 0;
    case platform::WM_SETCURSOR:
        return onSetCursor();
    default:
        // Menu activation, the screen saver and the rest are the window system's business, which
        // keeps its hands off all of them here.
        return 0;
    }
}

void aApplication::onActivateApp(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    if (active) {
        readWorkArea();
        if (m_window)
            m_window->raise();
        onActivate();
    } else {
        onDeactivate();
        if (m_graphServer)
            render();
    }
}

std::intptr_t aApplication::onSetCursor() {
    if (!m_window)
        return 0;
    if (m_inputServer && !m_inputServer->nonExclusive) {
        m_window->showCursor(false);
        return 1;
    }
    platform::Point at;
    if (!m_active || !m_window->cursorPosition(at))
        return 0;
    const platform::Point size = m_window->clientSize();
    if (at.x < 0 || at.y < 0 || at.x >= size.x || at.y >= size.y)
        return 0;
    m_window->showCursor(!m_cursorAnim && m_systemCursor != 0);
    return 1;
}

void aApplication::setPaused(bool paused) {
    m_paused = paused;
    platform::AudioSystem& audio = platform::AudioSystem::shared();
    if (audio.isOpen())
        audio.setPaused(platform::AudioSystem::ALL, paused);
}

bool aApplication::setPriority(i32 priorityClass, i32 threadPriority) {
    if (setpriority(PRIO_PROCESS, id_t(getpid()), priorityClass) != 0) {
        log("error in SetClassPriority()");
        return false;
    }
    if (setpriority(PRIO_PROCESS, id_t(gettid()), threadPriority) != 0) {
        log("error in SetThreadPriority()");
        return false;
    }
    return true;
}

std::string aApplication::errorMessage(u32 code, const std::string& userDataPath) {
    switch (code) {
    case ERR_D3D_INIT:
    case ERR_D3D_DEVICE:
        return "Could not initialize Direct3D.\nTo solve this problem you may want to check that the\n"
               "latest version of DirectX and latest version of drivers\nfor your video card are correctly "
               "installed.";
    case ERR_DRIVER_INTERNAL:
        return "A serious problem occurred with the display driver.\nPlease install latest drivers.";
    case ERR_GAME:
        return "Game error. Please reinstall.";
    case ERR_FILE_NOT_FOUND:
    case ERR_MEDIA:
        return "Could not load required media.";
    case ERR_CRASH_DUMP:
        return "Critical error. File \"crash.dmp\" has been saved to \n\"" + userDataPath + "\"\n";
    default:
        return "Unknown error. Please reinstall or contact user support.";
    }
}

void aApplication::showError(u32 code) {
    // The crash text was made beforehand: this runs from the crash handler.
    if (code == ERR_CRASH_DUMP && !g_crashBoxText.empty())
        showErrorBox(g_crashBoxText);
    else
        showErrorBox(errorMessage(code, aFileServer::resolve(m_userDataFolder)));
}

void aApplication::showErrorBox(const std::string& text) {
    const bool fullscreen = m_window && m_graphServer && m_graphServer->isFullscreen();
    if (fullscreen)
        m_window->minimise();
    platform::showMessageBox("Error!", text);
    if (fullscreen)
        m_window->restore();
}

void aApplication::deleteInputServer() {
    delete m_inputServer;
    m_inputServer = nullptr;
}

void aApplication::createLoadingThread(ThreadRoutine routine, void* argument) {
    if (m_loadingThread.joinable()) {
        log("Error: thread for loading already created!");
        return;
    }
    m_loadingExitCode = kStillActive;
    m_loadingRunning = true;
    m_loadingThread = std::thread([this, routine, argument] {
        m_loadingExitCode = routine ? routine(argument) : 0;
        m_loadingRunning = false;
    });
}

bool aApplication::isLoadingFinished() {
    if (!m_loadingThread.joinable())
        return true;
    if (m_loadingRunning)
        return false;
    m_loadingThread.join();
    if (m_loadingExitCode != 0) {
        showError(ERR_MEDIA);
        closeWindow();
    }
    return true;
}
