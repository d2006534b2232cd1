#include "game/SpyGame/Rooms/Toolkit/PHOBJ.h"

#include "game/SaveLoadSystem.h"

namespace PHYSICS {

u8* PHOBJ::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeU32(pos, friction);
    for (f32 value : {mass, frict_kf, speed.x, speed.y, angle.x, angle.y, coord.x, coord.y})
        pos = sys.writeF32(pos, value);
    return pos;
}

const u8* PHOBJ::LoadSelf(CRoomItemLookup&, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(pos, friction);
    for (f32* value : {&mass, &frict_kf, &speed.x, &speed.y, &angle.x, &angle.y, &coord.x, &coord.y})
        pos = sys.readF32(pos, *value);
    return pos;
}

} // namespace PHYSICS
