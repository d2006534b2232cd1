#include "ChemLabKit.h"
#include "support/Golden.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <gtest/gtest.h>

namespace {

class ChemLabDraw : public ChemLabTest {
protected:
    // The bench as the room draws it, 400 x 300 at the screen's corner.
    RgbaImage draw() {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = 0xFF000000;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        const aRect before = graph.getViewport();
        bench->Render();
        EXPECT_EQ(graph.getViewport(), before);
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, 400, 300}, image.rgba)));
        image.width = 400;
        image.height = 300;
        graph.endScene();
        return image;
    }
};

// A red drop that boils: the red dish, the boil and its smoke above it, and the reaction's text three
// seconds into its six, half grown and half faded, over the sample's dish, cut at the room's edges.
TEST_F(ChemLabDraw, ABoilingDropWithItsSmokeAndItsTextHalfwayThroughItsFloat) {
    bench->ShowReaction({"RED", 2}, true);
    bench->errorAnimator.time = 3.0f;
    EXPECT_TRUE(matchesGolden("chemistry_boil", draw()));
}

} // namespace
