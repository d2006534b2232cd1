#pragma once
#include "game/SpyGame/Rooms/Puzzles/cBaseVictimIdPuzzle.h"

#include <string>

// The police search terminal: the player looks up a person by name, which prints a ten-line profile,
// or a telephone number. The first number opens an answer screen; two more, which only the evidence
// "PHONE_NUMBER" makes worth trying, each tell a little more. Won once both further numbers are found.
class cCrimeSearcherRoom : public cBaseVictimIdPuzzle {
public:
    static const char* GetClassStaticName() { return "CrimeSearcherRoom"; }

    cCrimeSearcherRoom();
    ~cCrimeSearcherRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;

protected:
    void OnLookNameButton() override;
    void OnLookPhoneButton() override;
    void OnFindSubmit() override;
    void OnFindEscape() override;

private:
    bool HasPhoneNumber() const;
    void OpenFindDialog(const char* caption, bool phone);
    // The typed text against the room's text of that id: exactly, or ignoring the case of A-Z. A text
    // the language lacks matches nothing, not even an empty line.
    bool Typed(const std::string& id, bool ignoreCase) const;
    void CheckPhone();
    void CheckName();
    void ShowNotFound();
    void OnFirstNumberFound();
    void OnSecondNumberFound();
    void OnThirdNumberFound();
    void CheckBothNumbers();
    void TakeInformation();
    bool OnBackToMainMenu(const GUI::EventArgs&);

    // Saved, in record order.
    CSpyItem* m_pAnswer = nullptr;
    bool m_FirstFound = false;
    bool m_SecondFound = false;
    bool m_ThirdFound = false;
    bool m_PhoneMode = false;
};
