#include "game/SpyGame/Rooms/Puzzles/cDilaryLightsPuzzle.h"
#include "CloseUpKit.h"
#include "support/Golden.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <cstring>

namespace {

struct LampsProbe : cDilaryLightsPuzzle {
    using cDilaryLightsPuzzle::m_FirstPulse;
    using cDilaryLightsPuzzle::m_SecondPulse;
};

// A table of three holes, HOLE1 to HOLE3, 20 x 20 at x = 50, 150, 250 and y = 100; the picture of
// lamp i in hole j ("i_IN_j", hidden) lies over hole j, drawn in lamp i's colour. Ann carries
// LAMP01 to LAMP03 from the hall in her inventory; lamp 2 stood there where this room has its NEXT
// button.
class Lamps : public CloseUpTest<LampsProbe> {
protected:
    static constexpr i32 Count = 3;
    static constexpr u32 Colors[Count] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};

    void SetUp() override {
        addSound("bulb_setup");
        std::string objects = CloseUpTest::objects({{"back", 20, 260}, {"next", 360, 260}, {"page1", 0, 0}});
        std::string items = "[BACK]\nObject = back\n[NEXT]\nObject = next\n[PAGE1]\nObject = page1\n";
        for (i32 j = 1; j <= Count; ++j) {
            objects += image("hole" + n(j), "dot", holeX(j), 100);
            items += "[HOLE" + n(j) + "]\nObject = hole" + n(j) + "\n";
        }
        for (i32 i = 1; i <= Count; ++i) {
            addPicture("lamp" + n(i), 20, 20, Colors[i - 1]);
            for (i32 j = 1; j <= Count; ++j) {
                const std::string name = n(i) + "_IN_" + n(j);
                objects += image("pic" + name, "lamp" + n(i), holeX(j), 100);
                items += "[" + name + "]\nObject = pic" + name + "\nVisible = 0\n";
            }
        }
        std::string hallObjects, hallItems;
        for (i32 i = 1; i <= Count; ++i) {
            hallObjects += image("lamp" + n(i), "dot", i == 2 ? 360 : 100 * i, 260);
            hallItems += section(lamp(i)) + "Object = lamp" + n(i) + "\nIsQuestItem = 1\n";
        }
        // Picked on the hall, whose frames had unlocked them.
        beforeEnter = [this] {
            for (i32 i = 1; i <= lampsInHand; ++i) {
                hallItem(lamp(i)).Unlock();
                inventory().AddItem(&hallItem(lamp(i)));
            }
        };
        open("[GAME]\npagesCount = 1\nshowAfterReset = 1\n" + table, objects, items, hallObjects, hallItems);
        frame(390, 10);
        quiet();
    }
    static std::string n(i32 k) { return std::to_string(k); }
    static std::string section(const std::string& name) {
        return std::string("[").append(name).append("]\n");
    }
    static std::string lamp(i32 i) { return "LAMP0" + n(i); }
    static i32 holeX(i32 j) { return 50 + 100 * (j - 1); }
    CSpyItem& picture(i32 i, i32 j) { return item(n(i) + "_IN_" + n(j)); }
    // Which lamp each hole shows, 0 for none.
    std::vector<i32> shown() {
        std::vector<i32> lamps(Count, 0);
        for (i32 i = 1; i <= Count; ++i)
            for (i32 j = 1; j <= Count; ++j)
                if (picture(i, j).IsVisible())
                    lamps[size_t(j - 1)] = i;
        return lamps;
    }
    // A click on hole j, or on the picture standing in it.
    void clickHole(i32 j) { click(holeX(j) + 5, 105); }
    void put(i32 i, i32 j) {
        carry(lamp(i));
        clickHole(j);
    }

    std::string table = "[Table]\ncount = 3\noutsideLamp = LAMP\nhole = HOLE\ninsideLamp = _IN_\n";
    i32 lampsInHand = Count;
};

TEST_F(Lamps, PutLiftSwapAndLock) {
    ASSERT_TRUE(room->IsTableBuilt());
    struct Step {
        const char* what;
        i32 carried; // the lamp taken from the strip first, 0 for none
        i32 hole;
        std::vector<i32> shown;
        i32 onCursor; // the lamp on the cursor afterwards, 0 for none
        std::vector<bool> locked;
        bool sound;
    } steps[] = {
        {"lamp 2 into hole 3", 2, 3, {0, 0, 2}, 0, {false, false, false}, true},
        {"lamp 1 onto the occupied hole 3 is refused", 1, 3, {0, 0, 2}, 1, {false, false, false}, false},
        {"lamp 1 into hole 2", 0, 2, {0, 1, 2}, 0, {false, false, false}, true},
        {"lamp 2 lifted out of hole 3", 0, 3, {0, 1, 0}, 2, {false, false, false}, false},
        {"lamp 2 onto lamp 1 swaps them: both home", 0, 2, {0, 2, 1}, 0, {false, true, false}, true},
        {"lamp 1 lifted out of hole 3", 0, 3, {0, 2, 0}, 1, {false, true, false}, false},
        {"lamp 1 into hole 1 locks it", 0, 1, {1, 2, 0}, 0, {true, true, false}, true},
    };
    for (const Step& s : steps) {
        if (s.carried)
            carry(lamp(s.carried));
        clickHole(s.hole);
        EXPECT_EQ(shown(), s.shown) << s.what;
        EXPECT_EQ(room->GetItemOnCursor(), s.onCursor ? &hallItem(lamp(s.onCursor)) : nullptr) << s.what;
        for (i32 i = 1; i <= Count; ++i)
            EXPECT_EQ(picture(i, i).IsDisabled(), s.locked[size_t(i - 1)]) << s.what << ", lamp " << i;
        EXPECT_EQ(played() == Names{"bulb_setup"}, s.sound) << s.what;
        EXPECT_FALSE(room->IsSolved());
    }
}

TEST_F(Lamps, ASwapLocksBothLampsWithTwoPulsesAndTheLastLampSolves) {
    put(1, 2);
    put(2, 1);
    clickHole(2);
    ASSERT_EQ(room->GetItemOnCursor(), &hallItem(lamp(1)));
    clickHole(1);
    EXPECT_EQ(shown(), (std::vector<i32>{1, 2, 0}));
    EXPECT_TRUE(room->m_FirstPulse.IsActive());
    EXPECT_TRUE(room->m_SecondPulse.IsActive());
    // Half way (the click's release frame was the first 0.05 s) the picture stands at its peak, 1.4
    // times its size.
    frame(390, 10, {.dt = 0.15f});
    EXPECT_NEAR(picture(1, 1).GetScale().x, 1.4f, 1e-4f);
    frame(390, 10, {.dt = 0.25f});
    EXPECT_FLOAT_EQ(picture(1, 1).GetScale().x, 1.0f);
    EXPECT_FALSE(room->m_FirstPulse.IsActive());
    put(3, 3);
    EXPECT_TRUE(room->IsSolved());
    // Solved, the table takes no clicks: a lamp offered now stays on the cursor.
    carry(lamp(3));
    clickHole(3);
    EXPECT_EQ(room->GetItemOnCursor(), &hallItem(lamp(3)));
}

TEST_F(Lamps, ADropOnALampsOwnPlaceGivesTheLampBackToTheStrip) {
    // The lamp's own place is where it stood in the hall when the table was built.
    carry(lamp(2));
    click(365, 265);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_TRUE(inventory().HasItem(lamp(2)));
    EXPECT_EQ(shown(), (std::vector<i32>{0, 0, 0}));
}

TEST_F(Lamps, TheSolveSetsEveryLampHomeAndASecondSolveIsTheBooksOwn) {
    put(2, 1);
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_TRUE(room->IsSolved());
    for (i32 i = 1; i <= Count; ++i) {
        EXPECT_TRUE(picture(i, i).IsVisible());
        EXPECT_FALSE(inventory().HasItem(lamp(i)));
    }
    EXPECT_FALSE(room->ProcessAutoActions()) << "the room base has nothing to do";
}

// Saved with lamp 1 just lifted out of hole 2: the loaded table finishes the swap, and the last
// lamp solves it.
TEST_F(Lamps, TheRecordKeepsTheTableMidPuzzle) {
    put(1, 2);
    put(2, 1);
    clickHole(2);
    expectSameBytesAfterReload();
    EXPECT_EQ(shown(), (std::vector<i32>{2, 0, 0}));
    ASSERT_EQ(room->GetItemOnCursor(), &hallItem(lamp(1)));
    clickHole(1);
    EXPECT_EQ(shown(), (std::vector<i32>{1, 2, 0}));
    EXPECT_TRUE(room->m_SecondPulse.IsActive());
    expectSameBytesAfterReload();
    put(3, 3);
    EXPECT_TRUE(room->IsSolved());
}

class LampsMissing : public Lamps {
protected:
    void SetUp() override {
        lampsInHand = 2;
        Lamps::SetUp();
    }
};

TEST_F(LampsMissing, TheTableWaitsForEveryLampAndSavesOneByteMeanwhile) {
    EXPECT_FALSE(room->IsTableBuilt());
    EXPECT_TRUE(room->GetLamps().empty()) << "no lamp registered as null";
    // The base's record ends in its show-after-reset flag; the table adds one byte.
    const std::string unbuilt = save();
    hallItem(lamp(3)).Unlock();
    inventory().AddItem(&hallItem(lamp(3)));
    room->Enter("Demo", nullptr);
    ASSERT_TRUE(room->IsTableBuilt());
    EXPECT_GT(save().size(), unbuilt.size());
    reload(unbuilt);
    EXPECT_FALSE(room->IsTableBuilt());
    room->Enter("Demo", nullptr);
    EXPECT_TRUE(room->IsTableBuilt());
    put(3, 3);
    EXPECT_TRUE(picture(3, 3).IsDisabled());
}

TEST_F(LampsMissing, TheSolveWithoutATableFindsThePicturesByName) {
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_EQ(shown(), (std::vector<i32>{1, 2, 3}));
    EXPECT_FALSE(inventory().HasItem(lamp(1)));
}

// A record whose lamp list does not fit the table: a lamp the game no longer knows, a count other
// than the table's, or one beyond the record's end. One line, the rest of the record skipped, the
// table built anew at the next entry.
TEST_F(Lamps, ALoadedLampListThatDoesNotFitLeavesTheTableToBeBuiltAgain) {
    put(1, 1);
    std::string plain = save();
    SaveLoadSystem::scramble(reinterpret_cast<u8*>(plain.data()), u32(plain.size()));
    plain.resize(plain.size() - 4);
    const size_t list = plain.find("Hall:LAMP01") - 4;
    auto withCount = [&](u32 count) {
        std::string s = plain;
        std::memcpy(s.data() + list, &count, 4);
        return s;
    };
    std::string unknown = plain;
    unknown.replace(unknown.find("Hall:LAMP02"), 11, "Hall:LAMPXX");
    const struct {
        std::string stream;
        const char* line;
    } cases[] = {
        {unknown, "A saved lamp is missing"},
        {withCount(2), "2 lamps saved for a table of 3"},
        {withCount(0xFFFFFFFF), "4294967295 lamps saved for a table of 3"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        reload(SaveRecords::seal(c.stream));
        EXPECT_FALSE(room->IsTableBuilt()) << c.line;
        Names lines = log.messages();
        std::erase_if(lines, [](const std::string& l) { return !l.starts_with("cDilaryLightsPuzzle"); });
        ASSERT_EQ(lines.size(), 1u) << c.line;
        EXPECT_NE(lines[0].find(c.line), std::string::npos) << lines[0];
        // The lamp that stood in its hole is lost with the table; given back, the table builds.
        if (!inventory().HasItem(lamp(1)))
            inventory().AddItem(&hallItem(lamp(1)));
        room->Enter("Demo", nullptr);
        EXPECT_TRUE(room->IsTableBuilt()) << c.line;
    }
}

class LampsDrawn : public Lamps {
protected:
    RgbaImage draw() {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = 0xFF000000;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        room->Render();
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, 400, 300}, image.rgba)));
        image.width = 400;
        image.height = 300;
        graph.endScene();
        return image;
    }
};

// Lamp 2 carried over the empty hole 1 beside lamp 1 standing in hole 2: hole 1 shows lamp 2's
// picture faintly, as a preview.
TEST_F(LampsDrawn, ALampCarriedOverAFreeHoleShowsItsPictureThere) {
    put(1, 2);
    carry(lamp(2));
    frame(55, 105);
    EXPECT_TRUE(matchesGolden("lamps_preview", draw()));
}

} // namespace
