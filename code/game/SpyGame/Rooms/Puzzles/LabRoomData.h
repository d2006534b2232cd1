#pragma once
#include "tk2v/util/types.h"

#include <string>

class aOptionsFile;
class CRoomBase;
class CRoomItemLookup;
class CRoomsManager;
class CSpyItem;

// What the lab's reader and computers share in reading their data and playing their sounds.

// The seconds a key of the current section gives, as a strict float: a missing key (logged by the
// options file), a text that is not wholly a number, or one that is not finite, gives 0 and one line.
f32 ReadSeconds(const aOptionsFile& ini, const std::string& key, const char* owner);
// A count the data gives, kept to 0..limit: more than the room could show or the machine could
// hold is data gone wrong, told in one line.
i32 ClampCount(i32 count, i32 limit, const char* key, const char* owner);
// The room's sound of that name played once with its own volume and pan; nothing without one.
void PlayRoomSound(const CRoomBase& room, const std::string& name);
// The step from one line of the item's text to the next; 0 for an item without a text.
f32 TextLineHeight(const CSpyItem* item);
// The lookup a room's record resolves its references through: its rooms, or one that knows no item
// for a room that was never bound to any.
CRoomItemLookup& RecordLookup(CRoomsManager* rooms);
