#include "game/SplashManager.h"
#include "support/Golden.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr u8 DIK_ESCAPE = 0x01;
constexpr u8 DIK_SPACE = 0x39;

// One "splash" section; the picture is named but need not exist for the timeline.
std::string screen(f32 fadeIn, f32 show, f32 fadeOut, u32 skip, const std::string& extra = "") {
    return "[splash]\nimage = logo.png\nsound =\nvideo = 0\ncentered = 1\nfadeincolor = FF112233\n"
           "fadeoutcolor = FF445566\nfadeintime = " +
           std::to_string(fadeIn) + "\nshowtime = " + std::to_string(show) +
           "\nfadeouttime = " + std::to_string(fadeOut) + "\nskip = " + std::to_string(skip) + "\n" + extra;
}

std::string png(u32 w, u32 h, const std::vector<u32>& argb) {
    auto bytes = imagefiles::png(w, h, argb);
    return std::string(bytes.begin(), bytes.end());
}

class SplashManagerTest : public testing::Test {
protected:
    // The input server registers with the application, which must stand first.
    void SetUp() override {
        server = &testGraphServer();
        inputServer = std::make_unique<aInputServer>();
        capture.clear();
    }
    void TearDown() override { server->clearColor = SplashManager::IdleClearColor; }

    std::string settings(const std::string& text) {
        dir.write("settings.ini", text);
        return dir.file("settings.ini");
    }

    // Runs updates of dt until the sequence ends (at most `limit`), pressing the key or button
    // state `press` in the updates listed in `pressAt` (counted from 1). Each update leaves a
    // line "result index fade".
    std::vector<std::string> run(SplashManager& splash, f32 dt, const std::vector<int>& pressAt = {},
                                 aKeyState press = KEY_PRESSED, int limit = 40) {
        std::vector<std::string> out;
        for (int i = 1; i <= limit; ++i) {
            bool pressNow = std::find(pressAt.begin(), pressAt.end(), i) != pressAt.end();
            input().mouseButtons[0] = pressNow ? press : KEY_UP;
            char line[64];
            bool running = splash.update(dt);
            std::snprintf(line, sizeof line, "%d %d %.2f", running, splash.getIndex(), splash.getFade());
            out.push_back(line);
            if (!running)
                break;
        }
        input().mouseButtons[0] = KEY_UP;
        return out;
    }

    aGraphServer* server = nullptr;
    TempDir dir;
    LogCapture capture;
    std::unique_ptr<aInputServer> inputServer;
    aInputServer& input() { return *inputServer; }
};

TEST_F(SplashManagerTest, ReadsOnlySplashSectionsWithPathsBesideTheSettings) {
    SplashManager splash(
        settings("[Splash]\nimage = no.png\n" + screen(1, 2, 3, 1) +
                 "[other]\nimage = no.png\n"
                 "[splash]\nimage = intro.ogg\nsound = hit.wav\nvideo = 1\ncentered = 0\n"
                 "fadeincolor = zz\nfadeoutcolor = 80FFFFFF\nfadeintime = 0.25\nshowtime = x\n"
                 "fadeouttime = 0.5\nskip = 2\n"));
    ASSERT_EQ(splash.getScreens().size(), 2u);
    const SplashManager::Screen& a = splash.getScreens()[0];
    EXPECT_EQ(a.image, dir.file("logo.png"));
    EXPECT_EQ(a.sound, "");
    EXPECT_FALSE(a.video);
    EXPECT_TRUE(a.centred);
    EXPECT_EQ(a.fadeInColor, 0xFF112233u);
    EXPECT_EQ(a.fadeOutColor, 0xFF445566u);
    EXPECT_FLOAT_EQ(a.fadeInTime, 1);
    EXPECT_FLOAT_EQ(a.showTime, 2);
    EXPECT_FLOAT_EQ(a.fadeOutTime, 3);
    EXPECT_EQ(a.skip, 1u);
    const SplashManager::Screen& b = splash.getScreens()[1];
    EXPECT_EQ(b.image, dir.file("intro.ogg"));
    EXPECT_EQ(b.sound, dir.file("hit.wav"));
    EXPECT_TRUE(b.video);
    EXPECT_FALSE(b.centred);
    EXPECT_EQ(b.fadeInColor, SplashManager::IdleClearColor); // no hexadecimal number
    EXPECT_EQ(b.fadeOutColor, 0x80FFFFFFu);
    EXPECT_EQ(b.showTime, 0.0f);
    EXPECT_EQ(b.skip, 2u);
    EXPECT_TRUE(capture.messages().empty());

    // Missing keys are logged by the options file and read as empty or 0.
    SplashManager bare(settings("[splash]\n"));
    ASSERT_EQ(bare.getScreens().size(), 1u);
    EXPECT_EQ(bare.getScreens()[0].image, "");
    EXPECT_EQ(capture.messages().size(), 10u);
    EXPECT_EQ(capture.messages()[0], "aOptionsFile. Cannot find key \"image\" in current section!");
}

TEST_F(SplashManagerTest, TimelinesOfPhasesAndSkips) {
    struct Case {
        const char* what;
        std::string text;
        f32 dt;
        std::vector<int> pressAt;
        aKeyState press;
        std::vector<std::string> expected;
    };
    const std::string three = screen(0.5f, 1, 0.5f, 2) + screen(0.5f, 1, 0.5f, 2) + screen(0.5f, 1, 0.5f, 2);
    const std::string threeSkip1 = screen(0.5f, 1, 0.5f, 1) + screen(0, 0, 0, 0) + screen(0, 0, 0, 0);
    const Case cases[] = {
        {"fade-in 1, show 2, fade-out 1: four seconds",
         screen(1, 2, 1, 0),
         0.5f,
         {},
         KEY_PRESSED,
         {"1 0 0.50", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 0.50", "1 0 0.00",
          "0 -1 0.00"}},
        {"a click in the fade-in is ignored; one in the show starts the fade-out",
         screen(1, 2, 1, 1),
         0.5f,
         {1, 4},
         KEY_PRESSED,
         {"1 0 0.50", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 0.50", "1 0 0.00", "0 -1 0.00"}},
        {"a held button is no press",
         screen(1, 2, 1, 1),
         0.5f,
         {4},
         KEY_HELD,
         {"1 0 0.50", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 1.00", "1 0 0.50", "1 0 0.00",
          "0 -1 0.00"}},
        {"skip 2 on the first of three ends after its fade-out",
         three,
         0.5f,
         {2},
         KEY_PRESSED,
         {"1 0 1.00", "1 2 1.00", "1 2 0.00", "0 -1 0.00"}},
        {"skip 1 on the first of three goes on to the second",
         threeSkip1,
         0.5f,
         {2},
         KEY_PRESSED,
         {"1 0 1.00", "1 0 1.00", "1 0 0.00", "1 1 0.00", "1 2 0.00", "0 -1 0.00"}},
        {"an all-zero screen lasts one update",
         screen(0, 0, 0, 0) + screen(0, 0, 0, 0),
         0.5f,
         {},
         KEY_PRESSED,
         {"1 1 0.00", "0 -1 0.00"}},
        // The fade-out after skip 2 is measured by the last screen's time, here 0: it ends at once.
        {"skip 2 onto a last screen without fade-out",
         screen(0, 1, 1, 2) + screen(0, 0, 0, 0),
         0.25f,
         {1},
         KEY_PRESSED,
         {"1 1 1.00", "0 -1 1.00"}},
    };
    for (const Case& c : cases) {
        SplashManager splash(settings(c.text));
        splash.start(true);
        EXPECT_EQ(run(splash, c.dt, c.pressAt, c.press), c.expected) << c.what;
    }
}

TEST_F(SplashManagerTest, SpaceAndEscapeSkipTooAndClearColoursFollowThePhase) {
    SplashManager splash(settings(screen(0.5f, 1, 0.5f, 1)));
    EXPECT_FALSE(splash.update(0.1f)); // not started
    splash.start(true);
    EXPECT_EQ(server->clearColor, 0xFF112233u);
    EXPECT_TRUE(splash.update(0.25f));
    EXPECT_EQ(server->clearColor, 0xFF112233u);
    EXPECT_TRUE(splash.update(0.5f)); // into the show
    input().keyStates[DIK_SPACE] = KEY_PRESSED;
    EXPECT_TRUE(splash.update(0.1f));
    input().keyStates[DIK_SPACE] = KEY_UP;
    EXPECT_TRUE(splash.update(0.25f));
    EXPECT_FLOAT_EQ(splash.getFade(), 0.5f);
    EXPECT_EQ(server->clearColor, 0xFF445566u);
    EXPECT_FALSE(splash.update(0.5f));
    EXPECT_EQ(server->clearColor, SplashManager::IdleClearColor);

    splash.start(true);
    splash.update(1.0f);
    input().keyStates[DIK_ESCAPE] = KEY_PRESSED;
    splash.update(0.1f);
    input().keyStates[DIK_ESCAPE] = KEY_UP;
    EXPECT_FALSE(splash.update(1.0f));

    // Ending by hand.
    splash.start(true);
    splash.start(false);
    EXPECT_EQ(splash.getIndex(), -1);
    EXPECT_EQ(server->clearColor, SplashManager::IdleClearColor);

    SplashManager none(settings("[other]\n"));
    none.start(true);
    EXPECT_FALSE(none.update(0.1f));
}

// Draws the splash in one scene over its clear colour and reads the area back.
RgbaImage renderSplash(aGraphServer& server, SplashManager& splash, const platform::Rect& area) {
    RgbaImage image;
    if (!server.beginScene()) {
        ADD_FAILURE() << "no scene";
        return image;
    }
    splash.render();
    server.getSprite()->flush();
    if (platform::succeeded(server.getDevice()->readBackBuffer(area, image.rgba))) {
        image.width = u32(area.w);
        image.height = u32(area.h);
    }
    server.endScene();
    return image;
}

TEST_F(SplashManagerTest, AStretchedPictureFillsTheScreenAt1Point28) {
    std::vector<u32> pixels(800 * 600);
    for (u32 y = 0; y < 600; ++y)
        for (u32 x = 0; x < 800; ++x)
            pixels[y * 800 + x] = x < 400 ? 0xFFFF0000 : 0xFF0000FF;
    dir.write("logo.png", png(800, 600, pixels));
    std::string text = screen(0, 1, 0, 0);
    text.replace(text.find("centered = 1"), 12, "centered = 0");
    SplashManager splash(settings(text));
    splash.start(true);
    splash.update(0.1f);
    RgbaImage image = renderSplash(*server, splash, {0, 0, 1024, 768});
    ASSERT_EQ(image.width, 1024u);
    // The halves meet at 400 x 1.28 = 512, and the last row is the picture's.
    EXPECT_EQ(image.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(510, 384), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(514, 384), 0x0000FFFFu);
    EXPECT_EQ(image.pixel(1023, 767), 0x0000FFFFu);
}

TEST_F(SplashManagerTest, ACentredPictureHalfFadedIn) {
    // 63 x 31: the integer halves put it at (480, 368).
    std::vector<u32> pixels(63 * 31);
    for (u32 y = 0; y < 31; ++y)
        for (u32 x = 0; x < 63; ++x)
            pixels[y * 63 + x] =
                y < 16 ? (x < 32 ? 0xFFFF0000 : 0xFF00FF00) : (x < 32 ? 0x80FFFFFF : 0xFF0000FF);
    dir.write("logo.png", png(63, 31, pixels));
    SplashManager splash(settings(screen(1, 1, 1, 0)));
    splash.start(true);
    splash.update(0.5f);
    ASSERT_FLOAT_EQ(splash.getFade(), 0.5f);
    RgbaImage image = renderSplash(*server, splash, {464, 352, 96, 64});
    ASSERT_EQ(image.width, 96u);
    EXPECT_EQ(image.pixel(15, 16), 0x112233FFu); // (479, 368): the fade-in colour
    EXPECT_NE(image.pixel(16, 16), 0x112233FFu);
    EXPECT_TRUE(matchesGolden("splash_half_faded", image));
}

TEST_F(SplashManagerTest, WithoutAPictureNothingIsDrawn) {
    SplashManager splash(settings(screen(0, 1, 0, 0)));
    splash.start(true);
    splash.update(0.1f);
    RgbaImage image = renderSplash(*server, splash, {0, 0, 1024, 768});
    ASSERT_EQ(image.width, 1024u);
    for (u32 y = 0; y < 768; y += 64)
        for (u32 x = 0; x < 1024; x += 64)
            ASSERT_EQ(image.pixel(x, y), 0x112233FFu) << x << "," << y;
}

} // namespace
