#pragma once
#include "tk2v/util/types.h"

#include <vector>

class CRoomItemLookup;
class SaveLoadSystem;

// A chaser over a row of lamps: one lamp after another flares from the base level up to 2.0 − base
// and drops back. The owner places the lamps and draws each with its level; this only keeps levels.
class cAnimatedLights {
public:
    struct Light {
        // Where the owner draws the lamp.
        f32 x = 0, y = 0;
        f32 level = 0;
    };
    static constexpr u32 LightRecordSize = 12;

    virtual ~cAnimatedLights() = default;
    virtual void Update(f32 dt);
    // Current lamp 0, not running, every lamp dark.
    virtual void Reset();
    // Runs from a lamp drawn at random.
    void Start();

    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

    u32 current = 0;
    std::vector<Light> lights;
    bool running = false;
    // The level of a dark lamp.
    f32 base = 0.2f;

protected:
    f32 PeakLevel() const { return 2.0f - base; }
    void Advance() { current = (current + 1) % u32(lights.size()); }
};
