#include "game/SpyGame/Rooms/CGlobalMap.h"

#include "game/CResManager.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemDoor.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

namespace {

constexpr i32 BalloonMinWidth = 100;

CSpyItemDoor* AsDoor(CSpyItem* item) {
    return item && item->GetClassName() == "Door" ? dynamic_cast<CSpyItemDoor*>(item) : nullptr;
}

} // namespace

CGlobalMap::CGlobalMap() {
    m_Propertys.InventoryEnabled = false;
}

CGlobalMap::~CGlobalMap() = default;

void CGlobalMap::AfterLoadInit() {
    if (m_State != ResourcesQueued || !m_pResManager || !m_pResManager->isDone())
        return;
    CRoomBase::AfterLoadInit();
    aSoundManager* sounds = m_pResManager->getSoundManager();
    m_pHoverSound = sounds->hasSound("cursor_hover_icon", m_Name)
                        ? sounds->getSound("cursor_hover_icon", m_Name)
                        : nullptr;
}

void CGlobalMap::Enter(const std::string& entryName, CSpyItem* entryItem) {
    if (!IsActive() && m_State != Idle)
        return;
    CRoomBase::Enter(entryName, entryItem);
    SetPanelWidgetEnabled("Map", false);
    SetPanelWidgetVisible("BackBtnPanel", false);
    m_MouseOverLocation = 0;
}

void CGlobalMap::Leave() {
    if (!IsActive())
        return;
    CRoomBase::Leave();
    if (m_pGamePanel)
        m_pGamePanel->GetHint().Hide();
    SetPanelWidgetEnabled("Map", true);
}

void CGlobalMap::RefreshForPersonage() {
    CRoomBase::RefreshForPersonage();
    CPersonage* personage = m_pPersonage;
    for (size_t i = 0; i < m_Items.GetItemCount(); ++i) {
        CSpyItem* item = m_Items.GetItemAt(i);
        if (personage)
            personage->SetFocusedItem(item->GetName());
        CSpyItemDoor* door = AsDoor(item);
        if (!door)
            continue;
        door->SetVisible(m_pRoomsManager && m_pRoomsManager->HasRoom(door->UseRoom()));
        if (!door->IsVisible())
            continue;
        const std::string target =
            personage ? personage->GetItemUseTo(door->GetName()).second : std::string();
        if (target.empty())
            door->SetVisible(false);
        else
            door->SetDisabled(target != "ONESELF");
    }
}

void CGlobalMap::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    const aInputServer* input = aApplication::inputServer();
    i32 x = 0, y = 0;
    if (input)
        input->getMousePos(x, y);
    CSpyItemDoor* door = AsDoor(m_pItemUnderCursor);
    if (!door) {
        m_MouseOverLocation = 0;
        return;
    }
    if (!m_MouseOverLocation && m_pHoverSound)
        m_pHoverSound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    m_MouseOverLocation = 1;
    aLocaleServer* texts = m_pResManager ? m_pResManager->getLocaleServer() : nullptr;
    if (m_pGamePanel && texts && m_pGamePanel->GetHint().CanShowAt(x, y) &&
        texts->findString(door->GetName(), m_Name))
        m_pGamePanel->GetHint().ShowHint(x, y, BalloonMinWidth, door->GetName(), m_Name);
}

void CGlobalMap::DisableLocationForCurrPersonage(const std::string& location, bool hide) {
    if (!IsActive() && m_State != Idle)
        return;
    CSpyItemDoor* found = nullptr;
    for (size_t i = 0; i < m_Items.GetItemCount() && !found; ++i)
        if (CSpyItemDoor* door = AsDoor(m_Items.GetItemAt(i)); door && door->UseRoom() == location)
            found = door;
    if (!found) {
        log("CGlobalMap::DisableLocationForCurrPersonage(). Not exist location with name '%s'",
            location.c_str());
        return;
    }
    if (CPersonage* personage = CurrentPersonage())
        personage->SetItemText({m_Name, found->GetName()}, "UseTo", hide ? "" : "NONE");
}
