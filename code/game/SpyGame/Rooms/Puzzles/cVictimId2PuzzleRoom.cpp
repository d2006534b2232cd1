#include "game/SpyGame/Rooms/Puzzles/cVictimId2PuzzleRoom.h"

#include "game/CResManager.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/util/str.h"

#include <vector>

cVictimId2PuzzleRoom::cVictimId2PuzzleRoom() = default;
cVictimId2PuzzleRoom::~cVictimId2PuzzleRoom() = default;

void cVictimId2PuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    cBaseVictimIdPuzzle::AfterLoadInit();
    if (!due)
        return;
    ReadOwnSections();
    GrayEntry(MainMenu, "BTN_LOOKNAME");
    GrayEntry(MainMenu, "BTN_LOOKPHONE");
    GrayEntry(ReportMenu, "BTN_CHECK_ID_DATA_BASE");
    Menu(ResultWindow).Clear();
    for (const char* entry : {"PERSON_NOT_FOUND", "ESCAPE"})
        AddEntry(ResultWindow, entry, MakeHandler(this, &cVictimId2PuzzleRoom::OnPersonNotFoundClose));
}

void cVictimId2PuzzleRoom::ReadOwnSections() {
    if (m_Ini.selectSection("editbox")) {
        std::vector<std::string> ids;
        m_Ini.getStringList(ids, "name");
        m_AcceptedNames.clear();
        for (const std::string& id : ids)
            m_AcceptedNames.push_back(m_pResManager->GetString(id, m_Name));
    }
    if (m_Ini.selectSection("Inventory"))
        m_RequiredItem = m_Ini.getString("item");
    if (m_Ini.selectSection("WinInfo")) {
        m_pReport = GetItem(m_Ini.getString("Report"));
        Menu(MessageWindow).SetBackground(GetItem(m_Ini.getString("TestBack")));
        Menu(MessageWindow).AddPlainItem(GetItem("PROFILE_TITLE"));
        // Only the window's own way out goes on from the profile.
        Menu(MessageWindow).RemoveItem(m_pSubmit);
    }
}

void cVictimId2PuzzleRoom::Reset() {
    cBaseVictimIdPuzzle::Reset();
    ShowMainMenu();
}

bool cVictimId2PuzzleRoom::HasRequiredItem() const {
    if (!m_RequiredItem.empty())
        return InventoryHas(m_RequiredItem);
    CRoomBase* net = m_pRoomsManager && m_pRoomsManager->HasRoom("zoom_NetPuzzle")
                         ? m_pRoomsManager->GetRoom("zoom_NetPuzzle")
                         : nullptr;
    const CSpyItem* keys =
        net && net->GetItemManager().HasItem("PELUNA_KEYS") ? net->GetItem("PELUNA_KEYS") : nullptr;
    return keys && keys->IsInInventory();
}

void cVictimId2PuzzleRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                           std::optional<SpyPoint> grabOffset) {
    if (item && (item == m_pReport || item->GetName() == m_RequiredItem))
        CarryByCentre(item);
    else
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

void cVictimId2PuzzleRoom::ShowReportMenu() {
    if (IsChecked(EnterName) && !m_Solved) {
        SetChecked(MissingPersons);
        ShowSearchResult();
        return;
    }
    cBaseVictimIdPuzzle::ShowReportMenu();
}

void cVictimId2PuzzleRoom::OnEnterNameButton() {
    if (!HasRequiredItem())
        return;
    Menu(ReportMenu).SetVisible(false);
    ShowFindDialog(true);
}

void cVictimId2PuzzleRoom::OnCheckMissingPersonsButton() {
    if (!HasRequiredItem())
        return;
    SetChecked(MissingPersons);
    ShowReportMenu();
    Play("pc_result_complete");
}

void cVictimId2PuzzleRoom::OnFindSubmit() {
    const std::list<std::wstring> typed{str_toWString(m_EditBox.GetText())};
    if (MatchAnswerW(typed, m_AcceptedNames)) {
        SetChecked(EnterName);
        ShowFindDialog(false);
        Menu(MessageWindow).SetVisible(true);
        Play("pc_result_complete");
        return;
    }
    Play("pc_result_failed");
    const aLocaleServer* locale = m_pResManager ? m_pResManager->getLocaleServer() : nullptr;
    if (locale && locale->findString("MSG_ENTERWRONGNAME", m_Name)) {
        ShowMessage("MSG_ENTERWRONGNAME");
        return;
    }
    ShowFindDialog(false);
    Menu(ResultWindow).SetVisible(true);
}

void cVictimId2PuzzleRoom::OnFindEscape() {
    CloseFindDialog();
}

bool cVictimId2PuzzleRoom::OnPersonNotFoundClose(const GUI::EventArgs&) {
    Menu(ResultWindow).SetVisible(false);
    Menu(ReportMenu).SetVisible(false);
    ShowFindDialog(true);
    return true;
}

void cVictimId2PuzzleRoom::OnMessageSubmit() {
    Menu(MessageWindow).SetVisible(false);
    ShowReportMenu();
}

void cVictimId2PuzzleRoom::OnMessageEscape() {
    OnMessageSubmit();
}

void cVictimId2PuzzleRoom::ShowSearchResult() {
    if (!IsChecked(EnterName) || m_Solved) {
        Play("pc_result_failed");
        return;
    }
    SetChecked(VictimId);
    Solve();
    ShowReportMenu();
    Play("pc_result_complete");
}

void cVictimId2PuzzleRoom::Solve() {
    m_Solved = true;
    for (Check check : {VictimId, EnterName, MissingPersons})
        SetChecked(check);
    if (m_pReport) {
        m_pReport->SetVisible(true);
        m_Items.MoveItemToTop(m_pReport->GetName());
    }
    TakeAway(m_RequiredItem);
}

void cVictimId2PuzzleRoom::OnEditboxDisabled() {
    NoteEditboxDisabled();
}

bool cVictimId2PuzzleRoom::ProcessAutoActions() {
    if (!HasRequiredItem() || m_Solved)
        return false;
    Solve();
    Menu(MessageWindow).SetVisible(false);
    ShowFindDialog(false);
    ShowMainMenu();
    return true;
}
