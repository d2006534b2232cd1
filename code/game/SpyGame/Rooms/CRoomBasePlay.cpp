#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemDoor.h"
#include "game/SpyGame/CSpyItemZoomRoom.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aAmbientSoundSystem.h"
#include "tk2v/sound/aSound.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

// The frame of a room in play and the mouse input that turns clicks into item actions.

namespace {

constexpr f32 PickTimerSpeed = 1.3f;
constexpr f32 PickFadeFrom = 2.0f;
constexpr f32 PickArrival = 3.0f;
constexpr f32 HintSeconds = 4.0f;

bool Clicked() {
    const aInputServer* input = aApplication::inputServer();
    return input && input->mouseButtons[0] == KEY_PRESSED;
}

std::pair<i32, i32> MousePos() {
    i32 x = 0, y = 0;
    if (const aInputServer* input = aApplication::inputServer())
        input->getMousePos(x, y);
    return {x, y};
}

void Play(aSound* sound) {
    if (sound)
        sound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
}

// The room a door or close-up item leads to; empty for other items.
std::string TargetRoom(const CSpyItem& item) {
    if (auto door = dynamic_cast<const CSpyItemDoor*>(&item))
        return door->UseRoom();
    if (auto zoom = dynamic_cast<const CSpyItemZoomRoom*>(&item))
        return zoom->UseRoom();
    return {};
}

bool IsDoorOrZoom(const CSpyItem& item) {
    std::string kind = item.GetClassName();
    return kind == "Door" || kind == "ZoomRoom";
}

} // namespace

bool CRoomBase::MouseInActiveRect() const {
    auto [x, y] = MousePos();
    return m_ActiveRect.contains(x, y);
}

void CRoomBase::ShowBlockWidget(bool shown) {
    SetPanelWidgetVisible("BlockWidget", shown);
}

void CRoomBase::SetPanelWidgetVisible(const std::string& name, bool visible) {
    if (GUI::Widget* widget = m_pGamePanel ? m_pGamePanel->GetWidget(name) : nullptr)
        widget->SetVisible(visible);
}

void CRoomBase::SetPanelWidgetEnabled(const std::string& name, bool enabled) {
    if (GUI::Widget* widget = m_pGamePanel ? m_pGamePanel->GetWidget(name) : nullptr)
        widget->SetEnabled(enabled);
}

u32 CRoomBase::FrameMove(f32 dt, bool paused) {
    if (!IsActive())
        return m_State;
    if (m_pAmbient)
        m_pAmbient->update(dt);
    if (CurrentPersonage() != m_pPersonage)
        RefreshForPersonage();
    m_Items.FrameMoveItems(dt);
    MoveCursorItem(dt);
    if (paused)
        return m_State;
    StepPickEffects(dt);
    if (m_pHintItem) {
        m_HintTime += dt;
        if (m_HintTime >= HintSeconds)
            StopHint();
    }
    if (m_State == Playing)
        AutoPickNextItem();
    if (m_State == Playing && !IsMouseOverPanel()) {
        m_pItemUnderCursor = GetItemUnderCursor();
        if (m_pCursorItem)
            HandleCursorItemInput(dt);
        else
            HandleInput(dt);
    }
    return m_State;
}

void CRoomBase::MoveCursorItem(f32 dt) {
    auto [x, y] = MousePos();
    if (m_pCursorRoomForm && m_ActiveRect.contains(x, y)) {
        m_pCursorRoomForm->SetPos(f32(x) + m_GrabOffset.x, f32(y) + m_GrabOffset.y);
        m_pCursorRoomForm->SetVisible(true);
        m_pCursorRoomForm->FrameMove(dt);
        m_pCursorRoomForm->SetVisible(false);
    } else if (m_pCursorItem) {
        m_pCursorItem->SetPos(f32(x), f32(y));
        m_pCursorItem->FrameMoveObject(dt);
    }
}

bool CRoomBase::IsMouseOverPanel() const {
    if (!m_pGamePanel)
        return false;
    auto [x, y] = MousePos();
    return m_pGamePanel->GetMessage().IsPointInside(i16(x), i16(y)) || m_pGamePanel->IsPointOverPanel(x, y);
}

void CRoomBase::StepPickEffects(f32 dt) {
    for (auto it = m_PickEffects.begin(); it != m_PickEffects.end();) {
        auto& [item, timer] = *it;
        timer += dt * PickTimerSpeed;
        if (timer >= PickFadeFrom) {
            // An item kept waiting past its arrival stays faded out.
            const f32 left = std::max(PickArrival - timer, 0.0f);
            u32 alpha = u32(TruncToInt(left * f32(item->GetOrigColor() >> 24)));
            item->SetColor(alpha << 24 | (item->GetColor() & 0xFFFFFF));
        }
        // One item waits to be taken over at a time: a second quest item keeps its place until the
        // first has been handed over, so neither is lost.
        bool waits = item->IsQuestItem() && m_State == ItemRequested;
        if (timer <= PickArrival || waits) {
            ++it;
            continue;
        }
        ArrivePickedItem(item);
        it = m_PickEffects.erase(it);
    }
}

CSpyItem* CRoomBase::GetItemUnderCursor() {
    if (m_State != Playing || !MouseInActiveRect())
        return nullptr;
    auto [x, y] = MousePos();
    for (size_t i = m_Items.GetItemCount(); i-- > 0;) {
        CSpyItem* item = m_Items.GetItemAt(i);
        if (item == m_pCursorItem || !item->IsVisible())
            continue;
        if (item->HitTest(i16(x), i16(y)))
            return item;
    }
    return nullptr;
}

void CRoomBase::HandleInput(f32) {
    CSpyItem* item = m_pItemUnderCursor;
    if (!item) {
        if (Clicked() && MouseInActiveRect())
            Play(m_Sounds[SoundOnBadClick]);
        return;
    }
    if (!Clicked())
        return;
    CPersonage* personage = m_pPersonage;
    if (personage)
        personage->SetFocusedItem(item->GetName());
    if (item->IsLocked()) {
        if (personage)
            ShowMessage(personage->GetFocusedItemBadUse());
        return;
    }
    if (personage && personage->CanPickFocusedItem()) {
        if (item->IsQuestItemBit2() && TakeItemOnCursor(item))
            return;
        if (PickItem(item, true))
            return;
    }
    if (!personage || !personage->IsFocusedItemUsedOnSelf()) {
        if (personage && !item->IsQuestItem())
            ShowMessage(personage->GetFocusedItemAbout());
    } else if (OnClickUseItem()) {
        return;
    }
    aSound* bad = item->GetSound(CSpyItem::BadClickUseSound);
    if (!bad)
        bad = m_Sounds[SoundOnBadClick];
    aSound* message = m_Sounds[SoundMessageAppear];
    if (bad && !(message && message->isPlaying()))
        Play(bad);
}

void CRoomBase::HandleCursorItemInput(f32) {
    aSound* bad = m_pCursorItem->GetSound(CSpyItem::BadApplySound);
    if (!bad)
        bad = m_Sounds[SoundOnBadClick];
    CSpyItem* item = m_pItemUnderCursor;
    if (!item) {
        if (Clicked() && MouseInActiveRect())
            Play(bad);
        return;
    }
    if (m_pPersonage)
        m_pPersonage->SetFocusedItem(item->GetName());
    if (!Clicked())
        return;
    if (m_pPersonage &&
        m_pPersonage->GetItemUseTo(m_pCursorItem->GetName()) ==
            CPersonage::ItemKey(m_Name, item->GetName()) &&
        ApplyCursorItemToItem())
        return;
    if (m_pPersonage)
        ShowMessage(m_pPersonage->GetFocusedItemBadUse());
    Play(bad);
}

bool CRoomBase::ApplyCursorItemToItem() {
    CSpyItem* target = m_pItemUnderCursor;
    CSpyItem* carried = m_pCursorItem;
    if (!target || !carried || !target->ApplyItem(carried->GetName()))
        return false;
    if (m_pPersonage) {
        m_pPersonage->OnUseInventoryItemToFocusedItem(carried->GetName());
        ShowMessage(m_pPersonage->GetItemSuccessApplyText(carried->GetName()));
    }
    RefreshForPersonage();
    if (carried->IsNotVanishOnApply() && m_pPersonage)
        m_pPersonage->GetInventory().AddItem(carried);
    if (m_pCursorRoomForm)
        m_bSharedMouseInside = true;
    SetItemOnCursor(nullptr, nullptr);
    if (IsDoorOrZoom(*target) && target->CanUnlock() && target->IsAutoActivateOnUnlock() && m_pPersonage &&
        m_pPersonage->IsItemUsedOnSelf(m_Name, target->GetName())) {
        target->Unlock();
        m_pItemUnderCursor = target;
        m_pPersonage->SetFocusedItem(target->GetName());
        OnClickUseItem();
    }
    return true;
}

bool CRoomBase::OnClickUseItem() {
    CSpyItem* item = m_pItemUnderCursor;
    if (!item || !item->ClickUse())
        return false;
    std::string kind = item->GetClassName();
    if (kind == "Door" || kind == "ZoomRoom") {
        m_Target = TargetRoom(*item);
        m_State = kind == "Door" ? RoomRequested : ZoomRoomRequested;
    }
    if (m_pPersonage) {
        ShowMessage(m_pPersonage->GetFocusedItemClickUseText());
        m_pPersonage->OnClickAtFocusedItem(m_Name, item->GetName());
    }
    RefreshForPersonage();
    AutoPickNextItem();
    return true;
}

bool CRoomBase::PickItem(CSpyItem* item, bool animate) {
    if (m_State != Playing || !item || !(item->IsQuestItem() || item->IsISpyItem()))
        return false;
    std::string clickUse, about;
    if (m_pPersonage) {
        m_pPersonage->SetFocusedItem(item->GetName());
        clickUse = m_pPersonage->GetFocusedItemClickUseText();
        about = m_pPersonage->GetFocusedItemAbout();
    }
    if (item->IsQuestItem() && !item->IsISpyItem() && !animate) {
        m_pRequestedItem = item;
        if (m_pPersonage)
            m_pPersonage->OnPickFocusedItem();
        m_State = ItemRequested;
    } else {
        item->SetVisible(false);
        if (item == m_pHintItem)
            StopHint();
        m_PickEffects.emplace_back(item, 1.0f);
        if (item->IsQuestItem()) {
            m_pRequestedItem = item;
            item->SetMagicStars(false);
            if (clickUse.empty() && !about.empty()) {
                ShowBlockWidget(true);
                m_State = PickShowing;
            }
        }
    }
    PlayPickSound(*item, clickUse);
    m_bSharedMouseInside = m_bSharedMouseOutside = true;
    CollectHintItems();
    return true;
}

void CRoomBase::PlayPickSound(const CSpyItem& item, const std::string& clickUse) {
    if (aSound* own = item.GetSound(CSpyItem::PickSound)) {
        Play(own);
        return;
    }
    if (!item.IsQuestItem()) {
        Play(m_Sounds[SoundClickGood]);
        return;
    }
    aSound* sound = m_Sounds[SoundPickQuestItem];
    if (clickUse == "EVIDENCE" && m_Sounds[SoundFoundClue])
        sound = m_Sounds[SoundFoundClue];
    else if (clickUse == "INVCARD" && m_Sounds[SoundFoundInvCard])
        sound = m_Sounds[SoundFoundInvCard];
    Play(sound);
}

bool CRoomBase::TakeItemOnCursor(CSpyItem* item) {
    if (m_State != Playing || !item || !item->IsQuestItemBit2())
        return false;
    if (m_pPersonage) {
        m_pPersonage->SetFocusedItem(item->GetName());
        m_pPersonage->OnPickFocusedItem();
    }
    aSound* own = item->GetSound(CSpyItem::PickSound);
    Play(own ? own : m_Sounds[SoundPickItemOnCursor]);
    item->SetMagicStars(false);
    SetItemOnCursor(item, nullptr);
    if (item == m_pHintItem)
        StopHint();
    return true;
}

bool CRoomBase::AutoPickNextItem() {
    if (m_State != Playing)
        return false;
    for (size_t i = 0; i < m_Items.GetItemCount(); ++i) {
        CSpyItem* item = m_Items.GetItemAt(i);
        if (!item->CanAutoPick() || !m_pPersonage)
            continue;
        m_pPersonage->SetFocusedItem(item->GetName());
        if (m_pPersonage->CanPickFocusedItem())
            return PickItem(item, false);
    }
    return false;
}

bool CRoomBase::ProcessAutoActions() {
    if (m_State != Playing)
        return false;
    CPersonage* personage = CurrentPersonage();
    bool changed = false;
    std::set<std::string> clickUsed;
    // An item that takes an inventory item back each time could qualify for ever: each pair is tried
    // once per call.
    std::set<std::pair<std::string, std::string>> applied;
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < m_Items.GetItemCount() && !again; ++i) {
            CSpyItem* item = m_Items.GetItemAt(i);
            item->FrameMove(0);
            if (personage)
                personage->SetFocusedItem(item->GetName());
            if (!item->IsVisible() || item->IsInInventory() || !personage)
                continue;
            if (personage->CanPickFocusedItem() && PickItem(item, false)) {
                personage->OnPickFocusedItem();
                PutPickedItemToInventory();
                changed = true;
                continue;
            }
            if (IsDoorOrZoom(*item) && personage->IsFocusedItemUsedOnSelf() &&
                clickUsed.insert(item->GetName()).second) {
                item->ClickUse();
                personage->OnClickAtFocusedItem(m_Name, item->GetName());
                changed = again = true;
                continue;
            }
            again = ApplyInventoryItem(*personage, *item, applied);
            changed |= again;
        }
    }
    RefreshForPersonage();
    return changed;
}

bool CRoomBase::ApplyInventoryItem(CPersonage& personage, CSpyItem& item,
                                   std::set<std::pair<std::string, std::string>>& applied) {
    const std::string used = item.GetUsedItem();
    if (used.empty())
        return false;
    std::string room, name;
    SplitFullItemName(used, room, name);
    CInventory& inventory = personage.GetInventory();
    if (personage.GetItemUseTo(name) != CPersonage::ItemKey(m_Name, item.GetName()) ||
        !inventory.HasItem(name) || !applied.emplace(name, item.GetName()).second)
        return false;
    // The inventory item leaves only when the item takes it.
    if (!item.ApplyItem(used))
        return false;
    CSpyItem* carried = inventory.RemoveItem(name);
    personage.OnUseInventoryItemToFocusedItem(name);
    if (carried && carried->IsNotVanishOnApply())
        inventory.AddItem(carried);
    return true;
}

void CRoomBase::RenderCursorItem() {
    if (!IsActive() || !m_pCursorItem)
        return;
    if (m_pCursorRoomForm && MouseInActiveRect()) {
        m_pCursorRoomForm->SetVisible(true);
        m_pCursorRoomForm->Render();
        m_pCursorRoomForm->SetVisible(false);
    } else {
        m_pCursorItem->RenderIcon();
    }
}
