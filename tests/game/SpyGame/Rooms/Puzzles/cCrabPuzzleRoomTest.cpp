#include "game/SpyGame/Rooms/Puzzles/cCrabPuzzleRoom.h"
#include "GardenRoomKit.h"
#include "support/Golden.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// The beach: the holes APPLE_DYR, PROBKA_DYR, SIGARETY_DYR, ZIPPO_DYR and TARGET_DYR in a row at
// y 150, from x 40, 60 apart, each but the last with its hidden blocker over it; a hole opens when
// its inventory item (from room_Beach) is used on it. The crab runs from the middle of its hole 50
// pixels up and back in a second and hides for half a second. The sticks hang from the carried
// point by their grip; the twig's tip lies 100 pixels above it.
class CrabRoomTest : public GardenRoomTest<cCrabPuzzleRoom> {
protected:
    static constexpr const char* Holes[] = {"APPLE", "PROBKA", "SIGARETY", "ZIPPO", "TARGET"};
    // The inventory item each hole takes.
    static constexpr const char* Blockers[] = {"APPLE", "CORK", "PACKET_OF_CIGARETTES", "LIGHTER"};
    static constexpr const char* Options =
        "[CrabPuzzleRoomOptions]\nDelayOfCrabShow = 1\nDelayOfCrabHide = 0.5\nDelayOfCrabRotate = 0\n"
        "CrabRotateRange = 0.25\n";
    static constexpr const char* Coords =
        "[CrabPuzzleRoomCoords]\npalkaScykaDx = 0\npalkaScykaDy = -100\nDrawCurve = 0\n"
        "APPLE = 50 160 50 110 0\nZIPPO = 230 160 230 110 0\nSIGARETY = 170 160 170 110 0\n"
        "PROBKA = 110 160 110 110 0\nTARGET = 290 160 290 110 1\n";

    void openBeach(const std::string& sections = std::string(Options) + Coords) {
        for (const char* sound : {"crab_movement", "crab_catch", "crab_earring_drop"})
            addSound(sound);
        std::string objectsIni, itemsIni;
        for (int i = 0; i < 5; ++i) {
            const std::string hole = Holes[i], lower = lowerCase(hole);
            objectsIni += objects({{(lower + "_dyr").c_str(), 40 + 60 * i, 150}});
            itemsIni += "[" + hole + "_DYR]\nObject = " + lower + "_dyr\n";
            if (i == 4)
                continue;
            itemsIni += std::string("Class = Container\nUsedItem = ") + Blockers[i] +
                        "\nAutoActivateOnUnlock = 1\nContainerShow = " + hole + "\n";
            objectsIni += objects({{lower.c_str(), 40 + 60 * i, 150}});
            itemsIni += "[" + hole + "]\nObject = " + lower + "\nVisible = 0\n";
        }
        // The crab takes no clicks: they reach the hole it runs from.
        for (const char* crab : {"crab", "crab_bez_cristala"})
            objectsIni += std::string("[") + crab + "]\nClass = image\nImage = dot\nAlphaClick = 255\n";
        objectsIni += objects({{"cristal", 330, 220}}) +
                      "[palka]\nClass = image\nImage = stick\n[palka1]\nClass = image\nImage = stick_crab\n"
                      "[palka2]\nClass = image\nImage = stick\n";
        itemsIni += "[CRAB]\nObject = crab\nVisible = 0\n[CRAB_BEZ_CRISTALA]\nObject = crab_bez_cristala\n"
                    "Visible = 0\n[CRISTAL]\nObject = cristal\nVisible = 0\nIsQuestItem = 1\n"
                    "[PALKA]\nObject = palka\nVisible = 0\n[PALKA1]\nObject = palka1\nVisible = 0\n"
                    "[PALKA2]\nObject = palka2\nVisible = 0\n";
        write("zoom_CrabPuzzle", sections, objectsIni, itemsIni, "[ROOM]\n[CRISTAL]\nUseTo = Hall:BOX\n");
        addPicture("stick", 40, 180, 0xFF806040);
        addPicture("stick_crab", 40, 180, 0xFFC03020);
        // The things the player brings, in a room of their own.
        writeRoom(
            "room_Beach", "Class = RoomBase\n",
            objects(
                {{"apple", 0, 0}, {"cork", 30, 0}, {"packet", 60, 0}, {"lighter", 90, 0}, {"twig", 120, 0}}),
            "[APPLE]\nObject = apple\nIsQuestItem = 1\n[CORK]\nObject = cork\nIsQuestItem = 1\n"
            "[PACKET_OF_CIGARETTES]\nObject = packet\nIsQuestItem = 1\n[LIGHTER]\nObject = lighter\n"
            "IsQuestItem = 1\n[TWIG]\nObject = twig\nIsQuestItem = 1\n");
        dir.write(
            "Demo/room_Beach/Ann.ai",
            "[ROOM]\n[APPLE]\nUseTo = zoom_CrabPuzzle:APPLE_DYR\n[CORK]\nUseTo = zoom_CrabPuzzle:PROBKA_DYR\n"
            "[PACKET_OF_CIGARETTES]\nUseTo = zoom_CrabPuzzle:SIGARETY_DYR\n[LIGHTER]\nUseTo = "
            "zoom_CrabPuzzle:ZIPPO_DYR\n[TWIG]\nUseTo = zoom_CrabPuzzle:CRAB\n");
        platform::srand(7);
        start("room_Beach\n");
        frame(390, 290);
        quiet();
        shown();
    }
    static std::string lowerCase(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), ::tolower);
        return text;
    }
    CSpyItem& brought(const std::string& name) { return *rooms.GetItem("room_Beach", name); }

    // The puzzle's record, field by field.
    struct Record {
        u32 hole = 0;
        f32 timer = 0;
        u8 solved = 0, pending = 0, dropped = 0;
        std::string crab, stick;
        f32 holes[5][8] = {};
        u32 current = 0;
        std::vector<std::pair<i32, i32>> path;
        u8 sound = 0;
    };
    Record record() {
        Fields f(puzzleRecord());
        Record r;
        r.hole = f.u32le();
        r.timer = f.f32le();
        r.solved = f.byte();
        r.pending = f.byte();
        r.dropped = f.byte();
        r.crab = f.text();
        r.stick = f.text();
        for (auto& hole : r.holes)
            for (f32& value : hole)
                value = f.f32le();
        r.current = f.u32le();
        for (u32 n = f.u32le(); n > 0 && f.at < f.bytes.size(); --n) {
            const i32 x = i32(f.u32le());
            r.path.emplace_back(x, i32(f.u32le()));
        }
        r.sound = f.byte();
        return r;
    }
    // The holes the crab came out of, frame by frame: each run starts with the crab showing again at
    // its hole, which runs lie straight above.
    std::vector<u32> holesChosen(int frames) {
        std::vector<u32> chosen{record().hole};
        bool shows = at("CRAB").IsVisible();
        for (int i = 0; i < frames; ++i) {
            frame(390, 290);
            if (at("CRAB").IsVisible() && !shows)
                chosen.push_back(u32(at("CRAB").GetPos().x - 20) / 60);
            shows = at("CRAB").IsVisible();
        }
        return chosen;
    }
    // Frames until the crab runs from a hole with a blocker.
    u32 waitForABlockableHole() {
        while (record().hole == 4)
            frame(390, 290);
        return record().hole;
    }
    void blockFour() {
        for (int i = 0; i < 4; ++i)
            at(Holes[i]).SetVisible(true);
    }
    // The middle of a hole's clickable spot.
    static platform::Point holePoint(u32 hole) { return {50 + 60 * i32(hole), 160}; }
    std::vector<std::string> crabSounds() {
        std::vector<std::string> names = started();
        std::erase_if(names, [](const std::string& n) { return !n.starts_with("crab_"); });
        return names;
    }
};

TEST_F(CrabRoomTest, TheCrabNeverLeavesTheSameHoleTwiceRunningAndASeedRepeatsItsHoles) {
    openBeach();
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const std::string before = ownRecord();
        platform::srand(seed);
        room->Enter("Demo", nullptr);
        const std::vector<u32> first = holesChosen(100);
        ASSERT_GE(first.size(), 4u);
        for (size_t i = 1; i < first.size(); ++i)
            EXPECT_NE(first[i], first[i - 1]) << i;
        ASSERT_TRUE(loadOwnRecord(before));
        platform::srand(seed);
        room->Enter("Demo", nullptr);
        EXPECT_EQ(holesChosen(100), first);
    }
}

TEST_F(CrabRoomTest, WithFourHolesBlockedEveryRunUsesTheLastHole) {
    openBeach();
    blockFour();
    room->Enter("Demo", nullptr);
    const std::vector<u32> chosen = holesChosen(100);
    EXPECT_GE(chosen.size(), 3u);
    EXPECT_TRUE(std::all_of(chosen.begin(), chosen.end(), [](u32 hole) { return hole == 4; }));
    // The crab starts at the hole's start angle and turns by at most the range each frame.
    room->Enter("Demo", nullptr);
    EXPECT_EQ(at("CRAB").GetRotation(), 1.0f);
    frame(390, 290);
    EXPECT_NEAR(at("CRAB").GetRotation(), 1.0f, 0.25f);
    EXPECT_NE(at("CRAB").GetRotation(), 1.0f);
}

TEST_F(CrabRoomTest, AnEmptyHandedClickTellsThePlayerOffAndTheLastHoleAsksForTheTwig) {
    openBeach();
    clickAt(20, 250);
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_BAD_CRAB"});
    blockFour();
    room->Enter("Demo", nullptr);
    shown();
    frame(290, 160);
    clickAt(290, 160);
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_LASKHOLECLICK"});
}

TEST_F(CrabRoomTest, TheTwigInTheCrabsHoleWithAHoleStillOpenChasesTheCrabOff) {
    openBeach();
    carry(brought("TWIG"));
    const u32 hole = waitForABlockableHole();
    frame(holePoint(hole).x, holePoint(hole).y);
    clickAt(holePoint(hole).x, holePoint(hole).y);
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_FIRSTCLK_PALKA"});
    EXPECT_NE(record().hole, hole);
    EXPECT_EQ(room->GetItemOnCursor(), &brought("TWIG"));
}

TEST_F(CrabRoomTest, TheCatchTheShakeAndTheRelease) {
    openBeach();
    blockFour();
    room->Enter("Demo", nullptr);
    carry(brought("TWIG"));
    EXPECT_FALSE(pointerShownInside());
    crabSounds();
    frame(290, 160);
    clickAt(290, 160);
    EXPECT_EQ(room->GetItemOnCursor(), &at("PALKA1"));
    EXPECT_FALSE(at("CRAB").IsVisible());
    EXPECT_EQ(record().current, 0u);
    EXPECT_EQ(crabSounds(), std::vector<std::string>{"crab_catch"});
    // The base answers the twig's click on the hole with its bad-use sound; the crab's steps stopped.
    EXPECT_EQ(played(), (std::vector<std::string>{"object_click_bad", "crab_catch"}));
    EXPECT_EQ(shown(), std::vector<std::string>{});
    // Over the last hole the crab holds on; off it, the crystal falls.
    frame(290, 165);
    EXPECT_EQ(room->GetItemOnCursor(), &at("PALKA1"));
    frame(200, 250);
    EXPECT_EQ(room->GetItemOnCursor(), &at("PALKA2"));
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_CRISTAL_DOWN"});
    EXPECT_FALSE(at("CRISTAL").IsVisible());
    frame(200, 250);
    EXPECT_TRUE(at("CRISTAL").IsVisible());
    EXPECT_EQ(crabSounds(), std::vector<std::string>{"crab_earring_drop"});
    // A click lets the crab go home without its crystal; the drop is heard only the first time.
    clickAt(200, 250);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_TRUE(pointerShownInside());
    EXPECT_TRUE(at("CRAB_BEZ_CRISTALA").IsVisible());
    EXPECT_FALSE(at("CRISTAL").IsVisible());
    const Record done = record();
    EXPECT_EQ(done.solved, 1);
    EXPECT_EQ(done.current, 5u) << "the last hole, counted from one in the saved order";
    EXPECT_EQ(done.crab, "zoom_CrabPuzzle:CRAB_BEZ_CRISTALA");
    EXPECT_EQ(done.path, (std::vector<std::pair<i32, i32>>{{290, 110}, {290, 135}, {290, 135}, {290, 160}}));
    frame(200, 250);
    EXPECT_TRUE(at("CRISTAL").IsVisible());
    EXPECT_EQ(crabSounds(), std::vector<std::string>{"crab_movement"});
    for (int i = 0; i < 40; ++i)
        frame(200, 250);
    EXPECT_EQ(at("CRAB_BEZ_CRISTALA").GetPos(), (SpyPoint{290, 160})) << "home";
    EXPECT_FALSE(at("CRAB_BEZ_CRISTALA").IsVisible());
    clickAt(290, 160);
    EXPECT_EQ(shown(), std::vector<std::string>{}) << "a solved beach takes no clicks";
}

// The tip catches as the hole does, but the pointer is off the hole already: the crystal falls at once.
TEST_F(CrabRoomTest, TheTwigsTipInTheLastHoleCatchesAndShakesInOneFrame) {
    openBeach();
    blockFour();
    room->Enter("Demo", nullptr);
    carry(brought("TWIG"));
    frame(290, 260);
    crabSounds();
    clickAt(290, 260);
    EXPECT_EQ(room->GetItemOnCursor(), &at("PALKA2"));
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_CRISTAL_DOWN"});
    EXPECT_EQ(crabSounds(), std::vector<std::string>{"crab_catch"});
}

TEST_F(CrabRoomTest, BlockingTheHoleTheCrabIsInSendsItElsewhereInTheSameFrame) {
    openBeach();
    const u32 hole = waitForABlockableHole();
    carry(brought(Blockers[hole]));
    frame(holePoint(hole).x, holePoint(hole).y);
    clickAt(holePoint(hole).x, holePoint(hole).y);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr) << "used on the hole";
    EXPECT_EQ(record().hole, hole);
    frame(390, 290);
    EXPECT_TRUE(at(Holes[hole]).IsVisible()) << "the blocker came out of its hole";
    EXPECT_NE(record().hole, hole);
    EXPECT_EQ(record().timer, 0.0f);
}

TEST_F(CrabRoomTest, ABlockerRidesOnTheCursorByItsMiddleUnlessItsNameIsAnotherCase) {
    openBeach();
    carry(brought("APPLE"));
    frame(200, 250);
    EXPECT_EQ(at("APPLE2").GetPos(), (SpyPoint{190, 240}));
    EXPECT_FALSE(at("APPLE2").IsVisible());
    EXPECT_FALSE(pointerShownInside());
    carry(brought("CORK"));
    frame(200, 250);
    EXPECT_EQ(brought("CORK").GetPos(), (SpyPoint{200, 250})) << "the table names it \"cork\"";
    EXPECT_FALSE(pointerShownInside());
    room->SetItemOnCursor(nullptr, nullptr);
    EXPECT_TRUE(pointerShownInside());
}

TEST_F(CrabRoomTest, SolvingLetsTheBasePutTheBlockersInThenCompletesTheCatch) {
    openBeach();
    EXPECT_FALSE(room->SolveRoom()) << "nothing to put in the holes";
    EXPECT_EQ(record().solved, 0);
    for (const char* name : {"APPLE", "CORK", "PACKET_OF_CIGARETTES", "LIGHTER"})
        ann->GetInventory().AddItem(&brought(name));
    room->Enter("Demo", nullptr);
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_ALLITEMSFIND"});
    ann->GetInventory().AddItem(&brought("TWIG"));
    EXPECT_TRUE(room->SolveRoom());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(at(Holes[i]).IsVisible()) << Holes[i];
    EXPECT_EQ(ann->GetInventory().GetItems().size(), 0u) << "the blockers used, the twig taken";
    EXPECT_EQ(record().solved, 1);
    EXPECT_EQ(shown(), std::vector<std::string>{"MARWENN_CRISTAL_DOWN"});
    EXPECT_TRUE(at("CRAB_BEZ_CRISTALA").IsVisible());
    for (const char* stick : {"PALKA", "PALKA1", "PALKA2"})
        EXPECT_FALSE(at(stick).IsVisible() || at(stick).IsInInventory()) << stick;
    frame(390, 290);
    EXPECT_TRUE(at("CRISTAL").IsVisible());
}

TEST_F(CrabRoomTest, TheHolesAreSavedInTheirOwnOrderAndARunLoadsIntoAFreshBuildAtTheSamePoint) {
    openBeach();
    const Record r = record();
    const f32 starts[5][2] = {{50, 160}, {230, 160}, {170, 160}, {110, 160}, {290, 160}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r.holes[i][0], 0.0f) << i;
        EXPECT_EQ(r.holes[i][1], 0.0f) << i;
        EXPECT_EQ(r.holes[i][2], starts[i][0]) << i;
        EXPECT_EQ(r.holes[i][3], starts[i][1]) << i;
    }
    EXPECT_EQ(r.holes[4][7], 1.0f) << "the last hole's start angle";
    EXPECT_EQ(r.stick, "zoom_CrabPuzzle:PALKA");
    EXPECT_EQ(r.sound, 1);
    ASSERT_EQ(r.path.size(), 7u) << "start, turn and start with the controls between";
    for (int i = 0; i < 5; ++i)
        frame(390, 290);
    const std::string before = ownRecord();
    std::vector<SpyPoint> original;
    for (int i = 0; i < 3; ++i) {
        frame(390, 290);
        original.push_back(at("CRAB").GetPos());
    }
    ASSERT_TRUE(loadOwnRecord(before));
    expectSameSaveAfterFreshLoad("mid-run");
    for (int i = 0; i < 3; ++i) {
        frame(390, 290);
        EXPECT_EQ(at("CRAB").GetPos(), original[size_t(i)]) << i;
    }
}

TEST_F(CrabRoomTest, TheCaughtCrabShakenOffAndTheStickCarriedLoadIntoAFreshBuild) {
    openBeach();
    blockFour();
    room->Enter("Demo", nullptr);
    carry(brought("TWIG"));
    frame(290, 160);
    clickAt(290, 160);
    frame(200, 250);
    ASSERT_EQ(room->GetItemOnCursor(), &at("PALKA2"));
    expectSameSaveAfterFreshLoad("palka2");
    EXPECT_EQ(room->GetItemOnCursor(), &at("PALKA2"));
    frame(200, 250);
    clickAt(200, 250);
    EXPECT_EQ(record().solved, 1);
}

TEST_F(CrabRoomTest, WithoutDelaysARunEndsInTheFrameItStartsAndLoadsWithoutDividing) {
    openBeach(Coords);
    for (int i = 0; i < 5; ++i) {
        frame(390, 290);
        const Record r = record();
        const SpyPoint crab = at("CRAB").GetPos();
        ASSERT_LT(r.hole, 5u);
        EXPECT_EQ(crab, (SpyPoint{f32(holePoint(r.hole).x), 160.0f})) << "back home at once";
    }
    const Record r = record();
    ASSERT_TRUE(loadOwnRecord(ownRecord()));
    EXPECT_EQ(record().path, r.path);
    EXPECT_FALSE(std::isnan(at("CRAB").GetPos().x));
}

TEST_F(CrabRoomTest, WithoutItsHolesTheRoomSaysSoAndTheCrabStaysIn) {
    openBeach(Options);
    EXPECT_NE(logText().find("Can not find page CrabPuzzleRoomCoords"), std::string::npos);
    for (int i = 0; i < 40; ++i)
        frame(390, 290);
    EXPECT_FALSE(at("CRAB").IsVisible());
    EXPECT_EQ(record().current, 0u);
    EXPECT_EQ(record().path.size(), 0u);
    EXPECT_FALSE(room->SolveRoom());
}

TEST_F(CrabRoomTest, APathCountPastTheRecordsEndIsOneLineAndNoPath) {
    openBeach();
    const Record r = record();
    std::string bytes = ownRecord();
    // The count sits before the points and the sound byte at the end.
    const size_t count = bytes.size() - 1 - 8 * r.path.size() - 4;
    bytes.replace(count, 4, le32(1000000));
    log.clear();
    ASSERT_TRUE(loadOwnRecord(bytes));
    EXPECT_EQ(log.messages().size(), 1u) << logText();
    EXPECT_TRUE(record().path.empty());
}

TEST_F(CrabRoomTest, TheCarriedTwigHangsFromThePointerByItsGrip) {
    openBeach();
    carry(brought("TWIG"));
    frame(200, 250);
    EXPECT_TRUE(matchesGolden("garden_carried_twig", drawScene({150, 50, 100, 220}, [this] {
                                  room->Render();
                                  room->RenderCursorItem();
                              })));
    EXPECT_FALSE(at("PALKA").IsVisible());
}

} // namespace
