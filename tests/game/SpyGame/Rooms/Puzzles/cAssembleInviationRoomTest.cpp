#include "game/SpyGame/Rooms/Puzzles/cAssembleInviationRoom.h"
#include "WordsRoomKit.h"
#include "game/SpyGame/CInventory.h"
#include "tk2v/platform/Random.h"

#include <cmath>

namespace {

using Names = std::vector<std::string>;

constexpr f32 HalfPi = 1.5707963705062866f;

// Three pieces of 20 x 20 at home on (100, 100), (160, 100) and (220, 100), named PIECE1, PIECE02
// and PIECE3 and paired with the hall's P1, P2 and P3; one of them lies in place from the start.
class Letter : public WordsRoomTest<cAssembleInviationRoom> {
protected:
    void SetUp() override {
        for (const char* sound : {"letter_assemble_grab", "letter_assemble_placeback", "letter_assemble_lock",
                                  "letter_assemble_rotate", "letter_assemble_completed"})
            addSound(sound);
        platform::srand(7);
        writeHallAndRoom();
    }
    void writeHallAndRoom() {
        // The pieces go into the inventory before the first entry lays the table out.
        beforeEnter = [this] {
            for (const char* name : {"P1", "P2", "P3"})
                inventory().AddItem(&hallItem(name));
        };
        open("[OPTIONS]\ncount = 3\nmPiecesToLock = " + toLock +
                 "\nprefix = PIECE\n"
                 "[ScreenInventaryPair]\nPIECE1 = P1\nPIECE02 = P2\nPIECE3 = P3\n",
             objects({{"p1", 100, 100}, {"p2", 160, 100}, {"p3", 220, 100}, {"done", 10, 250}}),
             "[PIECE1]\nObject = p1\n[PIECE02]\nObject = p2\n[PIECE3]\nObject = p3\n"
             "[ASSEMBLE_COMPLETE]\nObject = done\nVisible = 0\n",
             objects({{"i1", 10, 10}, {"i2", 40, 10}, {"i3", 70, 10}}),
             "[P1]\nObject = i1\nIsQuestItem = 1\n[P2]\nObject = i2\nIsQuestItem = 1\n"
             "[P3]\nObject = i3\nIsQuestItem = 1\n",
             "[ROOM]\n", width, height);
    }
    std::vector<CSpyItem*> pieces() { return {&item("PIECE1"), &item("PIECE02"), &item("PIECE3")}; }
    std::vector<CSpyItem*> loose() {
        std::vector<CSpyItem*> out;
        for (CSpyItem* piece : pieces())
            if (!piece->IsDisabled())
                out.push_back(piece);
        return out;
    }
    std::string pairOf(CSpyItem* piece) {
        const std::string& name = piece->GetName();
        return name == "PIECE1" ? "P1" : name == "PIECE02" ? "P2" : "P3";
    }
    // The piece taken from the strip and dropped with its corner at (x, y), upright or turned.
    void drop(CSpyItem* piece, f32 x, f32 y, int turns = 0) {
        inventory().RemoveItem(pairOf(piece));
        room->SetItemOnCursor(&hallItem(pairOf(piece)), nullptr);
        piece->SetRotation(0);
        for (int i = 0; i < turns; ++i) {
            frame(i32(x) + 10, i32(y) + 10, {.down = {1}});
            frame(i32(x) + 10, i32(y) + 10, {.up = {1}});
        }
        frame(i32(x) + 10, i32(y) + 10);
        clickAt(i32(x) + 10, i32(y) + 10);
    }
    Names letterSounds() {
        Names names = started();
        std::erase_if(names, [](const std::string& n) { return !n.starts_with("letter"); });
        return names;
    }

    std::string toLock = "1";
    u32 width = 400, height = 300;
};

TEST_F(Letter, TheFirstEntryLaysOnePieceInPlaceAndStrewsTheOthers) {
    ASSERT_EQ(loose().size(), 2u);
    for (CSpyItem* piece : pieces()) {
        if (piece->IsDisabled()) {
            EXPECT_TRUE(piece->IsVisible());
            EXPECT_FALSE(inventory().HasItem(pairOf(piece)));
            continue;
        }
        EXPECT_FALSE(piece->IsVisible());
        EXPECT_TRUE(inventory().HasItem(pairOf(piece)));
        const f32 quarters = piece->GetRotation() / HalfPi;
        EXPECT_NEAR(quarters, std::round(quarters), 1e-4);
        const SpyPoint at = piece->GetPos();
        EXPECT_TRUE(at.x >= 50 && at.x < 350 && at.y >= 50 && at.y < 250) << at.x << ", " << at.y;
    }
    // Coming back does not strew them again.
    const SpyPoint before = loose()[0]->GetPos();
    room->Leave();
    room->Enter("Demo", nullptr);
    EXPECT_EQ(loose()[0]->GetPos().x, before.x);
    EXPECT_EQ(loose()[0]->GetPos().y, before.y);
}

TEST_F(Letter, APieceLocksUprightWithinFifteenPixelsOfItsHome) {
    CSpyItem* piece = loose()[0];
    const SpyPoint home = piece->GetOrigPos();
    struct Case {
        f32 dx;
        int turns;
        bool locks;
    } cases[] = {{15, 0, false}, {0, 3, false}, {-14, 4, true}};
    for (const Case& c : cases) {
        drop(piece, home.x + c.dx, home.y, c.turns);
        EXPECT_EQ(piece->IsDisabled(), c.locks) << c.dx << " " << c.turns;
        EXPECT_TRUE(piece->IsVisible());
        EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    }
    EXPECT_EQ(piece->GetPos().x, home.x);
    EXPECT_EQ(piece->GetColor(), 0xFFC0C0C0u);
    const Names sounds = letterSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "letter_assemble_rotate"), sounds.end());
    EXPECT_EQ(sounds.back(), "letter_assemble_lock");
    EXPECT_FALSE(item("ASSEMBLE_COMPLETE").IsVisible());
}

TEST_F(Letter, APieceDroppedOffTheTableIsPutBackOnItAndCanBeTakenAgain) {
    CSpyItem* piece = loose()[0];
    // Held by its middle, the piece lies 5 pixels past the table's right edge.
    drop(piece, 385, 5);
    EXPECT_EQ(piece->GetPos().x, 380) << "the table's right edge less the piece";
    EXPECT_EQ(piece->GetPos().y, 5);
    EXPECT_EQ(letterSounds(), Names{"letter_assemble_placeback"});
    frame(390, 15);
    clickAt(390, 15);
    EXPECT_EQ(room->GetItemOnCursor(), &hallItem(pairOf(piece)));
    EXPECT_EQ(letterSounds(), Names{"letter_assemble_grab"});
}

TEST_F(Letter, TheLastPieceLockedCompletesTheLetter) {
    for (CSpyItem* piece : loose())
        drop(piece, piece->GetOrigPos().x, piece->GetOrigPos().y);
    EXPECT_TRUE(item("ASSEMBLE_COMPLETE").IsVisible());
    for (CSpyItem* piece : pieces()) {
        EXPECT_EQ(piece->GetColor(), 0xFFFFFFFFu);
        EXPECT_EQ(piece->GetRotation(), 0);
    }
    const Names sounds = letterSounds();
    EXPECT_EQ(sounds.back(), "letter_assemble_completed");
    room->ProcessAutoActions();
    EXPECT_EQ(letterSounds(), Names{}) << "completed once";
}

TEST_F(Letter, TheRecordKeepsTheTableBeforeAndAfterItsLayout) {
    expectSameBytesAfterReload();
    drop(loose()[0], 300, 200);
    expectSameBytesAfterReload();
    room->Reset();
    const std::string stream = save();
    reload(stream);
    EXPECT_EQ(save(), stream);
}

class LetterAllInPlace : public Letter {
protected:
    void SetUp() override {
        toLock = "3";
        Letter::SetUp();
    }
};

TEST_F(LetterAllInPlace, OnlyTheSolveCompletesALetterLaidWhole) {
    EXPECT_TRUE(loose().empty());
    EXPECT_FALSE(item("ASSEMBLE_COMPLETE").IsVisible());
    inventory().AddItem(&hallItem("P2"));
    room->ProcessAutoActions();
    EXPECT_TRUE(item("ASSEMBLE_COMPLETE").IsVisible());
    EXPECT_FALSE(inventory().HasItem("P2"));
}

class LetterOnASmallTable : public Letter {
protected:
    void SetUp() override {
        width = height = 90;
        Letter::SetUp();
    }
};

TEST_F(LetterOnASmallTable, LoosePiecesLieAtTheOnePlaceLeft) {
    for (CSpyItem* piece : loose()) {
        EXPECT_EQ(piece->GetPos().x, 50);
        EXPECT_EQ(piece->GetPos().y, 50);
    }
}

} // namespace
