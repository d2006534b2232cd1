#pragma once
#include "game/SpyGame/Rooms/Toolkit/cHandlerCell.h"
#include "tk2v/util/types.h"

#include <memory>

class CRoomItemLookup;
class SaveLoadSystem;

// A one-shot timer of a puzzle screen: counts a duration, calls its tick handler at ticks spread
// evenly over it (one a frame at most) and its finish handler once the duration has passed.
class cSimpleTimer {
public:
    cSimpleTimer() = default;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cSimpleTimer() = default;

    // 0 ticks: only the finish.
    void SetTime(f32 duration, u16 ticks);
    void Start();
    // Not running, no ticks done, nothing elapsed; the duration and tick count stay.
    void Stop();
    void SetOnTick(std::unique_ptr<GUI::Subscriber> handler) { m_OnTick = cHandlerCell(std::move(handler)); }
    void SetOnFinish(std::unique_ptr<GUI::Subscriber> handler) {
        m_OnFinish = cHandlerCell(std::move(handler));
    }
    void Update(f32 dt);

    bool IsRunning() const { return m_Running; }
    u16 GetTicksDone() const { return m_TicksDone; }
    u16 GetTickCount() const { return m_TickCount; }
    f32 GetElapsed() const { return m_Elapsed; }
    f32 GetDuration() const { return m_Duration; }

private:
    bool m_Running = false;
    u16 m_TicksDone = 0;
    u16 m_TickCount = 0;
    f32 m_Duration = 0;
    f32 m_Elapsed = 0;
    cHandlerCell m_OnTick;
    cHandlerCell m_OnFinish;
};
