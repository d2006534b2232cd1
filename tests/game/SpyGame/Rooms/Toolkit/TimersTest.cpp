#include "game/DialogKit.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/Toolkit/cAutoRepeater.h"
#include "game/SpyGame/Rooms/Toolkit/cProgressBar.h"
#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// Handlers that note the frame they ran in, and may act on what they serve.
struct Calls {
    int frame = 0;
    std::vector<int> ticks, finishes, periodic;
    std::function<void()> onFinish, onPeriodic;

    bool Tick(const GUI::EventArgs&) {
        ticks.push_back(frame);
        return true;
    }
    bool Finish(const GUI::EventArgs&) {
        finishes.push_back(frame);
        if (onFinish)
            onFinish();
        return true;
    }
    bool Periodic(const GUI::EventArgs&) {
        periodic.push_back(frame);
        if (onPeriodic)
            onPeriodic();
        return true;
    }
};

TEST(SimpleTimer, TicksSpreadOverTheDurationThenItFinishesOnce) {
    struct Case {
        f32 duration;
        u16 ticks;
        std::vector<int> tickFrames;
        int finishFrame;
    } cases[] = {
        {1, 4, {1, 3, 5, 7}, 9}, {1, 0, {}, 9}, {0, 0, {}, 1}, {1, 1, {1}, 9}, {0.25f, 8, {1, 2, 3}, 3},
    };
    for (const Case& c : cases) {
        Calls calls;
        cSimpleTimer timer;
        timer.SetTime(c.duration, c.ticks);
        timer.SetOnTick(MakeHandler(&calls, &Calls::Tick));
        timer.SetOnFinish(MakeHandler(&calls, &Calls::Finish));
        timer.Update(0.125f);
        EXPECT_TRUE(calls.ticks.empty());
        timer.Start();
        for (calls.frame = 1; calls.frame <= 20; ++calls.frame)
            timer.Update(0.125f);
        EXPECT_EQ(calls.ticks, c.tickFrames) << c.duration << " " << c.ticks;
        EXPECT_EQ(calls.finishes, std::vector<int>{c.finishFrame}) << c.duration << " " << c.ticks;
        EXPECT_FALSE(timer.IsRunning());
    }
}

TEST(SimpleTimer, AFinishHandlerMayStartItsTimerAgain) {
    Calls calls;
    cSimpleTimer timer;
    timer.SetTime(0.25f, 1);
    timer.SetOnTick(MakeHandler(&calls, &Calls::Tick));
    timer.SetOnFinish(MakeHandler(&calls, &Calls::Finish));
    calls.onFinish = [&] {
        if (calls.finishes.size() < 2)
            timer.Start();
    };
    timer.Start();
    for (calls.frame = 1; calls.frame <= 10; ++calls.frame)
        timer.Update(0.125f);
    EXPECT_EQ(calls.ticks, (std::vector<int>{1, 4}));
    EXPECT_EQ(calls.finishes, (std::vector<int>{3, 6}));

    timer.Start();
    timer.Update(0.125f);
    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.GetTicksDone(), 0);
    EXPECT_EQ(timer.GetElapsed(), 0);
}

TEST(ProgressBar, PeriodicHandlersRunWhileItFillsThenItFinishesOnce) {
    Calls calls;
    cProgressBar bar;
    bar.SetTime(2);
    bar.AddPeriodic(0.5f, MakeHandler(&calls, &Calls::Periodic));
    bar.SetOnFinish(MakeHandler(&calls, &Calls::Finish));
    bar.SetCounter(7);
    bar.Start();
    EXPECT_EQ(bar.GetCounter(), 0u);
    for (calls.frame = 1; calls.frame <= 20; ++calls.frame)
        bar.Update(0.125f);
    EXPECT_EQ(calls.periodic, (std::vector<int>{5, 10, 15}));
    EXPECT_EQ(calls.finishes, std::vector<int>{17});
    EXPECT_FALSE(bar.IsRunning());

    // A bar of no time finishes in its first update.
    bar.SetTime(0);
    bar.Start();
    calls.frame = 1;
    bar.Update(0.02f);
    EXPECT_EQ(calls.finishes, (std::vector<int>{17, 1}));
}

TEST(ProgressBar, AHandlerThatRestartsTheBarEndsTheUpdate) {
    Calls calls;
    cProgressBar bar;
    bar.SetTime(1);
    bar.AddPeriodic(0.1f, MakeHandler(&calls, &Calls::Periodic));
    bar.AddPeriodic(0.1f, MakeHandler(&calls, &Calls::Tick));
    bar.SetOnFinish(MakeHandler(&calls, &Calls::Finish));
    calls.onPeriodic = [&] { bar.Start(); };
    bar.Start();
    calls.frame = 1;
    bar.Update(0.5f);
    EXPECT_EQ(calls.periodic, std::vector<int>{1});
    EXPECT_TRUE(calls.ticks.empty());
    EXPECT_TRUE(calls.finishes.empty());
    EXPECT_EQ(bar.GetElapsed(), 0);
    calls.onPeriodic = [&] { bar.SetRunning(false); };
    bar.Update(0.5f);
    EXPECT_TRUE(calls.ticks.empty());
    EXPECT_TRUE(calls.finishes.empty());
}

class TimerRecords : public testing::Test {
protected:
    void SetUp() override {
        bar = hall.CreateItem("Bar", "Hall", {10, 10}, 100, 8, true);
        rooms.rooms["Hall"] = &hall;
    }
    template <class T> std::string save(T& object) {
        host.save = [&](SaveLoadSystem& sys, u8* pos) { return object.SaveSelf(sys, pos); };
        return records.save(host);
    }
    template <class T> void load(T& object, const std::string& bytes) {
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return object.LoadSelf(rooms, sys, pos); };
        ASSERT_TRUE(records.load(host, bytes));
        EXPECT_EQ(host.leftAfterLoad, 0u);
    }
    static std::string f32bytes(f32 value) {
        u32 bits;
        std::memcpy(&bits, &value, 4);
        std::string out;
        SaveRecords::putU32(out, bits);
        return out;
    }

    CSpyItemManager hall;
    FakeRooms rooms;
    CSpyItem* bar = nullptr;
    SaveRecords records;
    HostEntity host;
};

TEST_F(TimerRecords, EachSavesItsFieldsInOrderAndLoadsThemBack) {
    cSimpleTimer timer;
    timer.SetTime(1.5f, 3);
    timer.Start();
    timer.Update(0.25f);
    const std::string timerBytes = "\1\1\0\3\0"s + f32bytes(1.5f) + f32bytes(0.25f);
    EXPECT_EQ(save(timer), timerBytes);
    cSimpleTimer loadedTimer;
    load(loadedTimer, timerBytes);
    EXPECT_EQ(save(loadedTimer), timerBytes);

    cProgressBar progress;
    progress.SetValue(0x01020304);
    progress.SetItem(bar, 2);
    progress.SetTime(4);
    progress.Start();
    progress.Update(0.5f);
    progress.SetVisible(true);
    progress.SetCounter(9);
    const std::string barBytes = "\4\3\2\1Hall:Bar\0\2\1\1\x09\0\0\0"s + f32bytes(4) + f32bytes(0.5f);
    EXPECT_EQ(save(progress), barBytes);
    cProgressBar loadedBar;
    load(loadedBar, barBytes);
    EXPECT_EQ(save(loadedBar), barBytes);
    EXPECT_TRUE(loadedBar.IsRunning());
    EXPECT_TRUE(loadedBar.IsVisible());
    EXPECT_EQ(loadedBar.GetValue(), 0x01020304u);
    EXPECT_EQ(loadedBar.GetElapsed(), 0.5f);

    cAutoRepeater repeater;
    const std::string resting = f32bytes(0) + f32bytes(0) + f32bytes(0) + "\xFF\xFF\xFF\xFF"s;
    EXPECT_EQ(save(repeater), resting);
    const std::string tracking = f32bytes(0.25f) + f32bytes(0.5f) + f32bytes(0.05f) + "\x1E\0\0\0"s;
    load(repeater, tracking);
    EXPECT_EQ(save(repeater), tracking);
    EXPECT_EQ(repeater.GetTrackedKey(), 30);
}

TEST_F(TimerRecords, ARepeaterLoadsAKeyBeyondTheScanCodesAsNone) {
    cAutoRepeater repeater;
    for (const std::string& key : {"\0\1\0\0"s, "\xFE\xFF\xFF\xFF"s}) {
        load(repeater, f32bytes(0) + f32bytes(0) + f32bytes(0) + key);
        EXPECT_EQ(repeater.GetTrackedKey(), -1);
    }
}

class AutoRepeat : public DialogTest {
protected:
    // Frames of the repeater at dt with the key held from the first; the frames it fired in.
    std::vector<int> hold(cAutoRepeater& repeater, u8 key, int frames, f32 dt) {
        std::vector<int> fired;
        input.keyDown(key);
        for (int i = 1; i <= frames; ++i) {
            frame(dt);
            repeater.Update(dt);
            if (repeater.IsKeyFired(key))
                fired.push_back(i);
        }
        return fired;
    }
};

TEST_F(AutoRepeat, AHeldKeyFiresAtOnceThenAfterTheFirstDelayEveryRepeat) {
    cAutoRepeater repeater;
    EXPECT_EQ(hold(repeater, 30, 16, 0.0625f), (std::vector<int>{1, 13, 14, 15, 16}));
    EXPECT_EQ(repeater.GetTrackedKey(), 30);
    EXPECT_EQ(repeater.GetBlinkPhase(), 0);

    // Released: no key is tracked, and the next press waits the whole first delay again.
    input.keyUp(30);
    frame(0.0625f);
    repeater.Update(0.0625f);
    EXPECT_FALSE(repeater.IsKeyFired(30));
    EXPECT_EQ(repeater.GetTrackedKey(), -1);
    EXPECT_EQ(hold(repeater, 30, 13, 0.0625f), (std::vector<int>{1, 13}));
}

TEST_F(AutoRepeat, OnlyTheTrackedKeyRepeatsAndTheBlinkWrapsAtTheLimit) {
    cAutoRepeater repeater(0.5f);
    input.keyDown(30);
    frame();
    repeater.Update(0.02f);
    EXPECT_TRUE(repeater.IsKeyFired(30));
    input.keyDown(31);
    frame();
    repeater.Update(0.02f);
    EXPECT_TRUE(repeater.IsKeyFired(31));
    for (int i = 0; i < 40; ++i) {
        frame();
        repeater.Update(0.02f);
        EXPECT_FALSE(repeater.IsKeyFired(30));
    }
    repeater.Reset();
    repeater.Update(0.25f);
    repeater.Update(0.25f);
    EXPECT_EQ(repeater.GetBlinkPhase(), 0.5f);
    repeater.Update(0.0625f);
    EXPECT_EQ(repeater.GetBlinkPhase(), -0.5f);
}

} // namespace
