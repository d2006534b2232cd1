#include "game/SpyGame/Rooms/Puzzles/cBackMooverPuzzle.h"
#include "CloseUpKit.h"

namespace {

// A handle at (100, 100) that leads back and a note at (200, 100) that it shows; a lamp at
// (300, 100) that does neither.
class BackMover : public CloseUpTest<cBackMooverPuzzle> {
protected:
    void SetUp() override {
        open(options, objects({{"handle", 100, 100}, {"note", 200, 100}, {"lamp", 300, 100}}),
             "[HANDLE]\nObject = handle\n[NOTE]\nObject = note\nVisible = 0\n[LAMP]\nObject = lamp\n");
    }
    std::string options = "[Options]\nBackItem = HANDLE\nShowItem = NOTE\n";
};

TEST_F(BackMover, AClickOnTheBackItemShowsTheOtherAndLeadsBackInTheSameFrame) {
    EXPECT_TRUE(room->GetPropertys().SolveButtonShown);
    EXPECT_EQ(click(305, 105), CRoomBase::Playing) << "another item";
    EXPECT_EQ(click(10, 250), CRoomBase::Playing) << "nothing under the cursor";
    EXPECT_EQ(frame(105, 105), CRoomBase::Playing) << "a hover is no click";
    EXPECT_FALSE(item("NOTE").IsVisible());
    EXPECT_EQ(click(105, 105), CRoomBase::RoomRequested);
    EXPECT_TRUE(item("NOTE").IsVisible());
    EXPECT_EQ(room->GetRequestedRoom(), "_BACK");
}

class BackMoverWithoutOptions : public BackMover {
protected:
    void SetUp() override {
        options = "";
        BackMover::SetUp();
    }
};

TEST_F(BackMoverWithoutOptions, NoClickLeadsAway) {
    for (const auto& [x, y] : {std::pair{105, 105}, {10, 250}, {305, 105}})
        EXPECT_EQ(click(x, y), CRoomBase::Playing) << x << ", " << y;
    EXPECT_FALSE(item("NOTE").IsVisible());
}

} // namespace
