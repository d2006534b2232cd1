#include "RoomGroups.h"

// The chemistry bench (slot BENCH) and its rooms come with the chemistry puzzles.
void writeLabChemistry(const std::string&, HubFiles&) {}
