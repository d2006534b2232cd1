#include "game/SpyGame/Rooms/Puzzles/cCursorRoomShower.h"

#include "game/SpyGame/CSpyItem.h"
#include "tk2v/sound/aSound.h"

cCursorRoomShower::cCursorRoomShower() {
    m_Propertys.SolveButtonShown = 1;
}

cCursorRoomShower::~cCursorRoomShower() = default;

void cCursorRoomShower::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    if (m_Ini.selectSection("Options")) {
        m_pWatched = GetItem(m_Ini.getString("Item"));
        m_pLoopSound = GetSound(m_Ini.getString("Sound"));
    }
    if (m_Ini.selectSection("CursorShower"))
        for (m_Ini.firstKey(); !m_Ini.isKeysEnd(); m_Ini.nextKey())
            m_CursorForms[m_Ini.getKeyName()] = m_Ini.getKeyValue();
}

u32 cCursorRoomShower::FrameMove(f32 dt, bool paused) {
    // Started again once it has ended, for as long as the item shows; hiding the item does not stop it.
    if (m_pWatched && m_pLoopSound && m_pWatched->IsVisible() && !m_pLoopSound->isPlaying())
        m_pLoopSound->play(true, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    return CRoomBase::FrameMove(dt, paused);
}

void cCursorRoomShower::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                        std::optional<SpyPoint> grabOffset) {
    const auto form = item ? m_CursorForms.find(item->GetName()) : m_CursorForms.end();
    if (form == m_CursorForms.end()) {
        m_bSharedMouseInside = true;
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
        return;
    }
    // A form the room lacks: the item stands in for itself, still drawn by the room.
    CSpyItem* shown = m_Items.HasItem(form->second) ? GetItem(form->second) : item;
    m_bSharedMouseInside = false;
    const SpyPoint centre{-0.5f * f32(shown->GetWidth()), -0.5f * f32(shown->GetHeight())};
    CRoomBase::SetItemOnCursor(item, shown, centre);
}

void cCursorRoomShower::StopAmbient() {
    CRoomBase::StopAmbient();
    if (m_pLoopSound)
        m_pLoopSound->stop();
}
