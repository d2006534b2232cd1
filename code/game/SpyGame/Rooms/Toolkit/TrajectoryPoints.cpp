#include "game/SpyGame/Rooms/Toolkit/TrajectoryPoints.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/gfx/aTrajectory.h"
#include "tk2v/util/log.h"

#include <utility>
#include <vector>

namespace {
constexpr u32 MaxPoints = 64;
} // namespace

u8* SaveTrajectoryPoints(SaveLoadSystem& sys, u8* pos, const aTrajectory& trajectory) {
    pos = sys.writeU32(pos, trajectory.getPointCount());
    for (u32 i = 0; i < trajectory.getPointCount(); ++i) {
        i32 x = 0, y = 0;
        trajectory.getPoint(i, x, y);
        pos = sys.writeI32(pos, x);
        pos = sys.writeI32(pos, y);
    }
    return pos;
}

const u8* LoadTrajectoryPoints(SaveLoadSystem& sys, const u8* pos, aTrajectory& trajectory, bool beziers) {
    trajectory.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, 8, "LoadTrajectoryPoints()"))
        return pos + sys.bytesLeftInRecord(pos);
    std::vector<std::pair<i32, i32>> points(count);
    for (auto& [x, y] : points) {
        pos = sys.readI32(pos, x);
        pos = sys.readI32(pos, y);
    }
    if (count > MaxPoints) {
        log("LoadTrajectoryPoints(). %u points are more than a walk segment holds; the walk is dropped",
            count);
        return pos;
    }
    for (size_t i = 0; i < points.size(); i += beziers ? 3 : 1)
        trajectory.addPoint(points[i].first, points[i].second);
    if (count > 0)
        trajectory.startMove();
    return pos;
}
