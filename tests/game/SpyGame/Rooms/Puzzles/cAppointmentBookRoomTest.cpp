#include "game/SpyGame/Rooms/Puzzles/cAppointmentBookRoom.h"
#include "WordsRoomKit.h"
#include "game/SpyGame/CInventory.h"
#include "support/Golden.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

namespace {

struct BookProbe : cAppointmentBookRoom {
    using cAppointmentBookRoom::m_bSharedMouseInside;
    using cAppointmentBookRoom::m_PaintLayer;
};

using Names = std::vector<std::string>;

// The book's page zone covers (100, 100) 64 x 32, as does the paint layer; the writing's 4 x 4 picture
// lies at (110, 105). The pen rubs with a 4 x 4 brush at speed 10 up to alpha 255: a click paints one
// spot of 16 texels fully, 16 x 255 = 4080, which is exactly the win amount of a 4 x 4 picture at
// winpercent 1.
class AppointmentBook : public WordsRoomTest<BookProbe> {
protected:
    void SetUp() override {
        // Paper at its corner, ink elsewhere.
        std::vector<u32> writing(16, 0xFF202080);
        writing[0] = 0xFFC8C0A8;
        addPicture("hidden_text_ontable", 4, 4, writing);
        addPicture("page", 64, 32, 0xFFE0E0C0);
        addSound("book_pen_use");
        open(section(winPercent),
             "[zone]\nClass = image\nImage = page\nX = 100\nY = 100\n" +
                 objects({{"pen", 0, 0}, {"imprint", 110, 105}, {"page29", 300, 200}, {"text", 300, 250}}),
             "[PEN]\nObject = pen\nVisible = 0\n[HIDDEN_TEXT_ONTABLE]\nObject = imprint\nVisible = 0\n"
             "[FIRST_PAGES]\nObject = zone\nVisible = 0\n[PAGE_29]\nObject = page29\n"
             "[HIDDEN_TEXT]\nObject = text\nVisible = 0\n",
             objects({{"pencil", 10, 10}, {"cup", 40, 10}}),
             "[STAKANSKARAND]\nObject = pencil\nIsQuestItem = 1\n[CUP]\nObject = cup\nIsQuestItem = 1\n");
    }
    static std::string section(const std::string& winPercent) {
        return "[TeraPaint]\npagerect = 100 100 64 32\npensize = 4\npaintspeed = 10\nmaxalpha = 255\n"
               "winpercent = " +
               winPercent + "\n";
    }
    std::string winPercent = "1.0";
    void carry(const std::string& name) { room->SetItemOnCursor(&hallItem(name), nullptr); }
    f32 painted() { return layer().GetPaintedAmount(); }
    cPaintLayer& layer() { return room->m_PaintLayer; }
    bool found() { return item("HIDDEN_TEXT").IsVisible(); }
    bool penPlays() { return res->getSoundManager()->getSound("book_pen_use")->isPlaying(); }
};

// A page that is never rubbed enough.
class AppointmentBookStrokes : public AppointmentBook {
protected:
    void SetUp() override {
        winPercent = "1000";
        AppointmentBook::SetUp();
    }
};

TEST_F(AppointmentBookStrokes, OnlyThePencilRubsAndOnlyInsideThePage) {
    carry("CUP");
    EXPECT_TRUE(room->m_bSharedMouseInside);
    frame(110, 110, {.down = {0}});
    frame(120, 110);
    EXPECT_EQ(painted(), 0);
    EXPECT_EQ(started(), Names{"object_click_bad"}) << "the room's own answer to a drop without a use";
    frame(120, 110, {.up = {0}});
    carry("STAKANSKARAND");
    EXPECT_FALSE(room->m_bSharedMouseInside) << "the pen is drawn in place of the pointer";
    frame(50, 50, {.down = {0}});
    EXPECT_EQ(painted(), 0) << "outside the page";
    frame(110, 110);
    EXPECT_EQ(painted(), 4080);
    EXPECT_EQ(started(), Names{"book_pen_use"});
    frame(120, 110);
    EXPECT_TRUE(penPlays()) << "it goes on through the stroke";
    const f32 stroke = painted();
    // Out of the page and back: a new stroke that starts with one spot, no line across the gap.
    frame(140, 50);
    EXPECT_FALSE(penPlays());
    frame(150, 120);
    EXPECT_EQ(painted(), stroke + 4080);
    EXPECT_EQ(started(), Names{"book_pen_use"});
    frame(150, 120, {.up = {0}});
    EXPECT_FALSE(penPlays()) << "nothing painted while the button is up";
    EXPECT_EQ(shown(), Names{});
    EXPECT_FALSE(found());
}

TEST_F(AppointmentBook, TheTextIsFoundOnlyAboveTheWinAmount) {
    inventory().AddItem(&hallItem("CUP"));
    carry("STAKANSKARAND");
    frame(110, 110, {.down = {0}});
    EXPECT_EQ(painted(), 4080);
    EXPECT_FALSE(found()) << "exactly the win amount";
    frame(110, 110);
    EXPECT_FALSE(found());
    frame(130, 110);
    EXPECT_TRUE(found());
    EXPECT_EQ(shown(), Names{"MSG_ONFINDTEXT"});
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_TRUE(inventory().HasItem("STAKANSKARAND"));
    EXPECT_FALSE(item("PEN").IsVisible());
    EXPECT_TRUE(item("PAGE_29").IsDisabled());
    EXPECT_TRUE(item("HIDDEN_TEXT_ONTABLE").IsVisible());
    EXPECT_EQ(item("HIDDEN_TEXT_ONTABLE").GetColor(), 0u);
    // Leaving takes the pencil away; the cup stays.
    room->Leave();
    EXPECT_FALSE(inventory().HasItem("STAKANSKARAND"));
    EXPECT_TRUE(inventory().HasItem("CUP"));
}

TEST_F(AppointmentBook, TheSolveFindsTheTextOnlyWithThePencilInTheInventory) {
    room->ProcessAutoActions();
    EXPECT_FALSE(found()) << "no pencil";
    inventory().AddItem(&hallItem("STAKANSKARAND"));
    carry("STAKANSKARAND");
    inventory().RemoveItem("STAKANSKARAND");
    room->ProcessAutoActions();
    EXPECT_FALSE(found()) << "a carried pencil is not in the strip";
    room->SetItemOnCursor(nullptr, nullptr);
    inventory().AddItem(&hallItem("STAKANSKARAND"));
    room->ProcessAutoActions();
    EXPECT_TRUE(found());
    EXPECT_EQ(shown(), Names{"MSG_ONFINDTEXT"});
}

TEST_F(AppointmentBook, TheRecordKeepsTheRubbedPagePackedAndRefusesADamagedOne) {
    expectSameBytesAfterReload();
    carry("STAKANSKARAND");
    frame(110, 110, {.down = {0}});
    frame(160, 125);
    const f32 rubbed = painted();
    ASSERT_GT(rubbed, 4080);
    expectSameBytesAfterReload();
    EXPECT_EQ(painted(), rubbed);

    // The block is the record's last field: its size is what is left from where it starts.
    SaveRecords records;
    std::string record = records.save(*room);
    size_t block = 0;
    for (size_t at = 0; at + 4 <= record.size() && !block; ++at) {
        u32 size = 0;
        std::memcpy(&size, record.data() + at, 4);
        if (size == record.size() - at)
            block = at;
    }
    ASSERT_GT(block, 0u);
    // 37 bytes of fields and 2048 alphas pack into a few runs and literals.
    EXPECT_LT(record.size() - block, 2048u / 2);
    record[block + 4] = '\x7F';
    log.clear();
    ASSERT_TRUE(records.load(*room, record));
    EXPECT_EQ(painted(), 0);
    EXPECT_TRUE(log.contains(
        "cAppointmentBookRoom::LoadSelf(). Damaged paint layer record, the page starts unrubbed"));
}

TEST_F(AppointmentBookStrokes, TheRubbedWritingShowsThroughThePage) {
    carry("STAKANSKARAND");
    frame(108, 104, {.down = {0}});
    frame(125, 112);
    frame(140, 104);
    aGraphServer& graph = testGraphServer();
    graph.clearColor = 0xFF000000;
    RgbaImage image;
    ASSERT_TRUE(graph.beginScene());
    room->RenderItems();
    graph.getSprite()->flush();
    ASSERT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({96, 96, 72, 40}, image.rgba)));
    image.width = 72;
    image.height = 40;
    graph.endScene();
    EXPECT_TRUE(matchesGolden("appointment_book_rubbed", image));
}

} // namespace
