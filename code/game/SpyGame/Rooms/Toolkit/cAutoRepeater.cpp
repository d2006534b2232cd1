#include "game/SpyGame/Rooms/Toolkit/cAutoRepeater.h"

#include "game/SaveLoadSystem.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"

namespace {

aKeyState KeyState(i32 key) {
    const aInputServer* input = aApplication::inputServer();
    return input && key >= 0 && key < 256 ? input->keyStates[key] : KEY_UP;
}

void CountDown(f32& countdown, f32 dt) {
    if (countdown > 0)
        countdown -= dt;
}

} // namespace

u8* cAutoRepeater::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeF32(pos, m_BlinkPhase);
    pos = sys.writeF32(pos, m_FirstDelay);
    pos = sys.writeF32(pos, m_Repeat);
    return sys.writeI32(pos, m_TrackedKey);
}

const u8* cAutoRepeater::LoadSelf(CRoomItemLookup&, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readF32(pos, m_BlinkPhase);
    pos = sys.readF32(pos, m_FirstDelay);
    pos = sys.readF32(pos, m_Repeat);
    u32 key = 0;
    pos = sys.readU32(pos, key);
    // Only a scan code can be tracked; anything else would index past the key states.
    m_TrackedKey = key < 256 ? i32(key) : -1;
    return pos;
}

void cAutoRepeater::Reset() {
    m_TrackedKey = -1;
    m_BlinkPhase = 0;
    m_FirstDelay = 0;
    m_Repeat = 0;
}

void cAutoRepeater::Update(f32 dt) {
    if (m_TrackedKey >= 0 && KeyState(m_TrackedKey) == KEY_RELEASED) {
        m_FirstDelay = 0;
        m_TrackedKey = -1;
    }
    m_BlinkPhase += dt;
    if (m_BlinkPhase > m_Limit)
        m_BlinkPhase = -m_Limit;
    CountDown(m_Repeat, dt);
    CountDown(m_FirstDelay, dt);
}

bool cAutoRepeater::IsKeyFired(u8 key) {
    const aKeyState state = KeyState(key);
    const bool repeats = state == KEY_HELD && m_TrackedKey == key && !(m_Repeat > 0) && !(m_FirstDelay > 0);
    if (state == KEY_PRESSED)
        m_FirstDelay = m_Limit;
    else if (repeats)
        m_Repeat = RepeatDelay;
    else
        return false;
    m_BlinkPhase = 0;
    m_TrackedKey = key;
    return true;
}
