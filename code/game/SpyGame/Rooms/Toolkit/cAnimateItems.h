#pragma once
#include "game/SpyGame/Rooms/Toolkit/cItemsAsOne.h"

#include <list>

// A group that pulses: its items grow from a start scale to a peak at half the duration and shrink
// to an end scale, the first item about its own centre and the others keeping their places about it.
// At the end every item is back at the place and zoom it had when the pulse started.
class cAnimateItems : public cItemsAsOne {
public:
    // What Start found of an item, in room units.
    struct Record {
        SpyPoint pos;
        SpyPoint zoom;
        CSpyItem* item = nullptr;
    };
    static constexpr u32 MinRecordSize = 4 * 4 + 1;

    using cItemsAsOne::cItemsAsOne;

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const override;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) override;

    // Leaves the pulse idle.
    void SetParams(f32 duration, f32 start, f32 peak, f32 end);
    void Start();
    void Update(f32 dt);
    // Every recorded item back at its place and zoom.
    void Finish();
    // Idle, the records dropped and the items left as they are.
    void Reset();
    bool IsActive() const { return m_Active; }

private:
    f32 ScaleAt(f32 elapsed) const;
    void ApplyScale(f32 scale);

    f32 m_Duration = 0;
    f32 m_StartScale = 1;
    f32 m_PeakScale = 1;
    f32 m_EndScale = 1;
    f32 m_Elapsed = 0;
    bool m_Active = false;
    std::list<Record> m_Records;
};
