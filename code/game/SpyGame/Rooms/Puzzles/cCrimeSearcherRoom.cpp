#include "game/SpyGame/Rooms/Puzzles/cCrimeSearcherRoom.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/util/str.h"

namespace {

const std::string Information = "INFORMATION";
const std::string PhoneNumber = "PHONE_NUMBER";

} // namespace

cCrimeSearcherRoom::cCrimeSearcherRoom() = default;
cCrimeSearcherRoom::~cCrimeSearcherRoom() = default;

void cCrimeSearcherRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    cBaseVictimIdPuzzle::AfterLoadInit();
    if (!due)
        return;
    for (const char* entry : {"PERSON_NOT_FOUND", "ESCAPE"})
        AddEntry(ResultWindow, entry, MakeHandler(this, &cCrimeSearcherRoom::OnBackToMainMenu));
    cMenu& message = Menu(MessageWindow);
    message.Clear();
    message.ClearPlainItems();
    message.SetBackground(GetItem("PROFILE_TITLE"));
    for (const char* plain : {"MESSAGE", "ANSWERDLG"})
        message.AddPlainItem(GetItem(plain));
    AddEntry(MessageWindow, "ESCAPE", MakeHandler(this, &cCrimeSearcherRoom::OnBackToMainMenu));
    m_pAnswer = GetItem("FIND_DLG");
    GrayEntry(MainMenu, "BTN_VICTIMID");
}

void cCrimeSearcherRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    cBaseVictimIdPuzzle::Reset();
    for (Check check : {VictimId, LookName, LookPhone})
        SetChecked(check, false);
    m_FirstFound = m_SecondFound = m_ThirdFound = m_PhoneMode = false;
    ShowMainMenu();
}

void cCrimeSearcherRoom::Enter(const std::string& entryName, CSpyItem* entryItem) {
    cBaseVictimIdPuzzle::Enter(entryName, entryItem);
    // A new number in hand makes the phone look-up worth another try.
    if (InventoryHas(PhoneNumber) && !(m_SecondFound && m_ThirdFound) && IsChecked(LookPhone)) {
        SetChecked(LookPhone, false);
        ShowMainMenu();
    }
}

void cCrimeSearcherRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                         std::optional<SpyPoint> grabOffset) {
    if (item && (item->GetName() == Information || item->GetName() == PhoneNumber))
        cBaseVictimIdPuzzle::SetItemOnCursor(item, item, std::nullopt);
    else
        cBaseVictimIdPuzzle::SetItemOnCursor(item, roomForm, grabOffset);
}

bool cCrimeSearcherRoom::HasPhoneNumber() const {
    return InventoryHas(PhoneNumber) || (m_pCursorItem && m_pCursorItem->GetName() == PhoneNumber) ||
           (IsChecked(LookPhone) && m_SecondFound && m_ThirdFound);
}

bool cCrimeSearcherRoom::OnBackToMainMenu(const GUI::EventArgs&) {
    ShowMainMenu();
    return true;
}

void cCrimeSearcherRoom::OpenFindDialog(const char* caption, bool phone) {
    HideAllMenus();
    Menu(FindDialog).SetBackground(GetItem(caption));
    if (m_pAnswer)
        m_pAnswer->SetText(L"");
    m_EditBox.SetActive(true);
    m_EditBox.SetText("");
    Menu(FindDialog).SetVisible(true);
    m_PhoneMode = phone;
}

void cCrimeSearcherRoom::OnLookNameButton() {
    OpenFindDialog("CAPT_ENTER_NAME", false);
}

void cCrimeSearcherRoom::OnLookPhoneButton() {
    OpenFindDialog("CAPT_ENTER_PHONE", true);
}

void cCrimeSearcherRoom::OnFindEscape() {
    ShowMainMenu();
}

void cCrimeSearcherRoom::OnFindSubmit() {
    if (m_PhoneMode)
        CheckPhone();
    else
        CheckName();
    Play("pc_result_complete");
}

bool cCrimeSearcherRoom::Typed(const std::string& id, bool ignoreCase) const {
    const std::wstring expected = m_pResManager ? m_pResManager->GetString(id, m_Name) : std::wstring();
    const std::wstring typed = str_toWString(m_EditBox.GetText());
    return !expected.empty() && (ignoreCase ? StrEqualW(typed, expected) : typed == expected);
}

void cCrimeSearcherRoom::ShowNotFound() {
    HideAllMenus();
    Menu(ResultWindow).SetVisible(true);
}

void cCrimeSearcherRoom::CheckPhone() {
    bool found = false;
    if (Typed("TRUE_PHONE1", false)) {
        OnFirstNumberFound();
        found = true;
    }
    if (m_FirstFound && HasPhoneNumber()) {
        if (Typed("TRUE_PHONE2", false)) {
            OnSecondNumberFound();
            return;
        }
        if (Typed("TRUE_PHONE3", false)) {
            OnThirdNumberFound();
            return;
        }
    }
    if (!found)
        ShowNotFound();
}

void cCrimeSearcherRoom::CheckName() {
    if (!Typed("TRUE_NAME1", true) && !Typed("TRUE_NAME2", true) && !Typed("TRUE_NAME3", true)) {
        ShowNotFound();
        return;
    }
    ShowMessage("MSG_ABOUTNAME");
    std::wstring profile;
    for (int n = 1; n <= 10; ++n)
        profile += str_toWString(DoubleToString(n)) +
                   m_pResManager->GetString("NameRes" + DoubleToString(n), m_Name) + L"\n";
    if (m_pAnswer)
        m_pAnswer->SetText(profile);
    SetChecked(LookName);
    TakeInformation();
}

void cCrimeSearcherRoom::OnFirstNumberFound() {
    ShowMessage("MSG_ABOUTPHONE");
    HideAllMenus();
    Menu(MessageWindow).SetVisible(true);
    if (m_FirstFound)
        return;
    m_FirstFound = true;
    SetChecked(LookName);
    SetChecked(LookPhone);
    Show(GetItem("PHONE1"), true);
    TakeInformation();
}

void cCrimeSearcherRoom::OnSecondNumberFound() {
    if (!HasPhoneNumber())
        return;
    if (m_pAnswer)
        m_pAnswer->SetText(m_pResManager->GetString("MSG_PHONE2INFO", m_Name));
    ShowMessage("MSG_ABOUTPHONE2");
    if (m_SecondFound)
        return;
    m_SecondFound = true;
    CheckBothNumbers();
}

void cCrimeSearcherRoom::OnThirdNumberFound() {
    if (!HasPhoneNumber())
        return;
    if (m_pAnswer)
        m_pAnswer->SetText(m_pResManager->GetString("MSG_PHONE3INFO", m_Name));
    ShowMessage(IsShown(GetItem("MOVIE_DETECTOR")) ? "MSG_ABOUTPHONE4" : "MSG_ABOUTPHONE3");
    if (m_ThirdFound)
        return;
    m_ThirdFound = true;
    CheckBothNumbers();
}

void cCrimeSearcherRoom::CheckBothNumbers() {
    if (!m_SecondFound || !m_ThirdFound)
        return;
    Show(GetItem("TWO_NUMBERS"), true);
    TakeAway(PhoneNumber);
    SetChecked(LookPhone);
}

void cCrimeSearcherRoom::TakeInformation() {
    if (IsChecked(LookName) && m_FirstFound)
        TakeAway(Information);
}

bool cCrimeSearcherRoom::ProcessAutoActions() {
    if (!HasPhoneNumber()) {
        OnFirstNumberFound();
    } else {
        OnSecondNumberFound();
        OnThirdNumberFound();
    }
    ShowMainMenu();
    return true;
}

u8* cCrimeSearcherRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = cBaseVictimIdPuzzle::SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pAnswer);
    for (bool flag : {m_FirstFound, m_SecondFound, m_ThirdFound, m_PhoneMode})
        pos = sys.writeBool(pos, flag);
    return pos;
}

const u8* cCrimeSearcherRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = cBaseVictimIdPuzzle::LoadSelf(sys, pos);
    pos = LoadItemRef(RecordLookup(m_pRoomsManager), sys, pos, m_pAnswer);
    for (bool* flag : {&m_FirstFound, &m_SecondFound, &m_ThirdFound, &m_PhoneMode})
        pos = sys.readBool(pos, *flag);
    return pos;
}
