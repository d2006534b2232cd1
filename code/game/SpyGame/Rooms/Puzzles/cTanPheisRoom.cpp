#include "game/SpyGame/Rooms/Puzzles/cTanPheisRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "tk2v/sound/aSound.h"

#include <cstdlib>

namespace {

constexpr u32 Lit = 0xFFFFFFFF;
constexpr u32 Unseen = 0;

} // namespace

cTanPheisRoom::cTanPheisRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cTanPheisRoom::~cTanPheisRoom() = default;

void cTanPheisRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (due && m_Ini.selectSection("OPTIONS")) {
        m_WinMessage = m_Ini.getString("VinMessage");
        m_pTableItem = GetItem(m_Ini.getString("ItemOnTable"));
        m_pTableItem2 = GetItem(m_Ini.getString("ItemOnTable2"));
        m_CursorItemName = m_Ini.getString("ItemOnCursor.name");
        m_CursorRoomName = m_Ini.getString("ItemOnCursor.roomName");
        m_CursorDx = f32(std::atof(m_Ini.getString("ItemOnCursor.dx").c_str()));
        m_CursorDy = f32(std::atof(m_Ini.getString("ItemOnCursor.dy").c_str()));
        m_bHideOnWin = m_Ini.getInt("HideItemOnCursorOnVin") != 0;
    }
    m_bLightInside = false;
}

bool cTanPheisRoom::IsFlashlight(const CSpyItem* item) const {
    return item && item->GetName() == m_CursorItemName;
}

void cTanPheisRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm, std::optional<SpyPoint> grabOffset) {
    if (!item) {
        m_bSharedMouseInside = true;
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
        return;
    }
    // The room draws whatever is carried over it.
    m_bSharedMouseInside = false;
    if (!IsFlashlight(item)) {
        CRoomBase::SetItemOnCursor(item, nullptr, grabOffset);
        return;
    }
    const SpyPoint grab{m_CursorDx, m_CursorDy};
    if (m_CursorRoomName.empty()) {
        CRoomBase::SetItemOnCursor(item, nullptr, grab);
        return;
    }
    CRoomBase::SetItemOnCursor(item, GetItem(m_CursorRoomName), grab);
    m_bLightInside = false;
}

u32 cTanPheisRoom::FrameMove(f32 dt, bool paused) {
    if (IsFlashlight(m_pCursorItem)) {
        const bool inside = m_pCursorRoomForm && MouseInActiveRect();
        if (inside != m_bLightInside) {
            m_bLightInside = inside;
            if (aSound* turn = GetSound("flashlight_turn"))
                turn->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
        }
    }
    return CRoomBase::FrameMove(dt, paused);
}

bool cTanPheisRoom::IsTableItemLit() const {
    return m_pTableItem && m_pTableItem->GetColor() != Unseen && m_pTableItem->IsVisible();
}

void cTanPheisRoom::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    if (!IsFlashlight(m_pCursorItem) || !m_pTableItem || IsTableItemLit())
        return;
    // The hit test looks at the item in full colour; until found it stays unseen.
    m_pTableItem->SetColor(Lit);
    const auto [x, y] = MousePosition();
    if (m_pTableItem->HitTest(i16(x), i16(y)))
        RevealTableItem();
    else
        m_pTableItem->SetColor(Unseen);
}

void cTanPheisRoom::RevealTableItem() {
    m_pTableItem->SetColor(Lit);
    m_pTableItem->SetSmoothFlash(true);
    m_pTableItem->SetMagicStars(true);
    m_pTableItem->SetVisible(true);
    if (m_pTableItem2)
        m_pTableItem2->SetVisible(true);
    if (!m_WinMessage.empty())
        ShowMessage(m_WinMessage);
    if (!m_bHideOnWin)
        return;
    // A solve may come while something else is carried: that stays in hand.
    if (IsFlashlight(m_pCursorItem))
        SetItemOnCursor(nullptr, nullptr, SpyPoint{0, 0});
    if (CPersonage* personage = CurrentPersonage())
        personage->GetInventory().RemoveItem(m_CursorItemName);
}

bool cTanPheisRoom::ProcessAutoActions() {
    if (m_pTableItem && !IsTableItemLit())
        RevealTableItem();
    return CRoomBase::ProcessAutoActions();
}

u8* cTanPheisRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return sys.writeBool(CRoomBase::SaveSelf(sys, pos), m_bLightInside);
}

const u8* cTanPheisRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return sys.readBool(CRoomBase::LoadSelf(sys, pos), m_bLightInside);
}
