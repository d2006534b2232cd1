#include "game/SpyGame/ItemRefs.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/SaveCounts.h"

#include <string>

namespace {

template <class Container> u8* SaveRefs(SaveLoadSystem& sys, u8* pos, const Container& items) {
    pos = sys.writeU32(pos, u32(items.size()));
    for (const CSpyItem* item : items)
        pos = SaveItemRef(sys, pos, item);
    return pos;
}

template <class Container>
const u8* LoadRefs(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos, Container& items,
                   const char* reader) {
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, 1, reader)) {
        items.clear();
        return pos + sys.bytesLeftInRecord(pos);
    }
    items.resize(count);
    for (CSpyItem*& item : items)
        pos = LoadItemRef(rooms, sys, pos, item);
    return pos;
}

} // namespace

u8* SaveItemRef(SaveLoadSystem& sys, u8* pos, const CSpyItem* item) {
    return sys.writeString(pos, item ? item->GetFullName() : std::string());
}

const u8* LoadItemRef(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos, CSpyItem*& item) {
    std::string name;
    pos = sys.readString(pos, name);
    item = name.empty() ? nullptr : rooms.GetItemByFullName(name);
    return pos;
}

u8* SaveItemRefVector(SaveLoadSystem& sys, u8* pos, const std::vector<CSpyItem*>& items) {
    return SaveRefs(sys, pos, items);
}

const u8* LoadItemRefVector(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos,
                            std::vector<CSpyItem*>& items) {
    return LoadRefs(rooms, sys, pos, items, "LoadItemRefVector()");
}

u8* SaveItemRefList(SaveLoadSystem& sys, u8* pos, const std::list<CSpyItem*>& items) {
    return SaveRefs(sys, pos, items);
}

const u8* LoadItemRefList(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos,
                          std::list<CSpyItem*>& items) {
    return LoadRefs(rooms, sys, pos, items, "LoadItemRefList()");
}
