#pragma once
#include "tk2v/util/types.h"

#include <cstring>

// The key that types the character on a US keyboard without Shift; 0 for none. Lower-case letters,
// digits, the blank and '\n' for Enter.
inline u8 ScanCodeOf(char ch) {
    static const char* const rows[] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static const u8 rowStarts[] = {0x02, 0x10, 0x1E, 0x2C};
    for (int row = 0; row < 4; ++row)
        if (const char* at = std::strchr(rows[row], ch); at && ch)
            return u8(rowStarts[row] + (at - rows[row]));
    return ch == ' ' ? 0x39 : ch == '\n' ? 0x1C : 0;
}
