#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAimatedHiding.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimatedLights.h"
#include "game/SpyGame/Rooms/Toolkit/cAttachedItem.h"
#include "game/SpyGame/Rooms/Toolkit/cChineseBoxDisk.h"
#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

#include <string>

// The toolkit's test room. Two tiles lie on each other's slots and a disk stands askew: the player
// takes a tile and drops it on its own slot, which swaps the two, and drags the disk round until it
// rests upright. Then the room plays its show, won when the cover has faded: the tiles pulse, the
// cover fades, a seal vanishes, the lamps chase, a leaf falls and a walker crosses the floor.
class ToolkitTestRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "ToolkitTestRoom"; }

    ToolkitTestRoom();
    ~ToolkitTestRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    bool OnClickUseItem() override;

private:
    bool AreTilesHome() const;
    void StartShow();
    void StepShow(f32 dt);
    void StepLamps();
    void StepWalker();

    // Read by AfterLoadInit.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    CSpyItem* m_pTile1 = nullptr;
    CSpyItem* m_pTile2 = nullptr;
    // The tiles' homes, in room units, from the section "Tiles".
    aRect m_Slot1, m_Slot2;
    CSpyItem* m_pDisk = nullptr;
    CSpyItem* m_pCover = nullptr;
    CSpyItem* m_pSeal = nullptr;
    CSpyItem* m_pLeaf = nullptr;
    CSpyItem* m_pPrize = nullptr;
    std::vector<CSpyItem*> m_LampItems;

    // Play state, in record order.
    cMoveItemsManager m_Moves{m_Transform};
    cChineseBoxDisk m_Disk;
    cAnimateItems m_Pulse{m_Transform};
    cAnimHidingByColor m_Fade{m_Transform};
    cAimatedHiding m_Hiding;
    cAnimatedLights m_Lamps;
    PHYSICS::cPhysicsManager m_Physics;
    cAttachedItem m_Walker;
    bool m_DiskDone = false;
    bool m_Solved = false;
    bool m_Won = false;
};
