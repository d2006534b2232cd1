#pragma once
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Puzzles/cBasePoizonPuzzle2.h"

#include <string>

// A chemistry bench of the tests only, never shipped. Its loader fills the bench's lists itself: two
// bottles, B1 then B2, in the rack's order and the checklist's rows; colours RED and BLUE, effects NONE
// and FIZZ; B1 gives RED FIZZ, B2 BLUE NONE. The big view is BIG_FS, the stand TABLE_PIPETKA, and the
// checklists are the sections "ColorCells" and "EffectCells" of its room.ini. A click on DISH drops the
// bottle in the big view, and every frame hands the checklists in.
class BenchTestRoom : public cBasePoizonPuzzle2 {
public:
    static const char* GetClassStaticName() { return "BenchTestRoom"; }
    std::string GetClassName() const override { return GetClassStaticName(); }

    void AfterLoadInit() override {
        if (!IsLoadInitDue())
            return;
        CRoomBase::AfterLoadInit();
        tablePipetteItem = GetItem("TABLE_PIPETKA");
        bigFsItem = GetItem("BIG_FS");
        dishItem = GetItem("DISH");
        orderList = screenOrder = {"B1", "B2"};
        sampleNames = {"B1", "B2"};
        colors = {"RED", "BLUE"};
        effects = {"NONE", "FIZZ"};
        reactions = {{"B1", {"RED", 1}}, {"B2", {"BLUE", 0}}};
        colorImages = {{"NONE", "DISH"}};
        LoadCellTables();
        errorAnimator.from = 1.3f;
        errorAnimator.to = 9.0f;
        errorAnimator.duration = errorAnimator.time = 6.0f;
        // The rack keeps its order: no draw, and position i holds bottle i.
        reshuffle = 0;
        bottleOrder = {0, 1};
    }

    bool OnClickUseItem() override {
        if (m_pItemUnderCursor != dishItem || !fillCandidatePosition || !IsShown(fillCandidate))
            return cBasePoizonPuzzle2::OnClickUseItem();
        dishDrops.push_back(fillCandidatePosition);
        ShowBenchItem(bigFsItem, false);
        fillCandidate = fillCandidatePosition = nullptr;
        return true;
    }

protected:
    void UpdatePuzzle(f32 dt) override {
        cBasePoizonPuzzle2::UpdatePuzzle(dt);
        EvaluateChecklists();
    }
};
