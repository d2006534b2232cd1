#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <string>

class SaveLoadSystem;

// A list of names inside a record: a u32 count, then each string with its NUL.
u8* SaveStringList(SaveLoadSystem& sys, u8* pos, const std::list<std::string>& list);
// Clears the list first. A count that cannot fit the bytes left stops the list, logged, at the
// record's end.
const u8* LoadStringList(SaveLoadSystem& sys, const u8* pos, std::list<std::string>& list);
