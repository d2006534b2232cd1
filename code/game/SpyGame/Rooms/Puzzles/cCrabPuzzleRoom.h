#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aTrajectory.h"

#include <array>
#include <list>
#include <memory>
#include <string>

// One of the beach's holes: where the crab comes out and how far it runs, the thing that blocks it,
// and the hole the player clicks.
struct CrabHole {
    // Saved and loaded with the hole; play never reads them.
    f32 reserved[2] = {0, 0};
    // Blocks the hole while it shows.
    CSpyItem* item = nullptr;
    // The blocker's copy drawn on the cursor while its inventory item is carried.
    CSpyItem* cursorForm = nullptr;
    CSpyItem* shadow = nullptr;
    CSpyItem* holeItem = nullptr;
    // Room-local: the mouth of the hole and the far point of a run.
    SpyPoint start, turn;
    f32 angle = 0;
    f32 startAngle = 0;
};

// A close-up of a beach with five holes and a crab that carries a crystal earring. The crab pops out
// of a random hole, runs a short curve and ducks back in. The player blocks four holes with things
// from the inventory, catches the crab in the fifth with a twig, shakes the crystal off and lets the
// crab go; the crystal is left to take.
class cCrabPuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "CrabPuzzleRoom"; }

    cCrabPuzzleRoom();
    ~cCrabPuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void Init(CRoomsManager* rooms, CPersonagesManager* personages, CDialogSpyGamePanel* panel) override;
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    void Leave() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    void RenderCursorItem() override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleInput(f32 dt) override;
    void StopAmbient() override;

private:
    // Hole indices, which the crab's choice and the record's first field count by.
    enum Hole : u32 { Apple, Probka, Sigarety, Zippo, Target, HoleCount };

    void ReadOptions();
    void ReadCoords();
    void MakeHole(const char* name, Hole index);
    CSpyItem* FindItem(const std::string& name) const;
    // The record of that index; null for a blocked hole or an index past the five.
    CrabHole* OpenHole(u32 index) const;
    bool IsBlocked(u32 index) const { return !OpenHole(index); }
    u32 CountBlockedHoles() const;
    bool AreFourHolesBlocked() const { return CountBlockedHoles() == 4; }
    void ChooseNextHole();
    void StartCrabRun(CSpyItem* crab, CrabHole& hole);
    void RunCrab(f32 dt);
    void Turn(f32 dt);
    void ClickHole(CSpyItem* under);
    void ShakeOrMove(u32 blockedBefore, CSpyItem* under);
    void FinishCatch();
    CSpyItem* FindItemAtStickTip() const;
    void StartCrabSound();
    void PutOnCursor(CSpyItem* stick);
    void DrawStick(CSpyItem* stick, SpyPoint grip);
    bool IsCarrying(const CSpyItem* item) const { return item && m_pCursorItem == item; }
    bool IsCarrying(const char* name) const;
    f32 RunStep(f32 seconds) const;
    void StartPath();

    // Read by AfterLoadInit.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    f32 m_DelayOfCrabShow = 0;
    f32 m_DelayOfCrabHide = 0;
    f32 m_DelayOfCrabRotate = 0;
    f32 m_CrabRotateRange = 0;
    i32 m_StickTipDx = 0, m_StickTipDy = 0;
    bool m_bDrawCurve = false;
    std::array<CrabHole*, HoleCount> m_Holes{};
    CSpyItem* m_pStickWithCrab = nullptr;
    CSpyItem* m_pStickWithoutCrystal = nullptr;

    // Play state, in record order.
    u32 m_CurrentHoleIndex = Apple;
    f32 m_HoleTimer = 0;
    bool m_Solved = false;
    bool m_CrystalFallPending = false;
    bool m_CrystalDropped = false;
    CSpyItem* m_pCrab = nullptr;
    CSpyItem* m_pStick = nullptr;
    // The holes in the order they are made and saved: "APPLE", "ZIPPO", "SIGARETY", "PROBKA", "TARGET".
    std::list<std::unique_ptr<CrabHole>> m_HoleList;
    CrabHole* m_pCurrentHole = nullptr;
    aTrajectory m_CrabPath;
    bool m_CrabSoundPlaying = false;

    // The path's length, measured once a run as its path is laid.
    f32 m_RunLength = 0;

    // Shared by every crab room and never saved: the crab's turns keep their own beat.
    static f32 s_TurnTimer;
};
