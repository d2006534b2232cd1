#include "game/SpyGame/WideTextField.h"

#include "game/SaveLoadSystem.h"

u8* SaveWideText(SaveLoadSystem& sys, u8* pos, const std::wstring& text) {
    for (wchar_t c : text) {
        const u32 code = u32(c);
        if (code > 0xFFFF && code <= 0x10FFFF) {
            pos = sys.writeU16(pos, u16(0xD800 + ((code - 0x10000) >> 10)));
            pos = sys.writeU16(pos, u16(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            pos = sys.writeU16(pos, code > 0xFFFF || code == 0 ? u16(0xFFFD) : u16(code));
        }
    }
    return sys.writeU16(pos, 0);
}

const u8* LoadWideText(SaveLoadSystem& sys, const u8* pos, std::wstring& text) {
    text.clear();
    u16 unit = 0, low = 0;
    for (pos = sys.readU16(pos, unit); unit != 0; pos = sys.readU16(pos, unit)) {
        if (unit >= 0xD800 && unit < 0xDC00) {
            const u8* next = sys.readU16(pos, low);
            if (low >= 0xDC00 && low < 0xE000) {
                text += wchar_t(0x10000 + ((u32(unit) - 0xD800) << 10) + (low - 0xDC00));
                pos = next;
                continue;
            }
        }
        text += wchar_t(unit);
    }
    return pos;
}
