#pragma once
#include "tk2v/util/types.h"

#include <string>

class SaveLoadSystem;

// A shown text inside a record: 16-bit code units ending at a 0, a character beyond them as a
// surrogate pair. A 0 inside the text, which would end it early and shift the fields after it, and a
// code no pair can hold go as the replacement character.
u8* SaveWideText(SaveLoadSystem& sys, u8* pos, const std::wstring& text);
// Reads up to the ending 0; past the record's end the reader gives zeros, which end the text. A lone
// half of a pair stays as it is.
const u8* LoadWideText(SaveLoadSystem& sys, const u8* pos, std::wstring& text);
