#pragma once
#include "tk2v/util/types.h"

class aTrajectory;
class SaveLoadSystem;

// A maze character's walk segment inside a record: u32 count, then each control point as i32 x, y.
u8* SaveTrajectoryPoints(SaveLoadSystem& sys, u8* pos, const aTrajectory& trajectory);
// Rebuilds the points and starts the move from the first. In Bezier mode every point added after the
// first brings its two control points, so only the points on the path (every third) are added again:
// adding the controls too would make a segment of 4 points come back as 10. A segment never has more
// than a few points: a count above that is a damaged record, read past and left empty (one log line),
// since every point rebuilds the whole curve.
const u8* LoadTrajectoryPoints(SaveLoadSystem& sys, const u8* pos, aTrajectory& trajectory, bool beziers);
