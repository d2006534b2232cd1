#include "tk2v/util/str.h"

#include "tk2v/util/types.h"

#include <algorithm>
#include <array>

namespace {

// Windows-1251 from 0x80 up; 0x98 is undefined in the code page and widens to the replacement character.
constexpr std::array<u16, 128> cp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

char narrowChar(wchar_t c) {
    if (c >= 0 && c < 0x80)
        return static_cast<char>(c);
    auto found = std::find(cp1251High.begin(), cp1251High.end(), static_cast<u32>(c));
    if (found == cp1251High.end())
        return '?';
    return static_cast<char>(0x80 + (found - cp1251High.begin()));
}

} // namespace

std::wstring str_utf8ToWString(const std::string& text) {
    return str_utf8ToWStringN(text.data(), text.size());
}

std::wstring str_utf8ToWStringN(const char* bytes, size_t length) {
    const auto* data = reinterpret_cast<const u8*>(bytes);
    std::wstring out;
    out.reserve(length);
    size_t pos = 0;
    while (pos < length) {
        const u8 lead = data[pos++];
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            continue;
        }
        // The lead is classed by its low six bits alone, so a stray continuation byte also starts a sequence.
        const bool threeBytes = (lead & 0x3F) >= 32;
        u32 code = threeBytes ? lead & 0x0F : lead & 0x1F;
        for (int left = threeBytes ? 2 : 1; left > 0; --left) {
            if (pos >= length || (data[pos] & 0xC0) != 0x80)
                return out;
            code = code << 6 | (data[pos++] & 0x3F);
        }
        out += static_cast<wchar_t>(code);
    }
    return out;
}

std::wstring str_toWString(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (const char c : text) {
        const u8 byte = static_cast<u8>(c);
        out += static_cast<wchar_t>(byte < 0x80 ? byte : cp1251High[byte - 0x80]);
    }
    return out;
}

std::string str_toString(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text)
        out += narrowChar(c);
    return out;
}
