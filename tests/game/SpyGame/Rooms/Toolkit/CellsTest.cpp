#include "BasicsRoomKit.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"

namespace {

using namespace std::string_literals;

class Cells : public BasicsRoomTest {
protected:
    cCellsManager& cells() { return room->cells; }
    SpyPoint pos(const std::string& name) { return item(name).GetPos(); }
    void click(i32 x, i32 y) {
        frame(x, y, {.down = {0}});
        frame(x, y, {.up = {0}});
    }
    // A board of its own from the section "Board" of the text, over the room's markers.
    void board(cCellsManager& board, const std::string& section) {
        dir.write("board.ini", "[Board]\n" + section);
        aOptionsFile ini(dir.file("board.ini"));
        board.Init(ini, "Board", *room);
    }
};

TEST_F(Cells, PositionsAreNumberedAcrossTheBoardAndStepByTheMarkersSizeAndTheGap) {
    ASSERT_EQ(cells().GetCellCount(), 2u);
    const std::pair<const char*, SpyPoint> positions[] = {{"_cellmenu_1", {20, 150}},
                                                          {"_cellmenu_2", {45, 150}},
                                                          {"_cellmenu_3", {70, 150}},
                                                          {"_cellmenu_4", {20, 200}},
                                                          {"_cellmenu_5", {45, 200}}};
    for (const auto& [name, at] : positions) {
        ASSERT_TRUE(room->GetItemManager().HasItem(name)) << name;
        EXPECT_EQ(pos(name), at) << name;
        EXPECT_EQ(GetItemRect(&item(name)), (aRect{i16(at.x), i16(at.y), 20, 20})) << name;
        EXPECT_FALSE(item(name).IsVisible()) << name;
    }
    EXPECT_FALSE(room->GetItemManager().HasItem("_cellmenu_6"));
    EXPECT_FALSE(item("M1").IsVisible());
}

TEST_F(Cells, AClickOnAPositionTakesTheMarkerAndTheBoardIsSolvedWhenEveryChoiceIsAccepted) {
    click(50, 155);
    EXPECT_EQ(cells().GetSelected(0), 1);
    EXPECT_EQ(pos("M1"), (SpyPoint{45, 150}));
    EXPECT_TRUE(item("M1").IsVisible());
    EXPECT_FALSE(cells().IsSolved());
    // Nowhere near a position: nothing changes.
    click(150, 280);
    EXPECT_EQ(cells().GetSelected(0), 1);
    EXPECT_EQ(cells().GetSelected(1), cCellsManager::None);
    click(25, 205);
    EXPECT_EQ(cells().GetSelected(1), 0);
    EXPECT_TRUE(cells().IsCorrect());
    click(75, 155);
    EXPECT_FALSE(cells().IsSolved());

    cells().ResetSelections();
    EXPECT_FALSE(item("M1").IsVisible());
    EXPECT_EQ(pos("M1"), (SpyPoint{20, 150}));
    EXPECT_EQ(cells().GetSelected(0), cCellsManager::None);
}

TEST_F(Cells, DisabledCellsTakeNoClicksAndARefreshOnlyShowsOrHides) {
    click(50, 155);
    cells().SetVisible(false);
    EXPECT_FALSE(item("M1").IsVisible());
    click(75, 155);
    EXPECT_EQ(cells().GetSelected(0), 1);
    cells().SetCellEnabled(0, true);
    EXPECT_TRUE(item("M1").IsVisible());
    EXPECT_FALSE(item("M2").IsVisible());

    item("M1").SetVisible(false);
    cells().SetCellRefresh(0);
    click(75, 155);
    EXPECT_TRUE(item("M1").IsVisible());
    EXPECT_EQ(cells().GetSelected(0), 1);
    click(75, 155);
    EXPECT_EQ(cells().GetSelected(0), 2);
}

TEST_F(Cells, BuildingTheCellsAgainKeepsTheChoicesAndTheItems) {
    click(50, 155);
    const size_t items = room->GetItemManager().GetItemCount();
    CSpyItem* first = &item("_cellmenu_1");
    cells().CreateCells(*room);
    EXPECT_EQ(room->GetItemManager().GetItemCount(), items);
    EXPECT_EQ(&item("_cellmenu_1"), first);
    EXPECT_EQ(cells().GetSelected(0), 1);
    EXPECT_EQ(cells().GetSelected(1), cCellsManager::None);
    EXPECT_EQ(pos("M1"), (SpyPoint{45, 150}));
}

TEST_F(Cells, TheIniMayLeaveCellsWithoutPairsAnswersOrMarkers) {
    struct Case {
        std::string section;
        size_t cells;
        std::vector<std::pair<u32, u16>> choices;
        bool solved;
    } cases[] = {
        {"groups = M1, 2, M2\nM1 = 1\n", 1, {{0, 1}}, true},
        {"groups = M1, 2\nM1 =\n", 1, {{0, 0}}, false},
        {"groups = M1, 2, M2, 2\nM1 = 0\n", 2, {{0, 0}, {1, 0}}, false},
        {"groups = \n", 0, {}, true},
        {"groups = M1, 2, M2, 2\nM1 = 0, 1\nM2 = 1\n", 2, {{0, 0}, {1, 1}}, true},
    };
    for (const Case& c : cases) {
        cCellsManager board;
        this->board(board, "dx = 0\ndy = 0\n" + c.section);
        EXPECT_EQ(board.GetCellCount(), c.cells) << c.section;
        for (auto [cell, index] : c.choices)
            board.SetSelected(cell, index);
        EXPECT_EQ(board.IsSolved(), c.solved) << c.section;
    }
}

TEST_F(Cells, MissingSectionsMarkersAndOutlandishCountsAreLogged) {
    LogCapture capture;
    cCellsManager board;
    aOptionsFile empty;
    board.Init(empty, "Nowhere");
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"cCellsManager : Can not find section Nowhere"});
    capture.clear();
    this->board(board, "dx = 0\ndy = 0\ngroups = GONE, 3, M1, -4, M2, 70000\nGONE = 0\n");
    ASSERT_EQ(board.GetCellCount(), 3u);
    EXPECT_TRUE(capture.contains("CSpyItemManager::GetItem(). Cannot find item: GONE"));
    EXPECT_TRUE(capture.contains("cCellsManager : Cell M1 can not have -4 positions"));
    EXPECT_TRUE(capture.contains("cCellsManager : Cell M2 can not have 70000 positions"));
    // No marker: no positions, and choosing moves nothing.
    board.SetSelected(0, 0);
    EXPECT_EQ(board.GetSelected(0), 0);
    EXPECT_FALSE(board.IsSolved());
    // With dx and dy 0 the positions run diagonally, the last of 256 far off the screen.
    EXPECT_EQ(pos("_cellmenu_2"), (SpyPoint{40, 220}));
    EXPECT_TRUE(room->GetItemManager().HasItem("_cellmenu_256"));
    EXPECT_FALSE(room->GetItemManager().HasItem("_cellmenu_257"));
}

TEST_F(Cells, TheRecordHoldsTheGapsNamesAnswersAndEveryCell) {
    click(50, 155);
    SaveRecords records;
    HostEntity host;
    host.save = [this](SaveLoadSystem& sys, u8* pos) { return cells().SaveSelf(sys, pos); };
    const std::string positions = "\3\0\0\0zoom_Basics:_cellmenu_1\0zoom_Basics:_cellmenu_2\0"s
                                  "zoom_Basics:_cellmenu_3\0zoom_Basics:M1\0\1\0\1\0"s
                                  "\2\0\0\0zoom_Basics:_cellmenu_4\0zoom_Basics:_cellmenu_5\0"s
                                  "zoom_Basics:M2\0\xFF\xFF\1\0"s;
    const std::string bytes = "\5\0\xFF\xFF\2\0\0\0M1\0\3\0M2\0\2\0"s
                              "\2\0\0\0\1\0\0\0\1\0\0\0\2\0\0\0\0\0\0\0\1\0\0\0"s +
                              positions;
    EXPECT_EQ(records.save(host), bytes);

    host.load = [this](SaveLoadSystem& sys, const u8* pos) { return cells().LoadSelf(rooms, sys, pos); };
    cells().ResetSelections();
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(cells().GetSelected(0), 1);
    EXPECT_EQ(records.save(host), bytes);

    // Counts the bytes left cannot hold stop the record, with one line.
    LogCapture capture;
    for (const std::string& broken :
         {"\5\0\xFF\xFF\xFF\xFF\xFF\x0F"s, "\5\0\xFF\xFF\0\0\0\0\1\0\0\0\x40\0\0\0\1"s}) {
        ASSERT_TRUE(records.load(host, broken));
        EXPECT_EQ(host.leftAfterLoad, 0u);
    }
    EXPECT_EQ(capture.messages().size(), 2u);
}

} // namespace
