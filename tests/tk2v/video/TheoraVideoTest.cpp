#include "VideoTestUtil.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/video/aTheoraVideo.h"

#include <gtest/gtest.h>

namespace {

class TheoraVideoTest : public ::testing::Test {
protected:
    void SetUp() override {
        testGraphServer();
        logs.clear(); // of the graph server made by the first test
        dir.write("clip.ogg", encodeClip(flatClip(3)));
    }

    int imageColour(i32 x = 32, i32 y = 24) const { return colourIndex(video.getImage().getPixel(x, y)); }

    TempDir dir;
    LogCapture logs;
    aTheoraVideo video;
};

TEST_F(TheoraVideoTest, FramesReachTheImageAndTheLastOneStays) {
    ASSERT_TRUE(video.open(dir.file("clip.ogg"), false));
    EXPECT_EQ(video.getWidth(), 64u);
    EXPECT_EQ(video.getHeight(), 48u);
    EXPECT_EQ(video.getImage().getWidth(), 64u);
    EXPECT_EQ(video.getImage().getHeight(), 48u);
    EXPECT_TRUE(video.isPlaying());

    video.update(0); // as the menu does, to show the first frame at once
    EXPECT_EQ(imageColour(), 0);
    EXPECT_EQ(imageColour(0, 0), 0);
    EXPECT_EQ(imageColour(63, 47), 0);
    video.update(0.02f);
    EXPECT_EQ(imageColour(), 0);
    video.update(0.02f);
    EXPECT_EQ(imageColour(), 1);
    video.update(0.04f);
    video.update(0.04f);
    EXPECT_FALSE(video.isPlaying());
    EXPECT_EQ(imageColour(), 2);
    EXPECT_TRUE(logs.messages().empty());
}

TEST_F(TheoraVideoTest, MissingFileKeepsThePlayerClosed) {
    EXPECT_FALSE(video.open(dir.file("missing.ogg"), true));
    EXPECT_FALSE(video.isPlaying());
    EXPECT_EQ(video.getWidth(), 0u);
    EXPECT_EQ(logs.messages(), std::vector<std::string>{"File open error!"});
    video.update(1.0f);
}

TEST_F(TheoraVideoTest, DrawsTheWholeFrameOrAPart) {
    ASSERT_TRUE(video.open(dir.file("clip.ogg"), true));
    video.update(0);
    const u32 rgba = expectedArgb(kColours[0]) << 8 | 0xFF;
    const RgbaImage whole = drawScene({0, 0, 200, 100}, [&] { video.draw(10.0f, 20.0f); });
    EXPECT_EQ(countLit(whole), 64 * 48);
    EXPECT_TRUE(near(whole.pixel(10, 20), rgba));
    EXPECT_TRUE(near(whole.pixel(73, 67), rgba));

    const aRect part{8, 4, 16, 10};
    const RgbaImage partial =
        drawScene({0, 0, 200, 100}, [&] { video.draw(100.0f, 50.0f, 0xFFFFFFFF, &part); });
    EXPECT_EQ(countLit(partial), 16 * 10);
    EXPECT_TRUE(near(partial.pixel(100, 50), rgba));
    EXPECT_TRUE(near(partial.pixel(115, 59), rgba));
}

} // namespace
