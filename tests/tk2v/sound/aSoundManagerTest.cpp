#include "tk2v/sound/aSoundManager.h"

#include "SoundFixture.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_progress;

void recordProgress(const std::string& fileName) {
    g_progress.push_back(fileName);
}

class SoundManagerTest : public SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        g_progress.clear();
        writeWav("click.wav", RATE);
        writeWav("door.wav", RATE);
        dir.write("main.list", "click.wav 0.5\ndoor.wav 1\n");
    }

    aSoundManager manager;
};

TEST_F(SoundManagerTest, ListLinesAreCutAtTheFirstDotAndBadOnesSkipped) {
    writeWav("a.b.wav", 100);
    writeWav("vol.wav", 100);
    dir.write("lines.list", "click.wav 0.5\n"
                            "a.b.wav 0.7\n"
                            "no dot here\n"
                            "noblank.wav\n"
                            "trailing.wav   \n"
                            "CLICK.ogg 0.9\n"
                            "vol.wav loud\n"
                            "door.wav\t0.25\n");
    manager.setProgressCallback(recordProgress);
    LogCapture capture;
    manager.loadList(dir.file("lines.list"), "");
    EXPECT_FLOAT_EQ(manager.getSound("click")->getVolume(), 0.5f);
    EXPECT_FLOAT_EQ(manager.getSound("a")->getVolume(), 0.7f);
    EXPECT_FALSE(manager.hasSound("a.b"));
    EXPECT_EQ(manager.getSound("vol")->getVolume(), 0.0f);
    EXPECT_FLOAT_EQ(manager.getSound("door")->getVolume(), 0.25f);
    for (const char* bad : {"no dot here", "noblank.wav", "trailing.wav   "})
        EXPECT_TRUE(capture.contains(std::string("aSoundManager. Error in line: ") + bad)) << bad;
    EXPECT_TRUE(capture.contains("aSoundManager. Sound with name \"CLICK.ogg\" already loaded!"));
    EXPECT_EQ(g_progress, (std::vector<std::string>{"click.wav", "a.b.wav", "vol.wav", "door.wav"}));

    // Queuing decodes the lines through parseListLine, which reports the bad ones its own way.
    capture.clear();
    manager.AddListToTask(dir.file("lines.list"), "");
    EXPECT_TRUE(capture.contains("aSoundManager: Error in line: noblank.wav"));
    EXPECT_EQ(manager.getTasks().front().fullPath, dir.file("click.wav"));
}

TEST_F(SoundManagerTest, KeysCarryTheGroupAndIgnoreCase) {
    manager.loadList(dir.file("main.list"), "");
    manager.loadList(dir.file("main.list"), "Hall");
    LogCapture capture;
    EXPECT_NE(manager.getSound("CLICK", "hall"), manager.getSound("click"));
    EXPECT_TRUE(manager.hasSound("Door", "HALL"));
    EXPECT_FALSE(manager.hasSound("door", "Garden"));
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_EQ(manager.getSound("door", "Garden"), nullptr);
    EXPECT_TRUE(capture.contains("aSoundManager. Cannot find sound \"door:Garden\""));

    manager.unloadList(dir.file("main.list"), "Hall");
    EXPECT_FALSE(manager.hasSound("click", "Hall"));
    EXPECT_TRUE(manager.hasSound("click"));
}

TEST_F(SoundManagerTest, ClonesShareTheSampleAndMayOutlastStopAll) {
    manager.loadList(dir.file("main.list"), "");
    aSound* click = manager.getSound("click");
    aSound* kept = manager.clone(click, true);
    aSound* plain = manager.clone(click);
    ASSERT_TRUE(kept && plain);
    click->play();
    kept->play();
    plain->play();
    EXPECT_EQ(audio().channelsPlaying(), 3);
    manager.stopAll();
    EXPECT_FALSE(click->isPlaying());
    EXPECT_FALSE(plain->isPlaying());
    EXPECT_TRUE(kept->isPlaying());

    LogCapture capture;
    EXPECT_EQ(manager.clone(nullptr), nullptr);
    EXPECT_TRUE(capture.contains("aSoundManager. Cannot clone NULL sound"));
    EXPECT_FALSE(manager.deleteClone(nullptr));
    EXPECT_FALSE(manager.deleteClone(click));
    EXPECT_TRUE(manager.deleteClone(kept));
    EXPECT_FALSE(manager.deleteClone(kept));
    click->play();
    EXPECT_TRUE(click->isPlaying());
}

TEST_F(SoundManagerTest, VolumeOutsideZeroToOneChangesNothing) {
    manager.loadList(dir.file("main.list"), "");
    aSound* clone = manager.clone(manager.getSound("door"));
    manager.setVolume(0.25f);
    EXPECT_EQ(manager.getSound("click")->getMasterVolume(), 0.25f);
    EXPECT_EQ(clone->getMasterVolume(), 0.25f);
    for (f32 bad : {1.5f, -0.1f, f32(NAN)}) {
        LogCapture capture;
        manager.setVolume(bad);
        EXPECT_EQ(capture.messages().size(), 1u);
        EXPECT_EQ(capture.messages()[0].rfind("aSoundManager. Invalid volume value ", 0), 0u);
        EXPECT_EQ(manager.getSound("door")->getMasterVolume(), 0.25f);
        EXPECT_EQ(clone->getMasterVolume(), 0.25f);
    }
    manager.setVolume(1.0f);
    EXPECT_EQ(clone->getMasterVolume(), 1.0f);
}

} // namespace
