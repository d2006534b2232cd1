#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"

#include "game/SpyGame/CSpyItem.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

i16 SaturateI16(f32 value) {
    const i32 whole = TruncToInt(value);
    return i16(whole < INT16_MIN ? INT16_MIN : whole > INT16_MAX ? INT16_MAX : whole);
}

// How a printable character is typed: with or without Shift, on which key.
struct KeyStroke {
    bool shift;
    u8 code;
};

// The characters ' ' (32) to '~' (126) in order, on a US keyboard.
constexpr std::array<KeyStroke, 95> Typed = {{
    {0, 57}, {1, 2},  {1, 40}, {1, 4},  {1, 5},  {1, 6},  {1, 8},  {0, 40}, {1, 10}, {1, 11}, {1, 9},
    {1, 13}, {0, 51}, {0, 12}, {0, 52}, {0, 53}, {0, 11}, {0, 2},  {0, 3},  {0, 4},  {0, 5},  {0, 6},
    {0, 7},  {0, 8},  {0, 9},  {0, 10}, {1, 39}, {0, 39}, {1, 51}, {0, 13}, {1, 52}, {1, 53}, {1, 3},
    {1, 30}, {1, 48}, {1, 46}, {1, 32}, {1, 18}, {1, 33}, {1, 34}, {1, 35}, {1, 23}, {1, 36}, {1, 37},
    {1, 38}, {1, 50}, {1, 49}, {1, 24}, {1, 25}, {1, 16}, {1, 19}, {1, 31}, {1, 20}, {1, 22}, {1, 47},
    {1, 17}, {1, 45}, {1, 21}, {1, 44}, {0, 26}, {0, 43}, {0, 27}, {1, 7},  {1, 12}, {0, 41}, {0, 30},
    {0, 48}, {0, 46}, {0, 32}, {0, 18}, {0, 33}, {0, 34}, {0, 35}, {0, 23}, {0, 36}, {0, 37}, {0, 38},
    {0, 50}, {0, 49}, {0, 24}, {0, 25}, {0, 16}, {0, 19}, {0, 31}, {0, 20}, {0, 22}, {0, 47}, {0, 17},
    {0, 45}, {0, 21}, {0, 44}, {1, 26}, {1, 43}, {1, 27}, {1, 41},
}};
static_assert(Typed[94].code == 41 && Typed[94].shift, "one row per character up to '~'");

// The keypad digits type what the digits of the main row type.
u8 MainRowCode(u8 code) {
    switch (code) {
    case 71:
        return 8;
    case 72:
        return 9;
    case 73:
        return 10;
    case 75:
        return 5;
    case 76:
        return 6;
    case 77:
        return 7;
    case 79:
        return 2;
    case 80:
        return 3;
    case 81:
        return 4;
    case 82:
        return 11;
    default:
        return code;
    }
}

char FlipLetterCase(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return char(c ^ 0x20);
    return c;
}

// One "%hi" of the C library: a long read with base 0, kept to its low 16 bits.
bool ReadShort(const char*& at, i16& out) {
    char* end = nullptr;
    const long value = std::strtol(at, &end, 0);
    if (end == at)
        return false;
    out = i16(u16(static_cast<unsigned long>(value)));
    at = end;
    return true;
}

} // namespace

bool PointInRectF(f32 x, f32 y, f32 w, f32 h, f32 px, f32 py) {
    return x <= px && px < x + w && y <= py && py < y + h;
}

f32 ClampF(f32 value, f32 low, f32 high) {
    if (low > value)
        return low;
    if (high < value)
        return high;
    return value;
}

aRect GetItemRect(const CSpyItem* item) {
    if (!item)
        return {};
    const SpyPoint pos = item->GetPos();
    return {SaturateI16(pos.x), SaturateI16(pos.y), item->GetWidth(), item->GetHeight()};
}

SpyPoint GetItemCenter(const CSpyItem* item) {
    if (!item)
        return {};
    const SpyPoint pos = item->GetPos();
    return {pos.x + f32(item->GetWidth() / 2), pos.y + f32(item->GetHeight() / 2)};
}

void SetItemCenter(CSpyItem* item, SpyPoint point) {
    if (item)
        item->SetPos(point.x - f32(item->GetWidth() / 2), point.y - f32(item->GetHeight() / 2));
}

SpyPoint GetRectCenter(const aRect& rect) {
    return {f32(rect.x + rect.w / 2), f32(rect.y + rect.h / 2)};
}

u8 GetRectSide(const aRect& rect, i32 px, i32 py) {
    const i32 left = rect.x, top = rect.y, right = rect.x + rect.w, bottom = rect.y + rect.h;
    const bool level = top < py && py < bottom;
    const bool plumb = left < px && px < right;
    if (px <= left && level)
        return 0;
    if (px >= right && level)
        return 1;
    if (py <= top && plumb)
        return 2;
    if (py >= bottom && plumb)
        return 3;
    return 4;
}

aRect MakeRectLeftOf(const aRect& rect, i32 gap, u16 width) {
    return {i16(rect.x - gap - width), rect.y, width, rect.h};
}

aRect MakeRectRightOf(const aRect& rect, i32 gap, u16 width) {
    return {i16(rect.x + rect.w + gap), rect.y, width, rect.h};
}

aRect MakeRectAbove(const aRect& rect, i32 gap, u16 height) {
    return {rect.x, i16(rect.y - gap - height), rect.w, height};
}

aRect MakeRectBelow(const aRect& rect, i32 gap, u16 height) {
    return {rect.x, i16(rect.y + rect.h + gap), rect.w, height};
}

aRect ParseRect(const std::string& text) {
    i16 fields[4] = {};
    const char* at = text.c_str();
    for (i16& field : fields)
        if (!ReadShort(at, field))
            break;
    return {fields[0], fields[1], u16(fields[2]), u16(fields[3])};
}

bool CheckRoomSection(aOptionsFile& ini, const std::string& section, const std::string& roomName) {
    if (ini.selectSection(section))
        return true;
    log("Cann't find Section \"%s\" in room <%s>", section.c_str(), roomName.c_str());
    return false;
}

u32 SetColorAlpha(u32 argb, u8 alpha) {
    return u32(alpha) << 24 | (argb & 0xFFFFFF);
}

void SwapVisibleItem(CSpyItem*& slot, CSpyItem* item) {
    if (slot)
        slot->SetVisible(false);
    slot = item;
    if (slot)
        slot->SetVisible(true);
}

void SetItemEnabled(CSpyItem* item, bool enabled) {
    if (item)
        item->SetDisabled(!enabled);
}

bool IsItemAngleZero(const CSpyItem* item) {
    return item && std::cos(item->GetRotation()) >= 0.999f;
}

bool IsCursorOverItem(const CSpyItem* slot) {
    const aInputServer* input = aApplication::inputServer();
    if (!slot || !slot->IsVisible() || !input)
        return false;
    i32 x = 0, y = 0;
    input->getMousePos(x, y);
    return const_cast<CSpyItem*>(slot)->HitTest(i16(x), i16(y));
}

u32 GetKeyModifiers() {
    const aInputServer* input = aApplication::inputServer();
    if (!input)
        return 0;
    const auto down = [input](u8 code) {
        return input->keyStates[code] == KEY_PRESSED || input->keyStates[code] == KEY_HELD;
    };
    u32 bits = 0;
    if (down(42) || down(54))
        bits |= KEYMOD_SHIFT;
    if (down(29) || down(157))
        bits |= KEYMOD_CTRL;
    if (down(56) || down(184))
        bits |= KEYMOD_ALT;
    if (input->isKeyToggled(0x3A))
        bits |= KEYMOD_CAPSLOCK;
    if (input->isKeyToggled(0x46))
        bits |= KEYMOD_SCROLLLOCK;
    if (input->isKeyToggled(0x45))
        bits |= KEYMOD_NUMLOCK;
    return bits;
}

char ScanCodeToChar(u8 code, u32 modifiers) {
    code = MainRowCode(code);
    const bool shift = (modifiers & KEYMOD_SHIFT) != 0;
    for (size_t i = 0; i < Typed.size(); ++i) {
        if (Typed[i].code != code || Typed[i].shift != shift)
            continue;
        const char c = char(' ' + i);
        return (modifiers & KEYMOD_CAPSLOCK) ? FlipLetterCase(c) : c;
    }
    return 0;
}
