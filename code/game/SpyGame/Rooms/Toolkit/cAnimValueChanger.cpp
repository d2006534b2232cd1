#include "game/SpyGame/Rooms/Toolkit/cAnimValueChanger.h"

#include "game/SaveLoadSystem.h"

void cAnimValueChanger::Update(f32 dt) {
    if (IsRunning())
        time += dt;
    else
        time = duration;
}

u8* cAnimValueChanger::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeF32(pos, from);
    pos = sys.writeF32(pos, to);
    pos = sys.writeF32(pos, duration);
    return sys.writeF32(pos, time);
}

const u8* cAnimValueChanger::LoadSelf(CRoomItemLookup&, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readF32(pos, from);
    pos = sys.readF32(pos, to);
    pos = sys.readF32(pos, duration);
    return sys.readF32(pos, time);
}
