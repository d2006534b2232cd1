#include "tk2v/sound/aAmbientSoundSystem.h"

#include "SoundFixture.h"
#include "support/LogCapture.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Entry = aAmbientSoundSystem::Entry;
using Range = aAmbientSoundSystem::Range;

class AmbientSoundTest : public SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        writeWav("bird.wav", RATE / 2);
        writeWav("wind.wav", RATE);
        dir.write("plain.list", "bird.wav 1\n");
        dir.write("ambient.list", "wind.wav 1\n");
        sounds.loadList(dir.file("plain.list"), "");
        sounds.loadList(dir.file("ambient.list"), "Ambient");
    }

    std::unique_ptr<aAmbientSoundSystem> makeSystem(const std::string& ini) {
        dir.write("ambient.ini", ini);
        return std::make_unique<aAmbientSoundSystem>(dir.file("ambient.ini"), &sounds, "Ambient");
    }

    // One frame: the system's step, then the mixer moves on by the same time.
    void step(aAmbientSoundSystem& system, f32 dt) {
        system.update(dt);
        output->pull(u32(dt * f32(RATE) + 0.5f));
    }

    aSoundManager sounds;
};

bool inRanges(f32 value, const Range& range) {
    if (range.ranges.empty())
        return value == range.defaultValue;
    for (const auto& [low, high] : range.ranges)
        if (value >= low - 1e-5f && value <= high + 1e-5f)
            return true;
    return false;
}

TEST(AmbientRange, PicksAPairThenAValueInsideIt) {
    platform::srand(1); // 41, 18467, 6334, 26500
    const Range range{0.0f, {{0.0f, 10.0f}, {100.0f, 200.0f}}};
    EXPECT_FLOAT_EQ(range.pick(), 100.0f + 100.0f * 18467.0f / 32767.0f);
    EXPECT_FLOAT_EQ(range.pick(), 0.0f + 10.0f * 26500.0f / 32767.0f);
    EXPECT_EQ((Range{-1.0f, {}}.pick()), -1.0f);
    EXPECT_EQ((Range{0.0f, {{0.3f, 0.3f}}}.pick()), 0.3f);

    const Range parsed = aAmbientSoundSystem::parseRange({"0.2/0.4", "0.8", "junk", "1/"}, 5.0f);
    EXPECT_EQ(parsed.defaultValue, 5.0f);
    EXPECT_EQ(parsed.ranges, (std::vector<std::pair<f32, f32>>{{0.2f, 0.4f}, {0.8f, 0.8f}, {1.0f, 1.0f}}));
}

// Over a minute of frames, every phase lasts what its range allows and every pick falls inside its range.
TEST_F(AmbientSoundTest, TheScheduleStaysInsideTheSectionsRanges) {
    auto system = makeSystem("[bird]\nvolume = 0.2/0.4, 0.8\npan = -1/-0.5\ndelay = 1/2\npause = 2/3\n"
                             "[wind]\nloop = 1\nplaytime = 3/5\nfade = 0.5\npause = 1\nvolume = 0.6\n");
    ASSERT_EQ(system->getEntries().size(), 2u);
    const Entry& bird = system->getEntries()[0];
    const Entry& wind = system->getEntries()[1];
    EXPECT_FALSE(bird.loop);
    EXPECT_TRUE(wind.loop);
    EXPECT_EQ(wind.fade, 0.5f);

    platform::srand(7);
    system->start();
    constexpr f32 DT = 0.01f;
    struct Tracked {
        const Entry* entry;
        bool playing = false;
        f32 phaseStart = 0.0f;
        int plays = 0;
    };
    Tracked tracked[] = {{&bird}, {&wind}};
    int loudBirds = 0;
    for (int frame = 1; frame <= 6000; ++frame) {
        step(*system, DT);
        const f32 now = f32(frame) * DT;
        EXPECT_LE(wind.sound->getVolume(), 0.6f);
        for (Tracked& t : tracked) {
            const Entry& e = *t.entry;
            if (e.playing == t.playing)
                continue;
            const f32 phase = now - t.phaseStart;
            if (e.playing) {
                const Range& waited = t.plays == 0 ? e.delay : e.pause;
                const auto [low, high] = waited.ranges.empty()
                                             ? std::make_pair(waited.defaultValue, waited.defaultValue)
                                             : waited.ranges.front();
                EXPECT_GE(phase, low - DT) << now;
                EXPECT_LE(phase, high + 2 * DT) << now;
                EXPECT_TRUE(inRanges(e.chosenVolume, e.volume)) << e.chosenVolume;
                EXPECT_TRUE(inRanges(e.sound->getPan(), e.pan)) << e.sound->getPan();
                loudBirds += &e == &bird && e.chosenVolume == 0.8f;
                ++t.plays;
            } else if (&e == &bird) {
                EXPECT_NEAR(phase, 0.5f, 2 * DT) << now;
            } else {
                EXPECT_GE(phase, 3.0f + 2 * 0.5f - DT) << now;
                EXPECT_LE(phase, 5.0f + 2 * 0.5f + 2 * DT) << now;
            }
            t.playing = e.playing;
            t.phaseStart = now;
        }
    }
    EXPECT_GE(tracked[0].plays, 15);
    EXPECT_GE(tracked[1].plays, 8);
    EXPECT_GT(loudBirds, 0);
    EXPECT_LT(loudBirds, tracked[0].plays);
}

TEST_F(AmbientSoundTest, ALoopingSoundFadesInHoldsAndFadesOut) {
    struct Case {
        const char* keys;
        std::vector<std::pair<f32, f32>> timeAndVolume; // volume -1: stopped
    };
    const Case cases[] = {
        {"playtime = 10\nfade = 2\n",
         {{1, 0.5f}, {2, 1}, {11.5f, 1}, {13, 0.5f}, {13.5f, 0.25f}, {14.05f, -1}}},
        {"playtime = 0\nfade = 2\n", {{1, 0.5f}, {2, 1}, {3, 0.5f}, {4.05f, -1}}},
        {"fade = 2\n", {{1, 0.5f}, {2, 1}, {100, 1}}},
        {"playtime = 1\n", {{0.05f, 0.5f}, {0.5f, 1}, {1.15f, 0.5f}, {1.25f, -1}}},
    };
    for (const Case& c : cases) {
        auto system = makeSystem(std::string("[wind]\nloop = 1\npause = 1000\n") + c.keys);
        const Entry& wind = system->getEntries().at(0);
        system->start();
        // The first frame begins the play at time 0.
        step(*system, 0.05f);
        ASSERT_TRUE(wind.playing) << c.keys;
        f32 t = 0;
        for (const auto& [time, volume] : c.timeAndVolume) {
            while (t < time - 1e-3f) {
                step(*system, 0.05f);
                t += 0.05f;
            }
            if (volume < 0) {
                EXPECT_FALSE(wind.playing) << c.keys << time;
                EXPECT_FALSE(wind.sound->isPlaying()) << c.keys << time;
            } else {
                EXPECT_NEAR(wind.sound->getVolume(), volume, 0.02f) << c.keys << time;
                EXPECT_TRUE(wind.sound->isPlaying()) << c.keys << time;
            }
        }
    }
}

TEST_F(AmbientSoundTest, StartAndStopOnlyActOnAChange) {
    auto system = makeSystem("[bird]\ndelay = 5\n[wind]\n");
    const Entry& bird = system->getEntries().at(0);
    const Entry& wind = system->getEntries().at(1);
    step(*system, 1.0f);
    EXPECT_FALSE(wind.playing);
    system->start();
    step(*system, 3.0f);
    // Without a delay key the sound begins on the first frame after the start.
    EXPECT_TRUE(wind.playing);
    system->start();
    EXPECT_TRUE(wind.playing);
    EXPECT_EQ(bird.timer, 3.0f);
    step(*system, 2.5f);
    EXPECT_TRUE(bird.playing);
    system->stop();
    EXPECT_FALSE(system->isRunning());
    EXPECT_FALSE(bird.playing || bird.sound->isPlaying() || wind.sound->isPlaying());
    step(*system, 10.0f);
    EXPECT_FALSE(bird.playing);
    system->start();
    step(*system, 4.0f);
    EXPECT_FALSE(bird.playing);
    step(*system, 1.0f);
    EXPECT_TRUE(bird.playing);
}

TEST_F(AmbientSoundTest, BadSectionsAndEmptyRangesNeitherStopNorHangIt) {
    dir.write("mute.list", "mute.wav 1\n");
    {
        LogCapture capture;
        sounds.loadList(dir.file("mute.list"), "");
    }
    LogCapture capture;
    auto system = makeSystem("[ghost]\nvolume = 1\n[mute]\nvolume =\npause = ,\ndelay = x\n[bird]\nloop = 0\n"
                             "playtime = 3\nfade = 9\n");
    EXPECT_TRUE(capture.contains("aSoundManager. Cannot find sound \"ghost\""));
    ASSERT_EQ(system->getEntries().size(), 2u);
    const Entry& mute = system->getEntries()[0];
    const Entry& bird = system->getEntries()[1];
    EXPECT_TRUE(mute.volume.ranges.empty() && mute.pause.ranges.empty() && mute.delay.ranges.empty());
    EXPECT_EQ(bird.playTime.defaultValue, -1.0f);
    EXPECT_TRUE(bird.playTime.ranges.empty());
    EXPECT_EQ(bird.fade, 0.1f);

    // A sound that never plays, with no pause at all: one try per frame.
    system->start();
    for (int i = 0; i < 1000; ++i)
        step(*system, 0.01f);
    EXPECT_FALSE(mute.playing);

    aSound* clone = mute.sound;
    system.reset();
    EXPECT_FALSE(sounds.deleteClone(clone));
}

TEST_F(AmbientSoundTest, AMissingFileGivesASilentSystem) {
    LogCapture capture;
    aAmbientSoundSystem system(dir.file("none.ini"), &sounds, "Ambient");
    system.start();
    system.update(1.0f);
    EXPECT_TRUE(system.getEntries().empty());
    EXPECT_EQ(audio().channelsPlaying(), 0);
}

} // namespace
