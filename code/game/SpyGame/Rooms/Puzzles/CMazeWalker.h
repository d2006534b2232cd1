#pragma once
#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "game/SpyGame/Rooms/Toolkit/cAttachedItem.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aTrajectory.h"
#include "tk2v/util/types.h"

class CRoomItemLookup;
class SaveLoadSystem;

// One character of the garden maze: the cells it still has to walk, the segment it walks now, the
// pose it shows (one of fourteen items, by direction) and the gate it is heading for. Copies of it are
// the legs of a planned flight; a planner works on copies and never touches the items.
struct CMazeWalker {
    enum State : u32 { Walking = 0, ToGate = 1, Idle = 2 };
    // Poses in the order of their item suffixes: eight directions, two unused, four idle ones.
    enum Pose : i32 { Up = 0, UpRight, Right, DownRight, Down, DownLeft, Left, UpLeft };
    enum IdlePose : i32 { IdleLeft = 10, IdleRight, IdleUp, IdleDown };
    static constexpr i32 PoseCount = 14;
    static const char* const PoseSuffixes[PoseCount];

    // The pose of a step from one cell to the next; for no step, the idle pose after `previous`.
    static i32 ChooseDirection(i32 previous, const CGridPath::Cell& from, const CGridPath::Cell& to);
    static i32 IdlePoseAfter(i32 previous);

    // No gate, no cell, nothing saved from under it, no walk, idle facing down.
    void Reset();
    // What a planner worked out for a copy of this walker: everything but the pose items.
    void TakeRoute(const CMazeWalker& planned);
    SpyPoint GetCenter() const { return animations.GetCenter(); }
    void SetCenter(SpyPoint centre);

    // Cells and gates are written as their numbers in the room's lists counted from 1 (0 for none);
    // a number past the lists loads as none.
    u8* Save(SaveLoadSystem& sys, u8* pos) const;
    const u8* Load(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos, u32 cellCount, u32 gateCount);

    aTrajectory trajectory;
    cAttachedItem animations;
    CGridPath path;
    CGridOverlay::Block footprint;
    u32 state = Idle;
    i32 cell = -1;
    i32 gate = -1;
    f32 gateTimer = 0;
    f32 speed = 0;
};
