#pragma once
#include "Canvas.h"

// The pictures of the puzzle cases that are not a room group's: their places on the map and the
// hubs' own things.

// The lab's and the town's places on the map (140 x 100, as the demo's).
Canvas mapLabPlace();
Canvas mapTownPlace();
// The lab's case file (80 x 56) and the note left in the town (70 x 50).
Canvas caseFile();
Canvas townNote();
