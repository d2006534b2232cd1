#pragma once
#include "tk2v/util/types.h"

class cEditBox;
class CRoomItemLookup;
class SaveLoadSystem;

// Turns a held key into presses: one when it goes down, then, once the first delay has run out,
// one every 0.05 s while it stays down. It also runs a caret blink: the phase climbs from minus the
// limit to the limit and starts over, and every press sets it back to 0 so the caret shows.
class cAutoRepeater {
public:
    static constexpr f32 RepeatDelay = 0.05f;

    // The limit is the first delay and half the blink period.
    explicit cAutoRepeater(f32 limit = 0.7f) : m_Limit(limit) {}
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cAutoRepeater() = default;

    // No key tracked, blink and countdowns 0.
    void Reset();
    void Update(f32 dt);
    bool IsKeyFired(u8 key);

    f32 GetBlinkPhase() const { return m_BlinkPhase; }
    // -1 for none.
    i32 GetTrackedKey() const { return m_TrackedKey; }

private:
    // The edit box keeps these fields in a record of its own.
    friend class cEditBox;

    f32 m_Limit;
    f32 m_BlinkPhase = 0;
    f32 m_FirstDelay = 0;
    f32 m_Repeat = 0;
    i32 m_TrackedKey = -1;
};
