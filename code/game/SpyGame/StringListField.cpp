#include "game/SpyGame/StringListField.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"

u8* SaveStringList(SaveLoadSystem& sys, u8* pos, const std::list<std::string>& list) {
    pos = sys.writeU32(pos, u32(list.size()));
    for (const std::string& text : list)
        pos = sys.writeString(pos, text);
    return pos;
}

const u8* LoadStringList(SaveLoadSystem& sys, const u8* pos, std::list<std::string>& list) {
    list.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, 1, "LoadStringList()"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i)
        pos = sys.readString(pos, list.emplace_back());
    return pos;
}
