#pragma once
#include "game/SpyGame/Rooms/Puzzles/cBaseVictimIdPuzzle.h"
#include "game/SpyGame/Rooms/Toolkit/cCellsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cProgressBar.h"

#include <vector>

// The victim-identification computer: the player lays the fingerprint card in the scanner and watches
// the data-base search run under its bar, and fills the table of physical features for the
// missing-persons check. Neither finds a match, but once both have run the computer prints the victim
// report, which wins the room.
class cVictimIdPuzzleRoom : public cBaseVictimIdPuzzle {
public:
    static const char* GetClassStaticName() { return "VictimIdPuzzleRoom"; }

    cVictimIdPuzzleRoom();
    ~cVictimIdPuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    void HandleCursorItemInput(f32 dt) override;
    bool ProcessAutoActions() override;

protected:
    // Which "no result" the result window shows.
    enum SearchState : u32 { NoSearch, NotEnoughInfo, NoMissingPersonsMatch, NoMatchInDataBase };

    void UpdatePuzzle(f32 dt) override;
    void OnEditboxDisabled() override;
    void OnEnterNameButton() override;
    void OnFindSubmit() override;
    void OnFindEscape() override;
    void OnCheckMissingPersonsButton() override;
    void ShowTestWindow() override;
    void OnMessageSubmit() override;
    void OnMessageEscape() override;
    void OnCheckIdDataBaseButton() override;
    void OnFingerprintsSubmit() override;
    void OnFingerprintsEscape() override;
    void ShowSearchResult() override;
    void ShowReportMenu() override;
    void HideAllMenus() override;

private:
    void ReadProgressInfo();
    // The card laid in the scanner starts the search at once.
    void PlaceFingerprintCard();
    void HideFingerprintWindow();
    void ShowResultWindow(SearchState state, const char* entry);
    bool OnFingerprintStep(const GUI::EventArgs&);
    bool OnResultFlicker(const GUI::EventArgs&);
    bool OnSearchFinished(const GUI::EventArgs&);
    bool OnResultClose(const GUI::EventArgs&);

    // Read by AfterLoadInit, not saved.
    std::vector<CSpyItem*> m_Fingerprints;
    std::vector<CSpyItem*> m_Results;
    // Not saved: a loaded game shows no "no result" until the next search.
    SearchState m_SearchState = NoSearch;

    // Saved, in record order.
    cCellsManager m_Features;
    CSpyItem* m_pFingerprint = nullptr;
    CSpyItem* m_pResult = nullptr;
    CSpyItem* m_pFindLabel = nullptr;
    CSpyItem* m_pEnterFingerprints = nullptr;
    cProgressBar m_Bar;
};
