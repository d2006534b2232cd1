#include "game/SpyGame/Rooms/CRoomBase.h"

// The frame, input and drawing of a room in play: every room class keeps these slots; the base
// room answers as a room that takes no input and draws nothing.

u32 CRoomBase::FrameMove(f32, bool) {
    return m_State;
}

void CRoomBase::Render() {}

void CRoomBase::RenderCursorItem() {}

CSpyItem* CRoomBase::GetItemUnderCursor() {
    return nullptr;
}

bool CRoomBase::ProcessAutoActions() {
    return false;
}

void CRoomBase::HandleCursorItemInput(f32) {}

bool CRoomBase::ApplyCursorItemToItem() {
    return false;
}

void CRoomBase::HandleInput(f32) {}

bool CRoomBase::OnClickUseItem() {
    return false;
}

bool CRoomBase::PickItem(CSpyItem*, bool) {
    return false;
}

bool CRoomBase::TakeItemOnCursor(CSpyItem*) {
    return false;
}

bool CRoomBase::AutoPickNextItem() {
    return false;
}
