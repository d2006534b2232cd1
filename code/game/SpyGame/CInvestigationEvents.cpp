#include "game/CResManager.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CInvestigation.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Events/EChangePersonageInfo.h"
#include "game/SpyGame/Events/EChangePersonages.h"
#include "game/SpyGame/Events/EEventForComics.h"
#include "game/SpyGame/Events/EEventForItem.h"
#include "game/SpyGame/Events/EInvestigationClose.h"
#include "game/SpyGame/Events/EInvestigationWin.h"
#include "game/SpyGame/Events/ELocationFinish.h"
#include "game/SpyGame/Events/EMagicStarsChanger.h"
#include "game/SpyGame/Events/ENpcItemIdent.h"
#include "game/SpyGame/Events/ESearchFinish.h"
#include "game/SpyGame/Events/EShowMessage.h"
#include "game/SpyGame/Rooms/CEvidenceBox.h"
#include "game/SpyGame/Rooms/CGlobalMap.h"
#include "game/SpyGame/Rooms/CInvCards.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <list>

using namespace SpyEvents;

namespace {

template <class Event> Event* Current(const CSpyEventsManager& events) {
    return dynamic_cast<Event*>(events.GetCurrentEvent());
}

aImage* Image(CResManager* res, const std::string& name) {
    aImageManager* images = res ? res->getImageManager() : nullptr;
    return images && !name.empty() && images->hasImage(name) ? images->getImage(name) : nullptr;
}

aSound* Sound(CResManager* res, const std::string& name) {
    aSoundManager* sounds = res ? res->getSoundManager() : nullptr;
    return sounds && !name.empty() && sounds->hasSound(name) ? sounds->getSound(name) : nullptr;
}

} // namespace

bool CInvestigation::ProcessEvents() {
    CSpyEventBase* event = m_events.GetNextEvent();
    if (!event)
        return false;
    event->SetDone();
    const std::string kind = event->GetClassName();
    struct Branch {
        const char* name;
        void (CInvestigation::*run)();
    };
    static const Branch branches[] = {
        {EChangePersonages::GetClassStaticName(), &CInvestigation::RunChangePersonages},
        {ENpcItemIdent::GetClassStaticName(), &CInvestigation::RunNpcItemIdent},
        {EChangePersonageInfo::GetClassStaticName(), &CInvestigation::RunChangePersonageInfo},
        {EShowMessage::GetClassStaticName(), nullptr},
        {EEventForItem::GetClassStaticName(), &CInvestigation::RunEventForItem},
        {EEventForComics::GetClassStaticName(), &CInvestigation::RunEventForComics},
        {EMagicStarsChanger::GetClassStaticName(), &CInvestigation::RunMagicStarsChanger},
        {ESearchFinish::GetClassStaticName(), nullptr},
        {ELocationFinish::GetClassStaticName(), &CInvestigation::RunLocationFinish},
        {EInvestigationWin::GetClassStaticName(), &CInvestigation::RunInvestigationWin},
        {EInvestigationClose::GetClassStaticName(), &CInvestigation::RunInvestigationClose},
    };
    for (const Branch& branch : branches) {
        if (kind != branch.name)
            continue;
        if (branch.run) {
            (this->*branch.run)();
        } else if (auto* message = Current<EShowMessage>(m_events)) {
            ShowMessage(message->GetTextId());
        } else if (auto* search = Current<ESearchFinish>(m_events); search && m_pPanel) {
            RunFinishDialog(m_pPanel->GetSearchFinish(), search->GetTextId(), SearchFinish);
        }
        return true;
    }
    // A plain milestone: done, and the room plays on in this frame.
    return false;
}

void CInvestigation::Await(u32 dialogState) {
    m_savedState = m_state;
    m_state = dialogState;
}

void CInvestigation::RunChangePersonages() {
    auto* event = Current<EChangePersonages>(m_events);
    if (!event)
        return;
    if (event->GetTextId().empty() || !m_pPanel) {
        m_savedState = m_state;
        OnEventChangePersonages();
        return;
    }
    ShowBackdrop(true);
    CDialogPhoneCall& dialog = m_pPanel->GetPhoneCall();
    dialog.SetText(event->GetTextId(), m_name);
    dialog.SetLeftImage(Image(m_pRes, event->GetLeftPersImage()));
    dialog.SetRightImage(Image(m_pRes, event->GetRightPersImage()));
    dialog.Show();
    if (aSound* ringtone = Sound(m_pRes, event->GetRingtone()))
        ringtone->play();
    Await(PhoneCall);
}

void CInvestigation::RunNpcItemIdent() {
    auto* event = Current<ENpcItemIdent>(m_events);
    if (!event || !m_pPanel)
        return;
    ShowBackdrop(true);
    CDialogItemIdent& dialog = m_pPanel->GetItemIdent();
    dialog.SetText(event->GetTextId(), m_name);
    dialog.SetImage(Image(m_pRes, event->GetNpcImage()));
    if (event->IsDelItem())
        if (CPersonage* personage = CurrentPersonage())
            personage->GetInventory().RemoveItem(event->GetItem());
    m_pIdentifiedItem = m_pRooms ? m_pRooms->GetItemByFullName(event->GetShowItem()) : nullptr;
    dialog.Show();
    PlayDialogSound();
    Await(ItemIdent);
}

void CInvestigation::RunChangePersonageInfo() {
    auto* event = Current<EChangePersonageInfo>(m_events);
    if (!event || !m_pPersonages)
        return;
    CPersonage* personage = event->GetTargetPersonage().empty()
                                ? CurrentPersonage()
                                : m_pPersonages->GetPersonage(event->GetTargetPersonage());
    std::string room, item;
    SplitFullItemName(event->GetItem(), room, item);
    if (!personage)
        return;
    if (item == "ROOM")
        personage->SetRoomText(room, event->GetTypeInfo(), event->GetNewInfo());
    else
        personage->SetItemText({room, item}, event->GetTypeInfo(), event->GetNewInfo());
    if (m_pCurrentRoom && m_pCurrentRoom->GetName() == room)
        m_pCurrentRoom->RefreshForPersonage();
}

void CInvestigation::RunEventForItem() {
    auto* event = Current<EEventForItem>(m_events);
    if (!event)
        return;
    if (event->GetNpcImage().empty() || !m_pPanel) {
        ApplyEventItemVisibility();
        return;
    }
    ShowBackdrop(true);
    CDialogEventForItem& dialog = m_pPanel->GetEventForItem();
    dialog.SetText(event->GetTextId(), m_name);
    dialog.SetImage(Image(m_pRes, event->GetNpcImage()));
    dialog.Show();
    PlayDialogSound();
    Await(EventForItem);
}

void CInvestigation::RunEventForComics() {
    auto* event = Current<EEventForComics>(m_events);
    if (!event)
        return;
    LeaveCurrentRoom();
    std::string group, track;
    SplitFullItemName(event->GetComicsMusic(), group, track);
    if (m_pPanel)
        m_pPanel->GetScenePlayer().PlayScene(m_dataFolder + "Comics/", event->GetComicsName(), true, track,
                                             group);
    Await(Comics);
}

void CInvestigation::RunMagicStarsChanger() {
    auto* event = Current<EMagicStarsChanger>(m_events);
    if (!event || !m_pRooms)
        return;
    for (const std::string& name : event->GetItems())
        if (CSpyItem* item = m_pRooms->GetItemByFullName(name))
            item->SetMagicStars(event->GetShowStars());
}

void CInvestigation::RunFinishDialog(CDialogBase& dialog, const std::string& textId, u32 state) {
    if (auto* search = dynamic_cast<CDialogSearchFinish*>(&dialog))
        search->SetText(textId, m_name);
    else if (auto* location = dynamic_cast<CDialogLocFinish*>(&dialog))
        location->SetText(textId, m_name);
    dialog.Show();
    ShowBackdrop(true);
    PlayDialogSound();
    Await(state);
}

void CInvestigation::RunLocationFinish() {
    auto* event = Current<ELocationFinish>(m_events);
    if (!event || !m_pPanel)
        return;
    if (auto* map = dynamic_cast<CGlobalMap*>(m_pMap)) {
        if (event->IsDisableOnMap())
            map->DisableLocationForCurrPersonage(m_currentLocation, false);
        if (event->IsHideOnMap())
            map->DisableLocationForCurrPersonage(m_currentLocation, true);
    }
    RunFinishDialog(m_pPanel->GetLocFinish(), event->GetTextId(), LocationFinish);
}

void CInvestigation::RunInvestigationWin() {
    auto* event = Current<EInvestigationWin>(m_events);
    if (!event)
        return;
    if (event->IsGoToMap())
        OpenMap();
    else
        LeaveCurrentRoom();
    ShowBackdrop(true);
    if (m_pPanel)
        m_pPanel->GetCompletionEffect().Start(event->IsEndGame());
    Await(Completion);
}

void CInvestigation::RunInvestigationClose() {
    if (auto* box = dynamic_cast<CEvidenceBox*>(m_pEvidenceBox))
        if (const u32 closed = box->CountClosedItems(); closed > 0)
            log("Warning, remain not opened '%u' items in evidence box!", closed);
    Stop();
    m_state = Finished;
}

void CInvestigation::ShowMessage(const std::string& textId) {
    if (!textId.empty() && m_pPanel)
        m_pPanel->ShowMessage(textId, m_name, true);
}

void CInvestigation::ApplyEventItemVisibility() {
    auto* event = Current<EEventForItem>(m_events);
    if (!event || !m_pRooms)
        return;
    if (CSpyItem* item =
            event->GetHideItem().empty() ? nullptr : m_pRooms->GetItemByFullName(event->GetHideItem()))
        item->SetVisible(false);
    if (CSpyItem* item =
            event->GetShowItem().empty() ? nullptr : m_pRooms->GetItemByFullName(event->GetShowItem()))
        item->SetVisible(true);
}

void CInvestigation::OnEventChangePersonages() {
    auto* event = Current<EChangePersonages>(m_events);
    if (!event || !m_pPersonages)
        return;
    LeaveCurrentRoom();
    for (const std::string& name : event->GetQuitPersonages())
        m_pPersonages->RemoveActivePersonage(name);
    for (const std::string& name : event->GetNewPersonages())
        m_pPersonages->AddActivePersonage(name);
    auto find = [this](const std::string& name) {
        CPersonage* personage = m_pPersonages->GetPersonage(name);
        if (!personage)
            log("CInvestigation::OnEventChangePersonages(). Personage '%s' not exist!", name.c_str());
        return personage;
    };
    for (const SpyEvents::StringTriple& send : event->GetSendItems()) {
        CPersonage* from = find(send.from);
        CPersonage* to = find(send.to);
        if (!from || !to)
            continue;
        if (CSpyItem* item = from->GetInventory().RemoveItem(send.item))
            to->GetInventory().AddItem(item);
        else
            log("CInvestigation::FrameMove(). Change personage event, item '%s' not exist!",
                send.item.c_str());
    }
    for (const std::string& entry : event->GetSendFinishedTasks()) {
        const CPersonage::ItemKey task = ParseRoomItemPair(entry);
        CPersonage* personage = find(task.first);
        if (personage && !personage->CompleteInvestigationTask(task.second))
            log("CInvestigation::OnEventChangePersonages(). Personage '%s', task '%s' not exist!",
                task.first.c_str(), task.second.c_str());
    }
    if (aSound* ringtone = Sound(m_pRes, event->GetRingtone()))
        ringtone->stop();
    // Without a new personage the one played goes on.
    if (!event->GetNewPersonages().empty())
        SelectPersonage(event->GetNewPersonages().front());
    if (event->IsGoToMap() && m_pMap) {
        OpenMap();
        return;
    }
    EnterRoom(m_pCurrentRoom);
    ShowBackdrop(false);
    m_state = m_savedState;
}

bool CInvestigation::ShowInvCard(const std::string& name) {
    auto* cards = dynamic_cast<CInvCards*>(m_pInvCards);
    boost::shared_ptr<aImage> card = cards ? cards->LoadCardImage(name) : nullptr;
    if (!card || !m_pPanel) {
        log("CInvestigation:ShowInvCard(). Not find investigation card '%s'.", name.c_str());
        return false;
    }
    m_cardImage = card;
    ShowBackdrop(true);
    m_pPanel->GetInvCard().SetCard(card.get());
    m_pPanel->GetInvCard().Show();
    Await(InvCard);
    return true;
}

void CInvestigation::SelectPersonage(const std::string& name) {
    const auto& active = m_pPersonages ? m_pPersonages->GetActivePersonages() : std::list<std::string>();
    if (std::find(active.begin(), active.end(), name) == active.end()) {
        log("CInvestigation:SelectPersonage: not find '%s' in active personages list!", name.c_str());
        return;
    }
    m_pPersonages->SelectPersonage(name);
    CPersonage* personage = m_pPersonages->GetPersonage(name);
    if (!m_pPanel || !personage)
        return;
    m_pPanel->SetPersonage(name);
    m_pPanel->SetInventory(&personage->GetInventory());
    m_pPanel->GetMessage().SetIcon(name);
    CPersonage::CInvestigationInfo& info = personage->GetInvestigationInfo();
    m_pPanel->ShowInvestigationTasks(info.m_InvTask, &info.m_TaskGroups, m_name);
}

void CInvestigation::UpdateComics(f32 dt) {
    if (!m_pPanel) {
        m_state = m_savedState;
        return;
    }
    m_pPanel->Update(dt);
    if (m_pPanel->GetScenePlayer().IsActive())
        return;
    EnterRoom(m_pCurrentRoom);
    m_state = m_savedState;
    ProcessEvents();
}

CDialogBase* CInvestigation::DialogOf(u32 state) const {
    if (!m_pPanel)
        return nullptr;
    CDialogSpyGamePanel& panel = *m_pPanel;
    switch (state) {
    case PhoneCall:
        return &panel.GetPhoneCall();
    case ItemPick:
        return &panel.GetPickItem();
    case EvidencePick:
        return &panel.GetPickEvidence();
    case InvCard:
        return &panel.GetInvCard();
    case ItemIdent:
        return &panel.GetItemIdent();
    case EventForItem:
        return &panel.GetEventForItem();
    case PersonagesHelp:
        return &panel.GetHelpPers();
    case SearchFinish:
        return &panel.GetSearchFinish();
    case LocationFinish:
        return &panel.GetLocFinish();
    case SolveConfirm:
        return &panel.GetSolveConfirm();
    default:
        return nullptr;
    }
}

void CInvestigation::CloseDialog(CDialogBase& dialog) {
    dialog.Hide();
    ShowBackdrop(false);
    m_state = m_savedState;
}

void CInvestigation::UpdateDialogState(f32 dt) {
    if (m_pPanel)
        m_pPanel->Update(dt);
    if (m_pCurrentRoom)
        m_pCurrentRoom->FrameMove(dt, true);
    if (m_state == ItemPick && m_pPickedItem)
        m_pPickedItem->FrameMoveObject(dt);
    if (m_state == Tip) {
        if (!m_pPanel || !m_pPanel->GetTipManager().IsTipShown()) {
            ShowBackdrop(false);
            m_state = m_savedState;
        }
        return;
    }
    if (m_state == Completion) {
        if (m_pPanel && m_pPanel->GetCompletionEffect().IsPlaying())
            return;
        ShowBackdrop(false);
        m_state = m_savedState;
        if (!ProcessEvents())
            EnterRoom(m_pCurrentRoom);
        return;
    }
    CDialogBase* dialog = DialogOf(m_state);
    if (!dialog) {
        // Without the panel no dialog can answer: the state it came from goes on.
        m_state = m_savedState;
        return;
    }
    const i32 word = dialog->GetState();
    const bool pick = m_state == ItemPick || m_state == EvidencePick;
    const bool closes = word == CInGameDialog::CMD_YES || (pick && word == CDialogBase::STATE_HIDDEN) ||
                        (m_state == SolveConfirm && word == CInGameDialog::CMD_NO);
    if (!closes)
        return;
    const u32 state = m_state;
    if (state == PhoneCall) {
        dialog->Hide();
        OnEventChangePersonages();
        ShowBackdrop(false);
        return;
    }
    if (state == SolveConfirm && word == CInGameDialog::CMD_YES && m_pCurrentRoom)
        m_pCurrentRoom->SolveRoom();
    CloseDialog(*dialog);
    OnDialogClosed(state);
}

void CInvestigation::OnDialogClosed(u32 state) {
    switch (state) {
    case ItemPick:
    case EvidencePick:
    case InvCard:
        if (m_pPickedItem && m_pCurrentRoom)
            m_pCurrentRoom->PutPickedItemToInventory();
        m_pPickedItem = nullptr;
        m_cardImage.reset();
        break;
    case ItemIdent:
        if (auto* event = Current<ENpcItemIdent>(m_events);
            event && m_pRooms && !event->GetOpenItem().empty())
            if (CSpyItem* item = m_pRooms->GetItemByFullName(event->GetOpenItem()))
                item->SetVisible(true);
        m_pIdentifiedItem = nullptr;
        break;
    case EventForItem:
        ApplyEventItemVisibility();
        break;
    case SearchFinish:
        if (auto* event = Current<ESearchFinish>(m_events); event && event->IsGoToMap())
            OpenMap();
        break;
    case LocationFinish:
        OpenMap();
        break;
    default:
        break;
    }
}
