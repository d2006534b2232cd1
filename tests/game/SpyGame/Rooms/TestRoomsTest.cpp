#include "RoomFrameKit.h"
#include "support/game/RoomKit.h"
#include "support/game/TestRoomsManager.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr u8 SHIFT = 42, F4 = 62, KEY_A = 30;

// A room class only these tests know: it notes the right button, Shift and F4 of every frame, and
// starts "probe_beep" and then "probe_hum" when A is pressed.
class InputProbeRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "InputProbeRoom"; }
    std::string GetClassName() const override { return GetClassStaticName(); }
    u32 FrameMove(f32 dt, bool paused) override {
        const aInputServer& in = *aApplication::inputServer();
        seen.push_back({in.mouseButtons[1], in.keyStates[SHIFT], in.keyStates[F4]});
        if (in.keyStates[KEY_A] == KEY_PRESSED)
            for (const char* name : {"probe_hum", "probe_beep"})
                GetSound(name)->play();
        return CRoomBase::FrameMove(dt, paused);
    }

    struct States {
        u32 right, shift, f4;
        bool operator==(const States&) const = default;
    };
    std::vector<States> seen;
};

using ProbeRooms = TestRoomsManager<InputProbeRoom>;

class TestRooms : public RoomKitOn<testing::Test, ProbeRooms> {};

TEST_F(TestRooms, TheTestsOwnClassesAreMadeBesideTheFactorysOnes) {
    load({{"zoom_Probe", "", "", "[Room]\nClass = InputProbeRoom\n"}, {"Hall", "", ""}});
    EXPECT_EQ(room("zoom_Probe").GetClassName(), "InputProbeRoom");
    EXPECT_EQ(room("zoom_Probe").getName(), "InputProbeRoom : zoom_Probe");
    EXPECT_EQ(room("Hall").GetClassName(), "RoomBase");
}

class TestRoomFrames : public RoomFrameTestOn<ProbeRooms> {
protected:
    void SetUp() override {
        addSound("probe_beep");
        addSound("probe_hum");
        writeRoom("zoom_Probe", "Class = InputProbeRoom\n", "", "");
        play("", "", "[ROOM]\n", "zoom_Probe\n");
        playing = probe = dynamic_cast<InputProbeRoom*>(rooms.GetRoom("zoom_Probe"));
        ASSERT_TRUE(probe);
        probe->Enter("Demo", nullptr);
    }
    InputProbeRoom* probe = nullptr;
};

TEST_F(TestRoomFrames, ButtonsAndKeysAreHeldUntilReleasedAndTapsLastOneFrame) {
    frame(10, 10, {.down = {1}, .keysDown = {SHIFT}, .taps = {F4}});
    frame(10, 10, Input{});
    frame(10, 10, {.up = {1}, .keysUp = {SHIFT}});
    frame(10, 10, Input{});
    using S = InputProbeRoom::States;
    EXPECT_EQ(probe->seen, (std::vector<S>{{KEY_PRESSED, KEY_PRESSED, KEY_PRESSED},
                                           {KEY_HELD, KEY_HELD, KEY_RELEASED},
                                           {KEY_RELEASED, KEY_RELEASED, KEY_UP},
                                           {KEY_UP, KEY_UP, KEY_UP}}));
}

TEST_F(TestRoomFrames, StartedSoundsAreLoggedInOrderAndPlayedOnesStopped) {
    const auto pressA = [this] {
        frame(10, 10, {.taps = {KEY_A}});
        frame(10, 10, Input{});
    };
    pressA();
    EXPECT_EQ(started(), (std::vector<std::string>{"probe_beep", "probe_hum"}));
    // Still playing: not started again.
    pressA();
    EXPECT_EQ(started(), std::vector<std::string>{});
    EXPECT_EQ(played(), (std::vector<std::string>{"probe_beep", "probe_hum"}));
    EXPECT_EQ(played(), std::vector<std::string>{});
    pressA();
    EXPECT_EQ(started(), (std::vector<std::string>{"probe_beep", "probe_hum"}));
}

} // namespace
