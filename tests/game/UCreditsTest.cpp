#include "game/UCredits.h"
#include "support/Golden.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string png(u32 w, u32 h, const std::vector<u32>& argb) {
    auto bytes = imagefiles::png(w, h, argb);
    return std::string(bytes.begin(), bytes.end());
}

// A font of three 8 x 20 glyphs A, B, C (white with a clear border) and texts naming them; the
// fade motion lasts 0.25 + 0.5 + 0.25 + 0.1 seconds, nine updates of 0.125.
class CreditsTest : public testing::Test {
protected:
    void SetUp() override {
        server = &testGraphServer();
        std::vector<u32> glyphs(24 * 20, 0);
        for (u32 y = 1; y < 19; ++y)
            for (u32 x = 0; x < 24; ++x)
                if (x % 8 != 0 && x % 8 != 7)
                    glyphs[y * 24 + x] = 0xFFFFFFFF;
        dir.write("glyphs.png", png(24, 20, glyphs));
        dir.write("font.fnt",
                  "[General]\nTexture = glyphs.png\nFormat16 = 4444\nFormat32 = 8888\nCharSpacing = 0\n"
                  "[Charlist]\n41 = 0 0 8 20 0 0\n42 = 8 0 8 20 0 0\n43 = 16 0 8 20 0 0\n");
        dir.write("credits.txt", "LINE_A = \"A\"\nLINE_B = \"BB\"\nLINE_C = \"CCC\"\n");
        std::vector<u32> badge(16 * 8);
        for (u32 i = 0; i < badge.size(); ++i)
            badge[i] = i % 16 < 8 ? 0xFFFF8000 : 0xFF0080FF;
        dir.write("badge.png", png(16, 8, badge));
        dir.write("images.list", "badge.png 8888 8888\n");
        images.loadList(dir.file("images.list"), "Credits");
        capture.clear();
    }

    std::string script(const std::string& main) {
        dir.write("credits.ini", "[Fonts]\nf = " + dir.file("font.fnt") +
                                     "\n[Style]\nName = s\nFont = f\nColor = FFFFFF00\n"
                                     "[Trajectory]\nName = up\nVector = 512 100 512 -100\nSpeed = 80\n"
                                     "[Trajectory]\nName = still\nPos = 100 200\nFadeUpTime = 0.25\n"
                                     "FadeDnTime = 0.25\nPeriod = 0.5\n"
                                     "[Loc]\nFile = " +
                                     dir.file("credits.txt") +
                                     "\n[Main]\nStyle = s\nAlignH = 0\nAlignV = 0\n" + main);
        return dir.file("credits.ini");
    }

    // Per update: each block's pending state, and "*" when the roll said it is over.
    static std::vector<std::string> trace(UCredits& credits, int updates, f32 dt = 0.125f) {
        std::vector<std::string> out;
        for (int i = 0; i < updates; ++i) {
            const bool over = credits.Update(dt);
            std::string line;
            for (const auto& block : credits.getBlocks()) {
                if (!line.empty())
                    line += ' ';
                line += std::to_string(block->pending);
            }
            if (over)
                line += '*';
            out.push_back(line);
        }
        return out;
    }

    aGraphServer* server = nullptr;
    TempDir dir;
    aLocaleServer locale;
    aImageManager images;
    LogCapture capture;
};

TEST_F(CreditsTest, BlocksChainOnTriggersEndsTimersAndLabels) {
    struct Case {
        const char* what;
        std::string main;
        int updates;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> nine(8, "0 1");
    auto then = [](std::vector<std::string> head, std::initializer_list<std::string> tail) {
        head.insert(head.end(), tail);
        return head;
    };
    const Case cases[] = {
        // Trigger line 100 - 20 - 15 = 65: passed on the fourth step of 10 pixels.
        {"loose moving lines start on the trigger",
         "IntervalAsPix = 1\nInterval = 15\nTrajectory = up\n"
         "Text = LINE_A\nText = LINE_B\n",
         5,
         {"0 1", "0 1", "0 1", "0 0", "0 0"}},
        {"loose fading lines start when the one before finishes",
         "Trajectory = still\nText = LINE_A\nText = LINE_B\n", 10, then(nine, {"-1 0", "-1 0"})},
        {"a start-after time starts the next block",
         "Trajectory = still\nBeginBlock = 1\nText = LINE_A\n"
         "StartAfterTime = 0.3\nEndBlock = 1\nText = LINE_B\n",
         3,
         {"0 1", "0 1", "0 0"}},
        {"a labelled block starts the blocks that name it",
         "Trajectory = still\nText = LINE_A\nText = LINE_B\n"
         "Label = L\nText = LINE_C\nStartAfter = L\n",
         10,
         {"0 1 1", "0 1 1", "0 1 1", "0 1 1", "0 1 1", "0 1 1", "0 1 1", "0 1 1", "-1 0 0", "-1 0 0"}},
        // The first block starts without the cascade, so the block waiting on it never starts.
        {"a block after the first block's label waits for good",
         "Trajectory = still\nText = LINE_A\nLabel = first\n"
         "Text = LINE_B\nStartAfter = first\n",
         10, then(nine, {"-1 1*", "-1 1*"})},
    };
    for (const Case& c : cases) {
        UCredits credits(script(c.main), &images);
        EXPECT_EQ(trace(credits, c.updates), c.expected) << c.what;
    }
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(CreditsTest, StandingBlocksStackWithTheGapAndAlignVertically) {
    const struct {
        const char* alignV;
        std::vector<i32> ys;
    } cases[] = {{"0", {200, 230, 260}}, {"1", {160, 190, 220}}, {"2", {120, 150, 180}}};
    for (const auto& c : cases) {
        // Interval 0.5 of a 20-pixel line: 10 pixels between lines, none after the last.
        UCredits credits(
            script(std::string("AlignV = ") + c.alignV +
                   "\nIntervalAsPix = 0\nInterval = 0.5\nTrajectory = still\n"
                   "BeginBlock = 1\nText = LINE_A\nText = LINE_B\nText = LINE_C\nEndBlock = 1\n"),
            &images);
        ASSERT_EQ(credits.getBlocks().size(), 1u);
        std::vector<i32> ys;
        for (const auto& item : credits.getBlocks()[0]->items) {
            EXPECT_EQ(UCredits::itemGap(*item), 10);
            ys.push_back(item->motion.y);
        }
        EXPECT_EQ(ys, c.ys) << "AlignV " << c.alignV;
    }
}

TEST_F(CreditsTest, AFadingItemLastsItsFadesPeriodAndATenth) {
    struct Case {
        const char* what;
        const char* motion;
        int lastRunning; // updates of 0.125 s before the item is finished
        f32 alphaAfterFirst;
    };
    const Case cases[] = {
        {"0.5 + 2 + 0.5 + 0.1 seconds", "FadeUpTime = 0.5\nFadeDnTime = 0.5\nPeriod = 2\n", 24, 63.75f},
        // No fade time to divide by: the item is there at once and gone at once.
        {"fades of 0", "FadeUpTime = 0\nFadeDnTime = 0\nPeriod = 1\n", 10, 255},
    };
    for (const Case& c : cases) {
        dir.write("fade.ini", std::string("[Trajectory]\nName = t\nPos = 10 10\n") + c.motion +
                                  "[Loc]\nFile = " + dir.file("credits.txt") +
                                  "\n[Main]\nTrajectory = t\nText = LINE_A\n");
        UCredits credits(dir.file("fade.ini"), &images);
        const UCredits::Item& item = *credits.getBlocks()[0]->items[0];
        credits.Update(0.125f);
        EXPECT_FLOAT_EQ(item.alpha, c.alphaAfterFirst) << c.what;
        for (int i = 2; i <= c.lastRunning; ++i)
            EXPECT_FALSE(credits.Update(0.125f)) << c.what << " " << i;
        EXPECT_TRUE(credits.Update(0.125f)) << c.what;
        EXPECT_EQ(item.status, UCredits::FINISHED) << c.what;
    }
}

TEST_F(CreditsTest, BadScriptsAreLoggedAndPlayOn) {
    dir.write("bad.ini",
              "[Style]\nName = s\nFont = nofont\n"
              "[Trajectory]\nName = lost\nCurve = " +
                  dir.file("missing.trj") +
                  "\nSpeed = 50\n"
                  "[Loc]\nFile = " +
                  dir.file("credits.txt") +
                  "\n[Main]\nSize = 3\nText = LINE_A\nBogus = 1\nTrajectory = lost\nText = LINE_B\n"
                  "StartAfter = nolabel\nStyle = unknown\nTrajectory = unknown\nImage = nothing\n");
    UCredits credits(dir.file("bad.ini"), &images);
    for (const char* line : {"UCredits: font 'nofont' not found!", "UCredits: key 'Bogus' not found!",
                             "UCredits: label 'nolabel' not found!"})
        EXPECT_TRUE(capture.contains(line)) << line;
    EXPECT_TRUE(capture.contains("UCredits: trajectory '" + dir.file("missing.trj") + "' not found!"));
    EXPECT_TRUE(capture.contains("aImageManager. Cannot find image: nothing"));
    ASSERT_EQ(credits.getBlocks().size(), 3u);
    // A text without a font takes no room; a curve that failed is no path, so the item fades.
    const UCredits::Item& lost = *credits.getBlocks()[1]->items[0];
    EXPECT_EQ(UCredits::itemHeight(lost), 0);
    EXPECT_FALSE(lost.motion.trajectory);
    EXPECT_EQ(credits.getBlocks()[0]->items[0]->style.size, 1.0f);
    bool over = false;
    for (int i = 0; i < 200 && !over; ++i) {
        over = credits.Update(0.1f);
        ASSERT_TRUE(server->beginScene());
        credits.Render();
        server->endScene();
    }
    EXPECT_TRUE(over);
}

TEST_F(CreditsTest, AFrameOfTextAndImagesOnTheirPaths) {
    // Two badges glide up at the "up" motion's speed, the second starting when the first passes its
    // trigger line (70 - 8 - 4); the text block starts when the second does, and is 3/4 faded in.
    UCredits credits(
        script("AlignH = 2\nImageGroup = Credits\nTrajectory = up\nVector = 100 70 100 -30\n"
               "IntervalAsPix = 1\nInterval = 4\nImage = badge\nAngle = 90\nImage = badge\n"
               "AlignH = 1\nPos = 40 20\nBeginBlock = 1\nText = LINE_C\nText = LINE_B\nEndBlock = 1\n"),
        &images);
    ASSERT_EQ(credits.getBlocks().size(), 3u);
    EXPECT_EQ(trace(credits, 5), (std::vector<std::string>{"0 1 1", "0 0 1", "0 0 0", "0 0 0", "0 0 0"}));
    RgbaImage image;
    server->clearColor = 0xFF000000;
    ASSERT_TRUE(server->beginScene());
    credits.Render();
    server->getSprite()->flush();
    ASSERT_TRUE(platform::succeeded(server->getDevice()->readBackBuffer({0, 0, 128, 96}, image.rgba)));
    image.width = 128;
    image.height = 96;
    server->endScene();
    EXPECT_TRUE(matchesGolden("credits_frame", image));
}

} // namespace
