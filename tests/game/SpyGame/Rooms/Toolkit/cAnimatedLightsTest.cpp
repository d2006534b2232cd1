#include "game/SpyGame/Rooms/Toolkit/cAnimatedLights.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimatedLightsWave.h"
#include "support/LogCapture.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<f32> levels(const cAnimatedLights& lights) {
    std::vector<f32> out;
    for (const cAnimatedLights::Light& light : lights.lights)
        out.push_back(light.level);
    return out;
}

void expectLevels(const cAnimatedLights& lights, const std::vector<f32>& expected, const char* what) {
    ASSERT_EQ(lights.lights.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(lights.lights[i].level, expected[i], 1e-5) << what << ", lamp " << i;
}

TEST(AnimatedLightsTest, TheChaserFlaresOneLampAfterAnother) {
    cAnimatedLights chaser;
    EXPECT_EQ(chaser.base, 0.2f);
    chaser.base = 0.5f;
    chaser.lights.resize(3);
    chaser.Reset();
    chaser.running = true;
    chaser.lights[2].level = 1.3f; // a stray level goes dark on the next frame

    chaser.Update(0.5f);
    expectLevels(chaser, {1.0f, 0.5f, 0.5f}, "rising");
    chaser.Update(0.4f);
    expectLevels(chaser, {1.4f, 0.5f, 0.5f}, "at 1.4");
    // 1.5 is the peak: only a level beyond it falls back, and the next lamp takes over.
    chaser.lights[0].level = 1.5f;
    chaser.Update(0.0f);
    EXPECT_EQ(chaser.current, 0u);
    chaser.Update(0.01f);
    EXPECT_EQ(chaser.current, 1u);
    expectLevels(chaser, {0.5f, 0.5f, 0.5f}, "fallen back");

    chaser.current = 2;
    chaser.lights[2].level = 1.45f;
    chaser.Update(0.1f);
    EXPECT_EQ(chaser.current, 0u) << "wraps after the last lamp";

    chaser.running = false;
    chaser.Update(0.3f);
    expectLevels(chaser, {0.5f, 0.5f, 0.5f}, "stopped");
}

TEST(AnimatedLightsTest, OneLampFlaresAgainAndAgain) {
    cAnimatedLights chaser;
    chaser.lights.resize(1);
    chaser.Start();
    EXPECT_EQ(chaser.current, 0u);
    for (int frame = 0; frame < 40; ++frame)
        chaser.Update(0.1f);
    EXPECT_EQ(chaser.current, 0u);
    EXPECT_GT(chaser.lights[0].level, 0.2f);
}

TEST(AnimatedLightsTest, StartDrawsTheFirstLampAndCopesWithNoLamps) {
    cAnimatedLights chaser;
    chaser.lights.resize(5);
    chaser.lights[1].level = 1.0f;
    platform::srand(3);
    const u32 expected = u32(platform::rand()) % 5;
    platform::srand(3);
    chaser.Start();
    EXPECT_TRUE(chaser.running);
    EXPECT_EQ(chaser.current, expected);
    expectLevels(chaser, std::vector<f32>(5, 0.2f), "reset first");

    cAnimatedLights empty;
    empty.current = 4;
    empty.Start();
    EXPECT_TRUE(empty.running);
    EXPECT_EQ(empty.current, 0u);
    empty.Update(0.1f);
}

TEST(AnimatedLightsTest, TheWaveStartsTheNextLampOnceTheCurrentHasRisenItsShare) {
    cAnimatedLightsWave wave;
    wave.waveLength = 1.0f;
    wave.lights.resize(4);
    wave.lastStartLevel = 1.0f;
    wave.Reset();
    EXPECT_EQ(wave.lastStartLevel, 0.2f);
    wave.running = true;

    // 1.0 / 4 lamps: the next starts when the current one is more than 0.25 above the base.
    const u32 currents[] = {0, 0, 1, 1, 1, 2, 2};
    for (u32 expected : currents) {
        wave.Update(0.1f);
        EXPECT_EQ(wave.current, expected);
    }
    expectLevels(wave, {0.9f, 0.6f, 0.3f, 0.2f}, "three lamps lit at once");

    // A lamp that passes the peak goes dark; a dark current lamp hands over at once.
    wave.lights[0].level = 1.75f;
    wave.current = 3;
    wave.lights[3].level = 1.75f;
    wave.Update(0.1f);
    EXPECT_EQ(levels(wave)[0], 0.2f);
    EXPECT_EQ(wave.current, 0u);
}

class LightsRecordTest : public testing::Test {
protected:
    std::string record(const cAnimatedLights& lights) {
        host.save = [&](SaveLoadSystem& sys, u8* pos) { return lights.SaveSelf(sys, pos); };
        return records.save(host);
    }
    bool load(cAnimatedLights& lights, const std::string& bytes) {
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return lights.LoadSelf(rooms, sys, pos); };
        return records.load(host, bytes);
    }

    FakeRooms rooms;
    SaveRecords records;
    HostEntity host;
};

TEST_F(LightsRecordTest, RecordsHoldTheLampsAndTheWaveAddsItsTwoLevels) {
    cAnimatedLightsWave wave;
    wave.lights = {{1, 2, 0.5f}, {3, 4, 0.2f}};
    wave.current = 1;
    wave.running = true;
    wave.waveLength = 2.0f;
    const std::string bytes = record(wave);
    ASSERT_EQ(bytes.size(), 4 + 4 + 2 * 12 + 1 + 4 + 8);
    EXPECT_EQ(bytes.substr(0, 12), "\1\0\0\0\2\0\0\0\0\0\x80\x3f"s);
    EXPECT_EQ(bytes[32], '\1');

    cAnimatedLightsWave loaded;
    loaded.lights.resize(7);
    ASSERT_TRUE(load(loaded, bytes));
    EXPECT_EQ(record(loaded), bytes);
    EXPECT_EQ(loaded.lights.size(), 2u);
    EXPECT_EQ(loaded.waveLength, 2.0f);
    EXPECT_EQ(host.leftAfterLoad, 0u);
}

TEST_F(LightsRecordTest, DamagedIndexAndCountLoadSafely) {
    cAnimatedLights chaser;
    chaser.lights.resize(2);
    chaser.current = 1;
    std::string bytes = record(chaser);
    bytes[0] = '\x09';
    ASSERT_TRUE(load(chaser, bytes));
    EXPECT_EQ(chaser.current, 0u) << "an index past the lamps starts at the first";

    LogCapture capture;
    bytes.replace(4, 4, "\xff\xff\0\0"s);
    ASSERT_TRUE(load(chaser, bytes));
    EXPECT_TRUE(chaser.lights.empty());
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages().size(), 1u);
    chaser.running = true;
    chaser.Update(0.1f);
}

} // namespace
