#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using namespace std::string_literals;
using PHYSICS::cPhysicsManager;
using PHYSICS::PHOBJ;

class PhysicsTest : public testing::Test {
protected:
    // The ini text as the room's options file.
    aOptionsFile& ini(const std::string& text) {
        dir.write("room.ini", text);
        options.load(dir.file("room.ini"));
        return options;
    }

    // A body whose five random keys are all given: the first of two same keys counts.
    void body(const std::string& name, const std::string& keys) {
        physics.LoadObject(name, ini("[" + name + "]\n" + keys +
                                     "frict_kf = 0.5\nangle.x = 0\nangle.y = 0\nspeed.x = 0\nspeed.y = 0\n"));
    }

    std::string record() {
        host.save = [&](SaveLoadSystem& sys, u8* pos) { return physics.SaveSelf(sys, pos); };
        return records.save(host);
    }
    bool load(const std::string& bytes) {
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return physics.LoadSelf(rooms, sys, pos); };
        return records.load(host, bytes);
    }

    // The state of the first body in the record: its initial one, or the current one.
    PHOBJ saved(bool current) {
        const std::string bytes = record();
        size_t at = bytes.find('\0', 4) + 1 + (current ? PHOBJ::RecordSize : 0);
        PHOBJ o;
        std::memcpy(&o.friction, bytes.data() + at, 4);
        f32* fields[] = {&o.mass,    &o.frict_kf, &o.speed.x, &o.speed.y,
                         &o.angle.x, &o.angle.y,  &o.coord.x, &o.coord.y};
        for (int i = 0; i < 8; ++i)
            std::memcpy(fields[i], bytes.data() + at + 4 + 4 * i, 4);
        return o;
    }

    TempDir dir;
    aOptionsFile options;
    cPhysicsManager physics;
    FakeRooms rooms;
    SaveRecords records;
    HostEntity host;
};

TEST_F(PhysicsTest, DragLawsGiveTheirForce) {
    struct Case {
        u32 law;
        f32 force;
    } cases[] = {{PHYSICS::LINE, 1.0f},
                 {PHYSICS::SQR, 2.0f},
                 {PHYSICS::TRIPLE, 4.0f},
                 {PHYSICS::QWAD, 8.0f},
                 {PHYSICS::EXP, 0.5f * (std::exp(2.0f) - 1)},
                 // A law read from a damaged save drags as the first one.
                 {9, 1.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(cPhysicsManager::FrictionForce(c.law, 0.5f, 2.0f), c.force) << c.law;
    EXPECT_FLOAT_EQ(cPhysicsManager::FrictionForce(PHYSICS::EXP, 1.0f, 0.3f), std::exp(0.3f) - 1);
}

TEST_F(PhysicsTest, AStepPushesWithTheWindPullsWithGravityAndIntegratesFromTheOldSpeed) {
    // Mass 5, k 0.5, wind (10, 0), g 9.81, dt 0.1.
    struct Case {
        const char* what;
        std::string keys;
        f32 dt;
        SpyPoint coord, speed;
    } cases[] = {
        // s = 10, drag 5 along +x: a = (1, 9.81).
        {"at rest", "mass = 5\n", 0.1f, {0.005f, 0.04905f}, {0.1f, 0.981f}},
        // No relative speed: s counts as 0.3 and the drag has no direction, only g pulls.
        {"with the wind", "mass = 5\nspeed.x = 10\n", 0.1f, {1.0f, 0.04905f}, {10.0f, 0.981f}},
        {"no time", "mass = 5\nspeed.x = 3\n", 0.0f, {0, 0}, {3.0f, 0}},
        // Mass 0 would divide by zero: it falls as the default mass does.
        {"mass 0", "mass = 0\n", 0.1f, {0.005f, 0.04905f}, {0.1f, 0.981f}},
        {"square law", "mass = 5\nfriction = SQR\n", 0.1f, {0.05f, 0.04905f}, {1.0f, 0.981f}},
    };
    for (const Case& c : cases) {
        body("leaf", c.keys);
        physics.ResetAll();
        physics.Update(c.dt);
        const PHOBJ now = saved(true);
        EXPECT_NEAR(now.coord.x, c.coord.x, 1e-5) << c.what;
        EXPECT_NEAR(now.coord.y, c.coord.y, 1e-5) << c.what;
        EXPECT_NEAR(now.speed.x, c.speed.x, 1e-5) << c.what;
        EXPECT_NEAR(now.speed.y, c.speed.y, 1e-5) << c.what;
    }
    body("leaf", "mass = 0\n");
    EXPECT_EQ(saved(false).mass, 0.0f) << "the record keeps the mass it was given";
}

TEST_F(PhysicsTest, LoadingDrawsFiveRandomsAndFillsOnlyTheInitialState) {
    platform::srand(7);
    f32 draws[6];
    for (f32& draw : draws)
        draw = f32(platform::rand());
    platform::srand(7);
    physics.LoadObject("petal", ini("[petal]\nmass = 2\nangle.y = 4\ncoord.x = 30\ncoord.y = 40\n"));
    EXPECT_EQ(f32(platform::rand()), draws[5]) << "one draw per random key, given or not";

    const PHOBJ initial = saved(false);
    EXPECT_EQ(initial.friction, u32(PHYSICS::LINE));
    EXPECT_EQ(initial.mass, 2.0f);
    EXPECT_FLOAT_EQ(initial.frict_kf, draws[0] / 32767);
    EXPECT_FLOAT_EQ(initial.angle.x, -10 + 10 * draws[1] / 32767);
    EXPECT_EQ(initial.angle.y, 4.0f);
    EXPECT_FLOAT_EQ(initial.speed.x, -10 + 10 * draws[3] / 32767);
    EXPECT_FLOAT_EQ(initial.speed.y, 10 * draws[4] / 32767);
    EXPECT_EQ(physics.GetCoord("petal"), (SpyPoint{0, 0})) << "current until ResetAll";
    physics.ResetAll();
    EXPECT_EQ(physics.GetCoord("petal"), (SpyPoint{30, 40}));

    // No section: every default.
    physics.LoadObject("petal", ini("[other]\nmass = 9\n"));
    EXPECT_EQ(saved(false).mass, 5.0f);
    EXPECT_EQ(saved(false).coord, (SpyPoint{0, 0}));
}

TEST_F(PhysicsTest, AnUnknownLawWordDragsLinearlyWithOneLine) {
    LogCapture capture;
    body("leaf", "friction = line\n");
    EXPECT_EQ(saved(false).friction, u32(PHYSICS::LINE));
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{
                                      "cPhysicsManager::LoadObject. Unknown friction \"line\" of body leaf: "
                                      "LINE taken"}));
    capture.clear();
    body("leaf", "friction = EXP\n");
    EXPECT_EQ(saved(false).friction, u32(PHYSICS::EXP));
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(PhysicsTest, FixedBodiesWaitAndResetReleasesThem) {
    body("a", "coord.x = 5\ncoord.y = 1\n");
    body("b", "coord.x = 2\ncoord.y = 7\n");
    EXPECT_EQ(physics.GetMinCoord(), (SpyPoint{0, 0})) << "current states are zero until reset";
    physics.ResetAll();
    EXPECT_EQ(physics.GetMinCoord(), (SpyPoint{2, 1}));

    physics.SetFixed("a", true);
    physics.Update(0.5f);
    EXPECT_EQ(physics.GetCoord("a"), (SpyPoint{5, 1}));
    EXPECT_GT(physics.GetCoord("b").y, 7.0f);
    physics.SetCoord("b", {-3, 2});
    physics.SetCoord("nobody", {1, 1});
    EXPECT_EQ(physics.GetMinCoord(), (SpyPoint{-3, 1}));

    physics.ResetAll();
    physics.Update(0.5f);
    EXPECT_GT(physics.GetCoord("a").y, 1.0f) << "released";
    physics.Clear();
    EXPECT_EQ(physics.GetMinCoord(), (SpyPoint{0, 0}));
    EXPECT_EQ(physics.GetCoord("a"), (SpyPoint{0, 0}));
}

TEST_F(PhysicsTest, TheRecordHoldsEachBodyInNameOrderAndLoadingReplacesEveryBody) {
    body("zeta", "coord.x = 1\n");
    body("alpha", "friction = QWAD\ncoord.y = 2\n");
    physics.ResetAll();
    physics.SetFixed("zeta", true);
    physics.Update(0.25f);
    const std::string bytes = record();
    ASSERT_EQ(bytes.size(), 4 + 2 * (2 * PHOBJ::RecordSize + 1) + 6 + 5);
    EXPECT_EQ(bytes.substr(0, 10), "\2\0\0\0alpha\0"s);
    EXPECT_EQ(bytes.substr(10, 4), "\3\0\0\0"s) << "the law leads the body";
    EXPECT_EQ(bytes.substr(4 + 6 + 2 * PHOBJ::RecordSize + 1, 5), "zeta\0"s);
    EXPECT_EQ(bytes.back(), '\1') << "zeta is fixed";

    physics.Clear();
    physics.LoadObject("stale", ini("[stale]\n"));
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(record(), bytes);
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(physics.GetCoord("stale"), (SpyPoint{0, 0}));
}

TEST_F(PhysicsTest, ABodyCountBeyondTheRecordEmptiesTheManagerWithOneLine) {
    body("leaf", "");
    LogCapture capture;
    ASSERT_TRUE(load("\x10\0\0\0leaf\0"s + std::string(20, '\0')));
    EXPECT_EQ(record(), "\0\0\0\0"s);
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages().size(), 1u);
}

} // namespace
