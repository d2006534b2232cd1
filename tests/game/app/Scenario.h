#pragma once
#include "game/CGameFlow.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyMain.h"
#include "game/SpyGame/CSpyObject.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/cMain.h"
#include "support/ScriptedInput.h"
#include "support/TypedKeys.h"
#include "support/game/ItemPoint.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Window.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr u8 DIK_ESCAPE = 0x01;

// Plays the player from inside the running game: the keyboard's poll, once a frame, runs the current
// step until it reports itself done; a step that overruns its deadline closes the window. A deadline
// is in seconds and also in frames at a slow machine's rate: a machine busy with other work (or a
// sanitized build) draws fewer frames a second, and a step it is still playing is not overdue.
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
    // Told the name of each step as it is done, in the frame that did it.
    void onStepDone(std::function<void(const std::string&)> observer) { m_onStepDone = std::move(observer); }
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
    // The running game's object; only while the application runs.
    static CSpyMain& game() {
        return dynamic_cast<cMain*>(aApplication::getInstance())->getGameFlow()->GetGame();
    }
    static GUI::Widget* find(const std::string& window, const std::string& name) {
        if (!GUI::Server::exists())
            return nullptr;
        GUI::Widget* root = GUI::Server::getSingleton()->GetRoot()->FindChild(window, true);
        return root ? root->FindChild(name, true) : nullptr;
    }
    // Three steps: point at the back-buffer point `where` gives once it gives one, press, release.
    void clickAt(const std::string& name, std::function<std::optional<platform::Point>()> where,
                 double deadline = 5) {
        add("point at " + name, deadline, [this, where = std::move(where)] {
            const std::optional<platform::Point> back = where();
            if (!back)
                return false;
            const platform::Point at = toWindow(*back);
            setCursor(at.x, at.y);
            return true;
        });
        add("press on " + name, 1, [this] { return buttonDown(0), true; });
        add("release on " + name, 1, [this] { return buttonUp(0), true; });
    }
    // A click on the item of the room being played, once it shows, where the room's own search
    // finds it.
    void clickItem(const std::string& room, const std::string& item, double deadline = 5) {
        clickAt(
            room + ":" + item, [room, item] { return itemPoint(room, item); }, deadline);
    }
    // A click on the item in the strip of the personage played.
    void clickInventoryItem(const std::string& item, double deadline = 5) {
        clickAt(
            "the strip's " + item, [item] { return inventoryPoint(item); }, deadline);
    }
    // A click on the widget's middle once it is visible.
    void clickOn(const std::string& window, const std::string& name, double deadline = 5) {
        clickAt(
            name,
            [window, name]() -> std::optional<platform::Point> {
                GUI::Widget* w = find(window, name);
                if (!w || !w->IsVisible())
                    return std::nullopt;
                return platform::Point{w->GetScreenX() + w->GetArea().w / 2,
                                       w->GetScreenY() + w->GetArea().h / 2};
            },
            deadline);
    }
    // Presses on the widget's middle, moves the pointer sideways by `dx` window pixels in steps of
    // ten, and lets go.
    void dragBy(const std::string& window, const std::string& name, i32 dx) {
        clickOn(window, name);
        m_steps.pop_back();
        for (i32 moved = 0; moved != dx;) {
            const i32 step = std::clamp(dx - moved, -10, 10);
            moved += step;
            add("drag " + name, 1, [this, step] { return move(step, 0), true; });
        }
        add("let go of " + name, 1, [this] { return buttonUp(0), true; });
    }
    // A press held at the room point (x, y) of the room played for `frames` frames, then released
    // there.
    void holdAt(const std::string& room, i32 x, i32 y, int frames) {
        pointAtRoom(room, x, y);
        add("press at " + room, 1, [this] { return buttonDown(0), true; });
        add("hold at " + room, 10 + frames, [frames, held = 0]() mutable { return ++held >= frames; });
        add("release at " + room, 1, [this] { return buttonUp(0), true; });
    }
    // Pressed at the first room point, moved through the others in steps of at most ten window
    // pixels, released at the last.
    void dragThrough(const std::string& room, const std::vector<platform::Point>& points) {
        if (points.empty())
            return;
        pointAtRoom(room, points.front().x, points.front().y);
        add("press at " + room, 1, [this] { return buttonDown(0), true; });
        for (size_t i = 1; i < points.size(); ++i) {
            const platform::Point to = points[i];
            add("drag in " + room, 5, [this, room, to] {
                const std::optional<platform::Point> back = roomPoint(room, to.x, to.y);
                if (!back)
                    return false;
                const platform::Point at = toWindow(*back), from = cursor();
                const i32 dx = std::clamp(at.x - from.x, -10, 10), dy = std::clamp(at.y - from.y, -10, 10);
                move(dx, dy);
                return dx == at.x - from.x && dy == at.y - from.y;
            });
        }
        add("release at " + room, 1, [this] { return buttonUp(0), true; });
    }
    // A click of the right button at the room point.
    void rightClickAt(const std::string& room, i32 x, i32 y) {
        pointAtRoom(room, x, y);
        add("right press at " + room, 1, [this] { return buttonDown(1), true; });
        add("right release at " + room, 1, [this] { return buttonUp(1), true; });
    }
    // A step of one frame that calls into the running game.
    void call(const std::string& name, std::function<void()> act) {
        add(name, 1, [act = std::move(act)] { return act(), true; });
    }
    // A press and release wherever the pointer is.
    void clickHere() {
        add("press", 1, [this] { return buttonDown(0), true; });
        add("release", 1, [this] { return buttonUp(0), true; });
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
    // Play from the menu until the investigation is on the map, leave it by saving, then Exit.
    void playThenSaveAndExit() {
        clickOn("MainMenu", "Play");
        waitForInvestigation(CInvestigation::OnMap, 60);
        saveAndExit();
        clickOn("MainMenu", "Exit");
    }
    // From play: the panel's menu, its exit and yes to saving; back at the main menu.
    void saveAndExit() {
        clickOn("SpyGameInterface", "Menu");
        clickOn("InGameMenu", "exit");
        clickOn("ConfirmSaveExit", "btn_yes");
        waitForState(CGameFlow::MAIN_MENU, 10);
    }
    // One key a frame, so that they arrive in order.
    void type(const std::vector<u8>& keys) {
        for (u8 key : keys)
            add("key " + std::to_string(key), 1, [this, key] { return tapKey(key), true; });
    }
    // Text as the keys that type it, one a frame: lower-case letters, digits, blanks and '\n' for
    // Enter. A character without a key fails the step that would type it.
    void type(const std::string& text) {
        for (char ch : text) {
            const u8 key = scanCode(ch);
            add(std::string("type '") + ch + "'", 0, [this, key] { return key && (tapKey(key), true); });
        }
    }
    void waitForState(u32 state, double deadline) {
        add("flow state " + std::to_string(state), deadline, [state] { return flowState() == state; });
    }
    // The game playing and its investigation in `state`.
    void waitForInvestigation(u32 state, double deadline) {
        add("investigation state " + std::to_string(state), deadline, [state] {
            return flowState() == CGameFlow::GAME && game().GetState() == CSpyMain::PLAYING &&
                   game().GetInvestigation().GetState() == state;
        });
    }

    platform::Result pollResult(platform::InputDevice device) override {
        if (device == platform::InputDevice::Keyboard)
            step();
        return ScriptedInput::pollResult(device);
    }

    // Where a press reaches the item of the room played; none while the room is not played.
    static std::optional<platform::Point> itemPoint(const std::string& roomName,
                                                    const std::string& itemName) {
        CRoomsManager& rooms = game().GetRoomsManager();
        CRoomBase* room = rooms.HasRoom(roomName) ? rooms.GetRoom(roomName) : nullptr;
        CSpyItem* item = room ? room->GetItem(itemName) : nullptr;
        if (!item || game().GetInvestigation().GetCurrentRoomPtr() != room)
            return std::nullopt;
        return ::itemPoint(*room, *item, game().GetPanel());
    }
    // The middle of the item's cell in the strip of the personage played; none while it is not
    // there or its cell is scrolled out of the strip.
    static std::optional<platform::Point> inventoryPoint(const std::string& itemName) {
        CPersonage* personage = game().GetPersonagesManager().GetCurrentPersonage();
        CSpyItem* item = personage ? personage->GetInventory().FindItem(itemName) : nullptr;
        if (!item)
            return std::nullopt;
        const aRect& area = personage->GetInventory().GetArea();
        // The item stands at its cell's left edge; a picture wider than the cell shows clipped to it.
        const i32 width = std::min<i32>(item->GetWidth(), CInventory::ClipWidth);
        const platform::Point at{i32(item->GetPos().x) + width / 2, area.y + area.h / 2};
        if (!personage->GetInventory().IsPointInArea(i16(at.x), i16(at.y)))
            return std::nullopt;
        return at;
    }

    // The back-buffer point that shows the room point (x, y) of the room played, in the room's
    // pixels as its objects.ini places things; none while that room is not played.
    static std::optional<platform::Point> roomPoint(const std::string& roomName, i32 x, i32 y) {
        CRoomsManager& rooms = game().GetRoomsManager();
        CRoomBase* room = rooms.HasRoom(roomName) ? rooms.GetRoom(roomName) : nullptr;
        if (!room || game().GetInvestigation().GetCurrentRoomPtr() != room)
            return std::nullopt;
        const SpyPoint origin = room->GetPosition(), scale = room->GetScale();
        return platform::Point{i32(origin.x + f32(x) * scale.x), i32(origin.y + f32(y) * scale.y)};
    }
    static u8 scanCode(char ch) { return ScanCodeOf(ch); }

    // The left button pressed at the room point, and let go wherever the pointer is then: what the
    // steps between them do, they do with the button held.
    void pressAt(const std::string& room, i32 x, i32 y) {
        pointAtRoom(room, x, y);
        add("press at " + room, 1, [this] { return buttonDown(0), true; });
    }
    void release() {
        add("release", 1, [this] { return buttonUp(0), true; });
    }
    // Points at the room point once the room is played; the buttons stay as they are.
    void pointAtRoom(const std::string& room, i32 x, i32 y) {
        add("point at " + room + " " + std::to_string(x) + "," + std::to_string(y), 5, [this, room, x, y] {
            const std::optional<platform::Point> back = roomPoint(room, x, y);
            if (back) {
                const platform::Point at = toWindow(*back);
                setCursor(at.x, at.y);
            }
            return back.has_value();
        });
    }

private:
    // The window pixel that shows a back-buffer point, in full screen as well.
    static platform::Point toWindow(platform::Point back) {
        const platform::Point client = aApplication::getInstance()->getWindow()->clientSize();
        const platform::Rect present = platform::presentRect(client.x, client.y, 1024, 768);
        return platform::backBufferToWindow(back, present, 1024, 768);
    }

    static constexpr double SlowFramesPerSecond = 30;

    void step() {
        if (m_current >= m_steps.size() || !m_failed.empty())
            return;
        const Clock::time_point now = Clock::now();
        if (m_current == 0 && m_stepStart == Clock::time_point())
            m_stepStart = now;
        const double deadline = m_steps[m_current].deadlineSeconds;
        if (m_steps[m_current].act()) {
            if (m_onStepDone)
                m_onStepDone(m_steps[m_current].name);
            ++m_current;
            m_stepStart = now;
            m_stepFrames = 0;
        } else if (double(++m_stepFrames) > deadline * SlowFramesPerSecond &&
                   std::chrono::duration<double>(now - m_stepStart).count() > deadline) {
            m_failed = m_steps[m_current].name;
            if (platform::Window* window = aApplication::getInstance()->getWindow())
                window->dispatch({platform::WM_CLOSE, 0, 0});
        }
    }

    std::vector<Step> m_steps;
    size_t m_current = 0;
    Clock::time_point m_stepStart;
    u64 m_stepFrames = 0;
    std::string m_failed;
    std::function<void(const std::string&)> m_onStepDone;
};
