#include "RoomFrameKit.h"
#include "support/Golden.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <set>
#include <utility>

namespace {

// A gem cut by the right edge of the room, a cup picked a moment ago, a plate with the hint's ring and
// a key carried over the panel; the stars are yellow.
class RoomDraw : public RoomFrameTest {
protected:
    void SetUp() override {
        play(objects({{"gem", 390, 100}, {"cup", 50, 200}, {"plate", 200, 140}, {"key", 10, 10}}),
             "[GEM]\nObject = gem\n[CUP]\nObject = cup\nIsISpyItem = 1\n[PLATE]\nObject = plate\n"
             "[KEY]\nObject = key\nIsQuestItem = 3\n",
             "[ROOM]\nMustClickItems = PLATE\n[CUP]\nUseTo = NONE\n[KEY]\nUseTo = Hall:GEM\n");
    }

    RgbaImage draw(i32 w = 512, i32 h = 768) {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = 0xFF000000;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        const aRect before = graph.getViewport();
        hall->Render();
        EXPECT_EQ(graph.getViewport(), before);
        hall->RenderCursorItem();
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, w, h}, image.rgba)));
        image.width = u32(w);
        image.height = u32(h);
        graph.endScene();
        return image;
    }

    // Patches of yellow pixels, each counted once.
    static int stars(const RgbaImage& image) {
        auto yellow = [&](u32 x, u32 y) {
            const u32 p = image.pixel(x, y);
            return (p >> 24) > 100 && (p >> 16 & 0xFF) > 100 && (p >> 8 & 0xFF) < 60;
        };
        std::set<std::pair<u32, u32>> seen;
        int count = 0;
        for (u32 y = 0; y < image.height; ++y)
            for (u32 x = 0; x < image.width; ++x) {
                if (!yellow(x, y) || seen.count({x, y}))
                    continue;
                ++count;
                std::vector<std::pair<u32, u32>> todo{{x, y}};
                seen.insert({x, y});
                while (!todo.empty()) {
                    auto [px, py] = todo.back();
                    todo.pop_back();
                    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                        const u32 nx = px + u32(dx), ny = py + u32(dy);
                        if (nx < image.width && ny < image.height && yellow(nx, ny) &&
                            seen.insert({nx, ny}).second)
                            todo.push_back({nx, ny});
                    }
                }
            }
        return count;
    }
};

TEST_F(RoomDraw, ClippedItemsPickEffectRingOfStarsAndCarriedItem) {
    addImage("star", 4, 4, 0xFFFFFF00);
    clickAt(55, 205);
    ASSERT_EQ(hall->m_PickEffects.size(), 1u);
    ASSERT_TRUE(hall->TakeItemOnCursor(&item("KEY")));
    hall->ShowHint();
    ASSERT_EQ(hall->GetHintItem(), &item("PLATE"));
    frame(300, 660, false, false, 0.2f);
    input.setCursor(300, 660);
    inputServer->update();
    hall->m_PickEffects.front().second = 1.25f;
    const RgbaImage image = draw();
    // A ring of radius 60 at T 0.2 counts 14 stars: exactly 14 are drawn.
    EXPECT_EQ(stars(image), 14);
    EXPECT_EQ(image.pixel(395, 110) >> 8, 0xFFFFFFu) << "gem inside the room";
    EXPECT_EQ(image.pixel(405, 110) >> 8, 0u) << "gem beyond the room's edge";
    // The cup at 1.25 times its size about its centre: 25 pixels from x 47.5.
    EXPECT_EQ(image.pixel(48, 198) >> 8, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(46, 198) >> 8, 0x404040u);
    EXPECT_EQ(item("CUP").GetScale(), (SpyPoint{1, 1}));
    EXPECT_FALSE(item("CUP").IsVisible());
    EXPECT_EQ(image.pixel(305, 665) >> 8, 0xFFFFFFu) << "carried key over the panel";
    EXPECT_TRUE(matchesGolden("room_frame", image));
}

TEST_F(RoomDraw, WithoutTheStarPictureTheRingIsLeftOutSilently) {
    hall->ShowHint();
    frame(300, 250, false, false, 0.2f);
    const size_t logged = log.messages().size();
    EXPECT_EQ(stars(draw(512, 320)), 0);
    EXPECT_EQ(log.messages().size(), logged);
}

} // namespace
