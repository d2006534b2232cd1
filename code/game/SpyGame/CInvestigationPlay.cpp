#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CInvestigation.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"

namespace {

const char* const BackTarget = "_BACK";
constexpr u32 LeftButton = 0;
constexpr f32 PickDialogItemX = 45.0f;
constexpr f32 PickDialogItemY = 50.0f;
constexpr i32 EvidenceSlotMargin = 12;

} // namespace

u32 CInvestigation::Update(f32 dt) {
    switch (m_state) {
    case Playing:
    case EvidenceBox:
    case InvCards:
    case OnMap:
        UpdatePlay(dt);
        break;
    case Comics:
        UpdateComics(dt);
        break;
    case Menu:
        if (m_pCurrentRoom)
            m_pCurrentRoom->FrameMove(dt, true);
        break;
    default:
        if (m_state >= PhoneCall && m_state <= Completion)
            UpdateDialogState(dt);
    }
    return m_state;
}

void CInvestigation::UpdatePlay(f32 dt) {
    CRoomBase* room = m_pCurrentRoom;
    if (m_pPanel) {
        m_pPanel->SetHintsAllowed(room && room->CanShowHint());
        m_pPanel->Update(dt);
    }
    if (CPersonage* personage = CurrentPersonage())
        personage->GetInventory().FrameMove(dt);
    switch (m_pPanel ? m_pPanel->GetState() : 0) {
    case CDialogSpyGamePanel::CMD_BACK:
        GoBack();
        break;
    case CDialogSpyGamePanel::CMD_MAP:
        OpenMap();
        break;
    case CDialogSpyGamePanel::CMD_MENU:
        Await(Menu);
        return;
    case CDialogSpyGamePanel::CMD_CLUES:
        OpenInvCards();
        break;
    case CDialogSpyGamePanel::CMD_EVIDENCES:
        OpenEvidenceBox();
        break;
    case CDialogSpyGamePanel::CMD_HINT_USED:
        if (m_pCurrentRoom)
            m_pCurrentRoom->ShowHint();
        break;
    case CDialogSpyGamePanel::CMD_SOLVE:
        ShowBackdrop(true);
        m_pPanel->GetSolveConfirm().Show();
        Await(SolveConfirm);
        break;
    default:
        break;
    }
    i32 mouseX = 0, mouseY = 0;
    if (const aInputServer* input = aApplication::inputServer())
        input->getMousePos(mouseX, mouseY);
    room = m_pCurrentRoom;
    if (!room)
        return;
    const bool eventsHeld =
        (room == m_pEvidenceBox || room == m_pInvCards || room->GetState() == CRoomBase::PickShowing);
    if (!eventsHeld && ProcessEvents())
        return;
    switch (room->FrameMove(dt, false)) {
    case CRoomBase::RoomRequested:
        OnRoomRequested(room);
        return;
    case CRoomBase::ZoomRoomRequested:
        OnZoomRoomRequested(room);
        return;
    case CRoomBase::ItemRequested:
        if (room->GetRequestedItem()) {
            OnItemRequested(room);
            return;
        }
        break;
    default:
        break;
    }
    if (room->GetPropertys().InventoryEnabled && room->GetState() != CRoomBase::PickShowing)
        UpdateInventoryInput(room, mouseX, mouseY);
    if (m_tipEvents.FrameMove(dt))
        Await(m_pPanel && m_pPanel->GetHelpPers().IsVisible() ? PersonagesHelp : Tip);
}

void CInvestigation::OnRoomRequested(CRoomBase* from) {
    const std::string target = from->GetRequestedRoom();
    if (target == BackTarget) {
        GoBack();
        return;
    }
    CRoomBase* room = FindRoom(target);
    if (!room) {
        // A target no registered room answers to: stay where the player is.
        EnterRoom(from);
        return;
    }
    EnterRoom(room);
    UpdateNavigationButtons();
    if (m_state == OnMap) {
        m_currentLocation = room->GetName();
        EnableButton("Map", true);
        m_state = Playing;
    }
}

void CInvestigation::OnZoomRoomRequested(CRoomBase* from) {
    const std::string target = from->GetRequestedZoomRoom();
    CRoomBase* room = FindRoom(target);
    if (!room) {
        EnterRoom(from);
        return;
    }
    EnableButton("Map", false);
    m_history.push_back(from);
    m_pCurrentRoom = room;
    if (!room->GetEntrySound())
        PlaySound(m_pZoomInSound);
    room->Enter(m_name, nullptr);
    UpdateNavigationButtons();
}

void CInvestigation::OnItemRequested(CRoomBase* from) {
    m_pPickedItem = from->GetRequestedItem();
    CSpyItem& item = *m_pPickedItem;
    std::string about, clickUse;
    if (CPersonage* personage = CurrentPersonage()) {
        personage->SetFocusedItem(item.GetName());
        about = personage->GetFocusedItemAbout();
        clickUse = personage->GetFocusedItemClickUseText();
    }
    if (from == m_pInvCards || clickUse == "INVCARD") {
        ShowInvCard(item.GetName());
    } else if (clickUse == "EVIDENCE" && m_pPanel) {
        ShowBackdrop(true);
        CDialogPickEvidence& dialog = m_pPanel->GetPickEvidence();
        dialog.Show();
        dialog.SetContentSize(item.GetWidth() + EvidenceSlotMargin, item.GetHeight() + EvidenceSlotMargin);
        item.SetScale(item.GetOrigScale(), false);
        const aRect slot = dialog.GetSlotRect();
        item.SetPos(i16(slot.x + (i32(slot.w) - item.GetWidth()) / 2),
                    i16(slot.y + (i32(slot.h) - item.GetHeight()) / 2));
        Await(EvidencePick);
    } else if (!about.empty() && m_pPanel) {
        CDialogPickItem& dialog = m_pPanel->GetPickItem();
        dialog.SetText(from->GetName() + ":" + about, "");
        ShowBackdrop(true);
        dialog.Show();
        const aRect area = dialog.GetArea();
        item.SetPos(area.x + PickDialogItemX, area.y + PickDialogItemY);
        item.SetVisible(false);
        Await(ItemPick);
    } else {
        from->PutPickedItemToInventory();
    }
}

void CInvestigation::UpdateInventoryInput(CRoomBase* room, i32 mouseX, i32 mouseY) {
    CPersonage* personage = CurrentPersonage();
    const aInputServer* input = aApplication::inputServer();
    // A game may run without a personage at times: there is no inventory to act on then.
    if (!personage || !input || input->mouseButtons[LeftButton] != KEY_PRESSED)
        return;
    CInventory& inventory = personage->GetInventory();
    const i16 x = i16(mouseX), y = i16(mouseY);
    if (CSpyItem* held = room->GetItemOnCursor()) {
        if (held->IsQuestItem() && inventory.IsPointInArea(x, y)) {
            inventory.PutItemAtPoint(x, y, held);
            room->SetItemOnCursor(nullptr, nullptr);
        }
    } else if (CSpyItem* taken = inventory.TakeItemAtPoint(x, y)) {
        room->SetItemOnCursor(taken, nullptr);
    }
}

void CInvestigation::OpenMap() {
    if (!m_pMap)
        return;
    m_history.clear();
    LeaveCurrentRoom();
    EnterRoom(m_pMap);
    UpdateNavigationButtons();
    HideMessageBox();
    EnableButton("Map", false);
    EnableButton("Evidences", m_pEvidenceBox != nullptr);
    EnableButton("Clues", m_pInvCards != nullptr);
    m_state = OnMap;
}

void CInvestigation::GoBack() {
    HideMessageBox();
    LeaveCurrentRoom();
    aSound* back = m_pCurrentRoom ? m_pCurrentRoom->GetBackSound() : nullptr;
    PlaySound(back ? back : m_pZoomOutSound);
    if (m_history.empty()) {
        OpenMap();
        return;
    }
    CRoomBase* previous = FindRoom(m_history.back()->GetName());
    m_history.pop_back();
    if (!previous || previous == m_pMap) {
        OpenMap();
        return;
    }
    EnterRoom(previous);
    UpdateNavigationButtons();
    if (m_history.empty())
        EnableButton("Map", true);
    m_state = Playing;
}

bool CInvestigation::OpenEvidenceBox() {
    if (!m_pEvidenceBox ||
        (m_state != Started && m_state != Playing && m_state != InvCards && m_state != OnMap))
        return false;
    if (m_state == Playing || m_state == OnMap)
        PushCurrentRoom();
    LeaveCurrentRoom();
    EnterRoom(m_pEvidenceBox);
    UpdateNavigationButtons();
    EnableButton("Evidences", false);
    EnableButton("Clues", m_pInvCards != nullptr);
    m_state = EvidenceBox;
    return true;
}

bool CInvestigation::OpenInvCards() {
    if (!m_pInvCards ||
        (m_state != Started && m_state != Playing && m_state != EvidenceBox && m_state != OnMap))
        return false;
    if (m_state == Playing || m_state == OnMap)
        PushCurrentRoom();
    LeaveCurrentRoom();
    EnterRoom(m_pInvCards);
    UpdateNavigationButtons();
    EnableButton("Evidences", m_pEvidenceBox != nullptr);
    m_state = InvCards;
    return true;
}

void CInvestigation::UpdateNavigationButtons() {
    if (!m_pPanel)
        return;
    if (GUI::Widget* back = m_pPanel->GetWidget("BackBtnPanel"))
        back->SetVisible(!m_history.empty());
    if (GUI::Widget* solve = m_pPanel->GetWidget("SolveBtnPanel"))
        solve->SetVisible(m_pCurrentRoom && m_pCurrentRoom->GetPropertys().SolveButtonShown);
}
