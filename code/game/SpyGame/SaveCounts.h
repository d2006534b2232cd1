#pragma once
#include "tk2v/util/types.h"

class SaveLoadSystem;

// Whether `count` entries of at least `minEntrySize` bytes each can follow `pos` in the record being
// loaded; when they cannot, logs one line naming `reader` and the count. A damaged count would
// otherwise send the reader round billions of times or make it allocate as much.
bool countFits(const SaveLoadSystem& sys, const u8* pos, u32 count, u32 minEntrySize, const char* reader);
