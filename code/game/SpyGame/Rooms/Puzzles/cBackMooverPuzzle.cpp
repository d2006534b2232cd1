#include "game/SpyGame/Rooms/Puzzles/cBackMooverPuzzle.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"

cBackMooverPuzzle::cBackMooverPuzzle() {
    m_Propertys.SolveButtonShown = 1;
}

cBackMooverPuzzle::~cBackMooverPuzzle() = default;

void cBackMooverPuzzle::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due || !m_Ini.selectSection("Options"))
        return;
    m_pBackItem = GetItem(m_Ini.getString("BackItem"));
    m_pShowItem = GetItem(m_Ini.getString("ShowItem"));
}

void cBackMooverPuzzle::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    // Without a back item a click on empty space (no item under the cursor) must not lead away.
    if (!m_pBackItem || LeftButtonState() != KEY_PRESSED || m_pItemUnderCursor != m_pBackItem)
        return;
    if (m_pShowItem)
        m_pShowItem->SetVisible(true);
    m_Target = "_BACK";
    m_State = RoomRequested;
}
