#pragma once
#include "game/SpyGame/Rooms/Toolkit/NamedRecords.h"
#include "game/SpyGame/Rooms/Toolkit/PHOBJ.h"
#include "game/SpyGame/SpyPoint.h"

#include <string>

class aOptionsFile;
class CRoomItemLookup;
class SaveLoadSystem;

namespace PHYSICS {

// Named point bodies falling under gravity, pushed by a constant wind and slowed by drag. They meet
// nothing, not even each other: the room reads their coordinates to place its items and fixes a body
// when it should stop.
class cPhysicsManager {
public:
    // A body as loaded, the one that moves, and whether it is held still.
    struct Body {
        PHOBJ initial;
        PHOBJ current;
        bool fixed = false;
    };

    // Name, NUL, two body records and the fixed byte.
    static constexpr u32 MinBodyRecordSize = 1 + 2 * PHOBJ::RecordSize + 1;

    // Makes `name` from the ini section of that name, replacing a body of that name. Only the initial
    // state is filled: ResetAll makes it the current one.
    void LoadObject(const std::string& name, aOptionsFile& ini);
    void Update(f32 dt);
    void ResetAll();
    // (0, 0) for an unknown body.
    SpyPoint GetCoord(const std::string& name) const;
    void SetCoord(const std::string& name, SpyPoint coord);
    void SetFixed(const std::string& name, bool fixed);
    // The smallest x and the smallest y over the bodies, each on its own; (0, 0) without bodies.
    SpyPoint GetMinCoord() const;
    void Clear() { m_Bodies.clear(); }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

    // The drag at speed s; a law beyond the five counts as LINE.
    static f32 FrictionForce(u32 law, f32 k, f32 s);

    // Set by the rooms from their data; not saved.
    f32 windX = 10.0f;
    f32 windY = 0.0f;
    f32 g = 9.81f;

private:
    // In name order, which is the order they step and save in.
    NamedRecords<Body> m_Bodies;
};

} // namespace PHYSICS
