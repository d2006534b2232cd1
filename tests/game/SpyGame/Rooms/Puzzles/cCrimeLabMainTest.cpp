#include "ChemLabKit.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Names = std::vector<std::string>;
// (blocked, resultReady, samplesDone)
using Flow = std::tuple<int, int, u32>;

// Two blood samples, each with its own dish, texts and reaction.
class Lab : public ChemLabTest {
protected:
    std::string settings() const override {
        return "[settings]\nCorrectOrder = B1 B2 B3\nscreenbuttleorder = B1 B2 B3\n"
               "colors = RED BLUE GREEN BLACK\neffects = NONE FIZZ BOIL SMOKE\nSelection.deltaY = 2\n"
               "samples_count = 2\nreport = REPORT\nreport2 = SUBST2_NONE\nSmallTarelka = VIAL\n"
               "WinCaption = WIN_CAPTION\nitems_to_out = VIAL\n"
               "[sample_info1]\nwincolor = GREEN\nwineffect = SMOKE\ntarelka = TARELKA\n"
               "[sample_info2]\nwincolor = RED\nwineffect = fizz\ntarelka = DISH_NONE\n";
    }
    std::string benchTexts() const override {
        return ChemLabTest::benchTexts() +
               "MESSAGE_ABOUT_B1_2 = \"2nd first\"\nMESSAGE_ABOUT_B2_2 = \"2nd second\"\n"
               "MESSAGE_ABOUT_B3_2 = \"2nd third\"\nB1_2 = \"Tube A\"\n"
               "BLOODTEST_INFO1 = \"second sample\"\nBLOODTEST_DATA_2 = \"data two\"\n";
    }

    Flow flow() const { return {bench->blocked, bench->resultReady, bench->samplesDone}; }
    std::string text(const std::string& name) {
        const std::wstring wide = benchItem(name).GetText();
        return std::string(wide.begin(), wide.end());
    }
    std::multiset<std::string> labels() { return {text("TB1"), text("TB2"), text("TB3")}; }
    // Every bottle poured in order and its row ticked right.
    void testAll() {
        for (const char* position : {"B1", "B2", "B3"}) {
            pour(position);
            tickTruly();
        }
    }
    void submit() {
        click(benchItem("SUBMIT"));
        click(benchItem("SUBMIT_ON"));
    }
};

TEST_F(Lab, SamplesOneAfterTheOtherThroughTheirResultScreensToTheReport) {
    EXPECT_EQ(bench->taskText, "LAB_TASK");
    EXPECT_EQ(bench->reactions.at(bench->orderList.back()).color, "GREEN");
    testAll();
    submit();
    EXPECT_EQ(flow(), (Flow{1, 1, 1}));
    EXPECT_FALSE(benchItem("B1").IsVisible());
    frame(0, 299);
    EXPECT_TRUE(benchItem("MONITOR").IsVisible());
    EXPECT_EQ(text("MONITOR"), "Group one");
    EXPECT_TRUE(benchItem("CONTINUE_ON").IsVisible());
    EXPECT_FALSE(benchItem("SUBMIT_ON").IsVisible());
    EXPECT_TRUE(benchItem("WIN_CAPTION").IsVisible());
    EXPECT_FALSE(benchItem("BLOODTEST_DATA").IsVisible());
    frame(0, 299);
    EXPECT_EQ(flow(), (Flow{1, 1, 1})) << "the result screen waits for its button";
    bench->shown.clear();
    ann->SetRoomText(Bench, "RoomTask", "ROOM_TASKAFTERSORT");
    click(benchItem("CONTINUE_ON"));
    EXPECT_EQ(flow(), (Flow{0, 0, 1}));
    EXPECT_EQ(bench->shown.back(), "MESSAGE_WIN1");
    // The second sample's texts, dish and reaction; the rack shuffled the labels.
    EXPECT_EQ(labels(), (std::multiset<std::string>{"Tube A", "", ""}));
    EXPECT_EQ(text("BLOODTEST_INFO"), "second sample");
    EXPECT_EQ(text("BLOODTEST_DATA"), "data two");
    EXPECT_FALSE(benchItem("TARELKA").IsVisible());
    EXPECT_TRUE(benchItem("SUBST2_NONE").IsVisible());
    EXPECT_EQ(bench->reactions.at(bench->orderList.back()).color, "RED");
    EXPECT_EQ(bench->reactions.at(bench->orderList.back()).effect, 1u);
    EXPECT_TRUE(benchItem("B1").IsVisible());
    EXPECT_EQ(ann->GetRoomInfo(Bench).m_RoomTask, "LAB_TASK");
    testAll();
    submit();
    EXPECT_EQ(flow(), (Flow{1, 1, 2}));
    frame(0, 299);
    EXPECT_EQ(text("MONITOR"), "Group two");
    EXPECT_FALSE(benchItem("REPORT").IsVisible());
    bench->shown.clear();
    click(benchItem("CONTINUE_ON"));
    EXPECT_EQ(bench->shown, Names{"MESSAGE_WIN2"});
    EXPECT_EQ(flow(), (Flow{0, 0, 2}));
    EXPECT_TRUE(benchItem("REPORT").IsVisible());
    EXPECT_TRUE(bench->testDone);
    bench->shown.clear();
    click(benchItem("B1"));
    EXPECT_FALSE(benchItem("BIG_FS").IsVisible()) << "the finished bench takes no clicks";
}

TEST_F(Lab, AWrongChecklistOnTheSecondSampleStartsThatSampleAgain) {
    testAll();
    submit();
    frame(0, 299);
    click(benchItem("CONTINUE_ON"));
    const std::vector<u16> order = bench->bottleOrder;
    const auto reactions = bench->reactions;
    testAll();
    // The last row ticked with a colour it did not give.
    const std::string last = bench->dishDrops.back()->GetName();
    const size_t row = size_t(last[1] - '1');
    const std::string color = bench->reactions.at(last).color;
    tick(bench->colorGrid, row, color == "RED" ? 1 : 0);
    bench->shown.clear();
    submit();
    EXPECT_EQ(bench->shown, Names{"NOTCORRECTREACTION"});
    EXPECT_EQ(flow(), (Flow{0, 0, 1}));
    bench->shown.clear();
    bench->EvaluateChecklists();
    EXPECT_EQ(bench->shown, Names{"MESSAGE_CheckData"});
    EXPECT_EQ(flow(), (Flow{1, 0, 1}));
    frame(0, 299);
    EXPECT_EQ(bench->shown.back(), "MESSAGE_AutoReset");
    EXPECT_EQ(flow(), (Flow{0, 0, 1}));
    EXPECT_EQ(bench->bottleOrder, order);
    EXPECT_EQ(bench->reactions.size(), reactions.size());
    for (const auto& [name, reaction] : reactions)
        EXPECT_EQ(bench->reactions.at(name).color, reaction.color) << name;
    EXPECT_EQ(labels(), (std::multiset<std::string>{"Tube A", "", ""})) << "still the second sample";
    EXPECT_TRUE(bench->dishDrops.empty());
}

TEST_F(Lab, SolvingFinishesTheSampleUnderTestOnly) {
    bench->SolveRoom();
    EXPECT_EQ(flow(), (Flow{1, 1, 1}));
    EXPECT_FALSE(benchItem("ROOMDOOR").IsVisible());
    EXPECT_EQ(bench->dishReaction.color, "GREEN");
    EXPECT_EQ(bench->dishReaction.effect, 3u);
    EXPECT_FALSE(bench->errorAnimator.IsRunning());
    frame(0, 299);
    EXPECT_TRUE(benchItem("CONTINUE_ON").IsVisible());
    // On the result screen the sample is done already; a solve changes nothing.
    bench->SolveRoom();
    EXPECT_EQ(flow(), (Flow{1, 1, 1}));
    click(benchItem("CONTINUE_ON"));
    EXPECT_EQ(flow(), (Flow{0, 0, 1}));
    bench->SolveRoom();
    frame(0, 299);
    click(benchItem("CONTINUE_ON"));
    EXPECT_TRUE(bench->testDone);
    EXPECT_TRUE(benchItem("REPORT").IsVisible());
    EXPECT_FALSE(bench->SolveRoom());
}

TEST_F(Lab, EntryTakesTheListedItemsFromTheInventoryAndKeepsTheFirstTask) {
    bench->Leave();
    ann->GetInventory().AddItem(&benchItem("VIAL"));
    ann->SetRoomText(Bench, "RoomTask", "LATER_TASK");
    enterBench();
    EXPECT_FALSE(ann->GetInventory().HasItem("VIAL"));
    EXPECT_EQ(bench->taskText, "LAB_TASK");
    bench->Leave();
    enterBench();
    EXPECT_FALSE(ann->GetInventory().HasItem("VIAL"));
}

// A lab without settings has no samples: nothing it does reads one.
class NoSamples : public ChemLabTest {
protected:
    void SetUp() override {
        log = std::make_unique<LogCapture>();
        ChemLabTest::SetUp();
    }
    std::string settings() const override { return ""; }
    std::unique_ptr<LogCapture> log;
};

TEST_F(NoSamples, ResetEntrySolveAndFramesRunWithoutASample) {
    EXPECT_TRUE(log->contains("Can not find section \"settings\"!"));
    EXPECT_TRUE(log->contains("cCrimeLabMain. can't find section settings!"));
    bench->Reset();
    enterBench();
    EXPECT_FALSE(bench->SolveRoom());
    for (int i = 0; i < 3; ++i)
        click(benchItem("SUBMIT"));
    EXPECT_TRUE(bench->orderList.empty());
    EXPECT_FALSE(bench->blocked);
}

} // namespace
