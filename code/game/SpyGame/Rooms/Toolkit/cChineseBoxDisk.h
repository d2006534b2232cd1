#pragma once
#include "tk2v/util/types.h"

#include <list>

class aSound;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// A set of items that turn about their centres and rest at one of a fixed number of angles per turn:
// dragged round with the left button (snapping on release) or turned a step at a time.
class cChineseBoxDisk {
public:
    void AddItem(CSpyItem* item);
    bool HasItem(const CSpyItem* item) const;
    // In the set, and neither locked nor disabled.
    bool CanGrab(const CSpyItem* item) const;
    // Every item shown and standing at angle 0 (a full turn counts as 0); true for an empty set.
    bool AreItemsUpright() const;
    // Every item locked or disabled, shown and out of the inventory (set in for good); true for none.
    bool AreItemsLocked() const { return AreItemsLocked(m_Items); }
    // The same over other items, such as the pieces a cPlaceInSlot has placed.
    static bool AreItemsLocked(const std::list<CSpyItem*>& items);
    // The nearest rest angle, rounding up from 0.444445 of a step; only while enabled.
    void SnapAngle(CSpyItem* item, f32 angle);
    void RotateStep(CSpyItem* item);
    // The frame's drag; returns the item released in it, else null.
    CSpyItem* ProcessMouse(CSpyItem* itemUnderCursor);
    void StopSound();

    void SetStepCount(u32 steps) { m_StepCount = steps; }
    u32 GetStepCount() const { return m_StepCount; }
    // Played looping while a drag turns an item; may be null.
    void SetSound(aSound* sound) { m_pSound = sound; }
    aSound* GetSound() const { return m_pSound; }
    void SetEnabled(bool enabled) { m_Enabled = enabled; }
    bool IsEnabled() const { return m_Enabled; }
    CSpyItem* GetGrabbed() const { return m_pGrabbed; }
    const std::list<CSpyItem*>& GetItems() const { return m_Items; }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

private:
    f32 Step() const;
    // The pointer's angle about the grabbed item's centre.
    f32 PointerAngle(i32 x, i32 y) const;
    void Turn(i32 x, i32 y);

    u32 m_StepCount = 180;
    aSound* m_pSound = nullptr;
    CSpyItem* m_pGrabbed = nullptr;
    std::list<CSpyItem*> m_Items;
    i32 m_LastMouseX = 0, m_LastMouseY = 0;
    f32 m_GrabbedAngle = 0;
    bool m_Enabled = true;
};
