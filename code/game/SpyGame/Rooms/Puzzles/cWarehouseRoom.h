#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cItemsAsOne.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"

#include <string>

namespace GUI {
class EventArgs;
}

// A warehouse with a crane. Until the crane's console is in use a beam of light full of dust
// flickers on and off at random; once the player has the console showing, the hook drops. When it
// has fallen far enough it stays, and a moment later the scene's last find shows.
class cWarehouseRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "WarehouseRoom"; }

    cWarehouseRoom();
    ~cWarehouseRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;

private:
    void ReadTimers();
    void ReadPhysics();
    void DropHook(f32 dt);
    void Flicker(f32 dt);
    bool OnLightTimer(const GUI::EventArgs&);
    bool OnHookTimer(const GUI::EventArgs&);

    // Read by AfterLoadInit.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    CSpyItem* m_pConsole = nullptr;
    cItemsAsOne m_LightGroup{m_Transform};
    // Room-local height past which the hook has landed.
    i32 m_HookMinY = 0;
    // The light's off and on intervals, in seconds.
    f32 m_MinTime = 0, m_MaxTime = 0;
    f32 m_MinLuchTime = 0, m_MaxLuchTime = 0;
    // The hook's body is made from the room's data at the first reset only.
    bool m_bHookBodyPending = true;

    // Play state, in record order.
    PHYSICS::cPhysicsManager m_Physics;
    cSimpleTimer m_LightTimer;
    CSpyItem* m_pHook = nullptr;
    // Kept for the record; nothing reads it.
    u8 m_ReservedFlag = 0;
    cSimpleTimer m_HookTimer;
};
