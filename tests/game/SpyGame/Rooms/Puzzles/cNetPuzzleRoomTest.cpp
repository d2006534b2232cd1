#include "game/SpyGame/Rooms/Puzzles/cNetPuzzleRoom.h"
#include "GardenRoomKit.h"
#include "support/Golden.h"
#include "tk2v/gfx/SceneCapture.h"

#include <gtest/gtest.h>

namespace {

// The net: ropes R1..R5 in a row at y 100, 40 apart from x 100, and PLAIN, which is no rope. R1
// lies under R2 and R3, and under R4 by a second line; R4 lies under R3; R2 and R3 lie free; R5's
// one listed rope is missing, and GHOST names no item. The keys KEYS sit beneath R1.
class NetRoomTest : public GardenRoomTest<cNetPuzzleRoom> {
protected:
    void SetUp() override {
        for (const char* sound : {"rope_removed", "rope_wrong"})
            addSound(sound);
        open("zoom_NetPuzzle",
             "[Lines]\nR1 = R2, R3\nR2 =\nR3 =\nR4 = R3\nR1 = R4\nGHOST = R2\nR5 = MISSING\n",
             objects({{"keys", 100, 100},
                      {"r1", 100, 100},
                      {"r2", 140, 100},
                      {"r3", 180, 100},
                      {"r4", 220, 100},
                      {"r5", 260, 100},
                      {"plain", 300, 100}}),
             "[KEYS]\nObject = keys\nIsQuestItem = 1\n[R1]\nObject = r1\n[R2]\nObject = r2\n[R3]\nObject = "
             "r3\n[R4]\nObject = r4\n[R5]\nObject = r5\n[PLAIN]\nObject = plain\n",
             "[ROOM]\n[KEYS]\nUseTo = Hall:DOOR\n[R1]\nUseTo = ONESELF\n[R2]\nUseTo = ONESELF\n[R3]\nUseTo = "
             "ONESELF\n[R4]\nUseTo = ONESELF\n[R5]\nUseTo = ONESELF\n[PLAIN]\nUseTo = ONESELF\n");
        frame(390, 290);
        quiet();
    }
    // A press on the item's middle, then a frame without; the sounds playing then, stopped.
    std::vector<std::string> click(const std::string& name) {
        const SpyPoint pos = at(name).GetPos();
        clickAt(i32(pos.x) + 10, i32(pos.y) + 10);
        frame(390, 290);
        return played();
    }
    bool solved() { return ownRecord().back() == 1; }
};

TEST_F(NetRoomTest, ARopeComesAwayWhileAtMostOneOfTheRopesOnItShows) {
    const std::vector<std::string> removed{"rope_removed"}, wrong{"rope_wrong"}, silent{};
    struct Click {
        const char* item;
        std::vector<std::string> sounds;
        const char* why;
    };
    const Click clicks[] = {
        {"R1", wrong, "R2, R3 and R4 lie on it"},
        {"R2", removed, "nothing lies on it"},
        {"R1", wrong, "R3 and R4 still lie on it"},
        {"R4", removed, "one rope lying on it is allowed"},
        {"PLAIN", silent, "not a rope"},
        {"R1", removed, "only R3 is left on it"},
        {"R5", removed, "its missing rope counts as gone"},
    };
    for (const Click& c : clicks) {
        EXPECT_EQ(click(c.item), c.sounds) << c.item << ": " << c.why;
        EXPECT_NE(at(c.item).IsVisible(), c.sounds == removed) << c.item;
        EXPECT_FALSE(solved());
    }
    // The last rope undoes the net in the same click.
    const SpyPoint last = at("R3").GetPos();
    clickAt(i32(last.x) + 10, i32(last.y) + 10);
    EXPECT_TRUE(solved());
    EXPECT_TRUE(at("KEYS").IsVisible()) << "the keys are the base's to pick";
    room->Reset();
    EXPECT_FALSE(solved());
    for (const char* rope : {"R1", "R2", "R3", "R4", "R5"})
        EXPECT_TRUE(at(rope).IsVisible()) << rope;
}

TEST_F(NetRoomTest, RopesNamedTwiceOrMissingAreLoggedAndTheRestRead) {
    const std::string text = logText();
    for (const char* rope : {"R1", "GHOST"})
        EXPECT_NE(text.find(std::string("cNetPuzzleRoom::LoadRes item not exsist or already loaded \"") +
                            rope + "\"!"),
                  std::string::npos)
            << rope;
    for (const char* rope : {"R2", "R3", "R4", "R5"})
        EXPECT_EQ(text.find(std::string("already loaded \"") + rope), std::string::npos) << rope;
}

// A fade started over a running one takes the new rope; the first stays hidden where it was left.
TEST_F(NetRoomTest, ARemovedRopeGrowsAndFadesOutOverASecondAndAnotherFadeTakesOver) {
    click("R2");
    for (int i = 0; i < 9; ++i)
        frame(390, 290); // ten frames of 0.05 s since the click
    EXPECT_FALSE(at("R2").IsVisible());
    EXPECT_NEAR(at("R2").GetScale().x, 1.1f, 1e-5f);
    EXPECT_EQ(at("R2").GetColor() >> 24, 127u);
    click("R3");
    for (int i = 0; i < 25; ++i)
        frame(390, 290);
    // The frame of the second click moved the first fade on once more before it let go.
    EXPECT_NEAR(at("R2").GetScale().x, 1.11f, 1e-5f) << "left as it was";
    EXPECT_FALSE(at("R2").IsVisible());
    EXPECT_NEAR(at("R3").GetScale().x, 1.2f, 1e-5f);
    EXPECT_EQ(at("R3").GetColor() >> 24, 0u);
    EXPECT_FALSE(at("R3").IsVisible());
}

TEST_F(NetRoomTest, SolvingHidesEveryRopeAndTheBaseTakesTheKeys) {
    EXPECT_TRUE(room->SolveRoom());
    for (const char* rope : {"R1", "R2", "R3", "R4", "R5"})
        EXPECT_FALSE(at(rope).IsVisible()) << rope;
    EXPECT_TRUE(solved());
    EXPECT_TRUE(ann->GetInventory().HasItem("KEYS"));
    EXPECT_TRUE(at("PLAIN").IsVisible());
}

TEST_F(NetRoomTest, TheFadeAndTheSolvedFlagAreTheRecordsTailAndLoadIntoAFreshBuild) {
    click("R2");
    for (int i = 0; i < 3; ++i)
        frame(390, 290);
    const std::string record = ownRecord();
    // Four frames of fading since the click, added up as the fade adds them.
    const auto elapsed = [] {
        f32 seconds = 0;
        for (int i = 0; i < 4; ++i)
            seconds += DT;
        return f32bytes(seconds);
    };
    const std::string tail = f32bytes(1.0f) + elapsed() + f32bytes(0.2f) + f32bytes(1.0f) + f32bytes(1.0f) +
                             u8s(1) + str("zoom_NetPuzzle:R2") + u8s(0);
    ASSERT_GE(record.size(), tail.size());
    EXPECT_EQ(record.substr(record.size() - tail.size()), tail);
    expectSameSaveAfterFreshLoad("fading");
    for (int i = 0; i < 20; ++i)
        frame(390, 290);
    EXPECT_EQ(at("R2").GetColor() >> 24, 0u) << "the fade went on where it was";
    EXPECT_NEAR(at("R2").GetScale().x, 1.2f, 1e-5f);
}

TEST_F(NetRoomTest, ARopeHalfWayThroughItsFadeIsDrawnGrownAndHalfSeeThrough) {
    click("R2");
    for (int i = 0; i < 9; ++i)
        frame(390, 290);
    EXPECT_TRUE(
        matchesGolden("garden_rope_fading", drawScene({120, 80, 60, 60}, [this] { room->Render(); })));
}

} // namespace
