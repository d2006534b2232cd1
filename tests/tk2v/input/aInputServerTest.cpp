#include "tk2v/input/aInputServer.h"

#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/platform/Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform;

namespace {

constexpr u8 KEY_A = 0x1E;
constexpr u32 LEFT = 0;

struct InputServer : ::testing::Test {
    // The log's clock started on the real one: the manual clock goes on from there.
    const u64 realNow = platform::counter();
    FakeClock clock;
    ScriptedInput script;
    aGraphServer& graph = testGraphServer();
    TestApplication& app = testApp();
    std::unique_ptr<aInputServer> server;

    InputServer() {
        clock.advanceNs(realNow);
        app.clearHooks();
        server = std::make_unique<aInputServer>();
    }
    ~InputServer() override {
        server.reset();
        setClientSize(1024, 768);
        app.clearHooks();
    }

    void frame(u32 ms = 16) {
        clock.advanceMs(ms);
        server->update();
    }
    void setClientSize(i32 w, i32 h) { app.getWindow()->setWindowed({0, 0, w, h}); }
    Point mousePos() const {
        Point p;
        server->getMousePos(p.x, p.y);
        return p;
    }
    void setActive(bool active) { app.wndProc(app.getWindow(), WM_ACTIVATEAPP, active, 0); }
};

TEST_F(InputServer, RegistersWithTheApplicationUntilDeleted) {
    EXPECT_EQ(app.getInputServer(), server.get());
    EXPECT_TRUE(server->nonExclusive);
    server.reset();
    EXPECT_EQ(app.getInputServer(), nullptr);
}

TEST_F(InputServer, KeyAndButtonStatesFollowThePolls) {
    struct Step {
        std::function<void(ScriptedInput&, u8, u32)> before;
        aKeyState expected;
    };
    auto nothing = [](ScriptedInput&, u8, u32) {};
    auto down = [](ScriptedInput& s, u8 key, u32 button) {
        s.keyDown(key);
        s.buttonDown(button);
    };
    auto up = [](ScriptedInput& s, u8 key, u32 button) {
        s.keyUp(key);
        s.buttonUp(button);
    };
    auto tap = [](ScriptedInput& s, u8 key, u32 button) {
        s.tapKey(key);
        s.click(button);
    };
    const std::vector<Step> steps = {
        {nothing, KEY_UP},   {down, KEY_PRESSED},     {nothing, KEY_HELD},
        {nothing, KEY_HELD}, {up, KEY_RELEASED},      {nothing, KEY_UP},
        {tap, KEY_PRESSED},  {nothing, KEY_RELEASED}, {nothing, KEY_UP},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].before(script, KEY_A, 2);
        frame();
        EXPECT_EQ(server->keyStates[KEY_A], steps[i].expected) << "frame " << i;
        EXPECT_EQ(server->mouseButtons[2], steps[i].expected) << "frame " << i;
        EXPECT_EQ(server->isMouseButtonDown(2), steps[i].expected >= KEY_PRESSED) << "frame " << i;
        EXPECT_EQ(server->anyKeyPressed(), steps[i].expected == KEY_PRESSED) << "frame " << i;
        EXPECT_EQ(server->anyMouseButtonPressed(), steps[i].expected == KEY_PRESSED) << "frame " << i;
    }
    EXPECT_EQ(server->keyStates[KEY_A + 1], KEY_UP);
    EXPECT_EQ(server->mouseButtons[LEFT], KEY_UP);
    EXPECT_FALSE(server->isMouseButtonDown(3));
}

TEST_F(InputServer, EveryTapIsAPressAlsoWhenTapsComeInFramesInARow) {
    // Six taps, each shorter than a frame and one in each frame, as quick key presses come.
    int keyPresses = 0, buttonPresses = 0;
    for (int i = 0; i < 18; ++i) {
        if (i < 6) {
            script.tapKey(KEY_A);
            script.click(LEFT);
        }
        frame();
        keyPresses += server->keyStates[KEY_A] == KEY_PRESSED;
        buttonPresses += server->mouseButtons[LEFT] == KEY_PRESSED;
    }
    EXPECT_EQ(keyPresses, 6);
    EXPECT_EQ(buttonPresses, 6);
    EXPECT_EQ(server->keyStates[KEY_A], KEY_UP);
}

TEST_F(InputServer, DoubleClickNeedsTheSecondPressInTimeAndInPlace) {
    struct Case {
        const char* name;
        u32 gapMs;    // from the release's frame to the second press's frame
        bool moveOff; // a frame between them moves the mouse
        bool doubleClick;
    };
    const Case cases[] = {
        {"quick", 200, false, true},
        {"just in time", 499, false, true},
        {"too late", 500, false, false},
        {"moved away", 200, true, false},
    };
    for (const Case& c : cases) {
        script.setCursor(300, 200);
        frame();
        script.buttonDown(LEFT);
        frame();
        EXPECT_FALSE(server->doubleClicks[LEFT].clicked) << c.name;
        script.buttonUp(LEFT);
        frame();
        if (c.moveOff) {
            script.move(4, 0);
            frame(c.gapMs / 2);
            frame(c.gapMs - c.gapMs / 2);
        } else {
            frame(c.gapMs);
        }
        script.buttonDown(LEFT);
        frame(0);
        EXPECT_EQ(server->doubleClicks[LEFT].clicked, c.doubleClick) << c.name;
        script.buttonUp(LEFT);
        frame();
        EXPECT_FALSE(server->doubleClicks[LEFT].clicked) << c.name;
        // Let the release of this round time out.
        frame(1000);
        frame();
    }
}

TEST_F(InputServer, TwoTapsInTwoFramesAreADoubleClickOfThatButtonOnly) {
    script.click(1);
    frame();
    frame();
    script.click(1);
    frame();
    EXPECT_TRUE(server->doubleClicks[1].clicked);
    EXPECT_FALSE(server->doubleClicks[LEFT].clicked);
}

TEST_F(InputServer, MovementAndWheelAreTheFramesOwn) {
    script.move(5, -2);
    script.move(1, 1);
    script.wheel(-1);
    frame();
    EXPECT_EQ(server->mouseDx, 6);
    EXPECT_EQ(server->mouseDy, -1);
    EXPECT_EQ(server->mouseWheel, -WHEEL_DELTA);
    frame();
    EXPECT_EQ(server->mouseDx, 0);
    EXPECT_EQ(server->mouseDy, 0);
    EXPECT_EQ(server->mouseWheel, 0);
}

TEST_F(InputServer, AnInactiveApplicationKeepsEveryState) {
    script.keyDown(KEY_A);
    script.buttonDown(LEFT);
    script.move(3, 0);
    frame();
    setActive(false);
    script.keyUp(KEY_A);
    frame();
    frame();
    EXPECT_EQ(server->keyStates[KEY_A], KEY_PRESSED);
    EXPECT_EQ(server->mouseButtons[LEFT], KEY_PRESSED);
    EXPECT_EQ(server->mouseDx, 3);
    setActive(true);
    frame();
    EXPECT_EQ(server->keyStates[KEY_A], KEY_RELEASED);
    EXPECT_EQ(server->mouseButtons[LEFT], KEY_HELD);
}

TEST_F(InputServer, AFailedPollReadsNothingAndTheDeviceIsTakenBack) {
    for (Result code : {DIERR_INPUTLOST, DIERR_NOTACQUIRED}) {
        script.keyDown(KEY_A);
        script.buttonDown(LEFT);
        frame();
        frame();
        LogCapture logs;
        script.move(2, 2);
        script.failNextPoll(code);
        frame();
        const std::string name = resultName(code);
        EXPECT_TRUE(logs.contains("aInputServer. Keyboard GetDeviceState failed (" + name + ")"));
        EXPECT_TRUE(logs.contains("aInputServer. Mouse GetDeviceState failed (" + name + ")"));
        EXPECT_EQ(server->keyStates[KEY_A], KEY_RELEASED);
        EXPECT_EQ(server->mouseButtons[LEFT], KEY_RELEASED);
        EXPECT_EQ(server->mouseDx, 0);
        logs.clear();
        frame();
        EXPECT_EQ(logs.messages(), std::vector<std::string>{}) << name;
        EXPECT_EQ(server->keyStates[KEY_A], KEY_PRESSED);
        EXPECT_EQ(server->mouseButtons[LEFT], KEY_PRESSED);
        script.keyUp(KEY_A);
        script.buttonUp(LEFT);
        frame();
    }
}

TEST_F(InputServer, ANewMouseKeepsOrClearsTheButtons) {
    script.buttonDown(LEFT);
    script.click(1);
    frame();
    script.move(1, 0);
    frame();
    server->initMouse(false, false);
    EXPECT_FALSE(server->nonExclusive);
    EXPECT_EQ(server->mouseButtons[LEFT], KEY_HELD);
    EXPECT_EQ(server->mouseDx, 1);
    EXPECT_EQ(server->doubleClicks[1].timer, 0);
    server->initMouse(true, true);
    EXPECT_TRUE(server->nonExclusive);
    EXPECT_EQ(server->mouseButtons[LEFT], KEY_UP);
    EXPECT_EQ(server->doubleClicks[1].timer, -1);
    EXPECT_EQ(server->mouseDx, 0);
}

TEST_F(InputServer, AWindowSmallerThanTheBackBufferStillCoversIt) {
    setClientSize(800, 600);
    const std::pair<Point, Point> cases[] = {
        {{0, 0}, {0, 0}}, {{400, 300}, {512, 384}}, {{799, 599}, {1022, 766}},
        {{1, 1}, {1, 1}}, {{3, 3}, {3, 3}}, // 3.84 truncated
    };
    for (auto [client, back] : cases) {
        script.setCursor(client.x, client.y);
        frame();
        EXPECT_EQ(mousePos(), back) << client.x << "," << client.y;
    }
    server->setMousePos(1023, 767);
    EXPECT_EQ(mousePos(), (Point{1023, 767}));
    EXPECT_EQ(script.cursor(), (Point{799, 599}));
}

TEST_F(InputServer, ALetterboxedPictureMapsThroughItsRectangle) {
    // 1024 x 768 shown 1067 x 800 from x = 106.
    setClientSize(1280, 800);
    const std::pair<Point, Point> cases[] = {
        {{106, 0}, {0, 0}},
        {{1172, 799}, {1023, 767}},
        {{639, 400}, {511, 384}},
        {{50, 400}, {-54, 384}}, // in the bar left of the picture
    };
    for (auto [client, back] : cases) {
        script.setCursor(client.x, client.y);
        frame();
        EXPECT_EQ(mousePos(), back) << client.x << "," << client.y;
    }
    server->setMousePos(512, 384);
    EXPECT_EQ(script.cursor(), (Point{639, 400}));
    server->setMousePos(0, 0);
    EXPECT_EQ(script.cursor(), (Point{106, 0}));
}

TEST_F(InputServer, ThePositionStaysWhileThePointerIsOffTheWindow) {
    script.setCursor(10, 20);
    frame();
    script.setCursorOverWindow(false);
    frame();
    EXPECT_EQ(mousePos(), (Point{10, 20}));
}

TEST_F(InputServer, TheSpriteCursorIsTheApplicationsCopy) {
    aAnim arrow, hand;
    arrow.frameTime = 0.1f;
    hand.frameTime = 0.2f;
    server->setCursorAnim(&arrow, 3, 4);
    aAnim* cursor = app.getCursorAnim();
    ASSERT_NE(cursor, nullptr);
    EXPECT_NE(cursor, &arrow);
    EXPECT_FLOAT_EQ(cursor->frameTime, 0.1f);
    EXPECT_FALSE(cursor->stopped);
    EXPECT_EQ(server->hotX, 3);
    EXPECT_EQ(server->hotY, 4);

    // Given again, only the hot spot moves.
    cursor->elapsed = 0.05f;
    server->setCursorAnim(&arrow, 7, 8);
    EXPECT_EQ(app.getCursorAnim(), cursor);
    EXPECT_FLOAT_EQ(cursor->elapsed, 0.05f);
    EXPECT_EQ(server->hotX, 7);

    server->setCursorAnim(&hand, 0, 0);
    EXPECT_EQ(app.getCursorAnim(), cursor);
    EXPECT_FLOAT_EQ(cursor->frameTime, 0.2f);

    server->setCursorAnim(nullptr, 0, 0);
    EXPECT_EQ(app.getCursorAnim(), nullptr);
    server->setCursorAnim(&hand, 0, 0);
    EXPECT_NE(app.getCursorAnim(), nullptr);
    server.reset();
    EXPECT_EQ(app.getCursorAnim(), nullptr);
}

TEST_F(InputServer, TheSystemCursorReplacesTheSpriteCursor) {
    aAnim arrow;
    server->setCursorAnim(&arrow, 0, 0);
    server->setSystemCursor(0);
    EXPECT_EQ(app.getCursorAnim(), nullptr);
    EXPECT_EQ(app.getSystemCursor(), 0u);
    // The last animation is forgotten, so the same one makes a cursor again.
    server->setCursorAnim(&arrow, 0, 0);
    EXPECT_NE(app.getCursorAnim(), nullptr);
    server->setSystemCursor(IDC_ARROW);
    EXPECT_EQ(app.getSystemCursor(), IDC_ARROW);
}

} // namespace
