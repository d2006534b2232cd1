#include "RoomFrameKit.h"
#include "game/SpyGame/Rooms/CEvidenceBox.h"
#include "game/SpyGame/Rooms/CInvCards.h"

#include <deque>

namespace {

using Sounds = std::vector<std::string>;

// A hidden-object cup, a quest note that Ann takes along, and two overlapping plates.
class RoomFrame : public RoomFrameTest {
protected:
    void SetUp() override {
        play(objects({{"cup", 10, 10}, {"note", 100, 10}, {"plate", 200, 10}, {"saucer", 210, 10}}),
             "[CUP]\nObject = cup\nIsISpyItem = 1\n[NOTE]\nObject = note\nIsQuestItem = 1\n"
             "[PLATE]\nObject = plate\nIsISpyItem = 1\n[SAUCER]\nObject = saucer\nIsISpyItem = 1\n",
             "[ROOM]\nMustClickItems = PLATE\n[CUP]\nUseTo = NONE\n[NOTE]\nUseTo = Study:DESK\nAbout = "
             "NOTE_ABOUT\n"
             "[PLATE]\nUseTo = NONE\n[SAUCER]\nUseTo = NONE\n");
    }
};

TEST_F(RoomFrame, APickedItemLeavesAtOnceFadesFromTwoAndIsFoundOnTheFirstFramePastThree) {
    CSpyItem& cup = item("CUP");
    const u32 alpha = cup.GetOrigColor() >> 24;
    EXPECT_EQ(clickAt(15, 15), 9u);
    EXPECT_FALSE(cup.IsVisible());
    EXPECT_EQ(played(), (Sounds{"object_click_good"}));
    // The timer the room keeps, frame by frame.
    f32 timer = 1.0f;
    int frames = 0;
    while (!cup.IsInInventory()) {
        ASSERT_LT(++frames, 100);
        frame(300, 200);
        timer += DT * 1.3f;
        if (timer > 3.0f)
            break;
        const u32 expected = timer < 2.0f ? alpha : u32(i32((3.0f - timer) * f32(alpha)));
        EXPECT_EQ(cup.GetColor() >> 24, expected) << "frame " << frames;
        EXPECT_FALSE(cup.IsInInventory());
    }
    EXPECT_TRUE(cup.IsInInventory());
    // About 1.54 seconds after the click.
    EXPECT_EQ(frames, 31);
    EXPECT_TRUE(hall->m_PickEffects.empty());
    EXPECT_TRUE(ann->GetInventory().GetItems().empty());
}

TEST_F(RoomFrame, TheTopItemTakesTheClickAndEmptyClicksSoundOnlyInsideTheRoom) {
    clickAt(215, 15);
    EXPECT_TRUE(item("PLATE").IsVisible());
    EXPECT_FALSE(item("SAUCER").IsVisible());
    EXPECT_EQ(played(), (Sounds{"object_click_good"}));
    frame(215, 15);
    // The saucer is gone from the scene: the plate below it takes the next click.
    clickAt(215, 15);
    EXPECT_FALSE(item("PLATE").IsVisible());
    quiet();
    frame(350, 250);
    clickAt(350, 250);
    EXPECT_EQ(played(), (Sounds{"object_click_bad"}));
    frame(500, 250);
    clickAt(500, 250);
    EXPECT_EQ(played(), Sounds{});
}

TEST_F(RoomFrame, NoItemIsReachedOverThePanelOverTheMessageOrWhilePaused) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        bool paused;
    } cases[] = {
        {"paused", [] {}, true},
        {"message",
         [&] {
             panel.GetMessage().ShowText("HELLO", "");
             for (int i = 0; i < 40; ++i)
                 panel.GetMessage().Update(DT);
         },
         false},
        // The room slides under the panel's bar, which starts at y 600.
        {"panel",
         [&] {
             hall->SetPosition({0, 595});
         },
         false},
    };
    for (const Case& c : cases) {
        c.arrange();
        const i32 y = c.paused || c.what == std::string("message") ? 15 : 610;
        input.setCursor(15, y);
        frame(15, y, true, c.paused);
        EXPECT_TRUE(item("CUP").IsVisible()) << c.what;
        EXPECT_EQ(played(), Sounds{}) << c.what;
        frame(15, y, false, c.paused);
    }
}

TEST_F(RoomFrame, PausedFramesHoldPickEffectsAndTheHint) {
    clickAt(15, 15);
    hall->ShowHint();
    ASSERT_NE(hall->GetHintItem(), nullptr);
    for (int i = 0; i < 200; ++i)
        frame(300, 200, false, true);
    EXPECT_EQ(hall->m_PickEffects.front().second, 1.0f);
    EXPECT_NE(hall->GetHintItem(), nullptr);
    EXPECT_FALSE(item("CUP").IsInInventory());
    for (int i = 0; i < 81; ++i)
        frame(300, 200);
    EXPECT_TRUE(item("CUP").IsInInventory());
    EXPECT_EQ(hall->GetHintItem(), nullptr);
}

TEST_F(RoomFrame, AQuestItemPickedWhileAnotherWaitsWaitsItsTurn) {
    // The note shows its About text: the block covers the panel until it arrives.
    clickAt(105, 15);
    EXPECT_EQ(hall->GetState(), 7u);
    EXPECT_EQ(played(), (Sounds{"pick_quest_item"}));
    EXPECT_TRUE(panel.GetWidget("BlockWidget")->IsVisible(true));
    EXPECT_EQ(hall->shown, (std::vector<std::string>{}));
    u32 state = 7;
    for (int i = 0; i < 40 && state == 7; ++i)
        state = frame(300, 200);
    EXPECT_EQ(state, 8u);
    EXPECT_FALSE(panel.GetWidget("BlockWidget")->IsVisible(true));
    EXPECT_EQ(hall->GetRequestedItem(), &item("NOTE"));
    hall->PutPickedItemToInventory();
    EXPECT_EQ(ann->GetInventory().GetItems(), (std::deque<CSpyItem*>{&item("NOTE")}));
    EXPECT_EQ(hall->GetState(), 9u);
}

// Ann takes the key onto the cursor and opens the box with it; the key stays with her.
class CarriedItem : public RoomFrameTest {
protected:
    void SetUp() override {
        play(objects({{"key", 10, 10}, {"box", 100, 10}, {"vase", 200, 10}, {"exit", 300, 10}}),
             "[KEY]\nObject = key\nIsQuestItem = 3\nNotVanishOnApply = 1\n"
             "[BOX]\nObject = box\nUsedItem = KEY\n[VASE]\nObject = vase\n"
             "[EXIT]\nClass = Door\nObject = exit\nUseRoom = Study\n",
             "[ROOM]\n[KEY]\nUseTo = Hall:BOX\nSuccessApply = OPENED\n[VASE]\nBadUse = NOT_THAT\n"
             "[BOX]\nBadUse = LOCKED\n[EXIT]\nUseTo = ONESELF\n");
    }
};

TEST_F(CarriedItem, TheRightTargetTakesItTheWrongOneRefusesIt) {
    clickAt(15, 15);
    EXPECT_EQ(hall->GetItemOnCursor(), &item("KEY"));
    EXPECT_EQ(played(), (Sounds{"pick_item_on_cursor"}));
    EXPECT_TRUE(panel.GetWidget("BlockWidget")->IsVisible(true));
    // The carried item follows the mouse and is never its own target.
    frame(20, 20);
    EXPECT_EQ(item("KEY").GetPos(), (SpyPoint{20, 20}));
    EXPECT_EQ(hall->GetItemUnderCursor(), nullptr);
    clickAt(20, 20);
    EXPECT_EQ(played(), (Sounds{"object_click_bad"}));

    frame(205, 15);
    clickAt(205, 15);
    EXPECT_EQ(hall->shown, (std::vector<std::string>{"NOT_THAT"}));
    EXPECT_EQ(played(), (Sounds{"object_click_bad"}));
    EXPECT_EQ(hall->GetItemOnCursor(), &item("KEY"));

    frame(105, 15);
    clickAt(105, 15);
    EXPECT_EQ(hall->shown, (std::vector<std::string>{"NOT_THAT", "OPENED"}));
    EXPECT_EQ(played(), Sounds{});
    EXPECT_EQ(hall->GetItemOnCursor(), nullptr);
    EXPECT_FALSE(panel.GetWidget("BlockWidget")->IsVisible(true));
    EXPECT_EQ(ann->GetInventory().GetItems(), (std::deque<CSpyItem*>{&item("KEY")}));
}

TEST_F(CarriedItem, EmptyCursorClicksRefuseLockedItemsAndOpenDoors) {
    item("VASE").SetDisabled(true);
    clickAt(205, 15);
    EXPECT_EQ(hall->shown, (std::vector<std::string>{"NOT_THAT"}));
    EXPECT_EQ(played(), Sounds{});
    frame(305, 15);
    EXPECT_EQ(clickAt(305, 15), 5u);
    EXPECT_EQ(ann->GetItemUseCount("Hall", "EXIT"), 1u);
    EXPECT_EQ(hall->GetRequestedRoom(), "Study");
    EXPECT_EQ(hall->GetState(), 4u);
}

TEST_F(CarriedItem, AutoActionsTryEachPairOnceAndKeepWhatIsRefused) {
    CInventory& inventory = ann->GetInventory();
    inventory.AddItem(&item("KEY"));
    item("BOX").SetDisabled(true);
    // Only the door changes anything.
    EXPECT_TRUE(hall->ProcessAutoActions());
    EXPECT_EQ(inventory.GetItems(), (std::deque<CSpyItem*>{&item("KEY")}));
    item("BOX").SetDisabled(false);
    EXPECT_TRUE(hall->ProcessAutoActions());
    EXPECT_EQ(inventory.GetItems(), (std::deque<CSpyItem*>{&item("KEY")}));
    EXPECT_FALSE(item("BOX").ApplyItem("KEY"));
    // The door was click-used once in each call, and no room change was asked for.
    EXPECT_EQ(ann->GetItemUseCount("Hall", "EXIT"), 2u);
    EXPECT_EQ(hall->GetState(), 9u);
}

// A letter that becomes a card, a memo that goes nowhere, and evidence that the box shows.
class HandOver : public RoomFrameTest {
protected:
    void SetUp() override {
        writeRoom("Evidence_box", "Class = EvidenceBox\n", objects({{"glove", 10, 10}, {"memo", 40, 10}}),
                  "[GLOVE]\nObject = glove\n[MEMO]\nObject = memo\n");
        writeRoom("_InvestigationCards", "Class = InvCards\n", objects({{"ico", 10, 10}, {"opened", 40, 10}}),
                  "[ICO_LETTER]\nObject = ico\nGroup = Letter\n[Letter_OPENED]\nObject = opened\n");
        play(objects({{"letter", 10, 10}, {"memo", 100, 10}, {"glove", 200, 10}}),
             "[LETTER]\nObject = letter\nIsQuestItem = 1\n[MEMO]\nObject = memo\nIsQuestItem = 1\n"
             "[GLOVE]\nObject = glove\nIsQuestItem = 1\n",
             "[ROOM]\n[LETTER]\nUseTo = Study:DESK\nClickUse = INVCARD\n[MEMO]\nUseTo = NONE\n"
             "[GLOVE]\nUseTo = Study:DESK\nClickUse = EVIDENCE\n",
             "Evidence_box\n_InvestigationCards\n");
        for (const char* name : {"GLOVE", "MEMO"})
            rooms.GetItem("Evidence_box", name)->SetVisible(false);
        rooms.GetItem("_InvestigationCards", "ICO_LETTER")->SetVisible(false);
    }
    // The click, the pick effect up to the item's arrival, and the hand-over.
    Sounds take(i32 x) {
        clickAt(x, 15);
        Sounds sounds = played();
        for (int i = 0; i < 40 && hall->GetState() != 8; ++i)
            frame(300, 200);
        EXPECT_EQ(hall->GetState(), 8u);
        hall->PutPickedItemToInventory();
        return sounds;
    }
};

TEST_F(HandOver, CardsEvidenceAndNoneGoWhereTheRulesSay) {
    auto& box = static_cast<CEvidenceBox&>(*rooms.GetRoom("Evidence_box"));
    auto& cards = static_cast<CInvCards&>(*rooms.GetRoom("_InvestigationCards"));
    EXPECT_EQ(take(15), (Sounds{"found_inv_card"}));
    CSpyItem& thumbnail = *rooms.GetItem("_InvestigationCards", "ICO_LETTER");
    EXPECT_EQ(thumbnail.GetCurrentUserData(), "Demo");
    EXPECT_TRUE(thumbnail.IsVisible());
    EXPECT_TRUE(cards.IsCardOpened());
    EXPECT_TRUE(panel.GetGlowClues());
    EXPECT_TRUE(ann->GetInventory().GetItems().empty());

    EXPECT_EQ(take(105), (Sounds{"pick_quest_item"}));
    EXPECT_TRUE(item("MEMO").IsInInventory());
    EXPECT_TRUE(ann->GetInventory().GetItems().empty());
    // The box holds a memo of the same name: it shows.
    EXPECT_TRUE(rooms.GetItem("Evidence_box", "MEMO")->IsVisible());

    EXPECT_EQ(take(205), (Sounds{"found_clue"}));
    EXPECT_TRUE(rooms.GetItem("Evidence_box", "GLOVE")->IsVisible());
    EXPECT_TRUE(box.HasNewEvidence());
    EXPECT_TRUE(panel.GetGlowEvidences());
    EXPECT_EQ(ann->GetInventory().GetItems(), (std::deque<CSpyItem*>{&item("GLOVE")}));
    EXPECT_EQ(box.CountClosedItems(), 0u);
}

TEST_F(HandOver, ASecondQuestItemWaitsWhileTheFirstIsRequested) {
    clickAt(105, 15);
    frame(300, 200);
    clickAt(205, 15);
    for (int i = 0; i < 60; ++i)
        frame(300, 200);
    EXPECT_EQ(hall->GetState(), 8u);
    EXPECT_EQ(hall->GetRequestedItem(), &item("MEMO"));
    EXPECT_EQ(hall->m_PickEffects.size(), 1u);
    EXPECT_EQ(item("GLOVE").GetColor() >> 24, 0u) << "faded out while it waits";
    hall->PutPickedItemToInventory();
    frame(300, 200);
    EXPECT_EQ(hall->GetRequestedItem(), &item("GLOVE"));
    hall->PutPickedItemToInventory();
    EXPECT_EQ(ann->GetInventory().GetItems(), (std::deque<CSpyItem*>{&item("GLOVE")}));
    EXPECT_TRUE(item("MEMO").IsInInventory());
    // Nothing requested: the hand-over only returns to play.
    hall->PutPickedItemToInventory();
    EXPECT_EQ(hall->GetState(), 9u);
}

// Rooms that carry the built-in names but not their classes take nothing.
class HandOverToPlainRooms : public HandOver {
protected:
    void SetUp() override {
        writeRoom("Evidence_box", "Class = RoomBase\n", objects({{"glove", 10, 10}}),
                  "[GLOVE]\nObject = glove\n");
        writeRoom("_InvestigationCards", "Class = RoomBase\n", objects({{"ico", 10, 10}}),
                  "[ICO_LETTER]\nObject = ico\n");
        play(objects({{"letter", 10, 10}, {"glove", 200, 10}}),
             "[LETTER]\nObject = letter\nIsQuestItem = 1\n[GLOVE]\nObject = glove\nIsQuestItem = 1\n",
             "[ROOM]\n[LETTER]\nUseTo = Study:DESK\nClickUse = INVCARD\n"
             "[GLOVE]\nUseTo = Study:DESK\nClickUse = EVIDENCE\n",
             "Evidence_box\n_InvestigationCards\n");
        rooms.GetItem("Evidence_box", "GLOVE")->SetVisible(false);
    }
};

TEST_F(HandOverToPlainRooms, ItemsGoIntoTheInventory) {
    ASSERT_NE(hall->GetEvidenceBox(), nullptr);
    take(15);
    take(205);
    EXPECT_EQ(ann->GetInventory().GetItems(), (std::deque<CSpyItem*>{&item("LETTER"), &item("GLOVE")}));
    EXPECT_FALSE(rooms.GetItem("Evidence_box", "GLOVE")->IsVisible());
}

TEST_F(RoomFrame, TheMouseModeChangesOnceAtEachCrossing) {
    hall->m_bSharedMouseInside = false;
    struct Step {
        i32 x, y;
        bool nonExclusive;
    } steps[] = {{100, 100, false}, {120, 100, false}, {500, 100, true},  {520, 100, true},
                 {100, 100, false}, {-5, 100, true},   {2000, 100, true}, {100, 100, false}};
    input.buttonDown(1);
    for (const Step& step : steps) {
        input.setCursor(step.x, step.y);
        inputServer->update();
        hall->Render();
        EXPECT_EQ(inputServer->nonExclusive, step.nonExclusive) << step.x;
        // The pointer is put back and no button forgets it is down.
        EXPECT_EQ(input.cursor().x, step.x);
        EXPECT_TRUE(inputServer->isMouseButtonDown(1)) << step.x;
    }
}

} // namespace
