#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"

#include "game/SaveLoadSystem.h"

void cAnimHidingByColor::SetParams(f32 duration, u32 from, u32 to) {
    m_Duration = duration;
    m_From = from;
    m_To = to;
}

void cAnimHidingByColor::Start() {
    m_Elapsed = 0;
    m_Active = true;
    SetColor(m_From);
}

void cAnimHidingByColor::Reset() {
    m_Elapsed = 0;
    m_Active = false;
    SetColor(m_From);
}

u32 cAnimHidingByColor::ColorAt(f32 elapsed) const {
    u32 argb = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const i32 from = i32((m_From >> shift) & 0xFF), to = i32((m_To >> shift) & 0xFF);
        const i32 channel = TruncToInt(f32(from) - elapsed * f32(from - to) / m_Duration);
        argb |= u32(channel & 0xFF) << shift;
    }
    return argb;
}

void cAnimHidingByColor::Update(f32 dt) {
    if (!m_Active)
        return;
    m_Elapsed += dt;
    // Without a positive duration the fade has only its end.
    if (m_Duration > 0 && m_Elapsed <= m_Duration) {
        SetColor(ColorAt(m_Elapsed));
        return;
    }
    SetColor(m_To);
    m_Active = false;
}

u8* cAnimHidingByColor::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = cItemsAsOne::SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_Active);
    pos = sys.writeU32(pos, m_From);
    pos = sys.writeU32(pos, m_To);
    pos = sys.writeF32(pos, m_Duration);
    return sys.writeF32(pos, m_Elapsed);
}

const u8* cAnimHidingByColor::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = cItemsAsOne::LoadSelf(rooms, sys, pos);
    pos = sys.readBool(pos, m_Active);
    pos = sys.readU32(pos, m_From);
    pos = sys.readU32(pos, m_To);
    pos = sys.readF32(pos, m_Duration);
    return sys.readF32(pos, m_Elapsed);
}
