#include "tk2v/platform/InputDevices.h"
#include "tk2v/platform/Window.h"

#include "support/ScriptedInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform;

namespace {

constexpr u8 KEY_A = 0x1E;

class InputDevicesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WindowConfig config;
        config.title = "input test";
        config.client = {0, 0, 320, 240};
        config.visible = false;
        s_window = Window::create(config).release();
    }
    static void TearDownTestSuite() { delete s_window; }

    void SetUp() override {
        ASSERT_TRUE(s_window);
        ASSERT_EQ(devices.createKeyboard(), S_OK);
        ASSERT_EQ(devices.createMouse(false), S_OK);
        ASSERT_EQ(devices.acquire(InputDevice::Keyboard), S_OK);
        ASSERT_EQ(devices.acquire(InputDevice::Mouse), S_OK);
    }

    u8 pollKey(u8 scanCode) {
        u8 keys[256];
        EXPECT_EQ(devices.pollKeyboard(keys), S_OK);
        return keys[scanCode];
    }

    static inline Window* s_window = nullptr;
    ScriptedInput script;
    InputDevices devices{s_window};
};

TEST_F(InputDevicesTest, KeyBytesAcrossPolls) {
    struct Step {
        std::function<void(ScriptedInput&)> before;
        u8 expected;
    };
    const std::vector<Step> steps = {
        {[](ScriptedInput&) {}, 0},
        {[](ScriptedInput& s) { s.keyDown(KEY_A); }, 0x80},
        {[](ScriptedInput&) {}, 0x80},
        {[](ScriptedInput& s) { s.keyUp(KEY_A); }, 0},
        // Pressed and let go between two polls: down once, then up.
        {[](ScriptedInput& s) { s.tapKey(KEY_A); }, 0x80},
        {[](ScriptedInput&) {}, 0},
        // A tap in each of two polls in a row: the second press waits for a poll that reads up.
        {[](ScriptedInput& s) { s.tapKey(KEY_A); }, 0x80},
        {[](ScriptedInput& s) { s.tapKey(KEY_A); }, 0},
        {[](ScriptedInput&) {}, 0x80},
        {[](ScriptedInput&) {}, 0},
        // Three taps between two polls: three presses, each down after an up.
        {[](ScriptedInput& s) {
             for (int i = 0; i < 3; ++i)
                 s.tapKey(KEY_A);
         },
         0x80},
        {[](ScriptedInput&) {}, 0},
        {[](ScriptedInput&) {}, 0x80},
        {[](ScriptedInput&) {}, 0},
        {[](ScriptedInput&) {}, 0x80},
        {[](ScriptedInput&) {}, 0},
        // Let go and pressed again while held: a new press, so up once, then down while held.
        {[](ScriptedInput& s) { s.keyDown(KEY_A); }, 0x80},
        {[](ScriptedInput& s) {
             s.keyUp(KEY_A);
             s.keyDown(KEY_A);
         },
         0},
        {[](ScriptedInput&) {}, 0x80},
        {[](ScriptedInput&) {}, 0x80},
        {[](ScriptedInput& s) { s.keyUp(KEY_A); }, 0},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].before(script);
        EXPECT_EQ(pollKey(KEY_A), steps[i].expected) << "poll " << i;
    }
}

TEST_F(InputDevicesTest, OnlyTheKeysTouchedAreDown) {
    script.keyDown(0xB7);
    script.tapKey(0x01);
    u8 keys[256];
    ASSERT_EQ(devices.pollKeyboard(keys), S_OK);
    for (u32 i = 0; i < 256; ++i)
        EXPECT_EQ(keys[i], i == 0xB7 || i == 0x01 ? 0x80 : 0) << i;
}

TEST_F(InputDevicesTest, MouseMovementAndWheelAreSummedPerPoll) {
    script.move(3, -4);
    script.move(10, 1);
    script.wheel(2);
    script.wheel(-1);
    script.click(1);
    script.buttonDown(3);
    MouseState state;
    ASSERT_EQ(devices.pollMouse(state), S_OK);
    EXPECT_EQ(state.dx, 13);
    EXPECT_EQ(state.dy, -3);
    EXPECT_EQ(state.wheel, WHEEL_DELTA);
    EXPECT_EQ(state.buttons[0], 0);
    EXPECT_EQ(state.buttons[1], 0x80);
    EXPECT_EQ(state.buttons[3], 0x80);

    ASSERT_EQ(devices.pollMouse(state), S_OK);
    EXPECT_EQ(state.dx, 0);
    EXPECT_EQ(state.dy, 0);
    EXPECT_EQ(state.wheel, 0);
    EXPECT_EQ(state.buttons[1], 0);
    EXPECT_EQ(state.buttons[3], 0x80);
}

TEST_F(InputDevicesTest, ALostDeviceStaysUnacquiredUntilAcquiredAndDropsWhatWasPending) {
    script.keyDown(KEY_A);
    script.tapKey(0x02);
    script.failNextPoll(InputDevice::Keyboard, DIERR_INPUTLOST);
    u8 keys[256] = {};
    EXPECT_EQ(devices.pollKeyboard(keys), DIERR_INPUTLOST);
    EXPECT_EQ(devices.pollKeyboard(keys), DIERR_NOTACQUIRED);
    ASSERT_EQ(devices.acquire(InputDevice::Keyboard), S_OK);
    ASSERT_EQ(devices.pollKeyboard(keys), S_OK);
    EXPECT_EQ(keys[KEY_A], 0x80);
    EXPECT_EQ(keys[0x02], 0);

    // The mouse is untouched by the keyboard's loss.
    MouseState state;
    EXPECT_EQ(devices.pollMouse(state), S_OK);
}

TEST_F(InputDevicesTest, LockKeysToggleOnEachPress) {
    const bool caps = devices.isToggled(SCAN_CAPSLOCK), num = devices.isToggled(SCAN_NUMLOCK);
    EXPECT_FALSE(devices.isToggled(SCAN_SCROLL));
    script.tapKey(SCAN_SCROLL);
    script.keyDown(SCAN_CAPSLOCK);
    pollKey(SCAN_CAPSLOCK);
    EXPECT_TRUE(devices.isToggled(SCAN_SCROLL));
    EXPECT_NE(devices.isToggled(SCAN_CAPSLOCK), caps);
    EXPECT_EQ(devices.isToggled(SCAN_NUMLOCK), num);
    // Held down it does not flip again; the next press does.
    script.keyDown(SCAN_CAPSLOCK);
    script.keyUp(SCAN_CAPSLOCK);
    script.tapKey(SCAN_CAPSLOCK);
    script.tapKey(SCAN_SCROLL);
    pollKey(SCAN_CAPSLOCK);
    EXPECT_EQ(devices.isToggled(SCAN_CAPSLOCK), caps);
    EXPECT_FALSE(devices.isToggled(SCAN_SCROLL));
    EXPECT_FALSE(devices.isToggled(KEY_A));
}

TEST_F(InputDevicesTest, ThePointerComesFromTheSourceWhileOneIsInstalled) {
    script.setCursor(100, 50);
    Point p;
    ASSERT_TRUE(devices.cursorPosition(p));
    EXPECT_EQ(p, (Point{100, 50}));
    devices.setCursorPosition({7, 8});
    EXPECT_EQ(script.cursor(), (Point{7, 8}));
    script.setCursorOverWindow(false);
    EXPECT_FALSE(devices.cursorPosition(p));
    EXPECT_EQ(devices.clientSize(), (Point{320, 240}));
}

TEST(InputDevices, WithoutAWindowNothingIsMadeAndPollsFail) {
    InputDevices devices(nullptr);
    EXPECT_EQ(devices.createKeyboard(), E_FAIL);
    EXPECT_EQ(devices.createMouse(true), E_FAIL);
    EXPECT_FALSE(devices.hasKeyboard());
    EXPECT_FALSE(devices.hasMouse());
    EXPECT_EQ(devices.acquire(InputDevice::Mouse), E_FAIL);
    u8 keys[256];
    MouseState state;
    EXPECT_TRUE(failed(devices.pollKeyboard(keys)));
    EXPECT_TRUE(failed(devices.pollMouse(state)));
    Point p;
    EXPECT_FALSE(devices.cursorPosition(p));
    EXPECT_EQ(devices.clientSize(), (Point{}));
}

TEST(InputDevices, KeysAreNumberedByPosition) {
    // USB HID keyboard usages -> scan codes.
    const std::pair<u32, u8> cases[] = {
        {0x04, 0x1E},            // A
        {0x1D, 0x2C},            // Z
        {0x27, 0x0B},            // 0
        {0x28, 0x1C},            // Return
        {0x29, 0x01},            // Escape
        {0x2C, 0x39},            // Space
        {0x3A, 0x3B},            // F1
        {0x45, 0x58},            // F12
        {0x46, 0xB7},            // Print Screen
        {0x48, 0xC5},            // Pause
        {0x4F, 0xCD},            // Right
        {0x50, 0xCB},            // Left
        {0x58, 0x9C},            // keypad Enter
        {0x62, 0x52},            // keypad 0
        {0x64, 0x56},            // the key between left Shift and Z
        {0xE0, 0x1D},            // left Ctrl
        {0xE1, 0x2A},            // left Shift
        {0xE2, 0x38},            // left Alt
        {0xE6, 0xB8},            // right Alt
        {0xE7, 0xDC},            // right GUI
        {0x00, 0},    {0x68, 0}, // F13 has none
        {100000, 0},
    };
    for (auto [usage, scanCode] : cases)
        EXPECT_EQ(scanCodeFromUsbUsage(usage), scanCode) << std::hex << usage;
}

} // namespace
