#include "game/SpyGame/Rooms/Puzzles/cFaxMachinePuzzleRoom.h"
#include "CloseUpKit.h"

namespace {

// The button at (50, 200) starts the report, 20 x 40 at (100, 150), rising by (40 - 8) / 4 = 8 a tick
// over 2 s in 4 ticks; the waiting light at (50, 100) goes out. Ann click-uses the button.
class Fax : public CloseUpTest<cFaxMachinePuzzleRoom> {
protected:
    void SetUp() override {
        addSound("fax_printing");
        addPicture("report", 20, 40, 0xFFF0F0F0);
        open(printing,
             objects({{"button", 50, 200}, {"waiting", 50, 100}}) + image("report", "report", 100, 150),
             "[BUTTON]\nObject = button\n[FAX_WAITING]\nObject = waiting\n"
             "[REPORT]\nObject = report\nVisible = 0\nIsQuestItem = 1\n",
             "", "", "[ROOM]\n[BUTTON]\nUseTo = zoom_Puzzle:ONESELF\n");
    }
    f32 reportY() { return item("REPORT").GetPos().y; }
    void startPrinting() {
        click(55, 205);
        quiet();
    }

    std::string printing = "[Printing]\nname = REPORT\nReportDeltaY = 8\ncount = 4\ntime = 2\n";
};

TEST_F(Fax, TheReportRisesTickByTickAndIsUsableOncePrinted) {
    EXPECT_FALSE(room->GetPropertys().SolveButtonShown) << "no solve here";
    EXPECT_TRUE(item("REPORT").IsDisabled());
    clickAt(55, 205);
    EXPECT_EQ(started(), Names{"fax_printing"});
    EXPECT_FALSE(item("FAX_WAITING").IsVisible());
    EXPECT_TRUE(item("REPORT").IsVisible());
    // Ticks on frames 1, 3, 5 and 7 after the click at dt 0.25; the finish on frame 9.
    const f32 heights[] = {142, 142, 134, 134, 126, 126, 118, 118, 118};
    for (int f = 1; f <= 9; ++f) {
        frame(300, 250, {.dt = 0.25f});
        EXPECT_EQ(reportY(), heights[f - 1]) << "frame " << f;
        EXPECT_EQ(item("REPORT").IsDisabled(), f < 9) << "frame " << f;
    }
    EXPECT_EQ(reportY(), 150 - (40 - 8)) << "risen by its height less the part left inside";
}

TEST_F(Fax, ASecondClickWhilePrintingStartsNothingAgain) {
    startPrinting();
    frame(300, 250, {.dt = 0.75f});
    clickAt(55, 205);
    EXPECT_EQ(started(), Names{});
    for (int f = 0; f < 10; ++f)
        frame(300, 250, {.dt = 0.25f});
    EXPECT_EQ(reportY(), 118);
}

TEST_F(Fax, TheSolveShowsAndFreesTheReportWhereItIs) {
    room->ProcessAutoActions();
    EXPECT_TRUE(item("REPORT").IsVisible());
    EXPECT_FALSE(item("REPORT").IsDisabled());
    EXPECT_FALSE(item("FAX_WAITING").IsVisible());
    EXPECT_EQ(reportY(), 150);
    EXPECT_FALSE(room->ProcessAutoActions()) << "printed already: nothing more";
    click(55, 205);
    EXPECT_EQ(started(), Names{}) << "the button starts nothing once printed";
}

TEST_F(Fax, ASavedGameResumesThePrintingWithoutRepeatingATick) {
    startPrinting();
    for (int f = 0; f < 3; ++f)
        frame(300, 250, {.dt = 0.25f});
    ASSERT_EQ(reportY(), 134);
    expectSameBytesAfterReload();
    EXPECT_EQ(reportY(), 134);
    for (int f = 0; f < 8; ++f)
        frame(300, 250, {.dt = 0.25f});
    EXPECT_EQ(reportY(), 118);
    EXPECT_FALSE(item("REPORT").IsDisabled());
}

class FaxWithoutPrinting : public Fax {
protected:
    void SetUp() override {
        printing = "";
        Fax::SetUp();
    }
    LogCapture capture;
};

TEST_F(FaxWithoutPrinting, IsLoggedAndItsButtonPrintsNothing) {
    EXPECT_TRUE(capture.contains("cFaxMachinePuzzleRoom. bad ini file!"));
    startPrinting();
    for (int f = 0; f < 10; ++f)
        frame(300, 250, {.dt = 0.25f});
    EXPECT_EQ(reportY(), 150);
    EXPECT_FALSE(item("REPORT").IsVisible()) << "no report is named";
    expectSameBytesAfterReload();
}

} // namespace
