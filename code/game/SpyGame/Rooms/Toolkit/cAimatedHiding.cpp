#include "game/SpyGame/Rooms/Toolkit/cAimatedHiding.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/util/log.h"

#include <algorithm>

void cAimatedHiding::Fire(CSpyItem* target, f32 duration, f32 zoom) {
    // A negative duration would run the fade backwards past full alpha.
    if (!target || !(duration > 0)) {
        log("cAimatedHiding::Fire null target!");
        return;
    }
    m_Elapsed = 0;
    m_Duration = duration;
    m_pTarget = target;
    m_Zoom = zoom;
    m_Size = target->GetScale();
    target->SetVisible(false);
    m_Active = true;
}

void cAimatedHiding::Update(f32 dt) {
    if (!m_Active || !m_pTarget)
        return;
    m_Elapsed += dt;
    // The last frame carries the time past the duration; beyond 1 the alpha would go negative.
    const f32 t = std::clamp(m_Elapsed / m_Duration, 0.0f, 1.0f);
    const f32 grown = 1 + m_Zoom * t;
    m_pTarget->SetScale({m_Size.x * grown, m_Size.y * grown}, false);
    m_pTarget->SetColor(SetColorAlpha(m_pTarget->GetColor(), u8((1 - t) * 255)));
    if (m_Elapsed >= m_Duration)
        m_Active = false;
}

void cAimatedHiding::Render() {
    if (!m_Active || !m_pTarget)
        return;
    m_pTarget->SetVisible(true);
    m_pTarget->Render();
    m_pTarget->SetVisible(false);
}

void cAimatedHiding::Reset() {
    m_Active = false;
    m_pTarget = nullptr;
}

u8* cAimatedHiding::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    for (f32 value : {m_Duration, m_Elapsed, m_Zoom, m_Size.x, m_Size.y})
        pos = sys.writeF32(pos, value);
    pos = sys.writeBool(pos, m_Active);
    return SaveItemRef(sys, pos, m_pTarget);
}

const u8* cAimatedHiding::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    for (f32* value : {&m_Duration, &m_Elapsed, &m_Zoom, &m_Size.x, &m_Size.y})
        pos = sys.readF32(pos, *value);
    pos = sys.readBool(pos, m_Active);
    pos = LoadItemRef(rooms, sys, pos, m_pTarget);
    // Fire never runs without a positive duration; a record that says otherwise would divide by it.
    if (!(m_Duration > 0))
        m_Active = false;
    return pos;
}
