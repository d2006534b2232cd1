#include "game/SpyGame/Rooms/Puzzles/cPiatnashkiRoom.h"
#include "CloseUpKit.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "support/game/SaveRecords.h"

#include <algorithm>
#include <set>

namespace {

struct TilesProbe : cPiatnashkiRoom {
    using cPiatnashkiRoom::IsLayoutAccepted;
    using cPiatnashkiRoom::m_BoxFade;
    using cPiatnashkiRoom::m_Grid;
};

using Layout = std::vector<std::vector<std::string>>;

// Tiles of 40 x 40 "CELL" row column, home at (100 + 50 c, 100 + 50 r), in a grid of `rows` x `cols`;
// the box at (300, 20) and its card inside. `missing` tiles are no items of the room.
class Tiles : public CloseUpTest<TilesProbe> {
protected:
    void SetUp() override {
        addSounds({"heartbox_figure_move", "heartbox_open"});
        addPicture("tile", 40, 40, 0xFFC0A080);
        std::string objects = image("box", "tile", 300, 20) + image("card", "tile", 310, 30);
        std::string items = "[BOX]\nObject = box\nVisible = 0\n[CARD]\nObject = card\nVisible = 0\n";
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c) {
                const std::string name = "CELL" + std::to_string(r) + std::to_string(c);
                if (std::find(missing.begin(), missing.end(), name) != missing.end())
                    continue;
                objects += image(name, "tile", 50 + 50 * c, 50 + 50 * r);
                items += "[" + name + "]\nObject = " + name + "\n";
            }
        open("[Options]\nrows = " + std::to_string(rows) + "\ncols = " + std::to_string(cols) +
                 "\nwin_box = " + box + "\nwin_card = CARD\nwin_order = " + winOrder + "\n",
             objects, items);
    }
    static SpyPoint home(size_t r, size_t c) { return {f32(100 + 50 * c), f32(100 + 50 * r)}; }
    CSpyItem* tile(const std::string& name) { return name.empty() ? nullptr : &item(name); }
    // The tiles laid out so, each at its cell's place and shown but for the one hidden as the gap.
    void arrange(const Layout& layout, const std::string& gap) {
        room->m_BoxFade.Reset();
        item("BOX").SetVisible(false);
        quiet();
        room->m_Grid.clear();
        for (size_t r = 0; r < layout.size(); ++r) {
            room->m_Grid.emplace_back();
            for (size_t c = 0; c < layout[r].size(); ++c) {
                CSpyItem* t = tile(layout[r][c]);
                room->m_Grid.back().push_back(t);
                if (t) {
                    t->SetPos(home(r, c).x, home(r, c).y);
                    t->SetVisible(layout[r][c] != gap);
                }
            }
        }
    }
    Layout names() const {
        Layout out;
        for (const auto& row : room->GetGrid()) {
            out.emplace_back();
            for (const CSpyItem* t : row)
                out.back().push_back(t ? t->GetName() : "");
        }
        return out;
    }
    // The item's hover-highlight flag, the sixth byte of its record.
    static bool highlightsOnHover(CSpyItem& tile) { return SaveRecords().save(tile).at(5) != 0; }
    // Sounds stopped, a hover in one frame, then a click on the centre of cell (r, c).
    void slide(size_t r, size_t c) {
        quiet();
        const SpyPoint at = home(r, c);
        frame(i32(at.x) + 20, i32(at.y) + 20);
        click(i32(at.x) + 20, i32(at.y) + 20);
    }

    int rows = 2, cols = 3;
    std::string winOrder = "11 12 13", box = "BOX";
    std::vector<std::string> missing;
    const Layout homeLayout{{"CELL11", "CELL12", "CELL13"}, {"CELL21", "CELL22", "CELL23"}};
};

TEST_F(Tiles, ATileBesideTheGapSlidesIntoItAndOnlyThen) {
    // The gap first looked for above, then left, below and right: two hidden tiles tell the order.
    const struct {
        std::vector<std::string> hidden;
        size_t r, c;
        // The cell the clicked tile moves to, or none.
        std::optional<std::pair<size_t, size_t>> to;
    } cases[] = {
        {{"CELL12"}, 0, 0, {{0, 1}}},
        {{"CELL12"}, 0, 2, {{0, 1}}},
        {{"CELL12"}, 1, 1, {{0, 1}}},
        {{"CELL12"}, 1, 0, std::nullopt},
        {{"CELL12"}, 1, 2, std::nullopt},
        {{"CELL12", "CELL21"}, 1, 1, {{0, 1}}},
        {{"CELL11", "CELL13", "CELL22"}, 0, 1, {{0, 0}}},
        {{"CELL21", "CELL12"}, 0, 0, {{1, 0}}},
        {{"CELL21", "CELL23"}, 1, 1, {{1, 0}}},
        {{"CELL13"}, 1, 2, {{0, 2}}},
    };
    for (const auto& c : cases) {
        arrange(homeLayout, "");
        for (const std::string& h : c.hidden)
            item(h).SetVisible(false);
        const std::string moved = homeLayout[c.r][c.c];
        slide(c.r, c.c);
        SCOPED_TRACE(moved);
        EXPECT_EQ(highlightsOnHover(item(moved)), c.to.has_value());
        if (!c.to) {
            EXPECT_EQ(names(), homeLayout);
            EXPECT_EQ(soundsOf("heartbox"), Names{});
            continue;
        }
        const auto [tr, tc] = *c.to;
        EXPECT_EQ(names()[tr][tc], moved);
        EXPECT_EQ(item(moved).GetPos(), home(tr, tc));
        EXPECT_EQ(item(homeLayout[tr][tc]).GetPos(), home(c.r, c.c)) << "the gap took the tile's place";
        EXPECT_EQ(soundsOf("heartbox_figure"), Names{"heartbox_figure_move"});
    }
}

TEST_F(Tiles, TheLayoutTestAcceptsWinTilesApartAndStopsAtTheFirstThatShares) {
    const struct {
        Layout layout;
        bool accepted;
    } cases[] = {
        {homeLayout, false},
        // 11 and 12 apart, then 13 shares 12's row: two seen, one short of three is enough.
        {{{"CELL11", "CELL21", "CELL22"}, {"CELL23", "CELL12", "CELL13"}}, true},
        // 13 shares 11's row before 12 is met: one seen.
        {{{"CELL11", "CELL21", "CELL13"}, {"CELL23", "CELL12", "CELL22"}}, false},
        // 12 under 11.
        {{{"CELL11", "CELL21", "CELL22"}, {"CELL12", "CELL23", "CELL13"}}, false},
        {{{"CELL21", "CELL22", "CELL23"}, {"CELL11", "CELL12", "CELL13"}}, false},
        {{{"CELL11", "CELL21"}, {"CELL22", "CELL12"}, {"CELL13", "CELL23"}}, true},
    };
    for (const auto& c : cases) {
        arrange(c.layout, "");
        EXPECT_EQ(room->IsLayoutAccepted(), c.accepted) << ::testing::PrintToString(c.layout);
    }
}

// The gap and the shuffle as plain draws over a grid of names, to hold the room's against.
Layout ReferenceReset(Layout grid, const std::set<std::string>& win, std::string& gap) {
    const i32 rows = i32(grid.size());
    auto isWin = [&](const std::string& n) { return win.count(n) > 0; };
    gap.clear();
    while (gap.empty() || isWin(gap)) {
        const auto& row = grid[size_t(platform::rand() % rows)];
        gap = row[size_t(platform::rand() % i32(row.size()))];
    }
    for (int attempt = 0; attempt < 25; ++attempt) {
        for (i32 pass = 0; pass < rows * rows; ++pass)
            for (size_t i = 0; i < grid.size(); ++i)
                for (size_t j = 0; j < grid[i].size(); ++j) {
                    const i32 r1 = platform::rand() % rows;
                    const i32 n = i32(grid[size_t(r1)].size());
                    if (n == 0 || (n == 1 && r1 == 0))
                        continue;
                    i32 r2 = platform::rand() % n;
                    while (r2 == r1)
                        r2 = platform::rand() % n;
                    std::string& other = grid[size_t(r1)][size_t(r2)];
                    if (!grid[i][j].empty() && !other.empty())
                        std::swap(grid[i][j], other);
                }
        std::vector<std::pair<size_t, size_t>> seen;
        bool stopped = false, accepted = true;
        for (size_t r = 0; r < grid.size() && !stopped; ++r)
            for (size_t c = 0; c < grid[r].size() && !stopped; ++c) {
                if (!isWin(grid[r][c]))
                    continue;
                for (const auto& [sr, sc] : seen)
                    stopped = stopped || sr == r || sc == c;
                if (stopped)
                    accepted = seen.size() + 1 >= win.size();
                else
                    seen.emplace_back(r, c);
            }
        if (accepted)
            break;
    }
    return grid;
}

struct ShuffleCase {
    int rows, cols;
    std::string winOrder;
    std::vector<std::string> missing;
};

class TilesShuffle : public Tiles, public ::testing::WithParamInterface<ShuffleCase> {
protected:
    void SetUp() override {
        rows = GetParam().rows;
        cols = GetParam().cols;
        winOrder = GetParam().winOrder;
        missing = GetParam().missing;
        Tiles::SetUp();
    }
};

TEST_P(TilesShuffle, ASeededResetHidesAndMixesAsThePlainDrawsDo) {
    Layout start;
    for (int r = 1; r <= rows; ++r) {
        start.emplace_back();
        for (int c = 1; c <= cols; ++c) {
            const std::string name = "CELL" + std::to_string(r) + std::to_string(c);
            start.back().push_back(std::find(missing.begin(), missing.end(), name) == missing.end() ? name
                                                                                                    : "");
        }
    }
    std::set<std::string> win;
    std::list<std::string> parts;
    SplitWords(winOrder, parts);
    for (const std::string& p : parts)
        win.insert("CELL" + p);
    for (unsigned seed : {1u, 7u, 2024u}) {
        SCOPED_TRACE(seed);
        platform::srand(seed);
        // The base's reset draws a number for each item of the room first.
        for (size_t i = 0; i < room->GetItemManager().GetItemCount(); ++i)
            platform::rand();
        std::string gap;
        const Layout expected = ReferenceReset(start, win, gap);
        platform::srand(seed);
        room->Reset();
        EXPECT_EQ(names(), expected);
        EXPECT_FALSE(item(gap).IsVisible());
        EXPECT_EQ(win.count(gap), 0u) << "a tile that must come home is never the gap";
        for (size_t r = 0; r < expected.size(); ++r)
            for (size_t c = 0; c < expected[r].size(); ++c)
                if (!expected[r][c].empty()) {
                    EXPECT_EQ(item(expected[r][c]).GetPos(), home(r, c)) << expected[r][c];
                    EXPECT_EQ(item(expected[r][c]).IsVisible(), expected[r][c] != gap);
                }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TilesShuffle,
    ::testing::Values(ShuffleCase{2, 3, "11 12 13", {}},
                      ShuffleCase{4, 4, "11,12,13,14,21,22,23,24,31,32,33,34,41,42,43", {}},
                      // One-cell rows and cells without a tile.
                      ShuffleCase{3, 1, "11", {}}, ShuffleCase{3, 3, "11 22", {"CELL23", "CELL31"}}));

// One slide from the win: 13 sits under its home cell, where the gap is.
const Layout OneSlideFromHome{{"CELL11", "CELL12", "CELL23"}, {"CELL21", "CELL22", "CELL13"}};

TEST_F(Tiles, TheLastSlideHomeFadesTheBoxInAndThenShowsTheCardWhileClicksWait) {
    arrange(OneSlideFromHome, "CELL23");
    slide(1, 2);
    EXPECT_EQ(soundsOf("heartbox"), (Names{"heartbox_figure_move", "heartbox_open"}));
    EXPECT_TRUE(item("BOX").IsVisible());
    EXPECT_TRUE(room->IsBoxFading());
    // Clicks wait for the fade: the tile back down does not move.
    slide(0, 2);
    EXPECT_EQ(names()[0][2], "CELL13");
    EXPECT_EQ(soundsOf("heartbox"), Names{});
    int frames = 0;
    while (room->IsBoxFading() && frames++ < 10) {
        EXPECT_FALSE(item("CARD").IsVisible());
        frame(300, 250, {.dt = 0.25f});
    }
    EXPECT_EQ(frames, 4) << "a second, 0.2 of it gone";
    // Shown by the frame whose update ends the fade.
    EXPECT_EQ(item("BOX").GetColor(), 0xFFFFFFFFu);
    EXPECT_TRUE(item("CARD").IsVisible());
    EXPECT_TRUE(room->IsCardShown());
    // Tiles still slide, and the box does not open a second time.
    slide(0, 2);
    EXPECT_EQ(soundsOf("heartbox"), Names{"heartbox_figure_move"});
    slide(1, 2);
    EXPECT_EQ(soundsOf("heartbox"), Names{"heartbox_figure_move"});
}

TEST_F(Tiles, TheSolveOpensTheBoxWithoutMovingATile) {
    arrange(OneSlideFromHome, "CELL23");
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_EQ(names(), OneSlideFromHome);
    EXPECT_TRUE(item("BOX").IsVisible());
    EXPECT_EQ(soundsOf("heartbox"), Names{"heartbox_open"});
    EXPECT_FALSE(room->ProcessAutoActions()) << "open already";
}

class TilesWithEmptyOrder : public Tiles {
protected:
    void SetUp() override {
        winOrder = "";
        Tiles::SetUp();
    }
};

TEST_F(TilesWithEmptyOrder, TheFirstSlideOpensTheBox) {
    arrange(homeLayout, "CELL12");
    slide(0, 0);
    EXPECT_TRUE(item("BOX").IsVisible());
}

// Every tile listed in "win_order": no tile may be the gap, and the draws would never end.
class TilesAllHome : public Tiles {
protected:
    void SetUp() override {
        winOrder = "11 12 13 21 22 23";
        Tiles::SetUp();
    }
};

TEST_F(TilesAllHome, AResetLeavesEveryTileHomeWithOneLine) {
    LogCapture capture;
    room->Reset();
    EXPECT_EQ(capture.messages(),
              (Names{"cPiatnashkiRoom. no tile outside win_order to leave out for the gap!"}));
    EXPECT_EQ(names(), homeLayout);
    for (const auto& row : homeLayout)
        for (const std::string& name : row)
            EXPECT_TRUE(item(name).IsVisible()) << name;
}

// No box of that name: nothing opens, nothing else changes.
class TilesWithoutBox : public Tiles {
protected:
    void SetUp() override {
        box = "NOBOX";
        Tiles::SetUp();
    }
};

TEST_F(TilesWithoutBox, TheWinAndTheSolveOpenNothing) {
    arrange(OneSlideFromHome, "CELL23");
    slide(1, 2);
    EXPECT_EQ(soundsOf("heartbox"), Names{"heartbox_figure_move"});
    EXPECT_FALSE(room->ProcessAutoActions());
    frame(300, 250);
    EXPECT_FALSE(item("CARD").IsVisible());
    EXPECT_FALSE(room->IsCardShown());
}

TEST_F(Tiles, TheRecordHoldsTheGridTheHoverTheCardAndTheFade) {
    arrange(OneSlideFromHome, "CELL23");
    slide(1, 2);
    frame(300, 250, {.dt = 0.5f});
    const std::string nul(1, '\0');
    std::string grid = SaveRecords::hex("02 00 00 00 03 00 00 00");
    for (const char* name : {"CELL11", "CELL12", "CELL13"})
        grid += std::string("zoom_Puzzle:") + name + nul;
    grid += SaveRecords::hex("03 00 00 00");
    for (const char* name : {"CELL21", "CELL22", "CELL23"})
        grid += std::string("zoom_Puzzle:") + name + nul;
    // The hover, the card not shown, then the fade: its one item, running, from, to, time, elapsed.
    grid += "zoom_Puzzle:CELL13" + nul + nul;
    SaveRecords records;
    const std::string record = records.save(*room);
    const size_t at = record.find(grid);
    ASSERT_NE(at, std::string::npos);
    // The elapsed time last, after the click's release frame and the half second.
    const std::string fade = record.substr(at + grid.size());
    EXPECT_EQ(fade.substr(0, fade.size() - 4),
              SaveRecords::hex("01 00 00 00") + "zoom_Puzzle:BOX" + nul +
                  SaveRecords::hex("01 FF FF FF 00 FF FF FF FF 00 00 80 3F"));
    expectSameBytesAfterReload();
    while (room->IsBoxFading())
        frame(300, 250, {.dt = 0.25f});
    frame(300, 250);
    EXPECT_TRUE(item("CARD").IsVisible());
}

TEST_F(Tiles, ALoadedGridOfAnotherShapeIsPlayedWithinItsOwnBounds) {
    // Four cells in the first row: CELL13 lies outside the home grid, so it is not home.
    arrange({{"CELL11", "CELL12", "CELL21", "CELL13"}, {"CELL22", "CELL23"}}, "CELL22");
    const std::string stream = save();
    reload(stream);
    EXPECT_EQ(names(), (Layout{{"CELL11", "CELL12", "CELL21", "CELL13"}, {"CELL22", "CELL23"}}));
    item("CELL23").SetPos(home(1, 2).x, home(1, 2).y);
    slide(1, 2);
    EXPECT_EQ(names()[1][0], "CELL23");
    EXPECT_FALSE(item("BOX").IsVisible());
}

TEST_F(Tiles, ACountBeyondTheRecordsEndStopsItsListWithOneLine) {
    arrange(OneSlideFromHome, "CELL23");
    SaveRecords records;
    const std::string record = records.save(*room);
    const size_t rowsAt = record.find(SaveRecords::hex("02 00 00 00 03 00 00 00") + "zoom_Puzzle:CELL11");
    ASSERT_NE(rowsAt, std::string::npos);
    for (size_t at : {rowsAt, rowsAt + 4}) {
        std::string damaged = record;
        damaged.replace(at, 4, std::string("\xFF\xFF\xFF\x0F", 4));
        LogCapture capture;
        EXPECT_TRUE(records.load(*room, damaged));
        ASSERT_EQ(capture.messages().size(), 1u);
        EXPECT_EQ(capture.messages()[0].rfind("cPiatnashkiRoom::LoadSelf() tile", 0), 0u)
            << capture.messages()[0];
        frame(300, 250);
    }
}

} // namespace
