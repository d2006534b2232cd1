#include "RoomGroups.h"

// The hedge maze and the air vent (slots HEDGE, VENT) come with the maze puzzles.
void writeTownMazes(const std::string&, HubFiles&) {}
