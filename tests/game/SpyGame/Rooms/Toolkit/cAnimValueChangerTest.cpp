#include "game/SpyGame/Rooms/Toolkit/cAnimValueChanger.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(AnimValueChangerTest, RunsFromStartUntilTheDurationAndOvershootsOneFrame) {
    cAnimValueChanger animator;
    EXPECT_FALSE(animator.IsRunning()) << "duration 0";
    animator.Update(0.5f);
    EXPECT_EQ(animator.time, 0.0f);

    animator.duration = 1.0f;
    animator.Start();
    EXPECT_TRUE(animator.IsRunning());
    animator.time = 0.9f;
    animator.Update(0.3f);
    EXPECT_FLOAT_EQ(animator.time, 1.2f);
    EXPECT_FALSE(animator.IsRunning());
    animator.Update(0.3f);
    EXPECT_EQ(animator.time, 1.0f);

    animator.Start();
    animator.time = 1.0f;
    EXPECT_FALSE(animator.IsRunning()) << "time equal to the duration is finished";
    animator.Start();
    animator.Stop();
    EXPECT_EQ(animator.time, 1.0f);
}

TEST(AnimValueChangerTest, TheRecordWritesTheDurationBeforeTheTime) {
    cAnimValueChanger animator;
    animator.from = 1.0f;
    animator.to = 2.0f;
    animator.duration = 4.0f;
    animator.time = 0.5f;
    HostEntity host;
    SaveRecords records;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return animator.SaveSelf(sys, pos); };
    const std::string bytes = records.save(host);
    EXPECT_EQ(bytes, "\0\0\x80\x3f\0\0\0\x40\0\0\x80\x40\0\0\0\x3f"s);

    cAnimValueChanger loaded;
    FakeRooms rooms;
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(loaded.duration, 4.0f);
    EXPECT_EQ(loaded.time, 0.5f);
    EXPECT_EQ(host.leftAfterLoad, 0u);
}

} // namespace
