#pragma once
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <string>

class aOptionsFile;
class CSpyItem;

// Small geometry, input and data helpers the puzzle rooms share. Item arguments may be null: a room
// whose data lacks an item keeps running.

// The bits of GetKeyModifiers.
enum KeyModifier : u32 {
    KEYMOD_SHIFT = 1,
    KEYMOD_CTRL = 2,
    KEYMOD_ALT = 4,
    KEYMOD_CAPSLOCK = 8,
    KEYMOD_SCROLLLOCK = 16,
    KEYMOD_NUMLOCK = 32,
};

// x <= px < x + w and y <= py < y + h.
bool PointInRectF(f32 x, f32 y, f32 w, f32 h, f32 px, f32 py);
f32 ClampF(f32 value, f32 low, f32 high);

// The item's place in whole pixels; all zero without an item.
aRect GetItemRect(const CSpyItem* item);
// Position plus half the size, the halves in whole pixels.
SpyPoint GetItemCenter(const CSpyItem* item);
void SetItemCenter(CSpyItem* item, SpyPoint point);
SpyPoint GetRectCenter(const aRect& rect);

// Which side of the rectangle the point lies on, within the rectangle's extent along that side:
// 0 left, 1 right, 2 above, 3 below; 4 inside, diagonal from a corner or level with a side's end.
u8 GetRectSide(const aRect& rect, i32 px, i32 py);
// A rectangle of the given width (or height) beside the rectangle at the gap, the other extent kept.
aRect MakeRectLeftOf(const aRect& rect, i32 gap, u16 width);
aRect MakeRectRightOf(const aRect& rect, i32 gap, u16 width);
aRect MakeRectAbove(const aRect& rect, i32 gap, u16 height);
aRect MakeRectBelow(const aRect& rect, i32 gap, u16 height);
// "x y w h" as the C library reads four shorts: decimal, octal ("010") or hex ("0x10"), a negative
// size wrapping round ("-1" is 65535); the fields after the first that does not read stay 0.
aRect ParseRect(const std::string& text);

// Makes the section current; logs the section and room when there is none.
bool CheckRoomSection(aOptionsFile& ini, const std::string& section, const std::string& roomName);
u32 SetColorAlpha(u32 argb, u8 alpha);

// The slot shows one item at a time: the old one is hidden, the new one shown.
void SwapVisibleItem(CSpyItem*& slot, CSpyItem* item);
// An enabled item takes clicks; a disabled one counts as locked.
void SetItemEnabled(CSpyItem* item, bool enabled);
// Standing at angle 0 (or a whole number of turns), give or take about 2.5 degrees.
bool IsItemAngleZero(const CSpyItem* item);
bool IsCursorOverItem(const CSpyItem* slot);

// Shift, Ctrl and Alt pressed or held this frame, and the lock keys that are on.
u32 GetKeyModifiers();
// The printable ASCII character the scan code types on a US keyboard with the Shift and Caps Lock
// bits given; 0 for none.
char ScanCodeToChar(u8 code, u32 modifiers);
