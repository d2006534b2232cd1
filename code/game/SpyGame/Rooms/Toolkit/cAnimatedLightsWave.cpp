#include "game/SpyGame/Rooms/Toolkit/cAnimatedLightsWave.h"

#include "game/SaveLoadSystem.h"

void cAnimatedLightsWave::Reset() {
    cAnimatedLights::Reset();
    lastStartLevel = base;
}

void cAnimatedLightsWave::Update(f32 dt) {
    if (!running || lights.empty())
        return;
    for (u32 i = 0; i < lights.size(); ++i) {
        Light& light = lights[i];
        if (light.level == base && i != current)
            continue;
        light.level += dt;
        if (light.level > PeakLevel())
            light.level = base;
    }
    const f32 level = lights[current].level;
    if (level == base || level - lastStartLevel > waveLength / f32(lights.size())) {
        Advance();
        lastStartLevel = base;
    }
}

u8* cAnimatedLightsWave::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = cAnimatedLights::SaveSelf(sys, pos);
    pos = sys.writeF32(pos, lastStartLevel);
    return sys.writeF32(pos, waveLength);
}

const u8* cAnimatedLightsWave::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = cAnimatedLights::LoadSelf(rooms, sys, pos);
    pos = sys.readF32(pos, lastStartLevel);
    return sys.readF32(pos, waveLength);
}
