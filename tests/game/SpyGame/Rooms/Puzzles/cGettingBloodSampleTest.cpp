#include "game/SpyGame/Rooms/Puzzles/cGettingBloodSample.h"
#include "CloseUpKit.h"

namespace {

struct SampleProbe : cGettingBloodSample {
    using cGettingBloodSample::m_bSharedMouseInside;
    using cGettingBloodSample::m_pCursorRoomForm;
};

// The swab TAMPON lies at (50, 50) to be picked up, the stain BLOOD at (200, 150) and the packet
// PAKET, hidden, at (300, 150); a cup of the hall is carried for contrast.
class BloodSample : public CloseUpTest<SampleProbe> {
protected:
    void SetUp() override {
        open("", objects({{"swab", 50, 50}, {"blood", 200, 150}, {"packet", 300, 150}}),
             "[TAMPON]\nObject = swab\nIsQuestItem = 1\n[BLOOD]\nObject = blood\n"
             "[PAKET]\nObject = packet\nVisible = 0\n",
             objects({{"cup", 10, 10}}), "[CUP]\nObject = cup\nIsQuestItem = 1\n");
        swab().SetInInventory(true);
        swab().SetVisible(false);
        inventory().AddItem(&swab());
    }
    CSpyItem& swab() { return item("TAMPON"); }
    void carrySwab() {
        inventory().RemoveItem("TAMPON");
        room->SetItemOnCursor(&swab(), nullptr);
    }
    bool sampled() { return item("PAKET").IsVisible() && !swab().IsVisible() && !swab().IsInInventory(); }
};

TEST_F(BloodSample, TheSwabCarriedOntoTheStainGivesThePacket) {
    carrySwab();
    EXPECT_FALSE(room->m_bSharedMouseInside) << "the swab draws itself over the room";
    EXPECT_EQ(room->m_pCursorRoomForm, &swab());
    click(305, 155);
    EXPECT_FALSE(item("PAKET").IsVisible()) << "on another item only the room's own answer";
    EXPECT_EQ(room->GetItemOnCursor(), &swab());
    click(205, 155);
    EXPECT_TRUE(sampled());
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_TRUE(room->m_bSharedMouseInside);
    EXPECT_FALSE(inventory().HasItem("TAMPON"));
}

TEST_F(BloodSample, AnotherItemCarriedIsTheRoomsBusinessOnly) {
    carry("CUP");
    EXPECT_TRUE(room->m_bSharedMouseInside);
    EXPECT_EQ(room->m_pCursorRoomForm, nullptr);
    click(205, 155);
    EXPECT_FALSE(item("PAKET").IsVisible());
}

TEST_F(BloodSample, TheSolveTakesTheSampleOnlyWithTheSwabInTheStrip) {
    room->ProcessAutoActions();
    EXPECT_TRUE(sampled());
    EXPECT_FALSE(inventory().HasItem("TAMPON"));

    room->Reset();
    room->Enter("Demo", nullptr);
    ASSERT_FALSE(swab().IsInInventory()) << "the swab lies in the room again";
    room->ProcessAutoActions();
    EXPECT_FALSE(item("PAKET").IsVisible());
}

TEST_F(BloodSample, TheRoomKeepsNoRecordOfItsOwn) {
    carrySwab();
    click(205, 155);
    expectSameBytesAfterReload();
    EXPECT_TRUE(item("PAKET").IsVisible());
}

} // namespace
