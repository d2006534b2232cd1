#include "game/SpyGame/Rooms/Toolkit/cAnimatedLights.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/platform/Random.h"

void cAnimatedLights::Reset() {
    current = 0;
    running = false;
    for (Light& light : lights)
        light.level = base;
}

void cAnimatedLights::Start() {
    Reset();
    running = true;
    // Without lamps there is nothing to choose from (and nothing to divide by).
    if (!lights.empty())
        current = u32(platform::rand()) % u32(lights.size());
}

void cAnimatedLights::Update(f32 dt) {
    if (!running || lights.empty())
        return;
    Light& lit = lights[current];
    lit.level += dt;
    if (lit.level > PeakLevel()) {
        lit.level = base;
        Advance();
    }
    for (u32 i = 0; i < lights.size(); ++i)
        if (i != current)
            lights[i].level = base;
}

u8* cAnimatedLights::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeU32(pos, current);
    pos = sys.writeU32(pos, u32(lights.size()));
    for (const Light& light : lights) {
        pos = sys.writeF32(pos, light.x);
        pos = sys.writeF32(pos, light.y);
        pos = sys.writeF32(pos, light.level);
    }
    pos = sys.writeBool(pos, running);
    return sys.writeF32(pos, base);
}

const u8* cAnimatedLights::LoadSelf(CRoomItemLookup&, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(pos, current);
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, LightRecordSize, "cAnimatedLights::LoadSelf()")) {
        lights.clear();
        current = 0;
        return pos + sys.bytesLeftInRecord(pos);
    }
    lights.resize(count);
    for (Light& light : lights) {
        pos = sys.readF32(pos, light.x);
        pos = sys.readF32(pos, light.y);
        pos = sys.readF32(pos, light.level);
    }
    // A lamp index from a damaged save would point past the row.
    if (current >= count)
        current = 0;
    pos = sys.readBool(pos, running);
    return sys.readF32(pos, base);
}
