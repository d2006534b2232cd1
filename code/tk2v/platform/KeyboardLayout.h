#pragma once
#include "tk2v/util/types.h"

namespace platform {

// True when the keys of the typing area give the characters of the US English layout. The answer
// is kept until the system reports a keymap change. Without a video subsystem there is no keymap
// to read and the answer is true.
bool isUsKeyboardLayout();

// Test hook: stands in for the system's keymap, giving the character a key types without Shift,
// by scan code. Installing or removing one makes the next call read the keymap again.
using KeymapLookup = char32_t (*)(u8 scanCode);
// Null restores the system's keymap.
void setKeymapLookup(KeymapLookup lookup);

} // namespace platform
