#include "game/SpyGame/Rooms/Puzzles/cGardenRoseRoom.h"
#include "GardenRoomKit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The rose: the LEAF at (100, 60) with its shadow and the bugs' places LISTBUG1 and LISTBUG2 on
// its lower right, a second leaf LEAF2, the ROSE at (200, 100) with its petals and its heart CENTER at y 120,
// the stain BLOOD under the leaves, and the bugs BUG1 and BUG2 lying at the bottom. STONE has no place on the
// leaf; TAMPON is the swab. The wind blows ten times as fast as play runs.
class RoseRoomTest : public GardenRoomTest<cGardenRoseRoom> {
protected:
    static std::string body(const char* name) {
        return std::string("[") + name +
               "]\nmass = 2\nfrict_kf = 0.5\nangle.x = 0\nangle.y = 0\nspeed.x = 0\nspeed.y = 0\nfriction = "
               "LINE\n";
    }
    void openRose(const std::string& animation = "[Animation]\nspeed = 10\nItems = LEAF, LEAF2\n") {
        addSound("leaves_bug_put");
        open("zoom_GardenRose",
             "[BugsSettings]\nItems = BUG1, BUG2\n[Rose]\nItems = PETAL1 PETAL2\n" + animation +
                 "[PhysEngine]\nengine.g = 9.81\nengine.wind_speed.x = 10\nengine.wind_speed.y = 0\n" +
                 body("LEAF") + body("LEAF2") + body("PETAL1") + body("PETAL2"),
             objects({{"blood", 150, 90},
                      {"leaf_shadow", 104, 64},
                      {"leaf", 100, 60},
                      {"leaf2", 60, 80},
                      {"listbug1", 106, 70},
                      {"listbug2", 112, 74},
                      {"rose", 200, 100},
                      {"center", 200, 120},
                      {"petal1", 200, 100},
                      {"petal2", 215, 100},
                      {"bug1", 300, 200},
                      {"bug2", 330, 200},
                      {"stone", 0, 0},
                      {"tampon", 0, 0}}),
             "[BLOOD]\nObject = blood\n[LEAF_SHADOW]\nObject = leaf_shadow\n[LEAF]\nObject = leaf\n"
             "[LEAF2]\nObject = leaf2\n[LISTBUG1]\nObject = listbug1\nVisible = 0\n"
             "[LISTBUG2]\nObject = listbug2\nVisible = 0\n[ROSE]\nObject = rose\n[CENTER]\nObject = center\n"
             "Visible = 0\n[PETAL1]\nObject = petal1\n[PETAL2]\nObject = petal2\n"
             "[BUG1]\nObject = bug1\nIsQuestItem = 1\n[BUG2]\nObject = bug2\nIsQuestItem = 1\n"
             "[STONE]\nObject = stone\nVisible = 0\nIsQuestItem = 1\n[TAMPON]\nObject = tampon\nVisible = 0\n"
             "IsQuestItem = 1\n",
             "[ROOM]\n[BUG1]\nUseTo = zoom_GardenRose:LEAF\n[BUG2]\nUseTo = zoom_GardenRose:LEAF\n"
             "[STONE]\nUseTo = zoom_GardenRose:LEAF\n");
        frame(390, 290);
        quiet();
    }
    // The carried item put on the leaf with a click on its corner, clear of the bugs.
    void putOnLeaf(CSpyItem& item) {
        carry(item);
        frame(102, 66);
        clickAt(102, 66);
    }
    // Whether the item's record says it flashes (its seventh byte).
    bool flashes(CSpyItem& item) { return records.save(item).at(6) != 0; }
    bool falling() {
        const std::string record = ownRecord();
        // The physics' record (four bodies of a name and two 36-byte states and a byte each, and
        // their count) follows the flag, the fall time and the speed.
        size_t physics = 4;
        for (const char* name : {"LEAF", "LEAF2", "PETAL1", "PETAL2"})
            physics += std::string(name).size() + 1 + 2 * 36 + 1;
        return record.at(record.size() - physics - 9) != 0;
    }
};

TEST_F(RoseRoomTest, EachBugSitsOnItsPlaceAndWeighsTheLeafDownUntilTheLastStartsTheWind) {
    openRose();
    const SpyPoint leaf = at("LEAF").GetPos();
    putOnLeaf(at("BUG1"));
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_EQ(at("BUG1").GetPos(), (SpyPoint{106, 72})) << "on its place, which sank with the leaf";
    EXPECT_EQ(at("LEAF").GetPos(), (SpyPoint{leaf.x, leaf.y + 2}));
    EXPECT_TRUE(at("BUG1").IsVisible());
    EXPECT_TRUE(at("BUG1").IsDisabled());
    EXPECT_EQ(played(), std::vector<std::string>{"leaves_bug_put"});
    EXPECT_FALSE(falling());

    // A thing without a place on the leaf is kept, silently; the base never hears of the click.
    carry(at("STONE"));
    frame(102, 66);
    clickAt(102, 66);
    frame(390, 290);
    EXPECT_EQ(room->GetItemOnCursor(), &at("STONE"));
    EXPECT_EQ(played(), std::vector<std::string>{});
    EXPECT_EQ(shown(), std::vector<std::string>{});
    room->SetItemOnCursor(nullptr, nullptr);

    putOnLeaf(at("BUG2"));
    EXPECT_EQ(at("LEAF").GetPos().y, leaf.y + 4);
    EXPECT_EQ(at("BUG2").GetPos(), (SpyPoint{112, 78}));
    EXPECT_TRUE(falling());
    EXPECT_FALSE(at("LEAF_SHADOW").IsVisible());
}

TEST_F(RoseRoomTest, TheWindTakesTheLeavesThenThePetalsAndLaysTheStainBare) {
    openRose();
    putOnLeaf(at("BUG1"));
    putOnLeaf(at("BUG2"));
    const SpyPoint petal = at("PETAL1").GetPos();
    bool freed = false;
    int frames = 0;
    for (; frames < 400 && shown().empty(); ++frames) {
        frame(390, 290);
        freed = freed || at("LEAF").GetPos().y > at("CENTER").GetPos().y;
        if (!freed) {
            EXPECT_EQ(at("PETAL1").GetPos(), petal) << "held while the leaf is above the heart";
            EXPECT_TRUE(at("ROSE").IsVisible());
        }
    }
    ASSERT_LT(frames, 400);
    EXPECT_TRUE(freed);
    EXPECT_FALSE(at("ROSE").IsVisible());
    EXPECT_NE(at("PETAL1").GetPos(), petal);
    for (const char* item : {"LEAF", "LEAF2", "PETAL1", "PETAL2"})
        EXPECT_GT(at(item).GetPos().y, 300.0f) << item;
    EXPECT_FALSE(falling());
    EXPECT_TRUE(flashes(at("BLOOD")));
    EXPECT_TRUE(at("BLOOD").IsVisible());
    frame(390, 290);
    EXPECT_EQ(shown(), std::vector<std::string>{}) << "shown once";
}

TEST_F(RoseRoomTest, SolvingPutsTheBugsNotYetOnTheLeafThereAndLetsTheRoseGo) {
    openRose();
    for (bool oneFirst : {false, true}) {
        SCOPED_TRACE(oneFirst ? "after one bug" : "fresh");
        room->Reset();
        const SpyPoint leaf = at("LEAF").GetPos();
        ann->GetInventory().AddItem(&at("BUG2"));
        if (oneFirst)
            putOnLeaf(at("BUG1"));
        EXPECT_TRUE(room->SolveRoom());
        EXPECT_EQ(at("LEAF").GetPos().y, leaf.y + 4) << "two bugs, each once";
        EXPECT_FALSE(ann->GetInventory().HasItem("BUG2")) << "out of the strip, onto the leaf";
        EXPECT_TRUE(at("BUG1").IsVisible() && at("BUG2").IsVisible());
        EXPECT_TRUE(falling());
        EXPECT_FALSE(at("ROSE").IsVisible());
        EXPECT_TRUE(at("BLOOD").IsVisible());
        const SpyPoint petal = at("PETAL1").GetPos();
        frame(390, 290);
        EXPECT_NE(at("PETAL1").GetPos(), petal) << "the petals go at once";
        EXPECT_FALSE(room->SolveRoom()) << "the rose is gone";
    }
}

TEST_F(RoseRoomTest, TheSwabIsDrawnAsItselfWithoutThePointer) {
    openRose();
    carry(at("TAMPON"));
    EXPECT_FALSE(pointerShownInside());
    frame(250, 150);
    EXPECT_EQ(at("TAMPON").GetPos(), (SpyPoint{250, 150}));
    carry(at("STONE"));
    EXPECT_TRUE(pointerShownInside());
}

TEST_F(RoseRoomTest, ASpeedThatIsNoNumberIsZeroWithALineAndTheLeavesHang) {
    openRose("[Animation]\nspeed = brisk\nItems = LEAF, LEAF2\n");
    EXPECT_NE(logText().find("cGardenRoseRoom::AfterLoadInit(). Key \"speed\""), std::string::npos);
    putOnLeaf(at("BUG1"));
    putOnLeaf(at("BUG2"));
    const SpyPoint leaf = at("LEAF").GetPos();
    for (int i = 0; i < 5; ++i)
        frame(390, 290);
    EXPECT_EQ(at("LEAF").GetPos(), leaf);
}

TEST_F(RoseRoomTest, BugsOnTheLeafAndLeavesFallingLoadIntoAFreshBuildAndFallOn) {
    openRose();
    putOnLeaf(at("BUG1"));
    expectSameSaveAfterFreshLoad("one bug");
    putOnLeaf(at("BUG2"));
    for (int i = 0; i < 4; ++i)
        frame(390, 290);
    expectSameSaveAfterFreshLoad("falling");
    int frames = 0;
    while (frames < 400 && shown().empty()) {
        frame(390, 290);
        ++frames;
    }
    EXPECT_LT(frames, 400);
}

} // namespace
