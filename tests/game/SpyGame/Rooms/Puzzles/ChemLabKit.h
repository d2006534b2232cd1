#pragma once
#include "LabFrameKit.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabMain.h"
#include "support/game/TestRoomsManager.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/platform/Random.h"

#include <string>
#include <vector>

// The lab's rooms as the factory makes them, with their state in reach and the messages they show kept.
struct LabProbe : cCrimeLabMain {
    using cBasePoizonPuzzle2::blocked;
    using cBasePoizonPuzzle2::bottleOrder;
    using cBasePoizonPuzzle2::CellMark;
    using cBasePoizonPuzzle2::colorGrid;
    using cBasePoizonPuzzle2::colorMarks;
    using cBasePoizonPuzzle2::dishDrops;
    using cBasePoizonPuzzle2::dishItem;
    using cBasePoizonPuzzle2::dishReaction;
    using cBasePoizonPuzzle2::DrawReactions;
    using cBasePoizonPuzzle2::dropTemplate;
    using cBasePoizonPuzzle2::effectGrid;
    using cBasePoizonPuzzle2::effectItem;
    using cBasePoizonPuzzle2::effectMarks;
    using cBasePoizonPuzzle2::errorAnimator;
    using cBasePoizonPuzzle2::EvaluateChecklists;
    using cBasePoizonPuzzle2::fillCandidate;
    using cBasePoizonPuzzle2::fillCandidatePosition;
    using cBasePoizonPuzzle2::filledFrom;
    using cBasePoizonPuzzle2::JoinTemplate;
    using cBasePoizonPuzzle2::loopSound;
    using cBasePoizonPuzzle2::orderList;
    using cBasePoizonPuzzle2::pipetteInHand;
    using cBasePoizonPuzzle2::positionToBottle;
    using cBasePoizonPuzzle2::Reaction;
    using cBasePoizonPuzzle2::reactions;
    using cBasePoizonPuzzle2::reactionText;
    using cBasePoizonPuzzle2::reshuffle;
    using cBasePoizonPuzzle2::SetTemplateValue;
    using cBasePoizonPuzzle2::ShowReaction;
    using cBasePoizonPuzzle2::SplitTemplate;
    using cBasePoizonPuzzle2::testDone;
    using cCrimeLabMain::resultReady;
    using cCrimeLabMain::samplesDone;
    using cCrimeLabMain::taskText;
    using CRoomBase::m_bSharedMouseInside;

    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        cCrimeLabMain::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

using LabRooms = TestRoomsManager<LabProbe, RackProbe>;

// The bench "zoom_CrimeLabMain" and its rack "zoom_CrimeLabButtles" beside the hall, both 400 x 300 at
// the screen's corner, played by Ann, with the lab's eleven sounds. Pictures are 20 x 20.
//
// Bench: bottles B1, B2, B3 at x 10, 40, 70 (y 10) with labels "T" + name; the big view BIG_FS at
// (10, 60); the pipette stand at (100, 10); the dish in its colours at (150, 10), the sample's dish
// TARELKA at (150, 40); the effects at (150, 70); the colour checklist from (200, 10), the effect one
// from (200, 100), four cells a row 25 apart, rows 25 apart; SUBMIT (300, 200) shows SUBMIT_ON
// (330, 200); CONTINUE_ON (360, 200); the result screen MONITOR at (300, 10). Colours RED BLUE GREEN
// BLACK (BLACK the error colour), effects NONE FIZZ BOIL SMOKE.
// Rack: bottles B1, B2, B3 at x 50, 100, 150 (y 50) with labels; SORTED at (300, 250).
class ChemLabTest : public LabFrameTest<LabRooms> {
protected:
    static constexpr const char* Sounds[] = {"lab_bottle_move",    "lab_pc_checkbox_set", "lab_dropper_take",
                                             "lab_dropper_fill",   "lab_reaction_boil",   "lab_reaction_fizz",
                                             "lab_reaction_smoke", "lab_reaction_wrong",  "buttles_select",
                                             "buttles_swap",       "buttles_win"};

    void SetUp() override {
        for (const char* sound : Sounds)
            addSound(sound);
        // The bench's big font is the panel's test font.
        aFileServer::getInstance()->setAssign("fonts", dir.path());
        dir.write("system_ui_big.ini", dir.read("text.fnt"));
        const LabRoomFiles benchRoom = benchFiles(), rackRoom = rackFiles();
        writeRoom(Bench, "Class = CrimeLabMain\n" + benchSections(), benchRoom.objects, benchRoom.items, 400,
                  300);
        writeRoom(Rack, "Class = CrimeLabButtles\n" + rackSections(), rackRoom.objects, rackRoom.items, 400,
                  300);
        dir.write(
            std::string("Demo/") + Bench + "/Ann.ai",
            "[ROOM]\nRoomTask = LAB_TASK\n" +
                LabRoomFiles::selfUsed({"B1", "B2", "B3", "BIG_FS", "TABLE_PIPETKA", "SUBMIT", "ROOMDOOR"}));
        dir.write(std::string("Demo/") + Rack + "/Ann.ai",
                  "[ROOM]\n" + LabRoomFiles::selfUsed({"B1", "B2", "B3"}));
        dir.write(std::string("lang/Investigations/Demo/") + Bench + "/room.txt", benchTexts());
        platform::srand(1);
        play("", "", "[ROOM]\n", std::string(Rack) + "\n" + Bench + "\n");
        bench = dynamic_cast<LabProbe*>(rooms.GetRoom(Bench));
        rack = dynamic_cast<RackProbe*>(rooms.GetRoom(Rack));
        ASSERT_TRUE(bench && rack);
        enterBench();
    }

    virtual std::string settings() const {
        return "[settings]\nCorrectOrder = B1 B2 B3\nscreenbuttleorder = B1, B2, B3\n"
               "colors = RED BLUE GREEN BLACK\neffects = NONE FIZZ BOIL SMOKE\nSelection.deltaY = 2\n"
               "samples_count = 1\nreport = REPORT\nWinCaption = WIN_CAPTION\nitems_to_out = VIAL\n"
               "[sample_info1]\nwincolor = GREEN\nwineffect = smoke\ntarelka = TARELKA\n";
    }
    std::string benchSections() const {
        return settings() +
               "[ColorImages]\nNONE = DISH_NONE\nRED = DISH_RED\nBLUE = DISH_BLUE\nGREEN = DISH_GREEN\n"
               "BLACK = DISH_BLACK\n[ErrorEffect]\ncolor = BLACK\neffect = BOIL\n"
               "[ColorCells]\ncell = CHECK_C\ncols = 4\ndx = 5\ndy = 5\n"
               "[EffectCells]\ncell = CHECK_E\ncols = 4\ndx = 5\ndy = 5\n";
    }
    virtual std::string benchTexts() const {
        return "B1 = \"Vial A\"\nB2 = \"Vial B\"\nB3 = \"Vial C\"\n"
               "MESSAGE_ABOUT_B1 = \"first %1% at %7%\"\nMESSAGE_ABOUT_B2 = \"second %2% at %8%\"\n"
               "MESSAGE_ABOUT_B3 = \"third %3% at %9%\"\nBTL_UID_1 = \"left\"\nBTL_UID_2 = \"middle\"\n"
               "BTL_UID_3 = \"right\"\nNONE = \"quiet\"\nFIZZ = \"fizzing\"\nBOIL = \"boiling\"\n"
               "SMOKE = \"smoking\"\nDISH_RED = \"Red,\"\nDISH_BLUE = \"Blue,\"\nDISH_GREEN = \"Green,\"\n"
               "DISH_BLACK = \"Black,\"\nBLOODTEST_DATA1 = \"Group one\"\nBLOODTEST_DATA2 = \"Group two\"\n";
    }

    static LabRoomFiles benchFiles() {
        LabRoomFiles f;
        f.bottles(10, 10, 30, 250);
        f.text("BIG_FS", 10, 60, false);
        f.text("TBIG_FS", 10, 60, false, false);
        f.text("MONITOR", 300, 10, false);
        f.text("BLOODTEST_DATA", 300, 70);
        f.text("BLOODTEST_INFO", 300, 100);
        f.picture("TABLE_PIPETKA", 100, 10);
        f.picture("PIPETKA", 100, 40, false);
        f.picture("PIPETKA_FULL", 100, 40, false);
        // The dish in its colours, the effects each a colour of its own.
        const struct {
            const char* name;
            int y;
            const char* color;
        } tinted[] = {
            {"DISH_NONE", 10, "FFFFFFFF"},  {"DISH_RED", 10, "FFD03030"},   {"DISH_BLUE", 10, "FF3050D0"},
            {"DISH_GREEN", 10, "FF30B040"}, {"DISH_BLACK", 10, "FF202020"}, {"FIZZ", 70, "FF60E0E0"},
            {"BOIL", 70, "FFF09030"},       {"SMOKE", 70, "FF909090"},      {"BOIL_SMOKE", 90, "FFC0C0C0"}};
        for (const auto& t : tinted)
            f.picture(t.name, 150, t.y, std::string(t.name) == "DISH_NONE", "",
                      std::string("Color = ") + t.color + "\n");
        f.picture("TARELKA", 150, 40);
        f.picture("CHECK_C", 200, 10, false);
        f.picture("CHECK_E", 200, 100, false);
        f.picture("SELECTION", 180, 0, false);
        f.picture("SUBMIT", 300, 200, true, "Class = Container\nContainerShow = SUBMIT_ON\n");
        f.picture("SUBMIT_ON", 330, 200, false);
        f.picture("CONTINUE_ON", 360, 200, false);
        f.picture("REPORT", 300, 250, false, "IsWinItem = EXAMINE\n");
        f.picture("WIN_CAPTION", 300, 40, false);
        f.picture("SUBST2_NONE", 330, 250, false);
        f.picture("ROOMDOOR", 370, 270, true, "Class = ZoomRoom\nUseRoom = zoom_CrimeLabButtles\n");
        f.picture("VIAL", 370, 100);
        return f;
    }

    void enterBench() {
        playing = bench;
        bench->Enter("Demo", nullptr);
        quiet();
        bench->shown.clear();
    }

    CSpyItem& benchItem(const std::string& name) { return *bench->GetItem(name); }
    // A press inside a cell of a checklist row.
    void tick(const std::vector<std::vector<SpyPoint>>& grid, size_t row, size_t column) {
        const SpyPoint cell = grid.at(row).at(column);
        const SpyPoint at = bench->GetPosition();
        clickAt(i32(cell.x + at.x) + 5, i32(cell.y + at.y) + 5);
        frame(0, 299);
    }
    // The bottle at the position lifted, the pipette taken and filled from the big view, the drop
    // poured into the dish.
    void pour(const std::string& position) {
        click(benchItem(position));
        click(benchItem("TABLE_PIPETKA"));
        click(benchItem("BIG_FS"));
        click(*shownDish());
    }
    CSpyItem* shownDish() {
        for (const char* name : {"DISH_NONE", "DISH_RED", "DISH_BLUE", "DISH_GREEN", "DISH_BLACK"})
            if (benchItem(name).IsVisible())
                return &benchItem(name);
        return nullptr;
    }
    // Ticks the row of the bottle dropped last with its true colour and effect.
    void tickTruly() {
        const std::string bottle = bench->dishDrops.back()->GetName();
        const size_t row = size_t(bottle[1] - '1');
        const LabProbe::Reaction& truth = bench->reactions.at(bottle);
        const std::vector<std::string> colors{"RED", "BLUE", "GREEN", "BLACK"};
        tick(bench->colorGrid, row,
             size_t(std::find(colors.begin(), colors.end(), truth.color) - colors.begin()));
        tick(bench->effectGrid, row, truth.effect);
    }

    LabProbe* bench = nullptr;
    RackProbe* rack = nullptr;
};
