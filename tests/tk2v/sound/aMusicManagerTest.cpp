#include "tk2v/sound/aMusicManager.h"

#include "SoundFixture.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::AudioSystem;

std::vector<std::string> g_loaded;

void recordLoaded(const std::string& fileName) {
    g_loaded.push_back(fileName);
}

bool silent(const std::vector<float>& out) {
    for (float v : out)
        if (v != 0.0f)
            return false;
    return true;
}

class MusicManagerTest : public SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        writeWav("theme.wav", RATE);
        writeWav("rain.wav", RATE);
        writeWav("jingle.wav", 1000);
        dir.write("playlist.txt", "theme.wav\nrain.wav\njingle.wav\n");
        manager = std::make_unique<aMusicManager>(false);
        manager->loadList(dir.file("playlist.txt"), "");
    }
    void TearDown() override {
        manager.reset();
        SoundFixture::TearDown();
    }

    void ticks(int count) {
        for (int i = 0; i < count; ++i)
            manager->fadeTick(aMusicManager::FADE_STEP);
    }
    u32 state(const char* name) { return manager->getTrackState(manager->findTrack(name, "")); }
    f32 fade(const char* name) { return manager->getTrackFade(manager->findTrack(name, "")); }
    f32 streamVolume(const char* name) { return manager->getStreamVolume(manager->findTrack(name, "")); }
    std::string current() {
        std::string group = "unchanged";
        std::string name = manager->getCurrent(group);
        return name + "|" + group;
    }

    std::unique_ptr<aMusicManager> manager;
};

TEST_F(MusicManagerTest, TracksAreNamedByFileNameAndGroupExactly) {
    dir.write("Ambient/broken.ogg", "not a stream");
    dir.write("Ambient/list.txt", "broken.ogg\n../theme.wav\n");
    manager->setProgressCallback(recordLoaded);
    g_loaded.clear();
    LogCapture capture;
    manager->loadList(dir.file("Ambient/list.txt"), "Night");
    EXPECT_TRUE(capture.contains("aMusic. Error loading music: " + dir.file("Ambient/broken.ogg")));
    EXPECT_TRUE(capture.contains("aMusicManager. Music with name \"" + dir.file("Ambient/broken.ogg") +
                                 "\" is invalid!"));
    EXPECT_EQ(g_loaded, (std::vector<std::string>{"broken.ogg", "../theme.wav"}));

    EXPECT_EQ(manager->findTrack("theme", ""), 0);
    EXPECT_EQ(manager->findTrack("jingle", ""), 2);
    EXPECT_EQ(manager->findTrack("theme", "Night"), 3);
    EXPECT_EQ(manager->findTrack("Theme", ""), -1);
    EXPECT_EQ(manager->findTrack("broken", "Night"), -1);
    EXPECT_FALSE(manager->play("broken", "Night", false));
    EXPECT_FALSE(manager->setTrackVolume("broken", 1.0f, "Night"));
    EXPECT_FALSE(manager->stop(false));
    EXPECT_FALSE(manager->pause(true));
    EXPECT_EQ(current(), "|");
}

TEST_F(MusicManagerTest, FadesInAndOutOverFiftyTicks) {
    ASSERT_TRUE(manager->setTrackVolume("theme", 0.8f));
    ASSERT_TRUE(manager->play("theme", "", true));
    EXPECT_EQ(current(), "theme|");
    EXPECT_EQ(streamVolume("theme"), 0.0f);
    EXPECT_TRUE(silent(output->pull(100)));
    ticks(49);
    EXPECT_EQ(state("theme"), aMusicManager::FADING_IN);
    EXPECT_NEAR(streamVolume("theme"), 0.8f * 0.98f, 1e-4f);
    ticks(1);
    EXPECT_EQ(state("theme"), aMusicManager::PLAYING);
    EXPECT_EQ(fade("theme"), 1.0f);
    EXPECT_FLOAT_EQ(streamVolume("theme"), 0.8f);
    EXPECT_FALSE(silent(output->pull(100)));

    ASSERT_TRUE(manager->stop(true));
    EXPECT_EQ(current(), "|");
    ticks(49);
    EXPECT_EQ(state("theme"), aMusicManager::FADING_TO_STOP);
    EXPECT_EQ(audio().channelsPlaying(), 1);
    ticks(1);
    EXPECT_EQ(state("theme"), aMusicManager::STOPPED);
    EXPECT_EQ(fade("theme"), 0.0f);
    EXPECT_EQ(streamVolume("theme"), 0.0f);
    EXPECT_EQ(audio().channelsPlaying(), 0);
}

TEST_F(MusicManagerTest, RequestsDuringAFadeTakeOverFromItsLevel) {
    manager->play("theme", "", true);
    ticks(25);
    // A fade out starts from the full volume, even half way through a fade in.
    manager->stop(true);
    EXPECT_EQ(fade("theme"), 1.0f);
    ticks(20);
    EXPECT_NEAR(fade("theme"), 0.6f, 1e-4f);
    // Taken back before the fade out ends: the stream plays on and fades in from where it got to.
    manager->play("theme", "", true);
    EXPECT_EQ(state("theme"), aMusicManager::FADING_IN);
    EXPECT_NEAR(streamVolume("theme"), 0.6f, 1e-4f);
    EXPECT_EQ(audio().channelsPlaying(), 1);
    ticks(1);
    EXPECT_NEAR(streamVolume("theme"), 0.62f, 1e-4f);
    // Playing or fading in already: left alone.
    manager->play("theme", "", false);
    EXPECT_EQ(state("theme"), aMusicManager::FADING_IN);
    manager->stop(false);
    EXPECT_EQ(state("theme"), aMusicManager::STOPPED);
    EXPECT_EQ(audio().channelsPlaying(), 0);
    ticks(60);
    EXPECT_EQ(state("theme"), aMusicManager::STOPPED);
}

TEST_F(MusicManagerTest, PausesAndResumes) {
    manager->play("theme", "", false);
    ASSERT_TRUE(manager->pause(true));
    EXPECT_EQ(state("theme"), aMusicManager::FADING_TO_PAUSE);
    ticks(50);
    EXPECT_EQ(state("theme"), aMusicManager::PAUSED);
    EXPECT_EQ(current(), "theme|");
    EXPECT_TRUE(silent(output->pull(1000)));
    EXPECT_EQ(audio().channelsPlaying(), 1);

    manager->play("theme", "", false);
    EXPECT_EQ(state("theme"), aMusicManager::PLAYING);
    EXPECT_FLOAT_EQ(streamVolume("theme"), 1.0f);
    EXPECT_FALSE(silent(output->pull(100)));
    manager->pause(false);
    EXPECT_EQ(state("theme"), aMusicManager::PAUSED);
    EXPECT_TRUE(silent(output->pull(100)));

    // The application's pause holds every channel; its end lets them all go, this one too.
    manager->play("theme", "", false);
    audio().setPaused(AudioSystem::ALL, true);
    EXPECT_TRUE(silent(output->pull(100)));
    audio().setPaused(AudioSystem::ALL, false);
    EXPECT_FALSE(silent(output->pull(100)));
}

TEST_F(MusicManagerTest, ALouderVolumeWaitsForTheTickWhileFadingIn) {
    struct Case {
        f32 volume;
        f32 streamAtOnce;
    };
    // Volume 0.8 fading in, fade 0.2: the stream is at 0.16.
    const Case cases[] = {{0.2f, 0.2f}, {0.9f, 0.16f}};
    for (const Case& c : cases) {
        manager->stop(false);
        manager->setTrackVolume("theme", 0.8f);
        manager->play("theme", "", true);
        ticks(10);
        manager->setVolume(c.volume);
        EXPECT_NEAR(streamVolume("theme"), c.streamAtOnce, 1e-4f) << c.volume;
        ticks(1);
        EXPECT_NEAR(streamVolume("theme"), c.volume * 0.22f, 1e-4f) << c.volume;
    }
    // Any other state takes the volume at once, louder or not.
    manager->stop(false);
    manager->play("rain", "", false);
    manager->pause(true);
    manager->setVolume(0.7f);
    EXPECT_FLOAT_EQ(streamVolume("rain"), 0.7f);
    EXPECT_FLOAT_EQ(streamVolume("jingle"), 0.7f);
}

TEST_F(MusicManagerTest, ChangeMusicStopsTheCurrentTrackAndPlaysTheNewOne) {
    manager->play("theme", "", false);
    manager->changeMusic("rain", 0.5f, true, true);
    EXPECT_EQ(state("theme"), aMusicManager::FADING_TO_STOP);
    EXPECT_EQ(state("rain"), aMusicManager::FADING_IN);
    EXPECT_EQ(current(), "rain|");
    // The same track again: nothing, not even the volume.
    manager->changeMusic("rain", 0.1f, false, false);
    ticks(50);
    EXPECT_EQ(state("theme"), aMusicManager::STOPPED);
    EXPECT_FLOAT_EQ(streamVolume("rain"), 0.5f);
    // An unknown track still stops the current one.
    manager->changeMusic("silence", 1.0f, false, false);
    EXPECT_EQ(state("rain"), aMusicManager::STOPPED);
    EXPECT_EQ(current(), "|");
    EXPECT_EQ(audio().channelsPlaying(), 0);
}

TEST_F(MusicManagerTest, StreamsLoopUnlessAPlayAsksOtherwise) {
    manager->play("jingle", "", false, false);
    output->pull(3000);
    EXPECT_EQ(audio().channelsPlaying(), 0);
    EXPECT_EQ(state("jingle"), aMusicManager::PLAYING);
    manager->stop(false);
    manager->play("jingle", "", false);
    output->pull(3000);
    EXPECT_EQ(audio().channelsPlaying(), 1);
}

// The fade thread runs beside the main thread's requests and is stopped before the tracks go.
TEST_F(MusicManagerTest, TheFadeThreadAdvancesFadesBesideRequests) {
    manager = std::make_unique<aMusicManager>(true);
    manager->loadList(dir.file("playlist.txt"), "");
    manager->play("theme", "", true);
    for (int i = 0; i < 200; ++i) {
        manager->setVolume(0.5f + 0.001f * f32(i));
        manager->changeMusic(i % 2 ? "rain" : "theme", 0.9f, true, true);
    }
    manager->play("jingle", "", true);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (state("jingle") != aMusicManager::PLAYING && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(state("jingle"), aMusicManager::PLAYING);
    manager->stop(true);
    manager.reset();
}

} // namespace
