#include "ToolkitKit.h"
#include "game/SpyGame/Rooms/Toolkit/cAimatedHiding.h"
#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "support/Golden.h"
#include "support/game/TestRoom.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <functional>
#include <vector>

namespace {

// Tiles of 30 x 30 in a room drawn at (20, 10): red on target A, green carried, blue apart.
class ToolkitDrawTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        room.addImage("red", 30, 30, std::vector<u32>(900, 0xFFFF0000));
        room.addImage("green", 30, 30, std::vector<u32>(900, 0xFF00FF00));
        room.addImage("blue", 40, 20, std::vector<u32>(800, 0xFF0000FF));
        room.setObjects("[red]\nClass = image\nImage = red\nX = 25\nY = 15\n"
                        "[green]\nClass = image\nImage = green\nX = 180\nY = 60\n"
                        "[blue]\nClass = image\nImage = blue\nX = 40\nY = 80\n");
        room.setItems("[RED]\nObject = red\n[GREEN]\nObject = green\n[BLUE]\nObject = blue\n");
        room.load();
        for (const char* name : {"RED", "GREEN", "BLUE"})
            room.items().GetItem(name)->Unlock();
    }
    CSpyItem* item(const char* name) { return room.items().GetItem(name); }

    RgbaImage draw(const std::function<void()>& render) {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = 0xFF000000;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        render();
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, 256, 128}, image.rgba)));
        image.width = 256;
        image.height = 128;
        graph.endScene();
        return image;
    }

    TestRoom room{"Hall"};
    SpyPoint offset{20, 10}, scale{1, 1};
    cRoomTransform transform{&offset, &scale};
};

TEST_F(ToolkitDrawTest, OutlinesOfEveryTargetAndThePreviewOfTheDropUnderTheCarriedTile) {
    cMoveItemsManager manager(transform);
    manager.AddRect("A", {5, 5, 30, 30}, {0, 0, 40, 40});
    manager.AddRect("B", {55, 5, 30, 30}, {50, 0, 40, 40});
    manager.AddRect("C", {105, 5, 30, 30}, {100, 0, 40, 40});
    for (const char* name : {"RED", "GREEN", "BLUE"})
        manager.AddItem(item(name), false, true);
    mouse(195, 70, Press);
    ASSERT_EQ(manager.ProcessMouse(0.02f, nullptr, item("GREEN")), item("GREEN"));
    // Carried over B, held down: the preview shows where a press would put it.
    item("GREEN")->SetPos(80.0f, 20.0f);
    mouse(80, 20, Hold);
    manager.ProcessMouse(0.02f, item("GREEN"), nullptr);
    ASSERT_EQ(manager.GetRectUnderItem(), "B");

    aGDI gdi;
    gdi.color = 0xFFFFFF00;
    const RgbaImage image = draw([&] {
        room.render();
        manager.Render(&gdi);
    });
    EXPECT_EQ(image.pixel(20, 10), 0xFFFF00FFu) << "A's area outline";
    EXPECT_EQ(image.pixel(30, 20), 0xFF0000FFu) << "the red tile lying on A";
    const u32 preview = image.pixel(90, 30);
    EXPECT_EQ(preview >> 24, 0u);
    EXPECT_NEAR(int(preview >> 16 & 0xFF), 0x40, 2) << "green at a quarter, on black";
    EXPECT_EQ(image.pixel(90, 30 + 40) >> 8, 0u) << "nothing below the place";
    EXPECT_EQ(item("GREEN")->GetPos(), (SpyPoint{80, 20})) << "the carried tile went back";
    EXPECT_TRUE(matchesGolden("toolkit_drop_preview", image));
}

TEST_F(ToolkitDrawTest, AHidingItemHalfwayIsALittleLargerAndHalfSeeThrough) {
    cAimatedHiding hiding;
    hiding.Fire(item("BLUE"), 2.0f, 0.5f);
    hiding.Update(1.0f);
    const RgbaImage image = draw([&] {
        room.render();
        hiding.Render();
    });
    // 40 x 20 at 1.25 from its corner (40, 80): 50 x 25.
    EXPECT_NEAR(int(image.pixel(45, 85) >> 8 & 0xFF), 127, 2);
    EXPECT_NEAR(int(image.pixel(88, 103) >> 8 & 0xFF), 127, 2);
    EXPECT_EQ(image.pixel(92, 85) >> 8, 0u);
    EXPECT_FALSE(item("BLUE")->IsVisible());
    EXPECT_TRUE(matchesGolden("toolkit_hiding_half", image));
}

} // namespace
