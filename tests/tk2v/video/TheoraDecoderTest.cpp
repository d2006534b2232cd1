#include "VideoTestUtil.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/ZipWriter.h"
#include "tk2v/file/file.h"
#include "tk2v/video/aTheoraDecoder.h"

#include <gtest/gtest.h>

namespace {

// Which of kColours the decoded frame shows, or -1.
int shownColour(const aTheoraDecoder& video) {
    const u32 w = video.getPixelsWidth(), h = video.getPixelsHeight();
    if (w == 0 || h == 0)
        return -1;
    return colourIndex(video.getPixels()[size_t(h / 2) * w + w / 2]);
}

// Plays with one frame per update until the video closes; the colour index of each frame.
std::vector<int> playToEnd(aTheoraDecoder& video, int maxUpdates = 100) {
    std::vector<int> shown;
    for (int i = 0; i < maxUpdates && video.isOpen(); ++i)
        if (video.update(1.0f))
            shown.push_back(shownColour(video));
    return shown;
}

class TheoraDecoderTest : public ::testing::Test {
protected:
    std::string write(const std::string& bytes, const std::string& name = "clip.ogg") {
        dir.write(name, bytes);
        return dir.file(name);
    }

    TempDir dir;
    LogCapture logs;
    aTheoraDecoder video;
};

TEST_F(TheoraDecoderTest, DecodesEveryFrameInOrderThenCloses) {
    for (bool otherStream : {false, true}) {
        SCOPED_TRACE(otherStream ? "beside another stream" : "alone");
        ClipSpec spec = flatClip(5);
        spec.otherStream = otherStream;
        ASSERT_TRUE(video.open(write(encodeClip(spec)), false));
        EXPECT_EQ(video.getWidth(), 64u);
        EXPECT_EQ(video.getHeight(), 48u);
        EXPECT_FLOAT_EQ(video.getFrameTime(), 0.04f);

        EXPECT_EQ(playToEnd(video), (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_FALSE(video.isOpen());
        EXPECT_EQ(video.getWidth(), 0u);
        // The last frame stays, and a closed video does nothing.
        EXPECT_EQ(shownColour(video), 4);
        EXPECT_FALSE(video.update(1.0f));
        EXPECT_EQ(video.getPixelsWidth(), 64u);
        EXPECT_EQ(video.getPixelsHeight(), 48u);
    }
    EXPECT_TRUE(logs.messages().empty());
}

TEST_F(TheoraDecoderTest, LoopingGoesOnFromTheFirstFrameSilently) {
    ASSERT_TRUE(video.open(write(encodeClip(flatClip(3))), true));
    std::vector<int> shown;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(video.update(1.0f));
        shown.push_back(shownColour(video));
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1}));
    EXPECT_TRUE(video.isOpen());
    EXPECT_TRUE(logs.messages().empty());
}

// At four frames a second a frame is due every 0.25 s; the clock keeps the remainder of the frame
// time, and a long pause still advances a single frame.
TEST_F(TheoraDecoderTest, FrameClockDecodesWhenAFrameIsDue) {
    ASSERT_TRUE(video.open(write(encodeClip(flatClip(5, 4))), true));
    struct Step {
        f32 dt;
        int shown; // colour index after the update; -1 while no frame has come
        bool decoded;
    } steps[] = {
        {0.0f, 0, true},                                            // the first update decodes at once
        {0.125f, 0, false},  {0.125f, 1, true},  {0.625f, 2, true}, // 0.125 left over
        {0.0625f, 2, false}, {0.0625f, 3, true}, {10.0f, 4, true},  {0.0f, 4, false},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(video.update(s.dt), s.decoded) << s.dt;
        EXPECT_EQ(shownColour(video), s.shown) << s.dt;
    }
}

TEST_F(TheoraDecoderTest, TwentyFiveFramesASecondAtDifferentUpdateRates) {
    ASSERT_TRUE(video.open(write(encodeClip(flatClip(5))), true));
    // At 60 updates a second: 25 new frames a second, each 2 or 3 updates after the one before.
    int frames = 0, sinceLast = 0;
    for (int i = 0; i < 600; ++i, ++sinceLast)
        if (video.update(1.0f / 60)) {
            if (frames > 0) {
                EXPECT_TRUE(sinceLast == 2 || sinceLast == 3) << sinceLast;
            }
            ++frames;
            sinceLast = 0;
        }
    EXPECT_NEAR(frames, 251, 1);
    // At 10 updates a second every update shows the next frame: the video plays slower.
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(video.update(0.1f)) << i;
}

TEST_F(TheoraDecoderTest, MissingFileAndPackMember) {
    ZipWriter pack;
    pack.add("clip.ogg", encodeClip(flatClip(2)));
    ASSERT_TRUE(pack.save(dir.file("Video.zip")));
    ASSERT_TRUE(file_exists(dir.file("Video/clip.ogg")));

    for (const std::string& path : {dir.file("none.ogg"), dir.file("Video/clip.ogg")}) {
        logs.clear();
        EXPECT_FALSE(video.open(path, false)) << path;
        EXPECT_FALSE(video.isOpen());
        EXPECT_EQ(logs.messages(), std::vector<std::string>{"File open error!"});
    }
}

TEST_F(TheoraDecoderTest, DataWithoutAPlayableVideoFailsToOpen) {
    const std::string clip = encodeClip(flatClip(3));
    ClipSpec wide = flatClip(1);
    wide.width = 4112;
    wide.height = 16;
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not ogg", std::string(20000, 'x')},
        {"no video stream", otherOgg()},
        {"cut in the first page", clip.substr(0, 40)},
        {"cut in the headers", clip.substr(0, 200)},
        {"frame wider than 4096", encodeClip(wide)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(video.open(write(c.bytes), true)) << c.name;
        EXPECT_FALSE(video.isOpen()) << c.name;
        EXPECT_FALSE(video.update(1.0f)) << c.name;
    }
    EXPECT_TRUE(logs.messages().empty());
}

TEST_F(TheoraDecoderTest, TruncatedDataEndsOrRewindsEarly) {
    const std::string clip = encodeClip(flatClip(5));
    const std::string headers = encodeClip(flatClip(0));
    ASSERT_EQ(clip.compare(0, headers.size(), headers), 0);
    for (size_t size :
         {headers.size(), headers.size() + (clip.size() - headers.size()) / 2, clip.size() - 1}) {
        SCOPED_TRACE(size);
        const std::string path = write(clip.substr(0, size));
        ASSERT_TRUE(video.open(path, false));
        const std::vector<int> shown = playToEnd(video);
        EXPECT_LT(shown.size(), 5u);
        EXPECT_FALSE(video.isOpen());
        // Looping rewinds after the frames there are; a file without any closes instead of spinning.
        ASSERT_TRUE(video.open(path, true));
        const std::vector<int> looped = playToEnd(video, 3 * int(shown.size()) + 3);
        EXPECT_EQ(video.isOpen(), !shown.empty());
        EXPECT_EQ(looped.size(), shown.empty() ? 0 : 3 * shown.size() + 3);
    }
}

TEST_F(TheoraDecoderTest, RejectedPacketIsLoggedAndPlayGoesOn) {
    ClipSpec spec = flatClip(4);
    spec.badPacket = 2;
    ASSERT_TRUE(video.open(write(encodeClip(spec)), false));
    const std::vector<int> shown = playToEnd(video);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], 1);
    EXPECT_EQ(shown[3], 3);
    EXPECT_EQ(logs.messages(), std::vector<std::string>{"ERROR theora_decode_packetin"});
}

// Before its first picture the decoder has nothing to show, so a rejected first packet gives no frame.
TEST_F(TheoraDecoderTest, RejectedFirstPacketShowsNothing) {
    ClipSpec spec = flatClip(4);
    spec.badPacket = 0;
    ASSERT_TRUE(video.open(write(encodeClip(spec)), false));
    EXPECT_FALSE(video.update(1.0f));
    EXPECT_TRUE(video.isOpen());
    EXPECT_EQ(video.getPixelsWidth(), 0u);
    EXPECT_EQ(logs.messages(), std::vector<std::string>{"ERROR theora_decode_packetin"});
    EXPECT_LE(playToEnd(video).size(), 3u);
}

// A long stretch of junk is searched through a bounded piece at a time.
TEST_F(TheoraDecoderTest, JunkIsSearchedAcrossSeveralUpdates) {
    const std::string clip = encodeClip(flatClip(3));
    const std::string headers = encodeClip(flatClip(0));
    const std::string junk(6 << 20, 'j');
    ASSERT_TRUE(video.open(write(headers + junk + clip.substr(headers.size())), false));
    int updates = 0;
    while (!video.update(1.0f) && updates < 100)
        ++updates;
    EXPECT_GE(updates, 2);
    EXPECT_LT(updates, 100);
    EXPECT_EQ(shownColour(video), 0);
    EXPECT_EQ(playToEnd(video), (std::vector<int>{1, 2}));
}

} // namespace
