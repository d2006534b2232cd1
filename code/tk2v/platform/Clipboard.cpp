#include "tk2v/platform/Clipboard.h"

#include <SDL.h>

#include <cstring>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

ClipboardStore*& installedStore() {
    static ClipboardStore* store = nullptr;
    return store;
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The range the second byte of a sequence may take, which rules out overlong forms, surrogates and
// values above U+10FFFF; the bytes after it are any continuation bytes.
struct Lead {
    int length;
    unsigned char secondLow, secondHigh;
    char32_t bits;
};

Lead classify(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF, char32_t(b & 0x1F)};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF, 0};
    if (b == 0xED)
        return {3, 0x80, 0x9F, 0xD};
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF, char32_t(b & 0x0F)};
    if (b == 0xF0)
        return {4, 0x90, 0xBF, 0};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF, char32_t(b & 0x07)};
    if (b == 0xF4)
        return {4, 0x80, 0x8F, 4};
    return {0, 0, 0, 0};
}

// Decodes the character at i and moves i past it; a malformed sequence yields one U+FFFD for its
// longest valid beginning (at least one byte), so the next character is never swallowed.
char32_t decodeAt(std::string_view s, size_t& i) {
    const unsigned char b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80)
        return b;
    const Lead lead = classify(b);
    if (lead.length == 0 || i >= s.size())
        return kReplacement;
    const unsigned char second = static_cast<unsigned char>(s[i]);
    if (second < lead.secondLow || second > lead.secondHigh)
        return kReplacement;
    char32_t c = lead.bits << 6 | (second & 0x3F);
    ++i;
    for (int k = 2; k < lead.length; ++k) {
        if (i >= s.size() || !isContinuation(static_cast<unsigned char>(s[i])))
            return kReplacement;
        c = c << 6 | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool isHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

std::wstring utf8ToUnits(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size() && utf8[i] != '\0';) {
        const char32_t c = decodeAt(utf8, i);
        if (c < 0x10000) {
            out += wchar_t(c);
        } else {
            out += wchar_t(0xD800 + ((c - 0x10000) >> 10));
            out += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string unitsToUtf8(std::wstring_view units) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size() && units[i] != 0; ++i) {
        const char32_t u = char32_t(units[i]);
        if (isHighSurrogate(u) && i + 1 < units.size() && isLowSurrogate(char32_t(units[i + 1]))) {
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (char32_t(units[++i]) - 0xDC00));
        } else if (isHighSurrogate(u) || isLowSurrogate(u) || u > 0xFFFF) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

void setClipboardStore(ClipboardStore* store) {
    installedStore() = store;
}

bool setClipboardText(std::wstring_view units) {
    const std::string utf8 = unitsToUtf8(units);
    if (ClipboardStore* store = installedStore())
        return store->setText(utf8);
    return SDL_WasInit(SDL_INIT_VIDEO) && SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::wstring getClipboardText() {
    if (ClipboardStore* store = installedStore()) {
        std::string utf8;
        return store->getText(utf8) ? utf8ToUnits(utf8) : std::wstring();
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return {};
    char* text = SDL_GetClipboardText();
    if (!text)
        return {};
    std::wstring units = utf8ToUnits(std::string_view(text, std::strlen(text)));
    SDL_free(text);
    return units;
}

} // namespace platform
