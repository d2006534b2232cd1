#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"

#include "game/SaveLoadSystem.h"

u8* cSimpleTimer::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeBool(pos, m_Running);
    pos = sys.writeU16(pos, m_TicksDone);
    pos = sys.writeU16(pos, m_TickCount);
    pos = sys.writeF32(pos, m_Duration);
    return sys.writeF32(pos, m_Elapsed);
}

const u8* cSimpleTimer::LoadSelf(CRoomItemLookup&, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readBool(pos, m_Running);
    pos = sys.readU16(pos, m_TicksDone);
    pos = sys.readU16(pos, m_TickCount);
    pos = sys.readF32(pos, m_Duration);
    return sys.readF32(pos, m_Elapsed);
}

void cSimpleTimer::SetTime(f32 duration, u16 ticks) {
    m_Duration = duration;
    m_TickCount = ticks;
}

void cSimpleTimer::Start() {
    m_Running = true;
    m_TicksDone = 0;
    m_Elapsed = 0;
}

void cSimpleTimer::Stop() {
    m_Running = false;
    m_TicksDone = 0;
    m_Elapsed = 0;
}

void cSimpleTimer::Update(f32 dt) {
    if (!m_Running)
        return;
    if (m_Elapsed <= m_Duration) {
        m_Elapsed += dt;
        // The tick count bounds the ticks: the frame that passes the duration would otherwise
        // tick once more than asked.
        if (m_TicksDone < m_TickCount && f32(m_TicksDone) * m_Duration / f32(m_TickCount) < m_Elapsed) {
            ++m_TicksDone;
            m_OnTick.Call();
        }
    }
    // A tick handler that stopped or restarted the timer has set elapsed back to 0.
    if (m_Running && m_Elapsed > m_Duration) {
        m_Running = false;
        m_OnFinish.Call();
    }
}
