#include "VentMazeKit.h"
#include "support/Golden.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <gtest/gtest.h>

namespace {

class MazeDraw : public VentMazeTest {
protected:
    RgbaImage draw(i32 w, i32 h) {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = 0xFF000000;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        vent->Render();
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, w, h}, image.rgba)));
        image.width = u32(w);
        image.height = u32(h);
        graph.endScene();
        return image;
    }
};

// The duct's walls over the room, every wall cell a white block of 30 x 15 at the room's scale 1.5.
TEST_F(MazeDraw, EditorWallsAtScaleOneAndAHalf) {
    Layout layout;
    layout.mapInfo += "EditorMode = 1\n";
    playVent(layout);
    vent->SetScale({1.5f, 1.5f}, false);
    const RgbaImage image = draw(900, 600);
    EXPECT_EQ(image.pixel(10, 10) >> 8, 0xFFFFFFu);
    // Row 5 from column 1: free, at (30..., 75...).
    EXPECT_NE(image.pixel(100, 80) >> 8, 0xFFFFFFu);
    EXPECT_TRUE(matchesGolden("vent_editor_walls", image));
}

// Crawling down the shaft, the light turns to point down ahead of the figure.
TEST_F(MazeDraw, TheLightAtHeadingHalfPi) {
    playVent();
    clickAt(305, 200);
    for (int i = 0; i < 400 && ventItem("LIGHT").GetRotation() > -3.1f; ++i)
        frame(0, 0);
    ASSERT_FLOAT_EQ(ventItem("LIGHT").GetRotation(), -1.5707963705062866f - 1.5707963705062866f);
    EXPECT_TRUE(matchesGolden("vent_light_down", draw(600, 400)));
}

} // namespace
