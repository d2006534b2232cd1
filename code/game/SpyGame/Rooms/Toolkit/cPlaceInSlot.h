#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <map>
#include <string>

class cRoomTransform;
class CSpyItem;

// Sets carried inventory pieces into slots of the room: each piece name has its slots, and a click on
// a free slot (the item under the cursor) within its marker's area shows the room's form of the piece
// at the marker and closes the slot.
class cPlaceInSlot {
public:
    // Where a piece set into a slot shows, and the room item that shows.
    struct Place {
        CSpyItem* marker = nullptr;
        CSpyItem* placed = nullptr;
    };

    explicit cPlaceInSlot(const cRoomTransform& transform) : m_pTransform(&transform) {}

    // The slot takes the piece named `name`; a slot may be listed under several names.
    void RegisterPiece(const std::string& name, CSpyItem* slot, const Place& value);
    // On the frame the button goes down: the room item the carried piece became, else null.
    CSpyItem* Put(CSpyItem* carried, CSpyItem* under);
    // The pointer (screen) lies, room-local, in the slot's size at its marker's place.
    bool IsInSlotArea(const CSpyItem* slot, i32 x, i32 y) const;
    // The room item the first slot of that piece name shows; null for none.
    CSpyItem* Find(const std::string& name) const;
    // The room item of every slot, placed or not: AreItemsLocked over them tells whether each slot
    // holds its piece for good.
    std::list<CSpyItem*> GetItems() const;

private:
    const cRoomTransform* m_pTransform;
    // Piece name -> its slots, in the order registered; slot -> what it shows.
    std::map<std::string, std::list<CSpyItem*>> m_Slots;
    std::map<CSpyItem*, Place> m_Places;
};
