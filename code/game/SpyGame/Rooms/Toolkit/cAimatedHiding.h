#pragma once
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/util/types.h"

class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// An item that vanishes: it grows a little while its alpha falls from 255 to 0. The item is hidden
// from the moment it is fired and drawn only by Render while the animation runs.
class cAimatedHiding {
public:
    // Refused, with a line, without a target or a positive duration.
    void Fire(CSpyItem* target, f32 duration, f32 zoom);
    void Update(f32 dt);
    void Render();
    void Reset();
    bool IsActive() const { return m_Active; }
    CSpyItem* GetTarget() const { return m_pTarget; }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

private:
    f32 m_Duration = 0;
    f32 m_Elapsed = 0;
    // How much the target grows by the end.
    f32 m_Zoom = 0;
    // The target's zoom when fired.
    SpyPoint m_Size;
    bool m_Active = false;
    CSpyItem* m_pTarget = nullptr;
};
