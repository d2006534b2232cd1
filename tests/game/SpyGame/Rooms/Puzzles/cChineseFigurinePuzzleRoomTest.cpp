#include "game/SpyGame/Rooms/Puzzles/cChineseFigurinePuzzleRoom.h"
#include "CloseUpKit.h"
#include "support/game/SaveRecords.h"

namespace {

// Three figurines FIG1..FIG3 holding hands 0-1, 1-1 and 1-1: FIG1 a man, FIG2 a woman, FIG3 a man.
// The row FIG1 FIG2 FIG3 is right; the hands chain in other orders too, so that a wrong order shows
// the gender rule. They start as FIG2 FIG3 FIG1; the coin shows on success.
class Figurines : public CloseUpTest<cChineseFigurinePuzzleRoom> {
protected:
    void SetUp() override {
        addSounds({"chinfigure_select", "chinfigure_swap", "chinfigure_win"});
        open(figures,
             objects({{"fig2", 50, 100},
                      {"fig3", 150, 100},
                      {"fig1", 250, 100},
                      {"coin", 300, 200},
                      {"figx", 350, 250}}),
             "[FIG1]\nObject = fig1\n[FIG2]\nObject = fig2\n[FIG3]\nObject = fig3\n[FIGX]\nObject = figx\n"
             "[COIN]\nObject = coin\nVisible = 0\n",
             "", "",
             "[ROOM]\n[FIG1]\nUseTo = zoom_Puzzle:ONESELF\n[FIG2]\nUseTo = zoom_Puzzle:ONESELF\n"
             "[FIG3]\nUseTo = zoom_Puzzle:ONESELF\n[COIN]\nUseTo = zoom_Puzzle:ONESELF\n");
    }
    static std::string figure(int n, int man, int left, int right, const std::string& name) {
        return "[FIGURE_" + std::to_string(n) + "]\nisMan = " + std::to_string(man) +
               "\nleftHand = " + std::to_string(left) + "\nrightHand = " + std::to_string(right) +
               "\nname = " + name + "\n";
    }
    void place(f32 x1, f32 x2, f32 x3) {
        item("FIG1").SetPos(x1, 100);
        item("FIG2").SetPos(x2, 100);
        item("FIG3").SetPos(x3, 100);
    }
    // Bytes of an item's record: hover highlight, flash, smooth flash.
    enum StateByte { HighlightOnHover = 5, Flash = 6, SmoothFlash = 11 };
    bool state(const char* name, StateByte at) { return records.save(item(name)).at(at) != 0; }
    // The room's sounds started since the last look, all stopped so that the next start shows.
    Names heard() {
        Names names = soundsOf("chinfigure");
        quiet();
        return names;
    }
    Names order() {
        Names names;
        for (CSpyItem* figurine : room->GetRowOrder())
            names.push_back(figurine ? figurine->GetName() : "-");
        return names;
    }

    std::string figures = "[FIGURES]\nItemToShow = zoom_Puzzle:COIN\ncount = 3\n" +
                          figure(1, 1, 0, 1, "FIG1") + figure(2, 0, 1, 1, "FIG2") +
                          figure(3, 1, 1, 1, "FIG3");
    SaveRecords records;
};

TEST_F(Figurines, TheRowIsReadLeftToRightOnScreen) {
    struct Case {
        const char* what;
        f32 x1, x2, x3;
        Names order;
        bool right;
    } cases[] = {
        {"man, woman, man with the hands joined", 50, 150, 250, {"FIG1", "FIG2", "FIG3"}, true},
        {"hands apart", 150, 50, 250, {"FIG2", "FIG1", "FIG3"}, false},
        {"the second a man", 50, 250, 150, {"FIG1", "FIG3", "FIG2"}, false},
        {"fractions cut off, not rounded", 50.9f, 50.2f, 250, {"FIG1", "FIG3", "FIG3"}, false},
        {"a tie goes to data order, and the last is taken again",
         50,
         150,
         150,
         {"FIG1", "FIG2", "FIG2"},
         false},
        {"x of 0 or less takes no place", 0, 150, 250, {"FIG2", "FIG3", "FIG3"}, false},
        {"x of 1024 or more takes no place", 50, 150, 1024, {"FIG1", "FIG2", "FIG2"}, false},
        {"1023 still counts", 50, 150, 1023, {"FIG1", "FIG2", "FIG3"}, true},
        {"none on the screen", -5, 1024, 2000, {"-", "-", "-"}, false},
    };
    for (const Case& c : cases) {
        place(c.x1, c.x2, c.x3);
        EXPECT_EQ(order(), c.order) << c.what;
        EXPECT_EQ(room->IsRowRight(), c.right) << c.what;
    }
}

TEST_F(Figurines, SwapsPutTheRowRightAndThenItStops) {
    EXPECT_TRUE(room->GetPropertys().SolveButtonShown);
    click(55, 105);
    EXPECT_EQ(room->GetSelected(), &item("FIG2"));
    EXPECT_TRUE(state("FIG2", Flash));
    EXPECT_EQ(heard(), Names{"chinfigure_select"});
    click(305, 205);
    EXPECT_EQ(room->GetSelected(), &item("FIG2")) << "another item keeps the selection";
    click(255, 105);
    EXPECT_EQ(heard(), Names{"chinfigure_swap"});
    EXPECT_EQ(order(), (Names{"FIG1", "FIG3", "FIG2"}));
    EXPECT_EQ(room->GetSelected(), nullptr);
    EXPECT_FALSE(state("FIG2", Flash));
    click(155, 105);
    heard();
    click(155, 105);
    EXPECT_EQ(heard(), Names{"chinfigure_swap"}) << "the selected one clicked again ends the selection";
    EXPECT_EQ(room->GetSelected(), nullptr);
    EXPECT_FALSE(room->IsSolved());

    click(155, 105);
    heard();
    click(255, 105);
    EXPECT_TRUE(room->IsSolved());
    EXPECT_EQ(heard(), (Names{"chinfigure_swap", "chinfigure_win"}));
    EXPECT_EQ(shown(), Names{"MSG_WINORDER"});
    EXPECT_TRUE(item("COIN").IsVisible());
    for (const char* name : {"FIG1", "FIG2", "FIG3"}) {
        EXPECT_TRUE(state(name, SmoothFlash)) << name;
        EXPECT_FALSE(state(name, HighlightOnHover)) << name;
    }
    click(55, 105);
    EXPECT_EQ(room->GetSelected(), nullptr) << "solved: no more swaps";
    EXPECT_EQ(heard(), Names{});
}

TEST_F(Figurines, TheSolvePutsTheFigurinesInDataOrderOnTheirPlaces) {
    click(55, 105);
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_EQ(order(), (Names{"FIG1", "FIG2", "FIG3"}));
    EXPECT_EQ(item("FIG1").GetPos(), (SpyPoint{50, 100}));
    EXPECT_TRUE(room->IsSolved());
    EXPECT_EQ(room->GetSelected(), nullptr);
    EXPECT_FALSE(state("FIG2", Flash));
    EXPECT_TRUE(item("COIN").IsVisible());
    EXPECT_FALSE(room->ProcessAutoActions());
}

TEST_F(Figurines, TheRecordKeepsTheFlagAndTheSelection) {
    click(155, 105);
    expectSameBytesAfterReload();
    EXPECT_EQ(room->GetSelected(), &item("FIG3"));
    room->ProcessAutoActions();
    expectSameBytesAfterReload();
    EXPECT_TRUE(room->IsSolved());
}

// FIGURE_2 is missing: FIG3's record is the second one.
class FigurinesWithAGap : public Figurines {
protected:
    void SetUp() override {
        figures = "[FIGURES]\nItemToShow = zoom_Puzzle:COIN\ncount = 3\n" + figure(1, 1, 0, 1, "FIG1") +
                  figure(3, 0, 1, 1, "FIG3");
        Figurines::SetUp();
    }
};

TEST_F(FigurinesWithAGap, RecordsAreFoundByTheirSectionNumber) {
    place(50, 1100, 250);
    ASSERT_EQ(room->GetFigures().size(), 2u);
    EXPECT_TRUE(room->IsRowRight());
    click(255, 105);
    EXPECT_TRUE(room->IsSolved());
}

// FIGURE_2 names no item, FIGURE_3 an item whose name ends in no number.
class FigurinesMisnamed : public Figurines {
protected:
    void SetUp() override {
        figures = "[FIGURES]\nItemToShow = zoom_Puzzle:NOPE\ncount = 3\n" + figure(1, 1, 0, 1, "FIG1") +
                  figure(2, 0, 1, 1, "NOPE") + figure(3, 1, 1, 1, "FIGX");
        Figurines::SetUp();
    }
    LogCapture capture;
};

TEST_F(FigurinesMisnamed, MakeTheRowWrongWithoutReadingAmiss) {
    EXPECT_EQ(room->GetFigures()[1].item, nullptr);
    place(50, 150, 250);
    item("FIGX").SetPos(150.0f, 100.0f);
    EXPECT_EQ(order(), (Names{"FIG1", "FIGX", "FIGX"})) << "the figurine without an item takes no place";
    EXPECT_FALSE(room->IsRowRight());
    EXPECT_TRUE(room->ProcessAutoActions()) << "nothing to show, still solved";
    EXPECT_TRUE(room->IsSolved());
}

class FigurinesWithoutData : public Figurines {
protected:
    void SetUp() override {
        figures = "";
        Figurines::SetUp();
    }
};

TEST_F(FigurinesWithoutData, TheFirstClickUseSolves) {
    click(255, 105);
    EXPECT_TRUE(room->IsSolved());
    EXPECT_EQ(shown(), Names{"MSG_WINORDER"});
}

} // namespace
