#include "game/SpyGame/Rooms/Toolkit/cProgressBar.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"

u8* cProgressBar::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, m_Value);
    pos = SaveItemRef(sys, pos, m_Item);
    pos = sys.writeU8(pos, m_Direction);
    pos = sys.writeBool(pos, m_Running);
    pos = sys.writeBool(pos, m_Visible);
    pos = sys.writeU32(pos, m_Counter);
    pos = sys.writeF32(pos, m_Duration);
    return sys.writeF32(pos, m_Elapsed);
}

const u8* cProgressBar::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(pos, m_Value);
    pos = LoadItemRef(rooms, sys, pos, m_Item);
    pos = sys.readU8(pos, m_Direction);
    pos = sys.readBool(pos, m_Running);
    pos = sys.readBool(pos, m_Visible);
    pos = sys.readU32(pos, m_Counter);
    pos = sys.readF32(pos, m_Duration);
    return sys.readF32(pos, m_Elapsed);
}

void cProgressBar::SetItem(CSpyItem* item, u8 direction) {
    m_Item = item;
    m_Direction = direction;
}

void cProgressBar::AddPeriodic(f32 period, std::unique_ptr<GUI::Subscriber> handler) {
    m_Periodic.push_back({cHandlerCell(std::move(handler)), period, 0});
}

void cProgressBar::Start() {
    m_Elapsed = 0;
    m_Counter = 0;
    m_Running = true;
    for (Periodic& periodic : m_Periodic)
        periodic.gathered = 0;
    ++m_Starts;
}

void cProgressBar::Update(f32 dt) {
    if (!m_Running)
        return;
    if (m_Elapsed <= m_Duration) {
        m_Elapsed += dt;
        const u32 starts = m_Starts;
        for (Periodic& periodic : m_Periodic) {
            periodic.gathered += dt;
            if (periodic.gathered <= periodic.period)
                continue;
            periodic.gathered = 0;
            periodic.handler.Call();
            // A handler that stopped or restarted the bar leaves the rest of this update undone.
            if (!m_Running || starts != m_Starts)
                return;
        }
    }
    if (m_Elapsed > m_Duration) {
        m_Running = false;
        m_OnFinish.Call();
    }
}

f32 cProgressBar::Fraction() const {
    // A bar of no duration is full as soon as any time has passed.
    if (!(m_Duration > 0))
        return m_Elapsed > 0 ? 1.0f : 0.0f;
    const f32 fraction = m_Elapsed / m_Duration;
    return fraction == fraction ? ClampF(fraction, 0, 1) : 0.0f;
}

void cProgressBar::Render() {
    if (!m_Visible || !m_Item)
        return;
    const aRect rect = GetItemRect(m_Item);
    const f32 fraction = Fraction();
    if (m_Direction == 0)
        m_Gdi.drawRect(rect.x, rect.y, rect.w, f32(rect.h) * fraction, true);
    else
        m_Gdi.drawRect(rect.x, rect.y, f32(rect.w) * fraction, rect.h, true);
}
