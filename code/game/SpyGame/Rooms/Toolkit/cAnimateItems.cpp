#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/SaveCounts.h"

void cAnimateItems::SetParams(f32 duration, f32 start, f32 peak, f32 end) {
    m_Duration = duration;
    m_StartScale = start;
    m_PeakScale = peak;
    m_EndScale = end;
    m_Elapsed = duration;
}

void cAnimateItems::Start() {
    m_Elapsed = 0;
    m_Active = true;
    m_Records.clear();
    ForEachItem([&](CSpyItem& item) {
        m_Records.push_back({ToLocal(item.GetPos()), item.GetScale(), &item});
    });
    ApplyScale(m_StartScale);
}

f32 cAnimateItems::ScaleAt(f32 elapsed) const {
    const f32 half = m_Duration / 2;
    if (elapsed < half)
        return m_StartScale + elapsed * (m_PeakScale - m_StartScale) / half;
    return m_EndScale + (1 - (elapsed - half) / half) * (m_PeakScale - m_EndScale);
}

void cAnimateItems::Update(f32 dt) {
    if (!m_Active)
        return;
    m_Elapsed += dt;
    // Without a positive duration there is no pulse to run, only its end.
    if (!(m_Duration > 0) || m_Elapsed >= m_Duration) {
        Finish();
        return;
    }
    ApplyScale(ScaleAt(m_Elapsed));
}

void cAnimateItems::ApplyScale(f32 scale) {
    const Record* first = nullptr;
    SpyPoint firstPos;
    for (const Record& record : m_Records) {
        if (!record.item)
            continue;
        CSpyItem& item = *record.item;
        item.SetScale({record.zoom.x * scale, record.zoom.y * scale}, false);
        SpyPoint local;
        if (!first) {
            // The scaled size against the size at the recorded zoom: half the growth each way.
            const f32 w = item.GetWidth(), h = item.GetHeight();
            const SpyPoint growth =
                scale > 0 ? m_pTransform->UnscaleSize(w - w / scale, h - h / scale) : SpyPoint{};
            local = firstPos = {record.pos.x - growth.x / 2, record.pos.y - growth.y / 2};
            first = &record;
        } else {
            local = {firstPos.x + (record.pos.x - first->pos.x) * scale,
                     firstPos.y + (record.pos.y - first->pos.y) * scale};
        }
        const SpyPoint screen = ToScreen(local);
        item.SetPos(screen.x, screen.y);
    }
}

void cAnimateItems::Finish() {
    m_Elapsed = m_Duration;
    m_Active = false;
    for (const Record& record : m_Records) {
        if (!record.item)
            continue;
        record.item->SetScale(record.zoom, false);
        const SpyPoint screen = ToScreen(record.pos);
        record.item->SetPos(screen.x, screen.y);
    }
}

void cAnimateItems::Reset() {
    m_Elapsed = m_Duration;
    m_Active = false;
    m_Records.clear();
}

u8* cAnimateItems::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = cItemsAsOne::SaveSelf(sys, pos);
    for (f32 value : {m_Duration, m_StartScale, m_PeakScale, m_EndScale, m_Elapsed})
        pos = sys.writeF32(pos, value);
    pos = sys.writeBool(pos, m_Active);
    pos = sys.writeU32(pos, u32(m_Records.size()));
    for (const Record& record : m_Records) {
        for (f32 value : {record.pos.x, record.pos.y, record.zoom.x, record.zoom.y})
            pos = sys.writeF32(pos, value);
        pos = SaveItemRef(sys, pos, record.item);
    }
    return pos;
}

const u8* cAnimateItems::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = cItemsAsOne::LoadSelf(rooms, sys, pos);
    for (f32* value : {&m_Duration, &m_StartScale, &m_PeakScale, &m_EndScale, &m_Elapsed})
        pos = sys.readF32(pos, *value);
    pos = sys.readBool(pos, m_Active);
    m_Records.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinRecordSize, "cAnimateItems::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        Record& record = m_Records.emplace_back();
        for (f32* value : {&record.pos.x, &record.pos.y, &record.zoom.x, &record.zoom.y})
            pos = sys.readF32(pos, *value);
        pos = LoadItemRef(rooms, sys, pos, record.item);
    }
    return pos;
}
