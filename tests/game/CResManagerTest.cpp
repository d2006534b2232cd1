#include "game/CResManager.h"
#include "game/CAnimManager.h"
#include "game/CParticleManager.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The queued files do not exist: a missing file costs its extension's weight times the minimum
// size, and the managers still report it loaded, which is all the pass measures.
constexpr f32 ImageCost = 15.230181f * 1024;
constexpr f32 SoundCost = 2.711985f * 1024;
constexpr f32 MusicCost = 2.622646f * 1024;

class ResManagerTest : public testing::Test {
protected:
    void SetUp() override {
        // The log stamps lines with the time since the program started, on the real clock: the
        // manual clock starts beyond it so that no stamp goes negative.
        clock.advanceNs(realStart);
        testGraphServer();
        res = std::make_unique<CResManager>(false);
        dir.write("images.list", "a.png 8888 8888\n");
        dir.write("sounds.list", "b.wav 1.0\n");
        dir.write("playlist.txt", "c.wav\n");
        dir.write("particles.list", "Fog\n");
        dir.write("Fog.psys", "emit_per_sec 5\n");
        dir.write("anims.ini", "[walk]\nTextureName = a\nRectFirstSprite = 0 0 1 1\nFramesCount = 1\n");
    }

    void queueAll() {
        res->getImageManager()->AddListToTask(dir.file("images.list"), "");
        res->getSoundManager()->AddListToTask(dir.file("sounds.list"), "");
        res->getMusicManager()->AddListToTask(dir.file("playlist.txt"), "");
        res->getParticleManager()->AddListToTask(dir.file("particles.list"), "");
        res->getAnimManager()->addListToTask(dir.file("anims.ini"), "");
    }

    const u64 realStart = platform::counter();
    FakeClock clock;
    TempDir dir;
    LogCapture capture;
    // Made once the application stands: its drawer needs the graph server.
    std::unique_ptr<CResManager> res;
};

TEST_F(ResManagerTest, StepsLoadMusicImagesSoundsThenTheRestAndPopCostsInGatheredOrder) {
    queueAll();
    res->BeginLoading();
    EXPECT_FLOAT_EQ(res->getTotalCost(), ImageCost + SoundCost + MusicCost);
    EXPECT_EQ(res->getPendingCosts(), 3u);

    struct Step {
        bool musicLeft, imagesLeft, soundsLeft, done;
        f32 loaded, current;
    };
    // The music loads first, yet the image's cost goes first: costs leave in gathered order.
    const Step steps[] = {
        {false, true, true, false, ImageCost, SoundCost},
        {false, false, true, false, ImageCost + SoundCost, MusicCost},
        {false, false, false, false, ImageCost + SoundCost + MusicCost, 0},
        {false, false, false, true, ImageCost + SoundCost + MusicCost, 0},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        clock.advanceMs(10);
        res->LoadStep();
        EXPECT_EQ(res->getMusicManager()->hasCurrentTask(), steps[i].musicLeft);
        EXPECT_EQ(res->getImageManager()->hasCurrentTask(), steps[i].imagesLeft);
        EXPECT_EQ(res->getSoundManager()->hasCurrentTask(), steps[i].soundsLeft);
        EXPECT_EQ(res->isDone(), steps[i].done);
        EXPECT_FLOAT_EQ(res->getLoadedCost(), steps[i].loaded);
        EXPECT_FLOAT_EQ(res->getCurrentCost(), steps[i].current);
    }
    // The last step loaded the particles and the animations in one go.
    EXPECT_TRUE(res->getImageManager()->hasImage("a"));
    EXPECT_TRUE(res->getSoundManager()->hasSound("b"));
    EXPECT_TRUE(res->getParticleManager()->getParticle("Fog"));
    EXPECT_TRUE(res->getAnimManager()->hasAnimation("walk"));
    EXPECT_TRUE(res->getParticleManager()->getTasks().empty());
    EXPECT_FALSE(res->getAnimManager()->hasTasks());
}

TEST_F(ResManagerTest, ProgressWaitsATenthOfASecondThenFollowsTheSpeedUpToTheCurrentResource) {
    queueAll();
    const f32 total = ImageCost + SoundCost + MusicCost;
    res->BeginLoading();
    clock.advanceMs(200);
    res->LoadStep();                                               // ImageCost loaded at 0.2 s
    EXPECT_FLOAT_EQ(res->GetProgress(), 1.0f * ImageCost / total); // 0.2 s at the speed: still on time

    clock.advanceMs(10); // 0.21 s x speed = 1.05 x ImageCost, below the cap of image + sound
    EXPECT_NEAR(res->GetProgress(), 1.05f * ImageCost / total, 1e-4);

    clock.advanceMs(290); // 0.5 s: the estimate runs ahead and is held at image + sound
    EXPECT_FLOAT_EQ(res->GetProgress(), (ImageCost + SoundCost) / total);

    // A new pass starts at 0 for its first 0.1 seconds.
    res->BeginLoading();
    clock.advanceMs(100);
    EXPECT_EQ(res->GetProgress(), 0.0f);
    clock.advanceMs(10);
    EXPECT_EQ(res->GetProgress(), 0.0f); // nothing loaded yet: speed 0
}

TEST_F(ResManagerTest, APassOfOnlyParticlesEndsInOneStepAtFullProgress) {
    res->getParticleManager()->AddListToTask(dir.file("particles.list"), "");
    res->BeginLoading();
    EXPECT_EQ(res->getTotalCost(), 0.0f);
    res->LoadStep();
    EXPECT_TRUE(res->isDone());
    EXPECT_EQ(res->getLoadedCost(), 0.0f);
    clock.advanceMs(200);
    EXPECT_EQ(res->GetProgress(), 1.0f);
}

TEST_F(ResManagerTest, ClearTasksEmptiesEveryQueue) {
    queueAll();
    res->ClearTasks();
    EXPECT_TRUE(res->getImageManager()->getTasks().empty());
    EXPECT_TRUE(res->getSoundManager()->getTasks().empty());
    EXPECT_TRUE(res->getMusicManager()->getTasks().empty());
    EXPECT_TRUE(res->getParticleManager()->getTasks().empty());
    EXPECT_FALSE(res->getAnimManager()->hasTasks());
}

TEST_F(ResManagerTest, StringsComeByIdAndSectionAndTheSingletonIsTheObject) {
    EXPECT_EQ(CResManager::getSingleton(), res.get());
    dir.write("Main.txt", "HELLO = \"Hi\"\n");
    dir.write("Menu.txt", "HELLO = \"Menu hi\"\n");
    res->getLocaleServer()->loadFile(dir.file("Main.txt"), "");
    res->getLocaleServer()->loadFile(dir.file("Menu.txt"), "menu");
    EXPECT_EQ(res->GetString("HELLO"), L"Hi");
    EXPECT_EQ(res->GetString("HELLO", "menu"), L"Menu hi");
    EXPECT_EQ(res->GetString("BYE"), L"");
}

} // namespace
