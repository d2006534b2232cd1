#pragma once
#include "tk2v/util/types.h"

class CRoomItemLookup;
class SaveLoadSystem;

// A timer carrying a start and an end value: its owner reads the time to move something from the one
// to the other. Finished is time = duration, so a fresh animator (duration 0) never runs.
class cAnimValueChanger {
public:
    virtual ~cAnimValueChanger() = default;
    virtual void Stop() { time = duration; }
    virtual void Start() { time = 0; }
    // The time may pass the duration by one frame; the frame after puts it back on the duration.
    virtual void Update(f32 dt);
    virtual bool IsRunning() const { return time < duration; }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

    // Set by the owner before Start.
    f32 from = 0;
    f32 to = 0;
    // Seconds since Start.
    f32 time = 0;
    f32 duration = 0;
};
