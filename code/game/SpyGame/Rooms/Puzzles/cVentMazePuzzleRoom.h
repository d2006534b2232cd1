#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "game/SpyGame/Rooms/Toolkit/cAttachedItem.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aTrajectory.h"
#include "tk2v/util/aCriticalSection.h"

#include <string>
#include <vector>

class aSound;

// A dark ventilation duct seen from above. The player clicks, or holds the button, where the crawling
// figure should go, and it crawls there cell by cell with its light turning along. Two places lie hidden
// in the dark; reaching both (the dragon and the way out) shows their photos and solves the room.
class cVentMazePuzzleRoom : public CRoomBase, public aCriticalSection {
public:
    static const char* GetClassStaticName() { return "VentMazePuzzleRoom"; }

    cVentMazePuzzleRoom();
    ~cVentMazePuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    bool ProcessAutoActions() override;
    void HandleInput(f32 dt) override;
    void StopAmbient() override;

    // For tests: the path being walked and what has been found.
    const CGridPath& GetPath() const { return m_Path; }
    bool IsDragonSeen() const { return m_bDragonSeen; }
    bool IsExitSeen() const { return m_bExitSeen; }
    bool IsBothSeen() const { return m_bBothSeen; }

private:
    struct Fan {
        CSpyItem* item = nullptr;
        f32 angle = 0, dx = 0, dy = 0;
    };
    enum Frame : i32 { Crawling = 0, Resting = 1 };

    void ReadMapInfo();
    void ReadFigure();
    void ReadFans();
    bool ScreenToCell(SpyPoint point, CGridPath::Cell& cell) const;
    bool TryPath(SpyPoint from, SpyPoint to);
    bool OnClickAt(f32 x, f32 y);
    bool WalkNextCell();
    bool WalkStep(f32 dt);
    void ShowFrame(i32 frame);
    void UpdateLight(double heading);
    void CheckSightings(i32 x, i32 y);
    void SeeDragon();
    void SeeExit();
    void See(bool& seen, bool otherSeen, const char* photo, const char* firstMessage,
             const char* secondMessage);

    // From room.ini and the items, set when the room loads.
    i32 m_CellWidth = 0;
    i32 m_CellHeight = 0;
    i32 m_UnitSize = 0;
    std::vector<Fan> m_Fans;
    CSpyItem* m_pDragon = nullptr;
    CSpyItem* m_pExit = nullptr;
    aSound* m_pStepsSound = nullptr;
    CGridMap m_Grid;
    CGridOverlay m_Overlay;
    cRoomTransform m_Transform{&m_Origin, &m_Scale};

    // Play state, in the order of the room's record.
    aTrajectory m_Trajectory;
    cAttachedItem m_Figure;
    CSpyItem* m_pLight = nullptr;
    f32 m_Speed = 0;
    u16 m_Distance = 0;
    // Saved and loaded; nothing reads it.
    u16 m_KeyDelta = 0;
    f32 m_LightRadius = 0;
    CGridPath m_Path;
    f32 m_StartX = 0, m_StartY = 0;
    u32 m_StartFrame = 0;
    bool m_bEditorMode = false;
    std::string m_MapFolder;
    bool m_bDragonSeen = false;
    bool m_bExitSeen = false;
    bool m_bBothSeen = false;
    bool m_bStepsPlaying = false;
};
