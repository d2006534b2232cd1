#include "game/SpyGame/Rooms/Puzzles/cCursorRoomShower.h"
#include "CloseUpKit.h"
#include "tk2v/sound/aSound.h"

namespace {

struct ShowerProbe : cCursorRoomShower {
    using cCursorRoomShower::m_bSharedMouseInside;
    using cCursorRoomShower::m_GrabOffset;
    using cCursorRoomShower::m_pCursorRoomForm;
};

// The beam (60 x 40) shows in the torch's place; the lamp's form GHOST is no item of the room. The
// radio, hidden at first, loops "radio_loop" while it shows.
class Shower : public CloseUpTest<ShowerProbe> {
protected:
    void SetUp() override {
        addSound("radio_loop");
        addPicture("beam", 60, 40, 0xFFFFFFE0);
        open("[Options]\nItem = RADIO\nSound = radio_loop\n[CursorShower]\nTORCH = BEAM\nLAMP = GHOST\n",
             image("beam", "beam", 0, 0) + objects({{"radio", 200, 100}}),
             "[BEAM]\nObject = beam\nVisible = 0\n[RADIO]\nObject = radio\nVisible = 0\n",
             objects({{"torch", 10, 10}, {"lamp", 40, 10}, {"cup", 70, 10}}),
             "[TORCH]\nObject = torch\nIsQuestItem = 1\n[LAMP]\nObject = lamp\nIsQuestItem = 1\n"
             "[CUP]\nObject = cup\nIsQuestItem = 1\n");
    }
    aSound& radio() { return *room->GetSound("radio_loop"); }
};

TEST_F(Shower, AnItemWithAFormShowsItHeldByItsMiddle) {
    struct Case {
        const char* carried;
        CSpyItem* form;
        SpyPoint grab;
        bool pointerShown;
    } cases[] = {{"TORCH", &item("BEAM"), {-30, -20}, false},
                 {"LAMP", &hallItem("LAMP"), {-10, -10}, false},
                 {"CUP", nullptr, {0, 0}, true}};
    for (const Case& c : cases) {
        carry(c.carried);
        EXPECT_EQ(room->m_pCursorRoomForm, c.form) << c.carried;
        EXPECT_EQ(room->m_GrabOffset, c.grab) << c.carried;
        EXPECT_EQ(room->m_bSharedMouseInside, c.pointerShown) << c.carried;
        room->SetItemOnCursor(nullptr, nullptr);
        EXPECT_TRUE(room->m_bSharedMouseInside);
    }
    carry("TORCH");
    frame(150, 150);
    EXPECT_EQ(item("BEAM").GetPos(), (SpyPoint{120, 130})) << "centred on the pointer";
}

TEST_F(Shower, TheSoundLoopsWhileTheItemShowsUntilThePlayerLeaves) {
    frame(300, 250);
    EXPECT_FALSE(radio().isPlaying());
    item("RADIO").SetVisible(true);
    frame(300, 250);
    EXPECT_TRUE(radio().isPlaying());
    // Ended while the radio still shows: started again in the next frame.
    radio().stop();
    frame(300, 250);
    EXPECT_TRUE(radio().isPlaying());
    item("RADIO").SetVisible(false);
    frame(300, 250);
    EXPECT_TRUE(radio().isPlaying()) << "hiding the item does not stop it";
    room->Leave();
    EXPECT_FALSE(radio().isPlaying());
}

} // namespace
