#include "tk2v/gfx/aGraphServer.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/input/aInputServer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace platform;

namespace {

const LogFont kArial{"Arial", -15, 700};

// Whether any pixel of the back buffer's area is brighter than black.
bool anyLit(GraphicsDevice& device, const Rect& area) {
    std::vector<u8> rgba;
    device.readBackBuffer(area, rgba);
    for (size_t i = 0; i < rgba.size(); i += 4)
        if (rgba[i] | rgba[i + 1] | rgba[i + 2])
            return true;
    return false;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(aGraphServerTest, CreationLogsTheAdapterAndModesAndFindsNo16BitMode) {
    LogCapture log;
    aGraphServer& graph = testGraphServer();
    if (!engineMadeInThisTest())
        GTEST_SKIP() << "the graph server was made by an earlier test";
    EXPECT_EQ(graph.getFatalError(), 0u);
    EXPECT_TRUE(log.contains("aGraphServer. 16 bit fullscreen mode not found"));
    bool adapter = false, windowedMode = false;
    for (const std::string& line : log.messages()) {
        adapter |= line.rfind("Adapter: ", 0) == 0;
        windowedMode |= line.rfind("aGraphServer. Detected  windowed  mode:", 0) == 0 ||
                        line.rfind("aGraphServer. Get adapter mode failed", 0) == 0;
    }
    EXPECT_TRUE(adapter);
    EXPECT_TRUE(windowedMode);
    EXPECT_TRUE(log.contains("aGraphServer: HARDWARE_VERTEXPROCESSING"));
    EXPECT_EQ(testApplication().getGraphServer(), &graph);
    EXPECT_NE(graph.getWindow(), nullptr);
}

TEST(aGraphServerTest, ScenesMustAlternate) {
    aGraphServer& graph = testGraphServer();
    LogCapture log;
    graph.endScene();
    EXPECT_TRUE(log.contains("aGraphServer::endScene() - scene not started"));
    ASSERT_TRUE(graph.beginScene());
    EXPECT_FALSE(graph.beginScene());
    EXPECT_TRUE(log.contains("aGraphServer::beginScene() - previous scene not finished"));
    EXPECT_TRUE(graph.isSceneOpen());
    graph.endScene();
    EXPECT_FALSE(graph.isSceneOpen());
}

TEST(aGraphServerTest, BeginSceneSetsTheFrameStateWhateverTheLastFrameLeft) {
    aGraphServer& graph = testGraphServer();
    const aRect clip{10, 20, 100, 50};
    ASSERT_TRUE(graph.beginScene());
    graph.setRenderMode(0x101);
    graph.setColor(0.5f, 0.5f, 0.5f, 0.5f);
    graph.setLinearFilter(false);
    graph.endScene();
    graph.setViewport(clip);
    ASSERT_TRUE(graph.beginScene());
    EXPECT_EQ(testDevice().colourOp(), COLOUR_MODULATE);
    EXPECT_EQ(testDevice().blendMode(), BLEND_ALPHA);
    EXPECT_TRUE(testDevice().linearFilter());
    EXPECT_EQ(testDevice().viewport(), (Rect{10, 20, 100, 50}));
    EXPECT_EQ(graph.getRenderMode(), 0u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(graph.getGlobalColor()[i], 255);
    graph.endScene();
    // The frame's end draws over the whole back buffer.
    EXPECT_EQ(graph.getViewport(), (aRect{0, 0, 1024, 768}));
}

TEST(aGraphServerTest, RenderModeAppliesOnlyThePartThatChanged) {
    aGraphServer& graph = testGraphServer();
    TestDevice& device = testDevice();
    graph.setRenderMode(0x200);
    EXPECT_EQ(device.colourOp(), COLOUR_SUBTRACT);
    // Set behind the server's back: an unchanged part is not applied again.
    device.setColourOp(COLOUR_ADD);
    graph.setRenderMode(0x201);
    EXPECT_EQ(device.colourOp(), COLOUR_ADD);
    EXPECT_EQ(device.blendMode(), BLEND_ADDITIVE);
    // A value outside the table changes nothing of its part, but the word is remembered.
    graph.setRenderMode(0x901);
    EXPECT_EQ(device.colourOp(), COLOUR_ADD);
    EXPECT_EQ(graph.getRenderMode(), 0x901u);
    graph.setRenderMode(0x400);
    EXPECT_EQ(device.colourOp(), COLOUR_DIFFUSE);
    EXPECT_EQ(device.blendMode(), BLEND_ALPHA);

    graph.setLinearFilter(false);
    EXPECT_FALSE(device.linearFilter());
    device.setLinearFilter(true);
    graph.setLinearFilter(false);
    EXPECT_TRUE(device.linearFilter());
}

TEST(aGraphServerTest, GlobalColourIsTruncatedAndKeptInRange) {
    aGraphServer& graph = testGraphServer();
    graph.setColor(0.5f, 1.0f, 0.999f, 0.2f);
    const i32* argb = graph.getGlobalColor();
    EXPECT_EQ(argb[0], 51);
    EXPECT_EQ(argb[1], 127);
    EXPECT_EQ(argb[2], 255);
    EXPECT_EQ(argb[3], 254);
    graph.setColor(2.0f, -1.0f, 0.0f, 1.5f);
    EXPECT_EQ(argb[0], 255);
    EXPECT_EQ(argb[1], 255);
    EXPECT_EQ(argb[2], 0);
}

TEST(aGraphServerTest, LostDeviceSkipsFramesAndNotResetRecoversWithFonts) {
    aGraphServer& graph = testGraphServer();
    TestDevice& device = testDevice();
    std::unique_ptr<DeviceFont> font;
    graph.addFont("test font", kArial, &font);
    ASSERT_NE(font, nullptr);
    LogCapture log;
    const int resets = device.resets();

    device.setState(D3DERR_DEVICELOST);
    EXPECT_FALSE(graph.beginScene());
    EXPECT_TRUE(log.contains("aGraphServer::beginScene() - D3DERR_DEVICELOST"));
    EXPECT_EQ(device.resets(), resets);
    EXPECT_EQ(graph.getFatalError(), 0u);

    device.setState(D3DERR_DEVICENOTRESET);
    EXPECT_FALSE(graph.beginScene());
    EXPECT_TRUE(log.contains("aGraphServer::beginScene() - D3DERR_DEVICENOTRESET"));
    EXPECT_EQ(device.resets(), resets + 1);
    ASSERT_NE(font, nullptr);

    ASSERT_TRUE(graph.beginScene());
    font->drawText(*graph.getSprite(), "Reset", {100, 100, 120, 20}, 0xFFFFFFFF);
    graph.getSprite()->flush();
    EXPECT_TRUE(anyLit(device, {100, 100, 120, 20}));
    graph.endScene();
    graph.deleteFont("test font");
    EXPECT_EQ(font, nullptr);
}

TEST(aGraphServerTest, DriverInternalErrorIsFatal) {
    aGraphServer& graph = testGraphServer();
    LogCapture log;
    testDevice().setState(D3DERR_DRIVERINTERNALERROR);
    EXPECT_FALSE(graph.beginScene());
    EXPECT_TRUE(log.contains("aGraphServer::beginScene() - D3DERR_DRIVERINTERNALERROR"));
    EXPECT_EQ(graph.getFatalError(), ERR_DRIVER_INTERNAL);
    EXPECT_FALSE(graph.isSceneOpen());
}

TEST(aGraphServerTest, FontsAreNamedOnce) {
    aGraphServer& graph = testGraphServer();
    LogCapture log;
    std::unique_ptr<DeviceFont> first, second;
    graph.addFont("twice", kArial, &first);
    graph.addFont("twice", kArial, &second);
    EXPECT_TRUE(log.contains("aGraphServer. Font with name 'twice' already exists"));
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    graph.deleteFont("twice");
    EXPECT_EQ(first, nullptr);
    graph.deleteFont("twice");
    EXPECT_TRUE(log.contains("aGraphServer::deleteFont. Font 'twice' not exists"));
}

TEST(aGraphServerTest, WindowPlacementShrinksWithTheAspectKeptAndCentres) {
    struct Case {
        Rect work;
        FrameExtents frame;
        Rect client;
    };
    const Case cases[] = {
        // Room to spare: the back buffer's size, centred.
        {{0, 0, 1920, 1080}, {0, 0, 0, 0}, {448, 156, 1024, 768}},
        {{0, 0, 1920, 1050}, {4, 30, 4, 4}, {448, 154, 1024, 768}},
        // Too small for the frame and the back buffer: 756 x 567 is 4:3; the half pixel rounds to 0.
        {{0, 0, 800, 600}, {4, 30, 4, 4}, {22, 30, 756, 567}},
        // The work area's origin carries over.
        {{100, 50, 800, 600}, {0, 0, 0, 0}, {100, 50, 801, 600}},
        // Nothing left: the client keeps a pixel.
        {{0, 0, 4, 4}, {10, 10, 10, 10}, {2, 2, 1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(aGraphServer::calcWindowRect(c.work, c.frame, 1024, 768), c.client)
            << c.work.w << "x" << c.work.h;
}

TEST(aGraphServerTest, FullscreenSwitchResetsOnlyOnChange) {
    aGraphServer& graph = testGraphServer();
    std::unique_ptr<DeviceFont> font;
    graph.addFont("switch", kArial, &font);
    const int resets = testDevice().resets();
    graph.setFullscreen(false);
    EXPECT_EQ(testDevice().resets(), resets);

    graph.setFullscreen(true);
    EXPECT_TRUE(graph.isFullscreen());
    EXPECT_TRUE(graph.getWindow()->isFullscreen());
    EXPECT_EQ(graph.getClientWidth(), 1024);
    EXPECT_EQ(graph.getClientHeight(), 768);
    graph.setFullscreen(true);
    EXPECT_EQ(testDevice().resets(), resets + 1);

    graph.setFullscreen(false);
    EXPECT_FALSE(graph.getWindow()->isFullscreen());
    const Rect expected = aGraphServer::calcWindowRect(aApplication::getWorkArea(),
                                                       graph.getWindow()->frameExtents(), 1024, 768);
    EXPECT_EQ(graph.getClientWidth(), expected.w);
    EXPECT_EQ(graph.getClientHeight(), expected.h);
    EXPECT_EQ(testDevice().resets(), resets + 2);
    EXPECT_NE(font, nullptr);
    graph.deleteFont("switch");
}

TEST(aGraphServerTest, FirstFrameRestartsTheFrameClock) {
    FakeClock clock;
    aGraphServer& graph = testGraphServer();
    if (!engineMadeInThisTest())
        GTEST_SKIP() << "the graph server has drawn frames in an earlier test";
    // A long start-up before the first frame must not count as frame time.
    clock.advanceMs(5000);
    for (int frame = 0; frame < 32; ++frame) {
        ASSERT_TRUE(graph.beginScene());
        graph.endScene();
        clock.advanceMs(10);
    }
    EXPECT_NEAR(graph.getFps(), 100.0f, 0.5f);
    EXPECT_NEAR(graph.getAverageFps(), 100.0f, 0.5f);
}

TEST(aGraphServerTest, SpriteCursorIsDrawnAtTheMouseLessItsHotSpotWhileTheMouseIsShared) {
    aGraphServer& graph = testGraphServer();
    ScriptedInput input;
    auto* server = new aInputServer;
    aImage image;
    image.create(8, 8);
    u32* bits;
    i32 pitch;
    ASSERT_TRUE(image.lock(&bits, &pitch, nullptr, false));
    for (i32 y = 0; y < 8; ++y)
        std::fill(bits + y * pitch, bits + y * pitch + 8, 0xFFFFFFFFu);
    image.unlock();
    aAnim anim;
    anim.addFrame(1, &image, {0, 0, 8, 8});
    server->setCursorAnim(&anim, 3, 2);
    server->setMousePos(200, 100);
    ASSERT_NE(testApplication().getCursorAnim(), nullptr);

    ASSERT_TRUE(graph.beginScene());
    graph.endScene();
    EXPECT_TRUE(anyLit(testDevice(), {197, 98, 8, 8}));
    EXPECT_FALSE(anyLit(testDevice(), {205, 98, 8, 8}));

    server->initMouse(false, false);
    ASSERT_TRUE(graph.beginScene());
    graph.endScene();
    EXPECT_FALSE(anyLit(testDevice(), {197, 98, 8, 8}));
    testApplication().deleteInputServer();
}

TEST(aGraphServerTest, ScreenshotsTakeTheFirstFreeNumber) {
    aGraphServer& graph = testGraphServer();
    TempDir dir;
    graph.clearColor = 0xFFFF0000;
    ASSERT_TRUE(graph.beginScene());
    graph.endScene();
    graph.clearColor = 0xFF000000;

    dir.write("Shot000.bmp", "x");
    dir.write("Shot001.bmp", "x");
    graph.screenshot(dir.path(), "Shot");
    const std::string bmp = readFile(dir.file("Shot002.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 1024 * 768 * 4);
    // Blue, green, red, alpha of the bottom row's first pixel.
    EXPECT_EQ(bmp.substr(54, 4), std::string("\x00\x00\xFF\xFF", 4));

    TempDir gap;
    gap.write("Shot001.bmp", "x");
    graph.screenshot(gap.path(), "Shot");
    EXPECT_FALSE(readFile(gap.file("Shot000.bmp")).empty());
    EXPECT_EQ(readFile(gap.file("Shot001.bmp")), "x");

    // A missing folder is made first.
    LogCapture log;
    graph.screenshot(dir.path() + "new/", "Shot");
    EXPECT_FALSE(readFile(dir.file("new/Shot000.bmp")).empty());
    EXPECT_TRUE(log.contains("Screenshot saved: " + dir.path() + "new//Shot000.bmp"));
}

} // namespace
