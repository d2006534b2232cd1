#pragma once
#include "game/SaveLoadEntity.h"

// Three flags of a room that its class sets and the room record carries.
class CRoomPropertys : public SaveLoadEntity {
public:
    static constexpr u32 RecordSize = 3;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    // Kept and saved; nothing reads it.
    bool m_First = true;
    // Whether the personage's inventory shows while the room is current.
    bool InventoryEnabled = true;
    // Whether the panel offers the solve button while the room is current.
    bool SolveButtonShown = false;
};
