#pragma once
#include "game/SpyGame/Rooms/Toolkit/cItemsAsOne.h"

// A group that fades from one colour to another, every channel alpha included, to let its items
// vanish or appear. It is still running on the frame that reaches the duration exactly.
class cAnimHidingByColor : public cItemsAsOne {
public:
    using cItemsAsOne::cItemsAsOne;

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const override;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) override;
    virtual void Start();
    virtual void Update(f32 dt);

    void SetParams(f32 duration, u32 from, u32 to);
    // Idle, every item in the from colour.
    void Reset();
    bool IsActive() const { return m_Active; }

private:
    u32 ColorAt(f32 elapsed) const;

    bool m_Active = false;
    u32 m_From = 0;
    u32 m_To = 0;
    f32 m_Duration = 0;
    f32 m_Elapsed = 0;
};
