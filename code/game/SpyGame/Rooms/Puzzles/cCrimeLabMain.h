#pragma once
#include "game/SpyGame/Rooms/Puzzles/cBasePoizonPuzzle2.h"

#include <list>
#include <string>
#include <vector>

// The crime lab's blood test: the chemistry bench run once for every blood sample. A sample whose
// checklist is complete and right opens the result screen; its continue button sets the bench up for
// the next sample, with its own bottle texts and reaction. After the last sample the report shows.
class cCrimeLabMain : public cBasePoizonPuzzle2 {
public:
    static const char* GetClassStaticName() { return "CrimeLabMain"; }

    cCrimeLabMain();
    ~cCrimeLabMain() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    bool ProcessAutoActions() override;

protected:
    // One blood sample: what it shows on the dish, and its dish.
    struct SampleInfo {
        std::string color;
        u32 effect = 0;
        CSpyItem* dish = nullptr;
    };

    void UpdatePuzzle(f32 dt) override;
    void OnErrorReaction() override;
    void OnResultsWrong() override;
    void OnResultsCorrect() override;
    void FinishTest() override;
    void OnChecklistIncomplete() override;

    void ReadSamples();
    void OpenResultScreen();
    // The bench set up again for the sample samplesDone counts, where the room stands now.
    void PrepareNextSample();
    void ShowSecondSample();

    // From room.ini, not saved.
    CSpyItem* smallDishItem = nullptr;

    // Play state and the data it refers to, in record order.
    u32 samplesDone = 0;
    u8 resultReady = 0;
    std::list<std::string> itemsToOut;
    CSpyItem* reportItem = nullptr;
    CSpyItem* report2Item = nullptr;
    CSpyItem* labMonitorItem = nullptr;
    CSpyItem* winCaptionItem = nullptr;
    std::string taskText;
    std::vector<SampleInfo> samples;
    std::vector<std::vector<std::wstring>> sampleAboutTexts;
    std::vector<std::vector<std::wstring>> sampleNameTexts;
};
