#include "game/SpyGame/Rooms/Puzzles/cReservationsRegisterRoom.h"
#include "WordsRoomKit.h"

namespace {

struct RegisterProbe : cReservationsRegisterRoom {
    using cReservationsRegisterRoom::m_CurrentPage;
    using cReservationsRegisterRoom::m_FadeIn;
    using cReservationsRegisterRoom::m_FadeOut;
    using cReservationsRegisterRoom::m_PageMenu;
};

using Names = std::vector<std::string>;

// Three pages over (50, 50), the buttons BACK at (20, 260) and NEXT at (360, 260), the story's item
// TARGET at (200, 150). The later pages start clear.
class Register : public WordsRoomTest<RegisterProbe> {
protected:
    void SetUp() override {
        addSound("change_page");
        open("[GAME]\npagesCount = " + pages + "\nshowAfterReset = " + showAfterReset + "\n",
             objects({{"back", 20, 260}, {"next", 360, 260}, {"target", 200, 150}, {"page1", 50, 50}}) +
                 "[page2]\nClass = image\nImage = dot\nX = 50\nY = 50\nColor = 00FFFFFF\n"
                 "[page3]\nClass = image\nImage = dot\nX = 50\nY = 50\nColor = 00FFFFFF\n",
             "[BACK]\nObject = back\n[NEXT]\nObject = next\n[TARGET]\nObject = target\nIsQuestItem = 1\n"
             "[PAGE1]\nObject = page1\n[PAGE2]\nObject = page2\n[PAGE3]\nObject = page3\n");
        frame(300, 100);
        quiet();
    }
    // A click on a button, then frames until its fades are over.
    void turn(i32 x) {
        clickAt(x, 265);
        for (int i = 0; i < 20; ++i)
            frame(300, 100);
    }
    i16 page() const { return room->m_CurrentPage; }
    std::string pages = "3", showAfterReset = "1";
};

TEST_F(Register, TheButtonsTurnThePagesOneWayAndTheOther) {
    EXPECT_TRUE(room->m_PageMenu.IsVisible());
    EXPECT_EQ(room->m_PageMenu.GetBackground(), &item("PAGE1"));
    EXPECT_TRUE(item("BACK").IsDisabled());
    struct Step {
        i32 button;
        i16 page;
        bool backDisabled, nextDisabled;
    } steps[] = {{360, 2, false, false}, {360, 3, false, true}, {360, 3, false, true},
                 {20, 2, false, false},  {20, 1, true, false},  {20, 1, true, false}};
    for (const Step& s : steps) {
        turn(s.button);
        EXPECT_EQ(page(), s.page);
        EXPECT_EQ(item("BACK").IsDisabled(), s.backDisabled) << s.page;
        EXPECT_EQ(item("NEXT").IsDisabled(), s.nextDisabled) << s.page;
        EXPECT_EQ(room->m_PageMenu.GetBackground(), &item("PAGE" + std::to_string(s.page)));
    }
    // The page left fades out, the page opened in; the buttons fade in with it.
    EXPECT_EQ(item("PAGE1").GetColor(), 0xFFFFFFFFu);
    EXPECT_EQ(item("PAGE2").GetColor(), 0x00FFFFFFu);
    EXPECT_EQ(item("NEXT").GetColor(), 0xFFFFFFFFu);
}

TEST_F(Register, ATurnIsRefusedWhileAFadeRuns) {
    clickAt(360, 265);
    EXPECT_EQ(page(), 2);
    const Names sounds = started();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "change_page"), sounds.end());
    EXPECT_TRUE(room->m_FadeIn.IsActive());
    frame(360, 265);
    clickAt(360, 265);
    EXPECT_EQ(page(), 2) << "the second click came during the fade";
    // Both fades hold the buttons: the fade in, run last, decides their colour.
    EXPECT_GT(item("NEXT").GetColor() >> 24, 0u);
    EXPECT_LT(item("PAGE1").GetColor() >> 24, 0xFFu);
}

class RegisterOfOnePage : public Register {
protected:
    void SetUp() override {
        pages = "1";
        Register::SetUp();
    }
};

TEST_F(RegisterOfOnePage, NextStaysEnabledButRefusesToTurn) {
    EXPECT_FALSE(item("NEXT").IsDisabled());
    turn(360);
    EXPECT_EQ(page(), 1);
    EXPECT_FALSE(room->m_FadeOut.IsActive());
    EXPECT_EQ(item("PAGE1").GetColor(), 0xFFFFFFFFu);
}

class RegisterShownByTheStory : public Register {
protected:
    void SetUp() override {
        showAfterReset = "0";
        Register::SetUp();
    }
};

TEST_F(RegisterShownByTheStory, TheButtonsShowOnceTheStoryShowsNext) {
    item("NEXT").SetVisible(false);
    item("BACK").SetVisible(false);
    frame(200, 155);
    EXPECT_FALSE(room->m_PageMenu.IsVisible());
    item("NEXT").SetVisible(true);
    frame(300, 10);
    EXPECT_FALSE(room->m_PageMenu.IsVisible()) << "nothing under the cursor";
    frame(200, 155);
    EXPECT_TRUE(room->m_PageMenu.IsVisible());
    EXPECT_TRUE(item("BACK").IsVisible());
}

TEST_F(Register, TheRecordKeepsThePageAtRestAndInTheMiddleOfATurn) {
    expectSameBytesAfterReload();
    turn(360);
    clickAt(360, 265);
    frame(300, 100);
    ASSERT_TRUE(room->m_FadeIn.IsActive());
    expectSameBytesAfterReload();
    EXPECT_EQ(page(), 3);
    EXPECT_TRUE(room->m_FadeIn.IsActive());
    EXPECT_EQ(room->m_PageMenu.GetBackground(), &item("PAGE3"));
}

} // namespace
