#pragma once
#include "game/SpyGame/Rooms/Toolkit/cAnimatedLights.h"

// Several lamps glow at once, each starting a little after the one before, so that a wave runs
// along the row: the next lamp starts once the current one has risen wave length / lamp count.
class cAnimatedLightsWave : public cAnimatedLights {
public:
    void Update(f32 dt) override;
    void Reset() override;

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const override;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) override;

    f32 lastStartLevel = 0.2f;
    f32 waveLength = 0;
};
