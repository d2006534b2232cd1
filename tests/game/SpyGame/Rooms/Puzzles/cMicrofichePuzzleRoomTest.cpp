#include "LabRoomsKit.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// zoom_Microfiche, 2 x 2 films F11 (100, 100), F12 (140, 100), F21 (100, 160), F22 (140, 160) of the
// years 1901 to 1904, 1904 sought; the projector at (250, 90) with its slot at (260, 100); the search
// fields at the bottom left, the results area top right. The cards CARD11 .. CARD22 lie hidden in
// room_ChronicleOffice. The first true answer word is "fire", then "harbour"; the alternative set is
// "blaze" alone.
class MicroficheTest : public LabRoomsTest {
protected:
    static constexpr const char* Name = "zoom_Microfiche";
    static constexpr i32 SlotX = 262, SlotY = 102;

    struct Data {
        std::string options = "[Options]\nanswerscount = 3\ntrueanswerscount = 2\nnExAnswers = 2\n";
        std::string table = "[Table]\npreffix = F\nrows = 2\ncols = 2\ntimer = 0.5\n";
        std::string cards = "[KasesInfo]\nF11 = CARD11\nF12 = CARD12\nF21 = CARD21\nF22 = CARD22\n";
        std::string projector =
            "[Proector]\nlineYearNames1 = 1901, 1902\nlineYearNames2 = 1903 1904\nwindata = 1904\n"
            "finalReport = REPORT\n";
    };

    void SetUp() override {
        writeMicrofiche(Name, Data{});
        playRooms({Name});
    }

    void writeMicrofiche(const std::string& name, const Data& data) {
        writeLabRoom(
            name, "Class = MicrofichePuzzleRoom\n" + data.options + data.table + data.cards + data.projector,
            // The films lie over the projector's slot: the items keep the order of their objects.
            objects({{"flash_vert", 100, 40},
                     {"flash_horiz", 40, 100},
                     {"proector", 250, 90},
                     {"target", 260, 100},
                     {"figure_open", 300, 100},
                     {"monik_off", 300, 150},
                     {"btn_submit", 300, 200},
                     {"report", 340, 250},
                     {"f11", 100, 100},
                     {"f12", 140, 100},
                     {"f21", 100, 160},
                     {"f22", 140, 160}}) +
                textObject("editbox1", 20, 220, 150, 16) + textObject("editbox2", 20, 240, 150, 16) +
                textObject("results", 200, 20, 190, 40) + textObject("year_name", 250, 130, 100, 16),
            itemsOver({"PROECTOR", "TARGET", "MONIK_OFF", "BTN_SUBMIT", "EDITBOX1", "EDITBOX2", "RESULTS",
                       "YEAR_NAME", "F11", "F12", "F21", "F22"},
                      "[FLASH_VERT]\nObject = flash_vert\nVisible = 0\n"
                      "[FLASH_HORIZ]\nObject = flash_horiz\nVisible = 0\n"
                      "[FIGURE_OPEN]\nObject = figure_open\nVisible = 0\n"
                      "[REPORT]\nObject = report\nVisible = 0\n"),
            {"EDITBOX1", "EDITBOX2", "BTN_SUBMIT"},
            "ANSWER1 = \"wrong one\"\nANSWER2 = \"wrong two\"\nANSWER3 = \"wrong three\"\n"
            "TRUE_ANSWER1 = \"fire\"\nTRUE_ANSWER2 = \"harbour\"\nTRUE_ANSWER1_1 = \"blaze\"\n"
            "TRUE_ANSWER = \"The harbour fire of 1904\"\n");
    }
    // The rooms and the archive with the cards, played; the first room entered.
    void playRooms(const std::vector<std::string>& names) {
        writeLabRoom(
            "room_ChronicleOffice", "Class = RoomBase\n",
            objects({{"card11", 0, 0}, {"card12", 0, 0}, {"card21", 0, 0}, {"card22", 0, 0}}),
            itemsOver({"CARD11", "CARD12", "CARD21", "CARD22"}, "", "Visible = 0\nIsQuestItem = 1\n"), {},
            "");
        std::string list;
        for (const std::string& name : names)
            list += name + "\n";
        platform::srand(7);
        play("", "", "[ROOM]\n", list + "room_ChronicleOffice\n");
        room = enter<cMicrofichePuzzleRoom>(names.front());
        ASSERT_TRUE(room);
    }

    CSpyItem& at(const std::string& name) { return *room->GetItem(name); }
    CSpyItem& film(int row, int col) {
        std::string name = "F";
        name += std::to_string(row);
        name += std::to_string(col);
        return at(name);
    }
    CInventory& inventory() { return ann->GetInventory(); }
    bool locked(CSpyItem& item) { return item.IsDisabled() && item.GetColor() == 0xFFC0C0C0; }
    bool inSlot(CSpyItem& item) { return item.IsVisible() && item.GetPos() == (SpyPoint{260, 100}); }
    static SpyPoint home(int row, int col) { return {f32(60 + 40 * col), f32(40 + 60 * row)}; }
    std::vector<std::string> messages() { return std::exchange(room->shown, {}); }

    // A press with the pointer at (x, y), and a frame to let go.
    void pressAt(i32 x, i32 y) {
        frame(x, y);
        clickAt(x, y);
        frame(x, y);
    }
    // The film's card onto the cursor, as the inventory hands it out, then a press on its cell.
    void putFromCard(int row, int col) {
        const std::string card = "CARD" + std::to_string(row) + std::to_string(col);
        CSpyItem* item = inventory().RemoveItem(card);
        ASSERT_TRUE(item) << card;
        room->SetItemOnCursor(item, nullptr);
        const SpyPoint to = home(row, col);
        pressAt(i32(to.x) + 1, i32(to.y) + 1);
        ASSERT_EQ(room->GetItemOnCursor(), nullptr) << card;
    }
    // The film out of the projector's slot and onto its own cell.
    void projectedFilmHome() {
        for (int r = 1; r <= 2; ++r)
            for (int c = 1; c <= 2; ++c)
                if (inSlot(film(r, c))) {
                    pressAt(SlotX, SlotY);
                    ASSERT_NE(room->GetItemOnCursor(), nullptr);
                    const SpyPoint to = home(r, c);
                    pressAt(i32(to.x) + 1, i32(to.y) + 1);
                    return;
                }
        FAIL() << "no film in the projector";
    }
    // Every film home: the projected one from the slot, the hidden ones from their cards.
    void sortAll() {
        projectedFilmHome();
        cardsHome();
    }
    void cardsHome() {
        for (int r = 1; r <= 2; ++r)
            for (int c = 1; c <= 2; ++c)
                if (!film(r, c).IsVisible())
                    putFromCard(r, c);
    }
    // Types into a search field (upper-case letters with Shift held), then Enter.
    void search(const std::string& field, const std::string& text) {
        pressAt(30, field == "EDITBOX1" ? 225 : 245);
        for (char ch : text) {
            const bool upper = std::isupper(static_cast<unsigned char>(ch)) != 0;
            const u8 key = ScanCodeOf(char(std::tolower(static_cast<unsigned char>(ch))));
            frame(390, 290, {.keysDown = upper ? std::vector<u8>{0x2A} : std::vector<u8>{}, .taps = {key}});
            if (upper)
                frame(390, 290, {.keysUp = {0x2A}});
        }
        frame(390, 290);
    }
    void submit() { type("\n"); }
    // End, then Backspace until the field is empty.
    void clear(const std::string& field) {
        pressAt(30, field == "EDITBOX1" ? 225 : 245);
        frame(390, 290, {.taps = {207}});
        // A key tapped in two frames running reads as held: a quiet frame between taps.
        for (int i = 0; i < 12; ++i) {
            frame(390, 290, {.taps = {14}});
            frame(390, 290);
        }
    }

    Traced<cMicrofichePuzzleRoom>* room = nullptr;
};

TEST_F(MicroficheTest, FirstEntryLeavesOneFilmPerRowInPlaceAndProjectsOneOfThem) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        platform::srand(seed);
        room->shown.clear();
        room->Reset();
        room->Enter("Demo", nullptr);
        int projected = 0, lockedFilms = 0;
        for (int r = 1; r <= 2; ++r) {
            int kept = 0;
            for (int c = 1; c <= 2; ++c) {
                CSpyItem& f = film(r, c);
                const std::string card = "CARD" + std::to_string(r) + std::to_string(c);
                const bool isLocked = f.IsVisible() && f.GetPos() == home(r, c) && locked(f);
                const bool isProjected = inSlot(f) && !f.IsDisabled();
                kept += isLocked || isProjected;
                projected += isProjected;
                lockedFilms += isLocked;
                EXPECT_EQ(inventory().HasItem(card), !isLocked && !isProjected) << seed << " " << card;
                if (!isLocked && !isProjected) {
                    EXPECT_FALSE(f.IsVisible()) << seed << " " << card << " comes from its card";
                }
            }
            EXPECT_EQ(kept, 1) << seed << " row " << r;
        }
        EXPECT_EQ(projected, 1) << seed;
        EXPECT_EQ(lockedFilms, 1) << seed;
        EXPECT_FALSE(film(2, 2).IsVisible()) << seed << ": the film sought is never given";
        EXPECT_EQ(room->shown, std::vector<std::string>{"MSG_NOFILMSEARCH"}) << seed;
    }
}

TEST_F(MicroficheTest, CompleteLinesFlashOnceAndLockTheirFilms) {
    projectedFilmHome();
    EXPECT_EQ(played(), (std::vector<std::string>{"microfiche_put", "microfiche_get"}));
    // One of F12 and F21 was locked in place from the start; the other came back from the projector.
    for (int step = 0; step < 2; ++step) {
        const int r = step == 0 ? 1 : 2, c = step == 0 ? 1 : 2;
        putFromCard(r, c);
    }
    EXPECT_TRUE(at("FLASH_HORIZ").IsVisible());
    EXPECT_TRUE(at("FLASH_VERT").IsVisible());
    // Row 2's bar stands as far below row 1's as the rows lie apart; column 2's over its cell's catch area.
    EXPECT_EQ(at("FLASH_HORIZ").GetPos(), (SpyPoint{40, 100}));
    EXPECT_EQ(at("FLASH_VERT").GetPos(), (SpyPoint{136, 40}));
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_TRUE(locked(film(r, c))) << r << c;
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_FILMSSORTED"});
    EXPECT_FALSE(at("MONIK_OFF").IsVisible());
    EXPECT_FALSE(at("BTN_SUBMIT").IsDisabled());
    for (int i = 0; i < 12; ++i)
        frame(390, 290);
    EXPECT_FALSE(at("FLASH_HORIZ").IsVisible()) << "the timer hides both bars";
    EXPECT_FALSE(at("FLASH_VERT").IsVisible());

    pressAt(105, 105);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr) << "a locked film stays";
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_NOCANUSE"});
}

// Row 1 and column 1 complete, their bars lit; the sought film carried by its card over its empty
// cell, drawn at the pointer and, faintly, in the cell it would drop into.
TEST_F(MicroficheTest, ACarriedFilmShowsWhereItWouldDropBesideTheLitBars) {
    projectedFilmHome();
    putFromCard(1, 1);
    room->SetItemOnCursor(inventory().RemoveItem("CARD22"), nullptr);
    frame(150, 172);
    ASSERT_TRUE(at("FLASH_HORIZ").IsVisible());
    EXPECT_TRUE(matchesGolden("microfiche_drop_preview", drawScene({0, 0, 400, 300}, [this] {
                                  room->Render();
                                  room->RenderCursorItem();
                              })));
}

TEST_F(MicroficheTest, ADropCountsAboveAndLeftOfTheCell) {
    projectedFilmHome();
    CSpyItem* card = inventory().RemoveItem("CARD11");
    ASSERT_TRUE(card);
    room->SetItemOnCursor(card, nullptr);
    pressAt(97, 81);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_EQ(film(1, 1).GetPos(), home(1, 1));
    EXPECT_TRUE(film(1, 1).IsVisible());
}

TEST_F(MicroficheTest, TakingTheProjectedFilmEmptiesTheYearAndTheProjectorTakesNothingBeforeARightSearch) {
    EXPECT_TRUE(at("FIGURE_OPEN").IsVisible());
    EXPECT_FALSE(at("YEAR_NAME").GetText().empty());
    pressAt(SlotX, SlotY);
    ASSERT_NE(room->GetItemOnCursor(), nullptr);
    EXPECT_EQ(played(), std::vector<std::string>{"microfiche_get"});
    EXPECT_EQ(at("YEAR_NAME").GetText(), L"");
    EXPECT_FALSE(at("FIGURE_OPEN").IsVisible());
    pressAt(SlotX, SlotY);
    EXPECT_NE(room->GetItemOnCursor(), nullptr) << "the slot is shut until the search is right";
}

TEST_F(MicroficheTest, SearchesAreJudgedByTheirWordsAndTheFirstAnswerWord) {
    struct Case {
        const char* box1;
        const char* box2;
        const char* message;
    } cases[] = {
        {"HARBOUR fire", "", "MSG_TRUESEARCHFILMSSORTED"},
        {"harbour", "FIRE", "MSG_TRUESEARCHFILMSSORTED"},
        {"harbour fire", "smoke", "MSG_ANSWERALMOSTTRUE"},
        {"fire x", "harbour", "MSG_ANSWERALMOSTTRUE"},
        {"harbour", "", "MSG_FAILDSEARCH"},
        {"x", "fire", "MSG_FAILDSEARCH"},
        {"blaze", "", "MSG_TRUESEARCHFILMSSORTED"},
        {"", "", "MSG_FAILDSEARCH"},
    };
    for (const Case& c : cases) {
        room->Reset();
        room->Enter("Demo", nullptr);
        sortAll();
        messages();
        search("EDITBOX1", c.box1);
        if (*c.box2)
            search("EDITBOX2", c.box2);
        submit();
        EXPECT_EQ(messages(), std::vector<std::string>{c.message}) << c.box1 << " / " << c.box2;
    }
}

TEST_F(MicroficheTest, AWrongSearchFillsTheResultsWithoutTwoLikeLinesAndARightOneOpensTheProjector) {
    sortAll();
    messages();
    search("EDITBOX1", "smoke");
    submit();
    const std::wstring results = at("RESULTS").GetText();
    std::vector<std::wstring> lines;
    for (size_t from = 0, to; (to = results.find(L'\n', from)) != std::wstring::npos; from = to + 1)
        lines.push_back(results.substr(from, to - from));
    const f32 lineHeight = TextLineHeight(&at("RESULTS"));
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(lines.size(), size_t(40 / lineHeight + 0.555f) + 1);
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_NE(lines[i], lines[i - 1]);
    EXPECT_EQ(results.back(), L'\n');

    clear("EDITBOX1");
    search("EDITBOX1", "fire harbour");
    submit();
    EXPECT_EQ(at("RESULTS").GetText(), L"The harbour fire of 1904");
    EXPECT_TRUE(at("BTN_SUBMIT").IsDisabled());
    EXPECT_FALSE(locked(film(2, 2))) << "the film sought is free to take";
    type("abc");
    EXPECT_EQ(at("EDITBOX1").GetText().find(L"abc"), std::wstring::npos) << "typing has stopped";
    messages();
    quiet();

    pressAt(145, 165);
    pressAt(SlotX, SlotY);
    EXPECT_EQ(played(), (std::vector<std::string>{"microfiche_get", "microfiche_charging"}));
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_FINDFILM"});
    EXPECT_TRUE(at("REPORT").IsVisible());
    EXPECT_EQ(at("YEAR_NAME").GetText(), L"1904");
    for (const char* card : {"CARD11", "CARD12", "CARD21", "CARD22"})
        EXPECT_FALSE(inventory().HasItem(card)) << card;
    pressAt(105, 105);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr) << "once found, the table takes nothing";
}

TEST_F(MicroficheTest, SolvingLaysEveryFilmHomeAndTheSoughtOneInTheProjector) {
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_EQ(messages(), (std::vector<std::string>{"MSG_FILMSSORTED", "MSG_FINDFILM"}));
    EXPECT_TRUE(inSlot(film(2, 2)));
    EXPECT_EQ(film(1, 1).GetPos(), home(1, 1));
    EXPECT_TRUE(at("REPORT").IsVisible());
    EXPECT_EQ(at("YEAR_NAME").GetText(), L"1904");
    EXPECT_FALSE(room->ProcessAutoActions()) << "once found there is nothing to solve";
}

TEST_F(MicroficheTest, RecordsReloadToTheSameBytesAtEveryStage) {
    expectResaveEqual("setup");
    projectedFilmHome();
    pressAt(105, 165);
    expectResaveEqual("dragging");
    pressAt(105, 165);
    cardsHome();
    search("EDITBOX1", "fire");
    // A loaded field has its caret at the start and no key held: the typing has rested a while.
    frame(390, 290, {.taps = {199}});
    for (int i = 0; i < 20; ++i)
        frame(390, 290);
    expectResaveEqual("typing");
    room->ProcessAutoActions();
    expectResaveEqual("found");
}

TEST_F(MicroficheTest, ACountPastTheRecordsEndStopsItsListWithOneLine) {
    SaveRecords records;
    std::string record = records.save(*room);
    // The wrong results' count stands just before the first of them.
    std::string wrong;
    for (char ch : std::string("wrong "))
        wrong.append({ch, '\0'});
    const size_t text = record.find(wrong);
    ASSERT_GE(text, 4u);
    ASSERT_NE(text, std::string::npos);
    record.replace(text - 4, 4, "\xff\xff\xff\x0f");
    LogCapture capture;
    EXPECT_TRUE(records.load(*room, record));
    const std::vector<std::string> lines = capture.messages();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.starts_with(
                                    "cMicrofichePuzzleRoom::LoadSelf(). Count 268435455 does not fit the ");
                            }),
              1);
    frame(390, 290);
    expectResaveEqual("cut");
}

// The table's size in a damaged record: a negative or huge count plays as the nearest one in range.
TEST_F(MicroficheTest, ATableSizeOutOfRangeInTheRecordIsClampedWithALine) {
    SaveRecords records;
    std::string record = records.save(*room);
    // The cell prefix "F" and its end, then rows and columns, 2 each.
    const std::string size("F\0\x02\0\x02\0", 6);
    const size_t at = record.find(size);
    ASSERT_NE(at, std::string::npos);
    record.replace(at + 2, 4, std::string("\xff\xff\x00\x80", 4));
    LogCapture capture;
    EXPECT_TRUE(records.load(*room, record));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"cMicrofichePuzzleRoom. Key \"rows\" out of range 0..9: -1",
                                        "cMicrofichePuzzleRoom. Key \"cols\" out of range 0..9: -32768"}));
    frame(390, 290);
    expectResaveEqual("clamped");
}

class MicroficheDataTest : public MicroficheTest {
protected:
    void SetUp() override {}
};

TEST_F(MicroficheDataTest, WrongResultsOfNoneOrOneTextEndAndOneIsNotDrawnAgain) {
    for (const char* count : {"0", "1"}) {
        Data data;
        data.options = std::string("[Options]\nanswerscount = ") + count + "\ntrueanswerscount = 2\n";
        writeMicrofiche(std::string("zoom_Answers") + count, data);
    }
    playRooms({"zoom_Answers0", "zoom_Answers1"});
    for (const char* count : {"0", "1"}) {
        room = enter<cMicrofichePuzzleRoom>(std::string("zoom_Answers") + count);
        sortAll();
        messages();
        search("EDITBOX1", "smoke");
        submit();
        const std::wstring results = at("RESULTS").GetText();
        if (*count == '0')
            EXPECT_EQ(results, L"");
        else
            EXPECT_EQ(results.substr(0, 20), L"wrong one\nwrong one\n");
        EXPECT_EQ(messages(), std::vector<std::string>{"MSG_FAILDSEARCH"});
    }
}

TEST_F(MicroficheDataTest, TablesThatAreNotSquareOrHaveNoSoughtFilmOrTimeStillSetUp) {
    const char* const cases[][2] = {
        // The sought film fills its row's one column: that row keeps no film.
        {"[Table]\npreffix = F\nrows = 2\ncols = 1\n",
         "lineYearNames1 = 1901\nlineYearNames2 = 1903\nwindata = 1903\n"},
        {"[Table]\npreffix = F\nrows = 1\ncols = 2\n", "lineYearNames1 = 1901 1902\nwindata = 1902\n"},
        {"[Table]\npreffix = F\nrows = 2\ncols = 2\n", "lineYearNames1 = 1901 1902\n"},
        // A flash time that is no number reads as none; a time of another section is not the table's.
        {"[Table]\npreffix = F\nrows = 2\ncols = 2\ntimer = soon\n[Other]\ntimer = 3\n",
         "lineYearNames1 = 1901 1902\nlineYearNames2 = 1903 1904\nwindata = 1904\n"},
    };
    std::vector<std::string> names;
    for (const auto& c : cases) {
        Data data;
        data.table = c[0];
        data.projector = std::string("[Proector]\n") + c[1] + "finalReport = REPORT\n";
        names.push_back("zoom_Table" + std::to_string(names.size()));
        writeMicrofiche(names.back(), data);
    }
    LogCapture capture;
    playRooms(names);
    EXPECT_TRUE(capture.contains("aOptionsFile. Cannot find key \"timer\" in current section!"))
        << "a missing time reads as 0";
    EXPECT_TRUE(capture.contains("cMicrofichePuzzleRoom. Key \"timer\" is not a number: soon"));
    for (const std::string& name : names) {
        room = enter<cMicrofichePuzzleRoom>(name);
        int projected = 0;
        for (const char* film : {"F11", "F12", "F21", "F22"})
            projected += room->GetItemManager().HasItem(film) && inSlot(at(film));
        EXPECT_EQ(projected, 1) << name;
    }
}

} // namespace
