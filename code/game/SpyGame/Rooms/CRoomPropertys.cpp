#include "game/SpyGame/Rooms/CRoomPropertys.h"

#include "game/SaveLoadSystem.h"

u8* CRoomPropertys::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return sys.writeBool(sys.writeBool(sys.writeBool(pos, m_First), InventoryEnabled), SolveButtonShown);
}

const u8* CRoomPropertys::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return sys.readBool(sys.readBool(sys.readBool(pos, m_First), InventoryEnabled), SolveButtonShown);
}
