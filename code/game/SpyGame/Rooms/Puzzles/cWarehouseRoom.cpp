#include "game/SpyGame/Rooms/Puzzles/cWarehouseRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/RandomFloat.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/StrictFloat.h"
#include "tk2v/sound/aSound.h"

#include <utility>

namespace {

// The light's first interval, before the first one drawn at random.
constexpr f32 FirstLightSeconds = 1.0f;
// The final find shows this share of the falling sound's length after the landing.
constexpr f32 HookSoundShare = 0.5f;
const char* const Reader = "cWarehouseRoom::AfterLoadInit";

} // namespace

cWarehouseRoom::cWarehouseRoom() {
    m_Propertys.SolveButtonShown = true;
}

cWarehouseRoom::~cWarehouseRoom() = default;

void cWarehouseRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_pConsole = GetItem("PULT");
    m_pHook = GetItem("KRUK");
    for (const char* name : {"LUCH", "LIGHT_ON", "DUST"})
        if (CSpyItem* item = GetItem(name))
            m_LightGroup.AddItem(item);
    if (m_Ini.selectSection("Timers"))
        ReadTimers();
    if (m_Ini.selectSection("Kruk"))
        m_HookMinY = m_Ini.getInt("miny");
    if (m_Ini.selectSection("PhysEngine"))
        ReadPhysics();
}

void cWarehouseRoom::ReadTimers() {
    m_LightTimer.SetTime(FirstLightSeconds, 1);
    m_LightTimer.SetOnFinish(MakeHandler(this, &cWarehouseRoom::OnLightTimer));
    ReadStrictFloat(m_Ini, "minTime", m_MinTime, Reader);
    ReadStrictFloat(m_Ini, "maxTime", m_MaxTime, Reader);
    ReadStrictFloat(m_Ini, "minLuchTime", m_MinLuchTime, Reader);
    ReadStrictFloat(m_Ini, "maxLuchTime", m_MaxLuchTime, Reader);
    m_HookTimer.SetOnFinish(MakeHandler(this, &cWarehouseRoom::OnHookTimer));
}

void cWarehouseRoom::ReadPhysics() {
    ReadStrictFloat(m_Ini, "engine.g", m_Physics.g, Reader);
    ReadStrictFloat(m_Ini, "engine.wind_speed.x", m_Physics.windX, Reader);
    ReadStrictFloat(m_Ini, "engine.wind_speed.y", m_Physics.windY, Reader);
}

void cWarehouseRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    if (std::exchange(m_bHookBodyPending, false) && m_pHook)
        m_Physics.LoadObject(m_pHook->GetName(), m_Ini);
    m_LightTimer.Stop();
    m_Physics.ResetAll();
    // The body lives in room units; the item stands where the room is drawn.
    if (m_pHook) {
        const SpyPoint at = m_pHook->GetPos();
        m_Physics.SetCoord(m_pHook->GetName(), m_Transform.ScreenToLocal(at.x, at.y));
    }
    m_ReservedFlag = 0;
    const aSound* fall = GetSound("warehouse_hook_falloff");
    m_HookTimer.SetTime(HookSoundShare * (fall ? fall->getLength() : 0.0f), 1);
}

u32 cWarehouseRoom::FrameMove(f32 dt, bool paused) {
    m_HookTimer.Update(dt);
    if (m_pConsole && m_pConsole->IsVisible()) {
        if (m_pHook && !m_pHook->IsLocked())
            DropHook(dt);
        else if (!m_LightGroup.IsVisible())
            m_LightGroup.SetVisible(true);
    } else {
        Flicker(dt);
    }
    return CRoomBase::FrameMove(dt, paused);
}

void cWarehouseRoom::DropHook(f32 dt) {
    ShowBlockWidget(true);
    m_Physics.Update(dt);
    const SpyPoint body = m_Physics.GetCoord(m_pHook->GetName());
    const SpyPoint at = m_Transform.LocalToScreen(body.x, body.y);
    m_pHook->SetPos(at.x, at.y);
    if (at.y > m_Scale.y * f32(m_HookMinY)) {
        m_HookTimer.Start();
        m_pHook->SetDisabled(true);
    }
}

// A visible light stays on for an interval of the beam's range, a hidden one off for the other's.
void cWarehouseRoom::Flicker(f32 dt) {
    m_LightTimer.Update(dt);
    if (m_LightTimer.IsRunning())
        return;
    const bool on = m_LightGroup.IsVisible();
    m_LightTimer.SetTime(on ? RandomFloat(m_MinLuchTime, m_MaxLuchTime) : RandomFloat(m_MinTime, m_MaxTime),
                         1);
    m_LightTimer.Start();
}

bool cWarehouseRoom::OnLightTimer(const GUI::EventArgs&) {
    m_LightGroup.SetVisible(!m_LightGroup.IsVisible());
    ShowBlockWidget(false);
    return false;
}

bool cWarehouseRoom::OnHookTimer(const GUI::EventArgs&) {
    if (CSpyItem* last = GetItem("LASTWIN_ITEM"))
        last->SetVisible(true);
    return false;
}

u8* cWarehouseRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_Physics.SaveSelf(sys, pos);
    pos = m_LightTimer.SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pHook);
    pos = sys.writeU8(pos, m_ReservedFlag);
    return m_HookTimer.SaveSelf(sys, pos);
}

const u8* cWarehouseRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    CRoomsManager& rooms = *m_pRoomsManager;
    pos = m_Physics.LoadSelf(rooms, sys, pos);
    pos = m_LightTimer.LoadSelf(rooms, sys, pos);
    pos = LoadItemRef(rooms, sys, pos, m_pHook);
    pos = sys.readU8(pos, m_ReservedFlag);
    return m_HookTimer.LoadSelf(rooms, sys, pos);
}
