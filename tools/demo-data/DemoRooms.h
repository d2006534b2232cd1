#pragma once
#include "DataWriter.h"

#include <string>

// The demo investigation's room folders below `investigation` (its data folder): each room's
// pictures, animation textures and sounds with their lists. The rooms' ini files, particle
// systems and texts are hand-written.
void writeDemoRooms(DataWriter& out, const std::string& investigation);
