#include "game/CAnimManager.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aImageManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class AnimManagerTest : public testing::Test {
protected:
    void SetUp() override {
        testGraphServer();
        auto png = imagefiles::png(256, 32, std::vector<u32>(256 * 32, 0xFF00FF00));
        dir.write("sheet.png", std::string(png.begin(), png.end()));
        dir.write("images.list", "sheet.png 8888 8888\n");
        for (const char* group : {"", "a", "b"})
            images.loadList(dir.file("images.list"), group);
        anims.setImageManager(&images);
    }

    // The frame rectangles of the stored animation, in order.
    std::vector<aRect> frames(const std::string& name, const std::string& group = "") {
        std::vector<aRect> out;
        const aAnim* stored = anims.getAnimation(name, group);
        if (!stored)
            return out;
        aAnim copy(*stored);
        for (u16 i = 0; i < copy.getFrameCount(); ++i) {
            copy.setFrame(i);
            out.push_back(copy.getFrame()->rect);
        }
        return out;
    }

    TempDir dir;
    aImageManager images;
    CAnimManager anims;
};

TEST_F(AnimManagerTest, FramesRunInRowsAcrossTheTexture) {
    struct Case {
        const char* section;
        std::vector<aRect> expected;
    };
    dir.write("anims.ini", "[strip]\nTextureName = sheet\nRectFirstSprite = 0 0 64 16\nFramesCount = 6\n"
                           "[stepped]\nTextureName = sheet\nRectFirstSprite = 10 5 60 16\nFramesCount = 5\n"
                           "PixelsStep = 2\n"
                           "[wide]\nTextureName = sheet\nRectFirstSprite = 4 0 300 8\nFramesCount = 3\n"
                           "[empty]\nTextureName = sheet\nRectFirstSprite = 0 0 64 16\nFramesCount = 0\n");
    anims.load(dir.file("anims.ini"), "");
    const Case cases[] = {
        {"strip",
         {{0, 0, 64, 16},
          {64, 0, 64, 16},
          {128, 0, 64, 16},
          {192, 0, 64, 16},
          {0, 16, 64, 16},
          {64, 16, 64, 16}}},
        // 196 + 60 reaches the edge exactly and stays in the row.
        {"stepped", {{10, 5, 60, 16}, {72, 5, 60, 16}, {134, 5, 60, 16}, {196, 5, 60, 16}, {10, 23, 60, 16}}},
        // A texture narrower than one frame: every frame starts a row of its own.
        {"wide", {{4, 0, 300, 8}, {4, 8, 300, 8}, {4, 16, 300, 8}}},
        {"empty", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frames(c.section), c.expected) << c.section;
}

TEST_F(AnimManagerTest, DefaultsPlayAndAnAnimationWithoutFramesIsSafe) {
    dir.write("anims.ini", "[walk]\nTextureName = sheet\nRectFirstSprite = 0 0 64 16\nFramesCount = 2\n"
                           "[still]\nTextureName = sheet\nRectFirstSprite = 0 0 64 16\nFramesCount = 0\n"
                           "AnimSpeed = 0.5\nAnimMode = 0\n");
    anims.load(dir.file("anims.ini"), "");
    const aAnim* walk = anims.getAnimation("walk");
    ASSERT_TRUE(walk);
    EXPECT_FLOAT_EQ(walk->frameTime, 0.025f);
    EXPECT_EQ(walk->playMode, u32(aAnim::MODE_LOOP));
    EXPECT_FALSE(walk->stopped);
    EXPECT_EQ(walk->getFrameIndex(), 0);

    const aAnim* still = anims.getAnimation("still");
    ASSERT_TRUE(still);
    EXPECT_FLOAT_EQ(still->frameTime, 0.5f);
    EXPECT_EQ(still->playMode, u32(aAnim::MODE_ONCE));
    aAnim copy(*still);
    copy.update(1.0f);
    EXPECT_EQ(copy.getFrame(), nullptr);
}

TEST_F(AnimManagerTest, BadSectionsAreLoggedAndSkipped) {
    dir.write("anims.ini",
              "[nosheet]\nTextureName = missing\nRectFirstSprite = 0 0 8 8\nFramesCount = 1\n"
              "[zero]\nTextureName = sheet\nRectFirstSprite = 0 0 8 8\nFramesCount = 1\nAnimSpeed = 0\n");
    LogCapture capture;
    anims.load(dir.file("anims.ini"), "");
    EXPECT_FALSE(anims.hasAnimation("nosheet"));
    EXPECT_TRUE(capture.contains("aImageManager. Cannot find image: missing"));
    // A frame time not above 0 is asserted and stored all the same.
    ASSERT_TRUE(anims.hasAnimation("zero"));
    EXPECT_EQ(anims.getAnimation("zero")->frameTime, 0.0f);
    EXPECT_EQ(capture.messages().size(), 2u);
    EXPECT_EQ(capture.messages()[1].rfind("aAnim::setFrameTime: t>0 ", 0), 0u) << capture.messages()[1];
}

TEST_F(AnimManagerTest, NamesIgnoreCaseAndDuplicatesKeepTheFirst) {
    dir.write("anims.ini", "[Walk]\nTextureName = sheet\nRectFirstSprite = 0 0 64 16\nFramesCount = 2\n"
                           "[Run]\nTextureName = sheet\nRectFirstSprite = 0 0 32 16\nFramesCount = 1\n");
    anims.load(dir.file("anims.ini"), "");
    const aAnim* walk = anims.getAnimation("WALK");
    ASSERT_TRUE(walk);
    LogCapture capture;
    anims.load(dir.file("anims.ini"), "");
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"AnimManager. Animation with name \"Walk\" already exist!",
                                        "AnimManager. Animation with name \"Run\" already exist!"}));
    EXPECT_EQ(anims.getAnimation("walk"), walk);
    EXPECT_EQ(walk->getFrameCount(), 2);

    capture.clear();
    EXPECT_FALSE(anims.getAnimation("Jump"));
    EXPECT_FALSE(anims.getAnimation("Walk", "Hall"));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"AnimManager. Cannot find animation: Jump",
                                        "AnimManager. Cannot find animation: Walk : Hall"}));
}

TEST_F(AnimManagerTest, QueuedGroupsLoadTogetherAndUnloadApart) {
    dir.write("anims.ini", "[Walk]\nTextureName = sheet\nRectFirstSprite = 0 0 64 16\nFramesCount = 2\n"
                           "[Run]\nTextureName = sheet\nRectFirstSprite = 0 0 32 16\nFramesCount = 1\n");
    dir.write("other.ini", "[Swim]\nTextureName = sheet\nRectFirstSprite = 0 0 32 16\nFramesCount = 1\n");
    anims.addListToTask(dir.file("anims.ini"), "a");
    anims.addListToTask(dir.file("other.ini"), "a");
    anims.addListToTask(dir.file("anims.ini"), "b");
    EXPECT_FALSE(anims.hasAnimation("Walk", "a"));
    anims.loadTasks();
    EXPECT_FALSE(anims.hasTasks());
    for (const char* key : {"Walk:a", "Run:a", "Swim:a", "Walk:b", "Run:b"})
        EXPECT_TRUE(anims.hasAnimation(key)) << key;
    EXPECT_FALSE(anims.hasAnimation("Walk"));

    anims.unloadList(dir.file("anims.ini"), "a");
    EXPECT_FALSE(anims.hasAnimation("Walk", "a"));
    EXPECT_FALSE(anims.hasAnimation("Run", "a"));
    EXPECT_TRUE(anims.hasAnimation("Swim", "a"));
    EXPECT_TRUE(anims.hasAnimation("Walk", "b"));

    anims.addListToTask(dir.file("other.ini"), "c");
    anims.clearTasks();
    anims.loadTasks();
    EXPECT_FALSE(anims.hasAnimation("Swim", "c"));
}

TEST(AnimManagerAloneTest, WithoutAnImageManagerNothingLoads) {
    TempDir dir;
    dir.write("anims.ini", "[Walk]\nTextureName = sheet\n");
    LogCapture capture;
    CAnimManager anims;
    anims.load(dir.file("anims.ini"), "");
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"CAnimManager. Class Not Initialized!"});
    EXPECT_FALSE(anims.hasAnimation("Walk"));
}

} // namespace
