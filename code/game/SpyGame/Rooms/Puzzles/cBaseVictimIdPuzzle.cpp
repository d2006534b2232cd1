#include "game/SpyGame/Rooms/Puzzles/cBaseVictimIdPuzzle.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"

namespace {

struct GroupNames {
    const char* check;
    const char* button;
};
// In the order of the groups.
constexpr GroupNames Groups[] = {
    {"CHECK_VICKID", "BTN_VICTIMID"}, {"CHECK_LUPN", "BTN_LOOKPHONE"},
    {"CHECK_LUN", "BTN_LOOKNAME"},    {"CHECK_CIDB", "BTN_CHECK_ID_DATA_BASE"},
    {"CHECK_EN", "BTN_ENTER_NAME"},   {"CHECK_CMP", "BTN_CHECK_MISSING_PERSONS"},
};

} // namespace

cBaseVictimIdPuzzle::cBaseVictimIdPuzzle() {
    m_Propertys.SolveButtonShown = true;
}

cBaseVictimIdPuzzle::~cBaseVictimIdPuzzle() = default;

void cBaseVictimIdPuzzle::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_pSubmit = GetItem("SUBMIT");
    m_pEscape = GetItem("ESCAPE");
    m_pClickSound = GetSound("pc_button_mouseclick");
    m_pHoverSound = GetSound("pc_button_mouseover");
    for (int i = 0; i < CheckCount; ++i)
        m_Checks[size_t(i)] = {GetItem(Groups[i].check), false, GetItem(Groups[i].button)};
    BuildMenus();
    m_EditBox.SetOnEnter(Handler<&cBaseVictimIdPuzzle::OnFindSubmit>());
    m_EditBox.SetOnRefuse(Handler<&cBaseVictimIdPuzzle::OnEditboxDisabled>());
    m_pReport = GetItem("ID_REPORT");
}

void cBaseVictimIdPuzzle::AddEntry(Screen screen, const std::string& item,
                                   std::unique_ptr<GUI::Subscriber> handler) {
    Menu(screen).AddItem(GetItem(item), std::move(handler), nullptr, m_pClickSound, m_pHoverSound);
}

void cBaseVictimIdPuzzle::GrayEntry(Screen screen, const std::string& button) {
    Menu(screen).RemoveItem(GetItem(button));
    Menu(screen).AddItem(GetItem(button + "_GRAYED"), MakeHandler(this, &cBaseVictimIdPuzzle::Ignore));
}

void cBaseVictimIdPuzzle::BuildMenus() {
    for (const char* plain : {"CAPTION_CRIME_COMPUTER", "CHECK_VICKID", "CHECK_LUN", "CHECK_LUPN"})
        Menu(MainMenu).AddPlainItem(GetItem(plain));
    AddEntry(MainMenu, "BTN_VICTIMID", Handler<&cBaseVictimIdPuzzle::OnVictimIdButton>());
    AddEntry(MainMenu, "BTN_LOOKNAME", Handler<&cBaseVictimIdPuzzle::OnLookNameButton>());
    AddEntry(MainMenu, "BTN_LOOKPHONE", Handler<&cBaseVictimIdPuzzle::OnLookPhoneButton>());

    for (const char* plain : {"CAPTION_VICTIMIDREPORT", "CHECK_EN", "CHECK_CIDB", "CHECK_CMP"})
        Menu(ReportMenu).AddPlainItem(GetItem(plain));
    AddEntry(ReportMenu, "BTN_ENTER_NAME", Handler<&cBaseVictimIdPuzzle::OnEnterNameButton>());
    AddEntry(ReportMenu, "BTN_CHECK_MISSING_PERSONS",
             Handler<&cBaseVictimIdPuzzle::OnCheckMissingPersonsButton>());
    AddEntry(ReportMenu, "BTN_CHECK_ID_DATA_BASE", Handler<&cBaseVictimIdPuzzle::OnCheckIdDataBaseButton>());
    AddEntry(ReportMenu, "ESCAPE", Handler<&cBaseVictimIdPuzzle::OnReportEscape>());

    Menu(FindDialog).SetBackground(GetItem("CAPT_ENTER_NAME"));
    Menu(FindDialog).AddPlainItem(GetItem("FIND_DLG"));
    AddEntry(FindDialog, "SUBMIT", Handler<&cBaseVictimIdPuzzle::OnFindSubmit>());
    AddEntry(FindDialog, "ESCAPE", Handler<&cBaseVictimIdPuzzle::OnFindEscape>());

    Menu(MessageWindow).SetBackground(GetItem("TESTWINDOW"));
    Menu(MessageWindow).AddPlainItem(GetItem("MESSAGE"));
    AddEntry(MessageWindow, "SUBMIT", Handler<&cBaseVictimIdPuzzle::OnMessageSubmit>());
    AddEntry(MessageWindow, "ESCAPE", Handler<&cBaseVictimIdPuzzle::OnMessageEscape>());

    Menu(FingerprintWindow).SetBackground(GetItem("FINGERPRINTS_MENU"));
    for (const char* plain : {"MESSAGE", "PROGRESS_BACK"})
        Menu(FingerprintWindow).AddPlainItem(GetItem(plain));
    AddEntry(FingerprintWindow, "SUBMIT", Handler<&cBaseVictimIdPuzzle::OnFingerprintsSubmit>());
    AddEntry(FingerprintWindow, "ESCAPE", Handler<&cBaseVictimIdPuzzle::OnFingerprintsEscape>());
}

void cBaseVictimIdPuzzle::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    Menu(MainMenu).Reset();
    Menu(ReportMenu).Reset();
    for (Screen screen : {FindDialog, MessageWindow, ResultWindow, FingerprintWindow})
        Menu(screen).SetVisible(false);
    HideAllMenus();
    m_EditBox.SetItem(GetItem("EDITBOXTEXT"), GetSound("pc_type_symbol"));
    m_EditBox.SetActive(false);
    m_EditBox.SetText("");
    m_EditBox.SetCaretColor(0xFF000000);
    for (CheckGroup& group : m_Checks)
        group.checked = false;
    m_Solved = false;
}

void cBaseVictimIdPuzzle::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    m_EditBox.SetEditable(true);
}

u32 cBaseVictimIdPuzzle::FrameMove(f32 dt, bool paused) {
    m_EditBox.Update(dt);
    return CRoomBase::FrameMove(dt, paused);
}

void cBaseVictimIdPuzzle::Render() {
    CRoomBase::Render();
    m_EditBox.Render();
}

void cBaseVictimIdPuzzle::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    UpdatePuzzle(dt);
    for (Screen screen : {MainMenu, ReportMenu, FindDialog, ResultWindow, FingerprintWindow, MessageWindow})
        Menu(screen).Update(m_pItemUnderCursor);
}

void cBaseVictimIdPuzzle::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    UpdatePuzzle(dt);
}

void cBaseVictimIdPuzzle::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                          std::optional<SpyPoint> grabOffset) {
    if (item && item->GetName() == "REPORT_TEXT")
        CarryByCentre(item);
    else
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

void cBaseVictimIdPuzzle::CarryByCentre(CSpyItem* item) {
    item->SetInInventory(false);
    const f32 w = item->GetWidth(), h = item->GetHeight();
    item->SetInInventory(true);
    CRoomBase::SetItemOnCursor(item, item, SpyPoint{-0.5f * w, -0.5f * h});
}

bool cBaseVictimIdPuzzle::IsShown(const CSpyItem* item) const {
    return item && item->IsVisible();
}

void cBaseVictimIdPuzzle::Show(CSpyItem* item, bool shown) {
    if (item)
        item->SetVisible(shown);
}

void cBaseVictimIdPuzzle::ShowFindDialog(bool shown) {
    Menu(FindDialog).SetVisible(shown);
    m_EditBox.SetActive(shown);
}

void cBaseVictimIdPuzzle::CloseFindDialog() {
    ShowFindDialog(false);
    ShowReportMenu();
}

void cBaseVictimIdPuzzle::NoteEditboxDisabled() {
    SetChecked(EnterName);
    ShowMessage("MSG_EditboxDisabled");
}

bool cBaseVictimIdPuzzle::InventoryHas(const std::string& item) const {
    CPersonage* personage = CurrentPersonage();
    return personage && personage->GetInventory().HasItem(item);
}

void cBaseVictimIdPuzzle::TakeAway(const std::string& item) {
    if (CPersonage* personage = CurrentPersonage())
        personage->GetInventory().RemoveItem(item);
    if (m_pCursorItem && m_pCursorItem->GetName() == item)
        SetItemOnCursor(nullptr, nullptr);
}

void cBaseVictimIdPuzzle::Play(const std::string& sound) const {
    PlayRoomSound(*this, sound);
}

void cBaseVictimIdPuzzle::HideAllMenus() {
    m_EditBox.SetActive(false);
    for (Screen screen : {FingerprintWindow, FindDialog, ResultWindow, MessageWindow, ReportMenu, MainMenu})
        Menu(screen).SetVisible(false);
}

void cBaseVictimIdPuzzle::ShowMenuWithChecks(Screen screen, Check first) {
    HideAllMenus();
    Menu(screen).SetVisible(true);
    for (int i = first; i < first + 3; ++i)
        Show(m_Checks[size_t(i)].check, m_Checks[size_t(i)].checked);
    for (int i = first; i < first + 3; ++i)
        Menu(screen).EnableItem(m_Checks[size_t(i)].button, !m_Checks[size_t(i)].checked);
}

void cBaseVictimIdPuzzle::ShowMainMenu() {
    ShowMenuWithChecks(MainMenu, VictimId);
}

void cBaseVictimIdPuzzle::ShowReportMenu() {
    ShowMenuWithChecks(ReportMenu, IdDataBase);
}

void cBaseVictimIdPuzzle::OnVictimIdButton() {
    ShowReportMenu();
}

void cBaseVictimIdPuzzle::OnReportEscape() {
    ShowMainMenu();
}

void cBaseVictimIdPuzzle::UpdatePuzzle(f32) {}
void cBaseVictimIdPuzzle::OnLookNameButton() {}
void cBaseVictimIdPuzzle::OnLookPhoneButton() {}
void cBaseVictimIdPuzzle::OnEditboxDisabled() {}
void cBaseVictimIdPuzzle::OnEnterNameButton() {}
void cBaseVictimIdPuzzle::OnFindSubmit() {}
void cBaseVictimIdPuzzle::OnFindEscape() {}
void cBaseVictimIdPuzzle::OnCheckMissingPersonsButton() {}
void cBaseVictimIdPuzzle::ShowTestWindow() {}
void cBaseVictimIdPuzzle::OnMessageSubmit() {}
void cBaseVictimIdPuzzle::OnMessageEscape() {}
void cBaseVictimIdPuzzle::OnCheckIdDataBaseButton() {}
void cBaseVictimIdPuzzle::OnFingerprintsSubmit() {}
void cBaseVictimIdPuzzle::OnFingerprintsEscape() {}
void cBaseVictimIdPuzzle::ShowSearchResult() {}

u8* cBaseVictimIdPuzzle::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    for (const CSpyItem* item : {m_pSubmit, m_pEscape, m_pReport})
        pos = SaveItemRef(sys, pos, item);
    for (cMenu& menu : m_Menus)
        pos = menu.SaveSelf(sys, pos);
    pos = m_EditBox.SaveSelf(sys, pos);
    for (const CheckGroup& group : m_Checks)
        pos =
            sys.writeBool(SaveItemRef(sys, SaveItemRef(sys, pos, group.check), group.button), group.checked);
    return sys.writeBool(pos, m_Solved);
}

const u8* cBaseVictimIdPuzzle::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    CRoomItemLookup& rooms = RecordLookup(m_pRoomsManager);
    pos = CRoomBase::LoadSelf(sys, pos);
    for (CSpyItem** item : {&m_pSubmit, &m_pEscape, &m_pReport})
        pos = LoadItemRef(rooms, sys, pos, *item);
    for (cMenu& menu : m_Menus)
        pos = menu.LoadSelf(rooms, sys, pos);
    pos = m_EditBox.LoadSelf(rooms, sys, pos);
    for (CheckGroup& group : m_Checks)
        pos = sys.readBool(LoadItemRef(rooms, sys, LoadItemRef(rooms, sys, pos, group.check), group.button),
                           group.checked);
    return sys.readBool(pos, m_Solved);
}
