#pragma once
#include "tk2v/file/aFileServer.h"
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/SingleInstance.h"
#include "tk2v/platform/Window.h"
#include "tk2v/util/aTimer.h"
#include "tk2v/util/types.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

class aAnim;
class aGraphServer;
class aInputServer;

// Error codes that showError turns into its messages.
constexpr u32 ERR_D3D_INIT = 0x8A760001;
constexpr u32 ERR_GAME = 0x8A760002;
constexpr u32 ERR_D3D_DEVICE = 0x8A760003;
constexpr u32 ERR_FILE_NOT_FOUND = 0x80070002;
constexpr u32 ERR_MEDIA = 0x8A76000B;
constexpr u32 ERR_DRIVER_INTERNAL = 0x88760827;
constexpr u32 ERR_CRASH_DUMP = 8431;

// The standard arrow cursor's resource id.
constexpr u32 IDC_ARROW = 32512;

// The engine's application frame: single instance, user folders, log, the window-message loop with
// its frame caps, and fatal-error boxes. The game's application class derives from it.
class aApplication {
public:
    // The routine of the loading thread; its result is the thread's exit code (0 = success).
    using ThreadRoutine = u32 (*)(void* argument);

    aApplication();
    virtual ~aApplication();
    aApplication(const aApplication&) = delete;
    aApplication& operator=(const aApplication&) = delete;

    // 0 on success, 1 when another instance runs (it has been asked to show its window).
    virtual u32 init(const char* name, void* instance, const char* cmdLine, const char* company);
    virtual u32 shutdown();
    // The quit code of the message loop.
    virtual i32 run();
    virtual void setPaused(bool paused);
    virtual std::intptr_t wndProc(platform::Window* window, u32 message, std::uintptr_t wparam,
                                  std::intptr_t lparam);
    // Linux has no priority classes; the values are nice levels (process, thread).
    virtual bool setPriority(i32 priorityClass, i32 threadPriority);
    virtual void showError(u32 code);
    virtual void deleteInputServer();
    virtual void createLoadingThread(ThreadRoutine routine, void* argument);
    virtual bool isLoadingFinished();
    // Frame hooks; a negative result closes the window.
    virtual i32 update() { return 0; }
    virtual i32 render() { return 0; }
    virtual void onDeactivate() { setPaused(true); }
    virtual void onActivate() { setPaused(false); }
    virtual void onDisplayModeChanged() {}
    virtual bool isFullscreenToggleAllowed() { return true; }
    virtual bool isScreenshotAllowed() { return true; }

    static aApplication* getInstance() { return s_instance; }
    // The running application's graph server; null without an application or a graph server.
    static aGraphServer* graphServer() { return s_instance ? s_instance->m_graphServer : nullptr; }
    // The running application's input server; null without an application or an input server.
    static aInputServer* inputServer() { return s_instance ? s_instance->m_inputServer : nullptr; }
    // The desktop work area, read at init and on every reactivation.
    static const platform::Rect& getWorkArea() { return s_workArea; }
    // Reads the work area of the window's display again (nothing while there is no window).
    void readWorkArea();

    // The single-instance claim's name: the application name and the real path of its user data
    // folder, so that copies with data homes of their own (tests side by side) do not meet.
    static std::string instanceName(const std::string& name, const std::string& userDataPath);

    // The message of an error box; the crash message names the user data folder's real path.
    static std::string errorMessage(u32 code, const std::string& userDataPath);
    // How long the idle pass sleeps to hold the frame rate to the display's refresh rate (only
    // windowed with vertical sync; a rate of 0 or above 1000 counts as 100), and while loading.
    static u32 refreshCapSleepMs(u32 refreshRate, bool fullscreen, bool vsync, double elapsed);
    static u32 loadingCapSleepMs(double elapsed);

    // The seconds the current frame pass measured; update reads it.
    f32 getFrameTime() const { return m_frameTime; }

    const std::string& getName() const { return m_name; }
    const char* getCmdLine() const { return m_cmdLine; }
    bool isActive() const { return m_active; }
    bool isPaused() const { return m_paused; }
    bool isInMainLoop() const { return m_inMainLoop; }
    aFileServer& getFileServer() { return m_fileServer; }
    const std::string& getExeDir() const { return m_exeDir; }
    const std::string& getLogFileName() const { return m_logFileName; }
    // Assign paths ending with "/".
    const std::string& getUserDataFolder() const { return m_userDataFolder; }
    const std::string& getSavedGamesFolder() const { return m_savedGamesFolder; }
    const std::string& getSharedDataFolder() const { return m_sharedDataFolder; }
    const std::string& getScreenshotFolder() const { return m_screenshotFolder; }

    // The window is made by the graph server and owned here; shutdown destroys it.
    platform::Window* getWindow() const { return m_window.get(); }
    void setWindow(std::unique_ptr<platform::Window> window);

    // The graph server and the input server register themselves; they are not owned here.
    aGraphServer* getGraphServer() const { return m_graphServer; }
    void setGraphServer(aGraphServer* server) { m_graphServer = server; }
    aInputServer* getInputServer() const { return m_inputServer; }
    void setInputServer(aInputServer* server) { m_inputServer = server; }

    // The sprite cursor is owned here once the input server hands it over; null for none.
    aAnim* getCursorAnim() const { return m_cursorAnim.get(); }
    void setCursorAnim(std::unique_ptr<aAnim> anim);
    // The system cursor shown while there is no sprite cursor: IDC_ARROW, or 0 for none.
    u32 getSystemCursor() const { return m_systemCursor; }
    void setSystemCursor(u32 cursor) { m_systemCursor = cursor; }

protected:
    // Opens the log in the user data folder and writes the start banner and the system block.
    void openLog();
    void logSystemConfiguration();
    void closeLog();
    // Hands WM_CLOSE to the window procedure at once.
    void closeWindow();
    // The message to dispatch, or false when none waits while active. While inactive it waits, and
    // answers another copy's requests to show the window meanwhile.
    bool takeMessage(platform::Window& window, platform::WindowMessage& message);
    void idlePass();
    void capFrameRate();
    bool fullscreenToggleRequested();
    // The key's state in this frame; KEY_UP without an input server.
    u32 keyState(u8 key) const;
    void answerRaiseRequest();
    void reportFatalError();
    void onActivateApp(bool active);
    std::intptr_t onSetCursor();
    // Shows the text in the error box, with a full-screen window minimised meanwhile.
    void showErrorBox(const std::string& text);
    void buildFolders(const char* company);

    void* m_instance = nullptr;
    platform::SingleInstance m_singleInstance;
    std::string m_name = "Unnamed";
    // Points into m_cmdLineText once init has kept a copy of the caller's text.
    const char* m_cmdLine = nullptr;
    std::string m_cmdLineText;
    std::atomic<bool> m_active{true};
    std::atomic<bool> m_paused{false};
    bool m_inMainLoop = false;
    f32 m_frameTime = 0;
    // The result of update or render, kept from pass to pass.
    i32 m_frameResult = 0;
    aFileServer m_fileServer;
    aTimer m_frameTimer{0};
    aGraphServer* m_graphServer = nullptr;
    aInputServer* m_inputServer = nullptr;
    std::unique_ptr<platform::Window> m_window;
    std::unique_ptr<aAnim> m_cursorAnim;
    u32 m_systemCursor = IDC_ARROW;
    std::thread m_loadingThread;
    std::atomic<bool> m_loadingRunning{false};
    std::atomic<u32> m_loadingExitCode{0};
    std::string m_exeDir;
    std::string m_logFileName = "tk2v.log";
    std::FILE* m_logFile = nullptr;
    std::string m_userDataFolder, m_savedGamesFolder, m_sharedDataFolder, m_screenshotFolder;

    static inline aApplication* s_instance = nullptr;
    static inline platform::Rect s_workArea{};
};
