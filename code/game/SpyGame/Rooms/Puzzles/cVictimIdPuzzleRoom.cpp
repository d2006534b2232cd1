#include "game/SpyGame/Rooms/Puzzles/cVictimIdPuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/platform/Random.h"

#include <algorithm>

namespace {

const char* const Owner = "cVictimIdPuzzleRoom";
constexpr u32 BarColor = 0xFF00FF00;

} // namespace

cVictimIdPuzzleRoom::cVictimIdPuzzleRoom() = default;
cVictimIdPuzzleRoom::~cVictimIdPuzzleRoom() = default;

void cVictimIdPuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    cBaseVictimIdPuzzle::AfterLoadInit();
    if (!due)
        return;
    m_Features.Init(m_Ini, "CellsManager", *this);
    m_Fingerprints = {GetItem("FINGERPRINTS")};
    for (int i = 1; i <= 4; ++i)
        m_Fingerprints.push_back(GetItem("FINGERPRINTS" + DoubleToString(i)));
    m_Results.clear();
    for (int i = 1; i <= 12; ++i)
        m_Results.push_back(GetItem("FINGERPRINTSR" + DoubleToString(i)));
    if (m_Ini.selectSection("ProgressInfo"))
        ReadProgressInfo();
    m_pFindLabel = GetItem("FINGERPRINTS_FIND");
    m_pEnterFingerprints = GetItem("BTN_ENTER_FINGERPRINTS");
    GrayEntry(MainMenu, "BTN_LOOKNAME");
    GrayEntry(MainMenu, "BTN_LOOKPHONE");
    if (CSpyItem* progress = GetItem("FINGERPRINTS_PROGRESS")) {
        progress->Reset();
        CSpyItem* bar = m_Items.CreateItem("_rect_item" + DoubleToString(1), m_Name, progress->GetOrigPos(),
                                           progress->GetWidth(), progress->GetHeight(), false);
        bar->Reset();
        m_Bar.SetItem(bar, 0);
    }
    Menu(ResultWindow).Clear();
    for (const char* entry : {"ERR_NOT_ENOUGHT_INFO", "ESCAPE"})
        AddEntry(ResultWindow, entry, MakeHandler(this, &cVictimIdPuzzleRoom::OnResultClose));
}

void cVictimIdPuzzleRoom::ReadProgressInfo() {
    m_Bar.SetOnFinish(MakeHandler(this, &cVictimIdPuzzleRoom::OnSearchFinished));
    m_Bar.SetTime(ReadSeconds(m_Ini, "maintimer", Owner));
    m_Bar.AddPeriodic(ReadSeconds(m_Ini, "righttimer", Owner),
                      MakeHandler(this, &cVictimIdPuzzleRoom::OnResultFlicker));
    m_Bar.AddPeriodic(ReadSeconds(m_Ini, "lefttimer", Owner),
                      MakeHandler(this, &cVictimIdPuzzleRoom::OnFingerprintStep));
}

void cVictimIdPuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    m_pFingerprint = m_Fingerprints.empty() ? nullptr : m_Fingerprints.front();
    m_pResult = nullptr;
    cBaseVictimIdPuzzle::Reset();
    m_Features.ResetSelections();
    m_Features.SetAllEnabled(false);
    m_Bar.SetElapsed(0);
    m_Bar.SetCounter(0);
    m_Bar.SetRunning(false);
    m_Bar.SetVisible(false);
    m_Bar.SetColor(BarColor);
    ShowMainMenu();
}

u32 cVictimIdPuzzleRoom::FrameMove(f32 dt, bool paused) {
    m_Bar.Update(dt);
    return cBaseVictimIdPuzzle::FrameMove(dt, paused);
}

void cVictimIdPuzzleRoom::Render() {
    cBaseVictimIdPuzzle::Render();
    m_Bar.Render();
}

void cVictimIdPuzzleRoom::HandleCursorItemInput(f32 dt) {
    cBaseVictimIdPuzzle::HandleCursorItemInput(dt);
    if (!m_pReport || m_pCursorItem != m_pReport || !Menu(ReportMenu).IsVisible())
        return;
    // The report goes back on the screen it was printed on.
    m_pReport->SetInInventory(false);
    m_pReport->SetVisible(true);
    m_pReport->SetPos(300.0f, 2.0f);
    SetItemOnCursor(nullptr, nullptr);
}

void cVictimIdPuzzleRoom::UpdatePuzzle(f32) {
    m_Features.Update();
    const bool wasHidden = !IsShown(m_pFingerprint);
    PlaceFingerprintCard();
    if (wasHidden && IsShown(m_pFingerprint) && !IsChecked(IdDataBase))
        OnFingerprintsSubmit();
}

void cVictimIdPuzzleRoom::PlaceFingerprintCard() {
    if (!m_pCursorItem || m_pCursorItem->GetName() != "FINGERPRINTS" || !m_pItemUnderCursor ||
        m_pItemUnderCursor == m_pEscape || !Menu(FingerprintWindow).IsVisible() ||
        !IsShown(m_pEnterFingerprints) || LeftButtonState() != KEY_PRESSED)
        return;
    SetItemOnCursor(nullptr, nullptr);
    Show(m_pEnterFingerprints, false);
    Show(m_pFingerprint, true);
    Show(m_pFindLabel, true);
}

void cVictimIdPuzzleRoom::ShowReportMenu() {
    if (IsChecked(IdDataBase) && IsChecked(MissingPersons))
        ShowSearchResult();
    cBaseVictimIdPuzzle::ShowReportMenu();
}

void cVictimIdPuzzleRoom::ShowSearchResult() {
    if (!IsChecked(IdDataBase) || !IsChecked(MissingPersons) || m_Solved) {
        Play("pc_result_failed");
        return;
    }
    SetChecked(VictimId);
    SetChecked(EnterName);
    m_Solved = true;
    if (m_pReport && !m_pReport->IsInInventory()) {
        m_pReport->SetVisible(true);
        Play("pc_result_complete");
    }
}

void cVictimIdPuzzleRoom::OnEnterNameButton() {
    Play("pc_result_complete");
    ShowMessage("MSG_EditboxDisabled");
    SetChecked(EnterName);
    ShowReportMenu();
}

void cVictimIdPuzzleRoom::OnEditboxDisabled() {
    NoteEditboxDisabled();
}

void cVictimIdPuzzleRoom::OnFindEscape() {
    CloseFindDialog();
}

void cVictimIdPuzzleRoom::OnFindSubmit() {
    SetChecked(EnterName);
    ShowFindDialog(false);
    ShowResultWindow(NotEnoughInfo, "ERR_NOT_ENOUGHT_INFO");
}

void cVictimIdPuzzleRoom::ShowResultWindow(SearchState state, const char* entry) {
    m_SearchState = state;
    Menu(ResultWindow).SetEntry(nullptr, GetItem(entry), nullptr);
    Menu(ResultWindow).SetVisible(true);
}

void cVictimIdPuzzleRoom::OnCheckMissingPersonsButton() {
    Menu(ReportMenu).SetVisible(false);
    ShowTestWindow();
}

void cVictimIdPuzzleRoom::ShowTestWindow() {
    Menu(MessageWindow).SetVisible(true);
    m_Features.SetAllEnabled(true);
}

void cVictimIdPuzzleRoom::OnMessageSubmit() {
    if (!m_Features.IsSolved()) {
        ShowMessage("MSG_WRONGPHYSTABLE");
        Play("pc_result_failed");
        return;
    }
    SetChecked(MissingPersons);
    ShowMessage("MSG_NOMISSINGPERSONMTD");
    Menu(MessageWindow).SetVisible(false);
    m_Features.SetAllEnabled(false);
    Menu(ReportMenu).SetVisible(false);
    ShowResultWindow(NoMissingPersonsMatch, "ERR_NO_MISSING_PERSONS_MATCH");
    Play("pc_result_complete");
}

void cVictimIdPuzzleRoom::OnMessageEscape() {
    ShowReportMenu();
}

void cVictimIdPuzzleRoom::OnCheckIdDataBaseButton() {
    Menu(ReportMenu).SetVisible(false);
    Menu(FingerprintWindow).SetVisible(true);
    m_Bar.SetVisible(true);
    if (IsChecked(IdDataBase)) {
        for (CSpyItem* item : {m_pFingerprint, m_pFindLabel, m_pResult})
            Show(item, true);
        return;
    }
    Show(m_pEnterFingerprints, true);
    if (!InventoryHas("FINGERPRINTS"))
        ShowMessage("MSG_NOFINGERPRINTS");
}

void cVictimIdPuzzleRoom::OnFingerprintsSubmit() {
    if (m_Bar.IsRunning())
        return;
    if (!IsShown(m_pFingerprint)) {
        Play("pc_result_failed");
        return;
    }
    Show(m_pEnterFingerprints, false);
    Show(m_pFingerprint, false);
    m_pFingerprint = m_Fingerprints.empty() ? nullptr : m_Fingerprints.front();
    Show(m_pFingerprint, true);
    SetChecked(IdDataBase);
    m_Bar.SetVisible(true);
    m_Bar.Start();
    Play("pc_searching_process");
    Play("pc_result_complete");
}

void cVictimIdPuzzleRoom::OnFingerprintsEscape() {
    if (m_Bar.IsRunning())
        return;
    HideFingerprintWindow();
    ShowReportMenu();
}

bool cVictimIdPuzzleRoom::OnFingerprintStep(const GUI::EventArgs&) {
    if (m_Fingerprints.size() <= 1)
        return true;
    const auto at = std::find(m_Fingerprints.begin(), m_Fingerprints.end(), m_pFingerprint);
    // The last image stays.
    if (at == m_Fingerprints.end() || at + 1 == m_Fingerprints.end())
        return true;
    Show(m_pFingerprint, false);
    m_pFingerprint = *(at + 1);
    Show(m_pFingerprint, true);
    return true;
}

bool cVictimIdPuzzleRoom::OnResultFlicker(const GUI::EventArgs&) {
    Show(m_pResult, false);
    if (m_Results.empty())
        return true;
    m_pResult = m_Results[size_t(platform::rand()) % m_Results.size()];
    const f32 angle = f32(platform::rand() * 0.2 / 32767.0 - 0.1);
    if (m_pResult) {
        m_pResult->SetRotation(angle);
        m_pResult->SetVisible(true);
    }
    return true;
}

bool cVictimIdPuzzleRoom::OnSearchFinished(const GUI::EventArgs&) {
    m_SearchState = NoMatchInDataBase;
    Menu(ResultWindow).SetEntry(nullptr, GetItem("ERR_NO_MATCH_IN_DB"), nullptr);
    ShowMessage("MSG_NOMATCHFOUNDINDB");
    HideFingerprintWindow();
    Menu(ReportMenu).SetVisible(false);
    Menu(ResultWindow).SetVisible(true);
    if (!IsChecked(MissingPersons))
        ShowMessage("MSG_NOFILLPHYSTABLE");
    return true;
}

bool cVictimIdPuzzleRoom::OnResultClose(const GUI::EventArgs&) {
    if (m_SearchState == NotEnoughInfo || m_SearchState == NoMatchInDataBase)
        Menu(ResultWindow).SetVisible(false);
    ShowReportMenu();
    return true;
}

void cVictimIdPuzzleRoom::HideFingerprintWindow() {
    for (CSpyItem* item : {m_pFingerprint, m_pFindLabel, m_pResult, m_pEnterFingerprints})
        Show(item, false);
    m_Bar.SetVisible(false);
    Menu(FingerprintWindow).SetVisible(false);
}

void cVictimIdPuzzleRoom::HideAllMenus() {
    cBaseVictimIdPuzzle::HideAllMenus();
    Menu(MessageWindow).SetVisible(false);
    m_Features.SetAllEnabled(false);
    HideFingerprintWindow();
}

bool cVictimIdPuzzleRoom::ProcessAutoActions() {
    if (m_Bar.IsRunning() || (!InventoryHas("FINGERPRINTS") && !IsChecked(IdDataBase)))
        return false;
    for (Check check : {EnterName, IdDataBase, MissingPersons})
        SetChecked(check);
    ShowSearchResult();
    ShowFindDialog(false);
    Menu(ResultWindow).SetVisible(false);
    HideFingerprintWindow();
    Menu(MessageWindow).SetVisible(false);
    m_Features.SetAllEnabled(false);
    ShowMainMenu();
    return true;
}

u8* cVictimIdPuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = cBaseVictimIdPuzzle::SaveSelf(sys, pos);
    pos = m_Features.SaveSelf(sys, pos);
    for (const CSpyItem* item : {m_pFingerprint, m_pResult, m_pFindLabel, m_pEnterFingerprints})
        pos = SaveItemRef(sys, pos, item);
    return m_Bar.SaveSelf(sys, pos);
}

const u8* cVictimIdPuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    CRoomItemLookup& rooms = RecordLookup(m_pRoomsManager);
    pos = cBaseVictimIdPuzzle::LoadSelf(sys, pos);
    pos = m_Features.LoadSelf(rooms, sys, pos);
    for (CSpyItem** item : {&m_pFingerprint, &m_pResult, &m_pFindLabel, &m_pEnterFingerprints})
        pos = LoadItemRef(rooms, sys, pos, *item);
    m_SearchState = NoSearch;
    return m_Bar.LoadSelf(rooms, sys, pos);
}
