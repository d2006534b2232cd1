#include "game/SpyGame/SaveCounts.h"

#include "game/SaveLoadSystem.h"
#include "tk2v/util/log.h"

bool countFits(const SaveLoadSystem& sys, const u8* pos, u32 count, u32 minEntrySize, const char* reader) {
    u32 left = sys.bytesLeftInRecord(pos);
    if (u64(count) * minEntrySize <= left)
        return true;
    log("%s. Count %u does not fit the %u bytes left in the record", reader, count, left);
    return false;
}
