#pragma once
#include "DataWriter.h"
#include "Pictures.h"

#include <string>

// The demo investigation's room folders below `investigation` (its data folder): each room's
// pictures, animation textures and sounds with their lists. The rooms' ini files, particle
// systems and texts are hand-written.
void writeDemoRooms(DataWriter& out, const std::string& investigation);

// The puzzle cases' room folders below `investigation` (the case's data folder): the hub's pictures
// and sounds, and those of every room group of the case (RoomGroups.h). Their ini files and texts
// are hand-written.
void writeLabRooms(DataWriter& out, const std::string& investigation, PictureFonts& fonts);
void writeTownRooms(DataWriter& out, const std::string& investigation, PictureFonts& fonts);

// The rooms every investigation shares, below `investigations` (the investigations folder): the
// map and the cards room with the card's picture, and the demo investigation's evidence box and
// comic pages. Their ini files and texts are hand-written.
void writeSharedRooms(DataWriter& out, const std::string& investigations, PictureFonts& fonts);
