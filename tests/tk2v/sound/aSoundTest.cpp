#include "tk2v/sound/aSound.h"

#include "SoundFixture.h"
#include "support/LogCapture.h"
#include "tk2v/sound/aMusic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using platform::AudioSystem;

class SoundTest : public SoundFixture {};

TEST_F(SoundTest, AFileThatDoesNotLoadGivesASilentSound) {
    const std::string good = wav(1000);
    dir.write("empty.wav", "");
    dir.write("truncated.wav", good.substr(0, 30));
    dir.write("noise.wav", "this is not a sound file at all");
    for (const char* name : {"missing.wav", "empty.wav", "truncated.wav", "noise.wav"}) {
        LogCapture capture;
        aSound sound(dir.file(name), 1.0f);
        EXPECT_TRUE(capture.contains("aSound. Error loading sound: " + dir.file(name))) << name;
        EXPECT_FALSE(sound.isLoaded()) << name;
        sound.play(true);
        EXPECT_FALSE(sound.isPlaying()) << name;
        EXPECT_EQ(sound.getLength(), 0.0f) << name;
        EXPECT_EQ(pullFrame(), std::make_pair(0.0f, 0.0f)) << name;
    }
}

TEST_F(SoundTest, PlayKeepsOrStoresVolumeAndPan) {
    const std::string bytes = wav(RATE);
    dir.write("flat.wav", bytes);
    aSound sound(dir.file("flat.wav"), 0.8f);
    sound.setMasterVolume(0.5f);
    struct Case {
        f32 volumeArg, panArg;
        f32 volume, pan;
        int channelVolume, channelPan;
    };
    const Case cases[] = {
        {aSound::KEEP_VOLUME, aSound::KEEP_PAN, 0.8f, 0.0f, 102, 128},
        {1.0f, 0.5f, 1.0f, 0.5f, 127, 191},
        {aSound::KEEP_VOLUME, -1.0f, 1.0f, -1.0f, 127, 1},
        {0.2f, 1.0f, 0.2f, 1.0f, 25, 255},
        {7.0f, -5.0f, 1.0f, -1.0f, 127, 1},
        {-3.0f, NAN, 0.0f, -1.0f, 0, 1},
        {NAN, 2.0f, 0.0f, 1.0f, 0, 255},
    };
    for (const Case& c : cases) {
        sound.play(false, c.volumeArg, c.panArg);
        EXPECT_EQ(sound.getVolume(), c.volume) << c.volumeArg;
        EXPECT_EQ(sound.getPan(), c.pan) << c.panArg;
        const auto levels = pullFrame();
        sound.stop();
        EXPECT_FALSE(sound.isPlaying());
        EXPECT_EQ(levels, referenceLevels(bytes, c.channelVolume, c.channelPan))
            << c.volumeArg << " " << c.panArg;
    }
}

TEST_F(SoundTest, SettersClampAndReachAPlayingChannel) {
    const std::string bytes = wav(RATE);
    dir.write("flat.wav", bytes);
    aSound sound(dir.file("flat.wav"), 5.0f);
    EXPECT_EQ(sound.getVolume(), 1.0f);
    sound.play();
    sound.setMasterVolume(1.5f);
    EXPECT_EQ(sound.getMasterVolume(), 1.0f);
    sound.setMasterVolume(-1.0f);
    EXPECT_EQ(sound.getMasterVolume(), 0.0f);
    EXPECT_EQ(pullFrame(), std::make_pair(0.0f, 0.0f));
    sound.setMasterVolume(0.5f);
    sound.setVolume(0.8f);
    sound.setPan(0.5f);
    const auto levels = pullFrame();
    sound.stop();
    EXPECT_EQ(levels, referenceLevels(bytes, 102, 191));
}

TEST_F(SoundTest, EachPlayRestartsOnOneChannelAndLoopsOnlyWhenAsked) {
    aSound sound(writeWav("short.wav", 100), 1.0f);
    sound.play();
    sound.play();
    EXPECT_EQ(audio().channelsPlaying(), 1);
    output->pull(200);
    EXPECT_FALSE(sound.isPlaying());
    sound.play(true);
    output->pull(1000);
    EXPECT_TRUE(sound.isPlaying());
    sound.stop();
    EXPECT_EQ(audio().channelsPlaying(), 0);
}

TEST_F(SoundTest, ThePlayBeyondTheLastChannelIsRefused) {
    aSound sound(writeWav("flat.wav", RATE), 1.0f);
    std::vector<std::unique_ptr<aSound>> copies;
    for (int i = 0; i < audio().maxChannels(); ++i) {
        copies.push_back(std::make_unique<aSound>(sound));
        copies.back()->play();
    }
    LogCapture capture;
    sound.play();
    EXPECT_TRUE(capture.contains("aSound. Max number of channels reached"));
    EXPECT_FALSE(sound.isPlaying());
    copies.back()->stop();
    sound.play();
    EXPECT_TRUE(sound.isPlaying());
}

TEST_F(SoundTest, ACopySharesTheSampleAndNeverFreesIt) {
    aSound sound(writeWav("flat.wav", RATE / 2, 8192), 1.0f);
    EXPECT_FLOAT_EQ(sound.getLength(), 0.5f);
    {
        aSound copy(sound);
        EXPECT_TRUE(copy.isLoaded());
        copy.play();
        EXPECT_TRUE(copy.isPlaying());
        copy.stop();
    }
    sound.play();
    EXPECT_TRUE(sound.isPlaying());
    EXPECT_FLOAT_EQ(pullFrame().first, 0.25f);
}

// Sounds and music streams count together: the first opens the sound system, the last closes it.
TEST(SoundSystemUsers, TheLastUserClosesTheSoundSystem) {
    ASSERT_FALSE(AudioSystem::shared().isOpen());
    LogCapture capture;
    auto sound = std::make_unique<aSound>("missing.wav", 1.0f);
    EXPECT_TRUE(AudioSystem::shared().isOpen());
    EXPECT_EQ(AudioSystem::shared().sfxMasterVolume(), 255);
    auto copy = std::make_unique<aSound>(*sound);
    auto music = std::make_unique<aMusic>("missing.ogg", 1.0f);
    EXPECT_TRUE(capture.contains("aMusic. Error loading music: missing.ogg"));
    sound.reset();
    copy.reset();
    EXPECT_TRUE(AudioSystem::shared().isOpen());
    music.reset();
    EXPECT_FALSE(AudioSystem::shared().isOpen());
}

} // namespace
