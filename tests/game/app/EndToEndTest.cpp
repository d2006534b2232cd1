#include "GameHome.h"
#include "game/CGameFlow.h"
#include "game/ProfilesManager.h"
#include "game/cMain.h"
#include "support/ScriptedInput.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <regex>

namespace {

constexpr u8 DIK_ESCAPE = 0x01;
constexpr u8 DIK_E = 0x12, DIK_R = 0x13, DIK_T = 0x14, DIK_S = 0x1F, DIK_LSHIFT = 0x2A, DIK_SPACE = 0x39;

// Plays the player from inside the running game: the keyboard's poll, once a frame, runs the current
// step until it reports itself done; a step that overruns its deadline closes the window.
class Scenario : public ScriptedInput {
public:
    using Clock = std::chrono::steady_clock;
    struct Step {
        std::string name;
        double deadlineSeconds;
        std::function<bool()> act;
    };

    void add(const std::string& name, double deadline, std::function<bool()> act) {
        m_steps.push_back({name, deadline, std::move(act)});
    }
    // The step that overran, or "" when every step ran.
    std::string failure() const {
        if (!m_failed.empty())
            return m_failed;
        return m_current < m_steps.size() ? "unfinished: " + m_steps[m_current].name : "";
    }

    static u32 flowState() {
        const auto* app = dynamic_cast<cMain*>(aApplication::getInstance());
        return app && app->getGameFlow() ? app->getGameFlow()->GetState() : CGameFlow::CONSTRUCTED;
    }
    static GUI::Widget* find(const std::string& window, const std::string& name) {
        if (!GUI::Server::exists())
            return nullptr;
        GUI::Widget* root = GUI::Server::getSingleton()->GetRoot()->FindChild(window, true);
        return root ? root->FindChild(name, true) : nullptr;
    }
    // Three steps: point at the widget's middle, press, release.
    void clickOn(const std::string& window, const std::string& name) {
        add("point at " + name, 2, [this, window, name] {
            GUI::Widget* w = find(window, name);
            if (!w || !w->IsVisible())
                return false;
            const platform::Point middle{w->GetScreenX() + w->GetArea().w / 2,
                                         w->GetScreenY() + w->GetArea().h / 2};
            const platform::Point at = toWindow(middle);
            setCursor(at.x, at.y);
            return true;
        });
        add("press on " + name, 1, [this] { return buttonDown(0), true; });
        add("release on " + name, 1, [this] { return buttonUp(0), true; });
    }
    // A key during a screen's fade-in is ignored, and the flow stays in its splash state for the whole
    // sequence: Escape goes a second after the splash screens start.
    void skipSplash() {
        add("skip the splash screens", 5, [this, seen = Clock::time_point()]() mutable {
            if (flowState() != CGameFlow::SPLASH)
                return false;
            if (seen == Clock::time_point())
                seen = Clock::now();
            if (Clock::now() - seen < std::chrono::milliseconds(1000))
                return false;
            tapKey(DIK_ESCAPE);
            return true;
        });
    }
    // One key a frame, so that they arrive in order.
    void type(const std::vector<u8>& keys) {
        for (u8 key : keys)
            add("key " + std::to_string(key), 1, [this, key] { return tapKey(key), true; });
    }
    void waitForState(u32 state, double deadline) {
        add("flow state " + std::to_string(state), deadline, [state] { return flowState() == state; });
    }

    platform::Result pollResult(platform::InputDevice device) override {
        if (device == platform::InputDevice::Keyboard)
            step();
        return ScriptedInput::pollResult(device);
    }

private:
    // The window pixel that shows a back-buffer point, in full screen as well.
    static platform::Point toWindow(platform::Point back) {
        const platform::Point client = aApplication::getInstance()->getWindow()->clientSize();
        const platform::Rect present = platform::presentRect(client.x, client.y, 1024, 768);
        return platform::backBufferToWindow(back, present, 1024, 768);
    }

    void step() {
        if (m_current >= m_steps.size() || !m_failed.empty())
            return;
        const Clock::time_point now = Clock::now();
        if (m_current == 0 && m_stepStart == Clock::time_point())
            m_stepStart = now;
        if (m_steps[m_current].act()) {
            ++m_current;
            m_stepStart = now;
        } else if (std::chrono::duration<double>(now - m_stepStart).count() >
                   m_steps[m_current].deadlineSeconds) {
            m_failed = m_steps[m_current].name;
            if (platform::Window* window = aApplication::getInstance()->getWindow())
                window->dispatch({platform::WM_CLOSE, 0, 0});
        }
    }

    std::vector<Step> m_steps;
    size_t m_current = 0;
    Clock::time_point m_stepStart;
    std::string m_failed;
};

int runGame() {
    char name[] = "rvh";
    char* argv[] = {name, nullptr};
    return rvhMain(1, argv);
}

// The demo as shipped, splash screens included, for the player "Tester" in a window: the splash cut
// short, the menu, Play and its message, Exit.
TEST(EndToEnd, FromTheSplashScreensThroughTheMenuToExit) {
    GameHome home(GameHome::readFile(std::string(RVH_DEMO_DATA) + "Game.ini"));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());
    Scenario player;
    player.skipSplash();
    player.waitForState(CGameFlow::MAIN_MENU, 30);
    player.clickOn("MainMenu", "Play");
    player.waitForState(CGameFlow::GAME, 2);
    player.add("the message is up", 2, [] {
        GUI::Widget* message = Scenario::find("Message", "text");
        return message && message->IsVisible();
    });
    player.clickOn("Message", "Close");
    player.waitForState(CGameFlow::MAIN_MENU, 2);
    player.clickOn("MainMenu", "Exit");

    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");

    // Only the graph server's start lines that every machine without those modes logs.
    const std::regex unexpected("[Ee]rror|not found|Cannot|failed|already|Not Initialized");
    const std::vector<std::string> allowed = {"aGraphServer. 16 bit fullscreen mode not found",
                                              "aGraphServer. 32 bit fullscreen mode not found"};
    for (const std::string& line : GameHome::lastRunLog()) {
        if (std::regex_search(line, unexpected)) {
            EXPECT_NE(std::find(allowed.begin(), allowed.end(), line), allowed.end()) << line;
        }
    }

    ProfilesManager profiles;
    profiles.setFolders(GameHome::userDataFolder(), GameHome::userDataFolder());
    profiles.Load();
    ASSERT_EQ(profiles.getProfiles().size(), 1u);
    EXPECT_EQ(profiles.getProfiles()[0].name, "Tester");
    EXPECT_FALSE(g_currentProfile.fullScreen);
}

} // namespace

namespace {

// A menu script cut off in the middle of a section: the windows it never reached are missing, the
// dialogs that look for them stay inert, and the flow still comes to the menu.
TEST(EndToEnd, ACutOffMenuScriptStillComesToTheMenu) {
    GameHome home(gameIni(false), true);
    const std::string index = home.path() + "GameData/Language/English/GUI/index.agui";
    const std::string script = GameHome::readFile(index);
    GameHome::writeFile(index, script.substr(0, script.size() / 2));
    GameHome::writeFile(GameHome::profilesFile(), testerProfilesFile());

    Scenario player;
    player.waitForState(CGameFlow::MAIN_MENU, 30);
    player.add("the menu's window is missing", 1,
               [] { return !GUI::Server::getSingleton()->GetRoot()->FindChild("MainMenu", true); });
    player.add("close the window", 1, [] {
        aApplication::getInstance()->getWindow()->dispatch({platform::WM_CLOSE, 0, 0});
        return true;
    });
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");
    const std::vector<std::string> log = GameHome::lastRunLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "CDialogBase::Create(). Cannot find window: MainMenu"),
              log.end());
    EXPECT_EQ(GameHome::readFile(GameHome::profilesFile()), testerProfilesFile());
}

} // namespace

namespace {

// The first start: no profiles file, full screen. The player is asked for a name, types one with
// spaces around it, and turns full screen off in the options before leaving.
TEST(EndToEnd, AFirstStartCreatesThePlayerAndTheNextStartGoesStraightToTheMenuInTheWindow) {
    GameHome home(GameHome::readFile(std::string(RVH_DEMO_DATA) + "Game.ini"));
    Scenario player;
    player.skipSplash();
    player.waitForState(CGameFlow::PROFILES, 30);
    player.type({DIK_SPACE, DIK_SPACE});
    player.add("shift down", 1, [&player] { return player.keyDown(DIK_LSHIFT), true; });
    player.type({DIK_T});
    player.add("shift up", 1, [&player] { return player.keyUp(DIK_LSHIFT), true; });
    player.type({DIK_E, DIK_S, DIK_T, DIK_E, DIK_R, DIK_SPACE, DIK_RETURN});
    player.waitForState(CGameFlow::MAIN_MENU, 2);
    player.add("the player's name", 1, [] {
        GUI::Widget* name = Scenario::find("MainMenu", "UserName");
        return name && name->GetText() == L"Tester";
    });
    player.clickOn("MainMenu", "Options");
    player.waitForState(CGameFlow::OPTIONS, 2);
    player.clickOn("OptionsMenu", "fullscreen");
    player.clickOn("OptionsMenu", "btn_apply");
    player.waitForState(CGameFlow::MAIN_MENU, 2);
    player.add("windowed", 1, [] { return !aApplication::getInstance()->getGraphServer()->isFullscreen(); });
    player.clickOn("MainMenu", "Exit");

    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(player.failure(), "");

    // Besides the graph server's start lines, only the missing profiles file of a first start.
    const std::regex unexpected("[Ee]rror|not found|Cannot|failed|already|Not Initialized");
    const std::string profilesName = "userappdata:Quarrybell Works/RVH/RVH_profiles.dat";
    const std::vector<std::string> allowed = {"aGraphServer. 16 bit fullscreen mode not found",
                                              "aGraphServer. 32 bit fullscreen mode not found",
                                              "file_readFullAndMalloc. Error open file: " + profilesName,
                                              "SaveLoadSystem: file \"" + profilesName + "\" load failed!"};
    for (const std::string& line : GameHome::lastRunLog()) {
        if (std::regex_search(line, unexpected)) {
            EXPECT_NE(std::find(allowed.begin(), allowed.end(), line), allowed.end()) << line;
        }
    }

    g_currentProfile = DEFAULT_PROFILE;
    ProfilesManager profiles;
    profiles.setFolders(GameHome::userDataFolder(), GameHome::userDataFolder());
    profiles.Load();
    ASSERT_EQ(profiles.getProfiles().size(), 1u);
    EXPECT_EQ(profiles.getProfiles()[0].name, "Tester");
    EXPECT_EQ(profiles.getProfiles()[0].musicVolume, 0.5f);
    EXPECT_FALSE(profiles.getProfiles()[0].fullScreen);
    EXPECT_EQ(g_currentProfile.name, "Tester");

    // The next start in the same home goes to the menu at once, in the window, and logs no error.
    Scenario again;
    again.skipSplash();
    again.waitForState(CGameFlow::MAIN_MENU, 30);
    again.add("windowed", 1, [] { return !aApplication::getInstance()->getGraphServer()->isFullscreen(); });
    again.clickOn("MainMenu", "Exit");
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(again.failure(), "");
    for (const std::string& line : GameHome::lastRunLog()) {
        if (std::regex_search(line, unexpected)) {
            EXPECT_NE(std::find(allowed.begin(), allowed.begin() + 2, line), allowed.begin() + 2) << line;
        }
    }
}

} // namespace
