#include "game/SpyGame/Rooms/Puzzles/cZodiacBookPuzzleRoom.h"
#include "WordsRoomKit.h"
#include "game/SpyGame/CInventory.h"
#include "support/Golden.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <cmath>

namespace {

struct ZodiacProbe : cZodiacBookPuzzleRoom {
    using cZodiacBookPuzzleRoom::m_bSharedMouseInside;
    using cZodiacBookPuzzleRoom::m_pHoveredFigure;
    using cZodiacBookPuzzleRoom::m_pHoveredSlot;
};

using Names = std::vector<std::string>;

// Two places of 40 x 40, SLOT1 at (50, 100) and SLOT2 at (150, 100), hidden until a figure is set
// there; their figures FIG1 and FIG2 (20 x 20) are centred on (70, 120) and (170, 120), so a place
// is clicked at its corner. The inventory figures INV01 and INV02 are the hall's; their cursor
// pictures SCR_FIGURE_1 and _2 are 20 wide. Previews grow from zoom 1 at y 0 to 1.5 at y 300: at
// y 100, 7/6.
class Zodiac : public WordsRoomTest<ZodiacProbe> {
protected:
    void SetUp() override {
        for (const char* sound : {"zodiak_item_right", "zodiak_item_wrong", "zodiak_book_open"})
            addSound(sound);
        addPicture("fig", 20, 20, 0xFF40A040);
        addPicture("slot", 40, 40, 0xFF806040);
        open(sections,
             objects({{"scr1", 0, 0},
                      {"scr2", 0, 0},
                      {"open", 100, 20},
                      {"locks", 120, 20},
                      {"fotos", 300, 200}}) +
                 "[slot1]\nClass = image\nImage = slot\nX = 50\nY = 100\n"
                 "[slot2]\nClass = image\nImage = slot\nX = 150\nY = 100\n"
                 "[fig1]\nClass = image\nImage = fig\nX = 0\nY = 0\n"
                 "[fig2]\nClass = image\nImage = fig\nX = 0\nY = 0\n",
             "[SLOT1]\nObject = slot1\nVisible = 0\n[SLOT2]\nObject = slot2\nVisible = 0\n"
             "[FIG1]\nObject = fig1\nVisible = 0\n[FIG2]\nObject = fig2\nVisible = 0\n"
             "[SCR_FIGURE_1]\nObject = scr1\nVisible = 0\n[SCR_FIGURE_2]\nObject = scr2\nVisible = 0\n"
             "[OPEN]\nObject = open\nVisible = 0\n[OPEN_LOCKS]\nObject = locks\nVisible = 0\n"
             "[FOTOS]\nObject = fotos\n",
             objects({{"inv1", 10, 10}, {"inv2", 40, 10}, {"cup", 70, 10}}),
             "[INV01]\nObject = inv1\nIsQuestItem = 1\n[INV02]\nObject = inv2\nIsQuestItem = 1\n"
             "[CUP]\nObject = cup\nIsQuestItem = 1\n");
        for (const char* name : {"INV01", "INV02"})
            inventory().AddItem(&hallItem(name));
    }
    // The figure taken from the strip onto the cursor, as the panel does.
    void carry(const std::string& name) {
        inventory().RemoveItem(name);
        room->SetItemOnCursor(&hallItem(name), nullptr);
    }
    void clickSlot(i32 slot) { clickAt(53 + 100 * (slot - 1), 103); }
    void hoverSlot(i32 slot) { frame(53 + 100 * (slot - 1), 103); }
    Names zodiacSounds() {
        Names names = started();
        std::erase_if(names, [](const std::string& n) { return !n.starts_with("zodiak"); });
        return names;
    }
    static bool near(f32 a, f32 b, f32 within = 0.01f) { return std::fabs(a - b) < within; }

    std::string sections = "[LISTS]\ncount = 2\nroomBackMask = SLOT\nroomFigMask = FIG\ninvMask = INV\n"
                           "[SCALER]\nminY = 0\nminZoom = 1\nmaxY = 300\nmaxZoom = 1.5\n"
                           "[Centers]\nSLOT1 = 70 120\nSLOT2 = 170 120\n";
};

TEST_F(Zodiac, APreviewShowsOnAFreePlaceSizedByItsHeight) {
    carry("INV02");
    EXPECT_FALSE(room->m_bSharedMouseInside) << "the cursor picture is drawn in the room";
    hoverSlot(1);
    EXPECT_EQ(room->m_pHoveredSlot, &item("SLOT1"));
    EXPECT_EQ(room->m_pHoveredFigure, &item("FIG2"));
    EXPECT_TRUE(near(item("FIG2").GetScale().x, 7.0f / 6));
    const SpyPoint at = item("FIG2").GetPos();
    EXPECT_TRUE(near(at.x + item("FIG2").GetWidth() / 2, 70, 1) &&
                near(at.y + item("FIG2").GetHeight() / 2, 120, 1))
        << at.x << ", " << at.y;
    EXPECT_EQ(item("FIG2").GetColor() >> 24, 160u);
    EXPECT_EQ(item("SLOT1").GetColor() >> 24, 160u);
    EXPECT_FALSE(item("FIG2").IsVisible()) << "drawn only as a preview";
    frame(300, 250);
    EXPECT_EQ(room->m_pHoveredSlot, nullptr);
    // Something that is not a figure shows no preview and is not set.
    room->SetItemOnCursor(&hallItem("CUP"), nullptr);
    EXPECT_TRUE(room->m_bSharedMouseInside);
    clickSlot(1);
    EXPECT_EQ(room->m_pHoveredSlot, nullptr);
    EXPECT_FALSE(item("SLOT1").IsVisible());
    EXPECT_EQ(zodiacSounds(), Names{});
}

TEST_F(Zodiac, AWrongFigureComesBackAndTheLastRightOneOpensTheBook) {
    carry("INV02");
    hoverSlot(1);
    clickSlot(1);
    EXPECT_EQ(zodiacSounds(), Names{"zodiak_item_wrong"});
    EXPECT_TRUE(item("FIG2").IsVisible());
    EXPECT_EQ(item("FIG2").GetColor() >> 24, 255u);
    EXPECT_FALSE(hallItem("INV02").IsVisible());
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    // Taken back: the place is free again and the figure in hand.
    frame(300, 250);
    quiet();
    clickSlot(1);
    EXPECT_FALSE(item("FIG2").IsVisible());
    EXPECT_FALSE(item("SLOT1").IsVisible());
    EXPECT_EQ(room->GetItemOnCursor(), &hallItem("INV02"));
    EXPECT_EQ(started(), Names{}) << "the room's own click answer is not given";
    // Set right, one by one; the last opens the lock at once, the book after the lock's fade.
    hoverSlot(2);
    clickSlot(2);
    EXPECT_EQ(zodiacSounds(), Names{"zodiak_item_right"});
    carry("INV01");
    hoverSlot(1);
    quiet();
    clickSlot(1);
    EXPECT_EQ(zodiacSounds(), (Names{"zodiak_item_right", "zodiak_book_open"}));
    EXPECT_TRUE(item("OPEN_LOCKS").IsVisible());
    EXPECT_FALSE(item("OPEN").IsVisible());
    for (int i = 0; i < 18; ++i)
        frame(300, 250);
    EXPECT_FALSE(item("OPEN").IsVisible()) << "1.0 s of the lock's fade";
    for (int i = 0; i < 4; ++i)
        frame(300, 250);
    EXPECT_TRUE(item("OPEN").IsVisible());
    // Once open, a click brings the photos up.
    clickAt(300, 250);
    EXPECT_EQ(room->GetItemManager().GetItemAt(room->GetItemManager().GetItemCount() - 1), &item("FOTOS"));
}

TEST_F(Zodiac, TheSolveOpensTheBookAndTakesTheFigures) {
    room->ProcessAutoActions();
    EXPECT_TRUE(item("OPEN_LOCKS").IsVisible());
    EXPECT_FALSE(inventory().HasItem("INV01"));
    EXPECT_FALSE(inventory().HasItem("INV02"));
    EXPECT_EQ(zodiacSounds(), Names{"zodiak_book_open"});
    room->ProcessAutoActions();
    EXPECT_EQ(zodiacSounds(), Names{});
}

TEST_F(Zodiac, TheRecordKeepsThePlacesAtRestAndWithAFigureSetAndOneHovering) {
    expectSameBytesAfterReload();
    carry("INV02");
    hoverSlot(1);
    clickSlot(1);
    carry("INV01");
    hoverSlot(2);
    ASSERT_EQ(room->m_pHoveredSlot, &item("SLOT2"));
    expectSameBytesAfterReload();
    EXPECT_EQ(room->m_pHoveredFigure, &item("FIG1"));
    EXPECT_TRUE(item("FIG2").IsVisible());
}

TEST_F(Zodiac, ThePreviewShowsHalfTransparentOverTheBook) {
    carry("INV01");
    hoverSlot(1);
    aGraphServer& graph = testGraphServer();
    graph.clearColor = 0xFF000000;
    RgbaImage image;
    ASSERT_TRUE(graph.beginScene());
    room->RenderItems();
    graph.getSprite()->flush();
    ASSERT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({40, 90, 60, 60}, image.rgba)));
    image.width = 60;
    image.height = 60;
    graph.endScene();
    EXPECT_TRUE(matchesGolden("zodiac_preview", image));
}

// Without a height range the preview takes the range's start; without centres, the room's corner.
class ZodiacWithoutRange : public Zodiac {
protected:
    void SetUp() override {
        sections = "[LISTS]\ncount = 2\nroomBackMask = SLOT\nroomFigMask = FIG\ninvMask = INV\n"
                   "[SCALER]\nminY = 0\nminZoom = 0.5\nmaxY = 0\nmaxZoom = 1.5\n";
        Zodiac::SetUp();
    }
};

TEST_F(ZodiacWithoutRange, APreviewTakesTheStartZoomAndTheRoomsCorner) {
    carry("INV01");
    hoverSlot(1);
    EXPECT_TRUE(near(item("FIG1").GetScale().x, 0.5f));
    const SpyPoint at = item("FIG1").GetPos();
    EXPECT_TRUE(near(at.x + item("FIG1").GetWidth() / 2, 0, 1) &&
                near(at.y + item("FIG1").GetHeight() / 2, 0, 1))
        << at.x << ", " << at.y;
}

} // namespace
