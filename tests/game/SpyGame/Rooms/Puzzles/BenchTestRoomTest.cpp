#include "support/game/BenchTestRoom.h"
#include "LabFrameKit.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// The bench as the test room has it, its state in reach and its messages kept.
struct BenchProbe : BenchTestRoom {
    using cBasePoizonPuzzle2::colorGrid;
    using cBasePoizonPuzzle2::colorMarks;
    using cBasePoizonPuzzle2::dishDrops;
    using cBasePoizonPuzzle2::effectGrid;
    using cBasePoizonPuzzle2::errorAnimator;
    using cBasePoizonPuzzle2::testDone;
    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        BenchTestRoom::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

// "zoom_Bench" beside the hall: bottles B1 (10, 10) and B2 (40, 10), the big view at (10, 60), the dish
// at (150, 10); the colour checklist from (200, 10), the effect one from (200, 100), two cells a row.
class BenchRoom : public LabFrameTest<TestRoomsManager<BenchProbe>> {
protected:
    static constexpr const char* Name = "zoom_Bench";

    void SetUp() override {
        LabRoomFiles f;
        for (int i = 0; i < 2; ++i) {
            const std::string n = std::to_string(i + 1);
            f.text("B" + n, 10 + 30 * i, 10);
            f.text("TB" + n, 10 + 30 * i, 250, true, false);
        }
        f.text("BIG_FS", 10, 60, false);
        f.text("TBIG_FS", 10, 60, false, false);
        f.picture("TABLE_PIPETKA", 100, 10);
        f.picture("DISH", 150, 10);
        f.picture("MARK_C", 200, 10, false);
        f.picture("MARK_E", 200, 100, false);
        writeRoom(Name,
                  "Class = BenchTestRoom\n[ColorCells]\ncell = MARK_C\ncols = 2\ndx = 5\ndy = 5\n"
                  "[EffectCells]\ncell = MARK_E\ncols = 2\ndx = 5\ndy = 5\n",
                  f.objects, f.items, 400, 300);
        dir.write(std::string("Demo/") + Name + "/Ann.ai",
                  "[ROOM]\n" + LabRoomFiles::selfUsed({"B1", "B2", "BIG_FS", "TABLE_PIPETKA", "DISH"}));
        play("", "", "[ROOM]\n", std::string(Name) + "\n");
        enter(rooms);
    }
    void enter(CRoomsManager& from) {
        bench = dynamic_cast<BenchProbe*>(from.GetRoom(Name));
        ASSERT_TRUE(bench);
        playing = bench;
        bench->Enter("Demo", nullptr);
    }

    CSpyItem& item(const std::string& name) { return *bench->GetItem(name); }
    void tick(const std::vector<std::vector<SpyPoint>>& grid, size_t row, size_t column) {
        const SpyPoint cell = grid.at(row).at(column);
        clickAt(i32(cell.x) + 5, i32(cell.y) + 5);
        frame(0, 299);
    }
    void drop(const std::string& bottle) {
        click(item(bottle));
        click(item("DISH"));
    }

    BenchProbe* bench = nullptr;
};

TEST_F(BenchRoom, AWrongTickHoldsTheNextBottleBackAndRightTicksFinishTheTest) {
    drop("B1");
    EXPECT_EQ(bench->dishDrops.size(), 1u);
    tick(bench->colorGrid, 0, 1);
    tick(bench->effectGrid, 0, 1);
    click(item("B2"));
    EXPECT_EQ(bench->shown, Names{"NOTCORRECTREACTION"});
    EXPECT_TRUE(bench->errorAnimator.IsRunning());
    EXPECT_FALSE(item("BIG_FS").IsVisible());
    tick(bench->colorGrid, 0, 0);
    drop("B2");
    EXPECT_EQ(bench->dishDrops.size(), 2u);
    EXPECT_FALSE(bench->testDone);
    tick(bench->colorGrid, 1, 1);
    tick(bench->effectGrid, 1, 0);
    EXPECT_TRUE(bench->testDone);
    EXPECT_FALSE(bench->colorMarks[0].markItem->IsVisible());
    EXPECT_EQ(bench->colorMarks[0].column, -1);
}

TEST_F(BenchRoom, TheSolveCountsEveryBottleAsDroppedInOrder) {
    EXPECT_TRUE(bench->SolveRoom());
    EXPECT_TRUE(bench->testDone);
    EXPECT_EQ(bench->dishDrops, (std::list<CSpyItem*>{&item("B1"), &item("B2")}));
    EXPECT_FALSE(item("B1").IsVisible());
}

TEST_F(BenchRoom, AGameSavedMidTestContinuesInAFreshBuildAndSavesTheSameBytes) {
    drop("B1");
    tick(bench->colorGrid, 0, 0);
    tick(bench->effectGrid, 0, 1);
    const std::string save = saveRooms();
    TestRoomsManager<BenchProbe> fresh;
    loadFresh(fresh, save);
    EXPECT_EQ(saveRooms(fresh), save);
    enter(fresh);
    drop("B2");
    tick(bench->colorGrid, 1, 1);
    tick(bench->effectGrid, 1, 0);
    EXPECT_TRUE(bench->testDone);
}

TEST(BenchRecord, AFreshBenchWrites129BytesAfterTheRoomBase) {
    SaveRecords records;
    cBasePoizonPuzzle2 bench;
    CRoomBase room;
    EXPECT_EQ(records.save(bench).size() - records.save(room).size(), 129u);
}

} // namespace
