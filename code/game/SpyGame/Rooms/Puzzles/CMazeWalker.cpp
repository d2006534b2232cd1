#include "game/SpyGame/Rooms/Puzzles/CMazeWalker.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/Toolkit/TrajectoryPoints.h"
#include "game/SpyGame/SaveCounts.h"

const char* const CMazeWalker::PoseSuffixes[PoseCount] = {
    "U", "RU", "R", "RD", "D", "LD", "L", "LU", "OD", "CD", "IDLEL", "IDLER", "IDLEU", "IDLED"};

i32 CMazeWalker::ChooseDirection(i32 previous, const CGridPath::Cell& from, const CGridPath::Cell& to) {
    auto vertical = [&](i32 down, i32 up, i32 level) {
        return to.second > from.second ? down : to.second < from.second ? up : level;
    };
    if (to.first < from.first)
        return vertical(DownLeft, UpLeft, Left);
    if (to.first > from.first)
        return vertical(DownRight, UpRight, Right);
    return vertical(Down, Up, IdlePoseAfter(previous));
}

i32 CMazeWalker::IdlePoseAfter(i32 previous) {
    switch (previous) {
    case Left:
    case IdleLeft:
        return IdleLeft;
    case Right:
    case IdleRight:
        return IdleRight;
    case Up:
    case UpRight:
    case UpLeft:
    case IdleUp:
        return IdleUp;
    default:
        return IdleDown;
    }
}

void CMazeWalker::Reset() {
    gate = -1;
    cell = -1;
    footprint.clear();
    gateTimer = 0;
    trajectory.clear();
    path.Clear();
    animations.Select(IdleDown, true);
    state = Idle;
}

void CMazeWalker::TakeRoute(const CMazeWalker& planned) {
    trajectory = planned.trajectory;
    path = planned.path;
    footprint = planned.footprint;
    state = planned.state;
    cell = planned.cell;
    gate = planned.gate;
    gateTimer = planned.gateTimer;
    speed = planned.speed;
}

void CMazeWalker::SetCenter(SpyPoint centre) {
    animations.SetPos(centre.x, centre.y);
    animations.ShiftToCorner();
}

namespace {

u32 NumberOf(i32 index) {
    return index < 0 ? 0 : u32(index) + 1;
}

i32 IndexOf(u32 number, u32 count) {
    return number == 0 || number > count ? -1 : i32(number - 1);
}

} // namespace

u8* CMazeWalker::Save(SaveLoadSystem& sys, u8* pos) const {
    pos = SaveTrajectoryPoints(sys, pos, trajectory);
    pos = animations.SaveSelf(sys, pos);
    pos = path.Save(sys, pos);
    pos = sys.writeU32(pos, u32(footprint.size()));
    for (const std::vector<u8>& column : footprint) {
        pos = sys.writeU32(pos, u32(column.size()));
        pos = sys.write(pos, column.data(), column.size());
    }
    pos = sys.writeU32(pos, state);
    pos = sys.writeU32(pos, NumberOf(cell));
    pos = sys.writeU32(pos, NumberOf(gate));
    pos = sys.writeF32(pos, gateTimer);
    return sys.writeF32(pos, speed);
}

const u8* CMazeWalker::Load(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos, u32 cellCount,
                            u32 gateCount) {
    static const char* const Reader = "CMazeWalker::Load()";
    pos = LoadTrajectoryPoints(sys, pos, trajectory, false);
    pos = animations.LoadSelf(rooms, sys, pos);
    pos = path.Load(sys, pos);
    footprint.clear();
    u32 columns = 0;
    pos = sys.readU32(pos, columns);
    if (!countFits(sys, pos, columns, 4, Reader))
        return pos + sys.bytesLeftInRecord(pos);
    footprint.resize(columns);
    for (std::vector<u8>& column : footprint) {
        u32 length = 0;
        pos = sys.readU32(pos, length);
        if (!countFits(sys, pos, length, 1, Reader)) {
            footprint.clear();
            return pos + sys.bytesLeftInRecord(pos);
        }
        column.resize(length);
        if (length > 0)
            pos = sys.read(pos, column.data(), length);
    }
    u32 cellNumber = 0, gateNumber = 0;
    pos = sys.readU32(pos, state);
    pos = sys.readU32(pos, cellNumber);
    pos = sys.readU32(pos, gateNumber);
    cell = IndexOf(cellNumber, cellCount);
    gate = IndexOf(gateNumber, gateCount);
    pos = sys.readF32(pos, gateTimer);
    return sys.readF32(pos, speed);
}
