#include "ChemLabKit.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "support/LogCapture.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(BenchEffectCode, NamesInAnyAsciiCaseAndNothingElse) {
    const struct {
        const char* name;
        u32 code;
    } cases[] = {{"FIZZ", 1}, {"boil", 2}, {"Smoke", 3}, {"SMOKE ", 0}, {"SMOKEY", 0}, {"NONE", 0}, {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(cBasePoizonPuzzle2::EffectCode(c.name), c.code) << '"' << c.name << '"';
}

// The bench's own share: templates, cells, reset, pouring, reactions, ticks and the result check.
class Bench : public ChemLabTest {
protected:
    Names orderNames() const { return {bench->orderList.begin(), bench->orderList.end()}; }
    std::string text(const std::string& name) {
        const std::wstring wide = benchItem(name).GetText();
        return std::string(wide.begin(), wide.end());
    }
    // The bench's own sounds that play now, stopped with the room's.
    Names labSounds() {
        Names names = played();
        std::erase(names, "object_click_bad");
        return names;
    }
    // The row of the checklist the bottle dropped from this position ticks.
    size_t rowOf(const std::string& position) {
        const std::string bottle = bench->positionToBottle.at(&benchItem(position))->GetName();
        return size_t(bottle[1] - '1');
    }
};

TEST(BenchTemplates, SplitIntoLiteralsAndPlaceholdersAndJoinBack) {
    LabProbe room;
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> pieces;
    } cases[] = {{L"", {}},
                 {L"plain", {L"plain"}},
                 {L"%1%-%2%", {L"", L"%1%", L"-", L"%2%"}},
                 {L"a%1%%2%b", {L"a", L"%1%", L"", L"%2%", L"b"}},
                 // An open placeholder stays with the literal before it.
                 {L"x%1%y%2", {L"x", L"%1%", L"y%2"}},
                 {L"50%", {L"50%"}}};
    for (const auto& c : cases) {
        room.SplitTemplate(c.text);
        EXPECT_EQ(std::vector<std::wstring>(room.dropTemplate.begin(), room.dropTemplate.end()), c.pieces);
        EXPECT_EQ(room.JoinTemplate(), c.text);
    }
    room.SplitTemplate(L"%1%+%1%=%12%");
    room.SetTemplateValue(1, L"one");
    room.SetTemplateValue(L"12", L"twelve");
    EXPECT_EQ(room.JoinTemplate(), L"one+one=twelve");
}

TEST_F(Bench, CellTablesCloneOneMarkARowAndLayTheirCellsFromTheTemplate) {
    ASSERT_EQ(bench->colorGrid.size(), 3u);
    EXPECT_EQ(bench->colorGrid[1], (std::vector<SpyPoint>{{200, 35}, {225, 35}, {250, 35}, {275, 35}}));
    EXPECT_EQ(bench->effectGrid[2][3], (SpyPoint{275, 150}));
    for (size_t row = 0; row < 3; ++row) {
        CSpyItem* mark = bench->colorMarks[row].markItem;
        ASSERT_TRUE(mark);
        EXPECT_EQ(mark->GetName(), "CHECK_C" + DoubleToString(double(row)));
        EXPECT_EQ(mark->GetPos(), (SpyPoint{200, 10 + 25.0f * f32(row)}));
        EXPECT_FALSE(mark->IsVisible());
        EXPECT_EQ(bench->colorMarks[row].column, -1);
    }
    EXPECT_EQ(bench->effectMarks[0].markItem->GetName(), "CHECK_E0");
}

// Two bottles whose descriptions fill every placeholder a bottle knows.
class TwoBottles : public Bench {
protected:
    std::string settings() const override {
        return "[settings]\nCorrectOrder = B1 B2\nscreenbuttleorder = B1 B2\ncolors = RED BLUE GREEN BLACK\n"
               "effects = NONE FIZZ BOIL SMOKE\nsamples_count = 1\n[sample_info1]\nwincolor = RED\n";
    }
    std::string benchTexts() const override {
        return "B1 = \"Vial A\"\nB2 = \"Vial B\"\nMESSAGE_ABOUT_B1 = \"%1%-%2%-%3%-%5%-%6%\"\n"
               "MESSAGE_ABOUT_B2 = \"(%1%)\"\nBTL_UID_1 = \"left\"\nBTL_UID_2 = \"middle\"\n";
    }
};

TEST_F(TwoBottles, AResetStandsTheBottlesInTheGivenOrderAndDescribesThem) {
    bench->reshuffle = 0;
    bench->bottleOrder = {1, 0};
    bench->Reset();
    EXPECT_EQ(orderNames(), (Names{"B2", "B1"}));
    EXPECT_EQ(bench->positionToBottle.at(&benchItem("B1")), &benchItem("B2"));
    EXPECT_EQ(bench->positionToBottle.at(&benchItem("B2")), &benchItem("B1"));
    // Position 1's description on the bottle drawn for it: %1% the first bottle's label, %5% the place
    // of bottle 1; %3% is no bottle's. The rack then shuffles the texts, its own and the bench's, in
    // pairs of bottle and label.
    std::multiset<std::pair<std::string, std::string>> pairs;
    for (const char* n : {"1", "2", "3"})
        pairs.insert({text(std::string("B") + n), text(std::string("TB") + n)});
    EXPECT_EQ(pairs, (std::multiset<std::pair<std::string, std::string>>{
                         {"Vial B-Vial A-%3%-middle-left", "Vial B"}, {"(Vial B)", "Vial A"}, {"", ""}}));
    EXPECT_EQ(std::vector<std::wstring>(bench->dropTemplate.begin(), bench->dropTemplate.end()),
              (std::vector<std::wstring>{L"(", L"Vial B", L")"}));
    EXPECT_EQ(benchItem("TB2").GetPos(), benchItem("B2").GetPos());
    EXPECT_EQ(rack->order, (std::vector<u16>{1, 0}));
    EXPECT_TRUE(bench->reshuffle == 0);
}

TEST_F(Bench, FreshDrawsGiveEveryAllowedColourOnceNeverTheErrorOneAndAreTakenFromTheEnd) {
    const Names colors{"RED", "BLUE", "GREEN", "BLACK"};
    const Names effects{"NONE", "FIZZ", "BOIL", "SMOKE"};
    for (u32 seed = 1; seed <= 20; ++seed) {
        platform::srand(seed);
        std::vector<u16> colorDraw, effectDraw;
        MakeRandomSequence(3, 4, colorDraw, {3});
        MakeRandomSequence(3, 4, effectDraw);
        platform::srand(seed);
        bench->DrawReactions();
        std::set<std::string> seen;
        const char* const rows[] = {"B1", "B2", "B3"};
        for (size_t row = 0; row < 3; ++row) {
            const std::string name = rows[row];
            const LabProbe::Reaction& drawn = bench->reactions.at(name);
            seen.insert(drawn.color);
            EXPECT_EQ(drawn.color, colors[colorDraw[2 - row]]) << seed << " " << name;
            EXPECT_EQ(drawn.effect, cBasePoizonPuzzle2::EffectCode(effects[effectDraw[2 - row]]));
        }
        EXPECT_EQ(seen, (std::set<std::string>{"RED", "BLUE", "GREEN"})) << seed;
        // A fresh start draws the rack's order too; its last bottle shows the sample.
        bench->reshuffle = 1;
        bench->Reset();
        std::vector<u16> order = bench->bottleOrder;
        std::sort(order.begin(), order.end());
        EXPECT_EQ(order, (std::vector<u16>{0, 1, 2})) << seed;
        EXPECT_EQ(bench->reactions.at(bench->orderList.back()).color, "GREEN");
        EXPECT_EQ(bench->reactions.at(bench->orderList.back()).effect, 3u);
    }
}

TEST_F(Bench, DropsComeFromThePositionsInTheirOrderAndAFullDishTakesNoMore) {
    pour("B2");
    EXPECT_EQ(bench->shown, Names{"WrongUseButtle"});
    EXPECT_TRUE(bench->dishDrops.empty());
    EXPECT_FALSE(bench->pipetteInHand);
    EXPECT_FALSE(bench->GetItemOnCursor());
    bench->shown.clear();
    for (const char* position : {"B1", "B2", "B3"}) {
        pour(position);
        ASSERT_EQ(bench->dishDrops.back(), bench->positionToBottle.at(&benchItem(position))) << position;
        tickTruly();
    }
    EXPECT_EQ(bench->shown, Names{});
    EXPECT_EQ(bench->dishDrops.size(), 3u);
    pour("B1");
    EXPECT_EQ(bench->dishDrops.size(), 3u);
}

TEST_F(Bench, APourShowsTheReactionMovesTheSelectionAndPutsThePipetteBack) {
    click(benchItem("B1"));
    EXPECT_TRUE(benchItem("BIG_FS").IsVisible());
    EXPECT_FALSE(benchItem("B1").IsVisible());
    EXPECT_EQ(benchItem("BIG_FS").GetText(), benchItem("B1").GetText());
    EXPECT_EQ(benchItem("TBIG_FS").GetText(), benchItem("TB1").GetText());
    EXPECT_FALSE(benchItem("TABLE_PIPETKA").IsDisabled());
    EXPECT_EQ(played(), Names{"lab_bottle_move"});
    click(benchItem("TABLE_PIPETKA"));
    EXPECT_EQ(bench->GetItemOnCursor(), &benchItem("PIPETKA"));
    EXPECT_FALSE(bench->m_bSharedMouseInside);
    EXPECT_EQ(played(), Names{"lab_dropper_take"});
    click(benchItem("BIG_FS"));
    EXPECT_EQ(bench->GetItemOnCursor(), &benchItem("PIPETKA_FULL"));
    EXPECT_EQ(bench->filledFrom, &benchItem("B1"));
    EXPECT_EQ(played(), (Names{"object_click_bad", "lab_dropper_fill"}));
    const size_t row = rowOf("B1");
    const LabProbe::Reaction truth =
        bench->reactions.at(bench->positionToBottle.at(&benchItem("B1"))->GetName());
    click(benchItem("DISH_NONE"));
    EXPECT_FALSE(bench->GetItemOnCursor());
    EXPECT_FALSE(bench->pipetteInHand);
    EXPECT_TRUE(bench->m_bSharedMouseInside);
    EXPECT_FALSE(bench->filledFrom);
    EXPECT_TRUE(benchItem("TABLE_PIPETKA").IsVisible());
    EXPECT_TRUE(benchItem("TABLE_PIPETKA").IsDisabled());
    EXPECT_FALSE(benchItem("BIG_FS").IsVisible());
    EXPECT_FALSE(bench->fillCandidate);
    EXPECT_EQ(bench->dishReaction.color, truth.color);
    EXPECT_TRUE(benchItem("DISH_" + truth.color).IsVisible());
    EXPECT_TRUE(benchItem("SELECTION").IsVisible());
    EXPECT_EQ(benchItem("SELECTION").GetPos().y, 10 + 25.0f * f32(row) - 2);
    EXPECT_TRUE(bench->errorAnimator.IsRunning());
}

TEST_F(Bench, ARightPressWithThePipetteOverTheBigViewPutsItBackAndDoesNothingElse) {
    click(benchItem("B1"));
    click(benchItem("TABLE_PIPETKA"));
    quiet();
    const SpyPoint at = benchItem("BIG_FS").GetPos();
    frame(i32(at.x) + 10, i32(at.y) + 10, {.down = {1}});
    frame(i32(at.x) + 10, i32(at.y) + 10, {.up = {1}});
    EXPECT_FALSE(bench->GetItemOnCursor());
    EXPECT_FALSE(bench->pipetteInHand);
    EXPECT_TRUE(benchItem("TABLE_PIPETKA").IsVisible());
    EXPECT_TRUE(benchItem("BIG_FS").IsVisible());
    EXPECT_EQ(played(), Names{});
}

TEST_F(Bench, ReactionsShowTheirEffectAndColourAndLoopTheirSound) {
    LabProbe& room = *bench;
    const struct {
        const char* color;
        u32 effect;
        const char* item;
        const char* text;
        const char* sound;
    } cases[] = {{"RED", 2, "BOIL", "Red, boiling", "lab_reaction_boil"},
                 {"BLUE", 1, "FIZZ", "Blue, fizzing", "lab_reaction_fizz"},
                 {"GREEN", 3, "SMOKE", "Green, smoking", "lab_reaction_smoke"},
                 {"RED", 0, nullptr, "Red, quiet", nullptr},
                 {"PINK", 1, "FIZZ", "fizzing", "lab_reaction_fizz"}};
    for (const auto& c : cases) {
        LogCapture log;
        room.ShowReaction({c.color, c.effect}, true);
        for (const char* effect : {"FIZZ", "BOIL", "SMOKE"})
            EXPECT_EQ(benchItem(effect).IsVisible(), c.item && std::string(effect) == c.item) << c.text;
        EXPECT_EQ(benchItem("BOIL_SMOKE").IsVisible(), c.effect == 2) << c.text;
        EXPECT_EQ(bench->effectItem, c.item ? &benchItem(c.item) : nullptr);
        EXPECT_EQ(bench->reactionText, std::wstring(c.text, c.text + std::strlen(c.text)));
        EXPECT_EQ(played(), c.sound ? Names{c.sound} : Names{}) << c.text;
        EXPECT_EQ(bench->loopSound, c.sound ? c.sound : "");
        for (const char* color : {"RED", "BLUE", "GREEN"})
            EXPECT_EQ(benchItem(std::string("DISH_") + color).IsVisible(), std::string(color) == c.color);
        EXPECT_EQ(log.contains("OnAddFromPipetkaToTarelka can not find image PINK"),
                  c.color == std::string("PINK"));
    }
}

TEST_F(Bench, OnlyTheRowOfTheBottleDroppedLastTakesTicks) {
    const size_t first = rowOf("B1");
    const size_t other = (first + 1) % 3;
    const SpyPoint cell = bench->colorGrid[first][0];
    pour("B1");
    quiet();
    // Six units left of the first cell is outside; four units left is inside.
    clickAt(i32(cell.x) - 6, i32(cell.y) + 5);
    frame(0, 299);
    EXPECT_FALSE(bench->colorMarks[first].markItem->IsVisible());
    clickAt(i32(cell.x) - 4, i32(cell.y) + 5);
    frame(0, 299);
    EXPECT_TRUE(bench->colorMarks[first].markItem->IsVisible());
    EXPECT_EQ(bench->colorMarks[first].markItem->GetPos(), cell);
    EXPECT_EQ(bench->colorMarks[first].column, 0);
    EXPECT_EQ(labSounds(), Names{"lab_pc_checkbox_set"});
    tick(bench->effectGrid, other, 2);
    EXPECT_EQ(bench->shown, Names{"MESSAGE_NOTTESTEED"});
    EXPECT_EQ(bench->effectMarks[other].column, -1);
    tickTruly();
    pour("B2");
    bench->shown.clear();
    quiet();
    const i32 kept = bench->colorMarks[first].column;
    tick(bench->colorGrid, first, kept == 3 ? 2 : 3);
    EXPECT_EQ(bench->colorMarks[first].column, kept);
    EXPECT_EQ(bench->shown, Names{});
    EXPECT_EQ(labSounds(), Names{});
}

TEST_F(Bench, ABottleIsLiftedOnlyOnceTheTicksSoFarAreCompleteAndRight) {
    click(benchItem("B2"));
    EXPECT_TRUE(benchItem("BIG_FS").IsVisible()) << "before any drop the check passes";
    click(benchItem("BIG_FS"));
    pour("B1");
    const size_t row = rowOf("B1");
    bench->shown.clear();
    click(benchItem("B2"));
    EXPECT_EQ(bench->shown, Names{"MESSAGE_CheckInfoAboutTest"});
    EXPECT_FALSE(benchItem("BIG_FS").IsVisible());
    const LabProbe::Reaction truth = bench->reactions.at(bench->dishDrops.back()->GetName());
    tick(bench->colorGrid, row, truth.color == "RED" ? 1 : 0);
    tick(bench->effectGrid, row, truth.effect);
    bench->shown.clear();
    bench->errorAnimator.Stop();
    click(benchItem("B2"));
    EXPECT_EQ(bench->shown, Names{"NOTCORRECTREACTION"});
    EXPECT_TRUE(bench->errorAnimator.IsRunning());
    EXPECT_FALSE(benchItem("BIG_FS").IsVisible());
    EXPECT_TRUE(benchItem("TABLE_PIPETKA").IsDisabled());
    tickTruly();
    bench->shown.clear();
    click(benchItem("B2"));
    EXPECT_EQ(bench->shown, Names{});
    EXPECT_TRUE(benchItem("BIG_FS").IsVisible());
}

TEST_F(Bench, ClickingTheBigViewPutsTheBottleBackAndASecondBottleExchangesIt) {
    click(benchItem("B1"));
    quiet();
    click(benchItem("B2"));
    EXPECT_TRUE(benchItem("B1").IsVisible());
    EXPECT_FALSE(benchItem("B2").IsVisible());
    EXPECT_EQ(bench->fillCandidatePosition, &benchItem("B2"));
    EXPECT_EQ(played(), Names{"lab_bottle_move"});
    click(benchItem("BIG_FS"));
    EXPECT_TRUE(benchItem("B2").IsVisible());
    EXPECT_FALSE(benchItem("BIG_FS").IsVisible());
    EXPECT_EQ(bench->fillCandidate, &benchItem("BIG_FS"));
    EXPECT_TRUE(benchItem("TABLE_PIPETKA").IsDisabled());
    EXPECT_EQ(played(), Names{"lab_bottle_move"});
}

} // namespace
