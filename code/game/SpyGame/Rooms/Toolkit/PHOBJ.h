#pragma once
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/util/types.h"

class CRoomItemLookup;
class SaveLoadSystem;

namespace PHYSICS {

// How the air resists a body as its speed against the wind grows: k·s, k·s², k·s³, k·s⁴, (eˢ − 1)·k.
enum FrictionLaw : u32 { LINE = 0, SQR = 1, TRIPLE = 2, QWAD = 3, EXP = 4 };

// The state of one free-flying point body, in room units (y grows downwards) and units per second.
// The angles ride along for the room, which turns its items by them; the step leaves them alone.
struct PHOBJ {
    static constexpr u32 RecordSize = 36;

    u32 friction = LINE;
    f32 mass = 0;
    f32 frict_kf = 0;
    SpyPoint speed;
    SpyPoint angle;
    SpyPoint coord;

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
};

} // namespace PHYSICS
