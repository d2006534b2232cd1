#pragma once
#include "game/SpyGame/Rooms/Puzzles/cBaseVictimIdPuzzle.h"

#include <list>
#include <string>

// The victim-profile computer: the player opens the victim report, types the victim's name into the
// find dialog while holding the item the search needs, and when the name is right the computer prints
// the person's profile: the report shows, the three checks are set and the item is taken. Won once the
// profile is printed.
class cVictimId2PuzzleRoom : public cBaseVictimIdPuzzle {
public:
    static const char* GetClassStaticName() { return "VictimId2PuzzleRoom"; }

    cVictimId2PuzzleRoom();
    ~cVictimId2PuzzleRoom() override;

    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;

protected:
    void OnEditboxDisabled() override;
    void OnEnterNameButton() override;
    void OnFindSubmit() override;
    void OnFindEscape() override;
    void OnCheckMissingPersonsButton() override;
    void OnMessageSubmit() override;
    void OnMessageEscape() override;
    void ShowSearchResult() override;
    void ShowReportMenu() override;

private:
    void ReadOwnSections();
    bool HasRequiredItem() const;
    void Solve();
    bool OnPersonNotFoundClose(const GUI::EventArgs&);

    // Read by AfterLoadInit, not saved.
    std::string m_RequiredItem;
    std::list<std::wstring> m_AcceptedNames;
};
