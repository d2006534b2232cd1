#include "RoomGroups.h"

// The garden gate (slot GARDEN) and the garden come with the garden puzzles.
void writeTownGarden(const std::string&, HubFiles&) {}
