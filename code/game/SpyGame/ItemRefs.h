#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <vector>

class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// Item pointers inside a record, written as the item's "room:item" and NUL ("" for null) and found
// again by that name when the record is read.
u8* SaveItemRef(SaveLoadSystem& sys, u8* pos, const CSpyItem* item);
const u8* LoadItemRef(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos, CSpyItem*& item);

// A u32 count, then each reference, nulls included. Loading makes the container exactly that long; a
// count that cannot fit the bytes left empties it and stops, logged, at the record's end.
u8* SaveItemRefVector(SaveLoadSystem& sys, u8* pos, const std::vector<CSpyItem*>& items);
const u8* LoadItemRefVector(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos,
                            std::vector<CSpyItem*>& items);
u8* SaveItemRefList(SaveLoadSystem& sys, u8* pos, const std::list<CSpyItem*>& items);
const u8* LoadItemRefList(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos,
                          std::list<CSpyItem*>& items);
