#include "game/SpyGame/Rooms/Puzzles/cReservationsRegisterRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"

namespace {

constexpr u32 Opaque = 0xFFFFFFFF;
constexpr u32 Clear = 0x00FFFFFF;

} // namespace

cReservationsRegisterRoom::cReservationsRegisterRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cReservationsRegisterRoom::~cReservationsRegisterRoom() = default;

void cReservationsRegisterRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    aSound* turn = GetSound("change_page");
    m_pBack = GetItem("BACK");
    m_pNext = GetItem("NEXT");
    m_PageMenu.AddItem(m_pBack, MakeHandler(this, &cReservationsRegisterRoom::PrevPage), nullptr, turn);
    m_PageMenu.AddItem(m_pNext, MakeHandler(this, &cReservationsRegisterRoom::NextPage), nullptr, turn);
    m_pTarget = m_Items.HasItem("TARGET") ? GetItem("TARGET") : nullptr;
    if (m_pTarget)
        m_PageMenu.AddPlainItem(m_pTarget);
    if (m_Ini.selectSection("GAME")) {
        m_PageCount = i16(m_Ini.getInt("pagesCount"));
        m_bShowAfterReset = m_Ini.getInt("showAfterReset") != 0;
    }
    m_FadeOut.SetParams(FadeTime, Opaque, Clear);
    m_FadeIn.SetParams(FadeTime, Clear, Opaque);
}

CSpyItem* cReservationsRegisterRoom::PageItem(i16 page) {
    return GetItem("PAGE" + DoubleToString(page));
}

void cReservationsRegisterRoom::EnableButton(CSpyItem* button, bool enabled) {
    m_PageMenu.EnableItem(button, enabled);
    if (button)
        button->SetMagicStars(enabled);
}

void cReservationsRegisterRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    for (cAnimHidingByColor* fade : {&m_FadeOut, &m_FadeIn}) {
        fade->Clear();
        fade->Reset();
    }
    m_PageMenu.Reset();
    CSpyItem* first = PageItem(1);
    m_PageMenu.SetBackground(first);
    if (first)
        first->SetColor(Opaque);
    if (m_bShowAfterReset)
        m_PageMenu.SetVisible(true);
    m_CurrentPage = 1;
    EnableButton(m_pBack, false);
    EnableButton(m_pNext, true);
}

u32 cReservationsRegisterRoom::FrameMove(f32 dt, bool paused) {
    m_FadeOut.Update(dt);
    m_FadeIn.Update(dt);
    return CRoomBase::FrameMove(dt, paused);
}

void cReservationsRegisterRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    if (!m_pItemUnderCursor || m_FadeOut.IsActive() || m_FadeIn.IsActive())
        return;
    // The buttons appear once the story shows "NEXT", unless the book shows them from the start.
    if (!m_bShowAfterReset && m_pNext && m_pNext->IsVisible() && !m_PageMenu.IsVisible())
        m_PageMenu.SetVisible(true);
    m_PageMenu.Update(m_pItemUnderCursor);
}

void cReservationsRegisterRoom::SetupPageFade(cAnimHidingByColor& fade) {
    fade.Clear();
    for (CSpyItem* item : {m_pBack, m_pNext, m_pTarget, PageItem(m_CurrentPage)})
        if (item)
            fade.AddItem(item);
    fade.Start();
}

void cReservationsRegisterRoom::ShowPage(i16 page) {
    m_CurrentPage = page;
    SetupPageFade(m_FadeIn);
    m_PageMenu.SetBackground(PageItem(page));
}

bool cReservationsRegisterRoom::PrevPage(const GUI::EventArgs&) {
    if (m_CurrentPage < 2)
        return false;
    SetupPageFade(m_FadeOut);
    ShowPage(i16(m_CurrentPage - 1));
    EnableButton(m_pNext, true);
    if (m_CurrentPage == 1)
        EnableButton(m_pBack, false);
    return true;
}

bool cReservationsRegisterRoom::NextPage(const GUI::EventArgs&) {
    if (m_CurrentPage > m_PageCount - 1)
        return false;
    SetupPageFade(m_FadeOut);
    ShowPage(i16(m_CurrentPage + 1));
    EnableButton(m_pBack, true);
    if (m_CurrentPage == m_PageCount)
        EnableButton(m_pNext, false);
    return true;
}

u8* cReservationsRegisterRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_PageMenu.SaveSelf(sys, pos);
    pos = m_FadeOut.SaveSelf(sys, pos);
    pos = m_FadeIn.SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pTarget);
    pos = SaveItemRef(sys, pos, m_pNext);
    pos = SaveItemRef(sys, pos, m_pBack);
    pos = sys.writeU16(pos, u16(m_CurrentPage));
    pos = sys.writeU16(pos, u16(m_PageCount));
    return sys.writeBool(pos, m_bShowAfterReset);
}

const u8* cReservationsRegisterRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    pos = m_PageMenu.LoadSelf(rooms, sys, pos);
    pos = m_FadeOut.LoadSelf(rooms, sys, pos);
    pos = m_FadeIn.LoadSelf(rooms, sys, pos);
    pos = LoadItemRef(rooms, sys, pos, m_pTarget);
    pos = LoadItemRef(rooms, sys, pos, m_pNext);
    pos = LoadItemRef(rooms, sys, pos, m_pBack);
    u16 page = 0, count = 0;
    pos = sys.readU16(pos, page);
    pos = sys.readU16(pos, count);
    m_CurrentPage = i16(page);
    m_PageCount = i16(count);
    return sys.readBool(pos, m_bShowAfterReset);
}
