#include "tk2v/gui/PropertySet.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace GUI {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

i32 digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool hexPrefix(const char* p) {
    return p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16;
}

// Reads numbers from a NUL-terminated text the way the scanf conversions do, one field at a time.
class Scanner {
public:
    explicit Scanner(const std::string& text) : m_p(text.c_str()) {}

    // "%i" into [low, high], saturating.
    bool readInt(i64 low, i64 high, i64& out) {
        skipSpace();
        const char* p = m_p;
        bool negative = false;
        if (*p == '+' || *p == '-')
            negative = *p++ == '-';
        i32 base = 10;
        if (hexPrefix(p)) {
            base = 16;
            p += 2;
        } else if (*p == '0') {
            base = 8;
        }
        u64 magnitude = 0;
        const char* digits = p;
        for (; digitValue(*p) < base; ++p)
            magnitude = magnitude > 0xFFFFFFFFFFull ? magnitude : magnitude * u64(base) + u64(digitValue(*p));
        if (p == digits)
            return false;
        m_p = p;
        const i64 limit = negative ? -low : high;
        const i64 value = magnitude > u64(limit) ? limit : i64(magnitude);
        out = negative ? -value : value;
        return true;
    }

    // "%x", saturating at 0xFFFFFFFF.
    bool readHex(u32& out) {
        skipSpace();
        const char* p = m_p;
        if (hexPrefix(p))
            p += 2;
        u64 value = 0;
        const char* digits = p;
        for (; digitValue(*p) < 16; ++p)
            value = value > 0xFFFFFFFFull ? value : value * 16 + u64(digitValue(*p));
        if (p == digits)
            return false;
        m_p = p;
        out = value > 0xFFFFFFFFull ? 0xFFFFFFFFu : u32(value);
        return true;
    }

    // "%f"; a text that is not a number reads as 0.
    bool readFloat(f32& out) {
        char* end = nullptr;
        const f32 value = std::strtof(m_p, &end);
        if (end == m_p)
            return false;
        m_p = end;
        out = std::isnan(value) ? 0.0f : value;
        return true;
    }

private:
    void skipSpace() {
        while (isSpace(*m_p))
            ++m_p;
    }

    const char* m_p;
};

i16 readShort(Scanner& in) {
    i64 value = 0;
    in.readInt(std::numeric_limits<i16>::min(), std::numeric_limits<i16>::max(), value);
    return i16(value);
}

struct KeyName {
    const char* name;
    u8 code;
};

// Scan codes of the keys a hotkey can name, as on a US keyboard. There is no comma key.
constexpr KeyName KeyNames[] = {
    {"0", 0x0B},        {"1", 0x02},          {"2", 0x03},       {"3", 0x04},        {"4", 0x05},
    {"5", 0x06},        {"6", 0x07},          {"7", 0x08},       {"8", 0x09},        {"9", 0x0A},
    {"a", 0x1E},        {"b", 0x30},          {"c", 0x2E},       {"d", 0x20},        {"e", 0x12},
    {"f", 0x21},        {"g", 0x22},          {"h", 0x23},       {"i", 0x17},        {"j", 0x24},
    {"k", 0x25},        {"l", 0x26},          {"m", 0x32},       {"n", 0x31},        {"o", 0x18},
    {"p", 0x19},        {"q", 0x10},          {"r", 0x13},       {"s", 0x1F},        {"t", 0x14},
    {"u", 0x16},        {"v", 0x2F},          {"w", 0x11},       {"x", 0x2D},        {"y", 0x15},
    {"z", 0x2C},        {"f1", 0x3B},         {"f2", 0x3C},      {"f3", 0x3D},       {"f4", 0x3E},
    {"f5", 0x3F},       {"f6", 0x40},         {"f7", 0x41},      {"f8", 0x42},       {"f9", 0x43},
    {"f10", 0x44},      {"f11", 0x57},        {"f12", 0x58},     {"num0", 0x52},     {"num1", 0x4F},
    {"num2", 0x50},     {"num3", 0x51},       {"num4", 0x4B},    {"num5", 0x4C},     {"num6", 0x4D},
    {"num7", 0x47},     {"num8", 0x48},       {"num9", 0x49},    {"numenter", 0x9C}, {"num+", 0x4E},
    {"num/", 0xB5},     {"num.", 0x53},       {"num*", 0x37},    {"num-", 0x4A},     {"'", 0x28},
    {"`", 0x29},        {"/", 0x35},          {"\\", 0x2B},      {".", 0x34},        {"-", 0x0C},
    {"=", 0x0D},        {"[", 0x1A},          {"]", 0x1B},       {";", 0x27},        {"backspace", 0x0E},
    {"capslock", 0x3A}, {"scrolllock", 0x46}, {"numlock", 0x45}, {"insert", 0xD2},   {"delete", 0xD3},
    {"left", 0xCB},     {"right", 0xCD},      {"up", 0xC8},      {"down", 0xD0},     {"end", 0xCF},
    {"esc", 0x01},      {"home", 0xC7},       {"enter", 0x1C},   {"pageup", 0xC9},   {"pagedown", 0xD1},
    {"pause", 0xC5},    {"lctrl", 0x1D},      {"rctrl", 0x9D},   {"lalt", 0x38},     {"ralt", 0xB8},
    {"lshift", 0x2A},   {"rshift", 0x36},     {"tab", 0x0F},     {"space", 0x39},
};
static_assert(std::size(KeyNames) == 99);

// A modifier word matches when the token is a leading part of it.
u32 modifierBit(std::string_view token) {
    static constexpr struct {
        std::string_view word;
        u32 bit;
    } words[] = {{"shift", 1}, {"ctrl", 2}, {"alt", 4}};
    if (token.empty())
        return 0;
    for (const auto& w : words)
        if (token.size() <= w.word.size() && NoCaseEqual(token, w.word.substr(0, token.size())))
            return w.bit;
    return 0;
}

bool isHotkeySeparator(char c) {
    return c == '|' || c == ' ' || c == '\t';
}

} // namespace

i32 ParseInt(const std::string& text) {
    Scanner in(text);
    i64 value = 0;
    in.readInt(std::numeric_limits<i32>::min(), std::numeric_limits<i32>::max(), value);
    return i32(value);
}

bool ParseBool(const std::string& text) {
    return ParseInt(text) != 0;
}

f32 ParseFloat(const std::string& text) {
    Scanner in(text);
    f32 value = 0;
    in.readFloat(value);
    return value;
}

aRect ParseRect(const std::string& text) {
    Scanner in(text);
    aRect r;
    r.x = readShort(in);
    r.y = readShort(in);
    const i16 w = readShort(in), h = readShort(in);
    r.w = w < 0 ? 0 : u16(w);
    r.h = h < 0 ? 0 : u16(h);
    return r;
}

void ParsePoint(const std::string& text, f32& x, f32& y) {
    Scanner in(text);
    if (in.readFloat(x))
        in.readFloat(y);
}

u32 ParseColor(const std::string& text) {
    Scanner in(text);
    u32 value = 0;
    in.readHex(value);
    return value;
}

void ParseColor4(const std::string& text, u32 (&colors)[4]) {
    Scanner in(text);
    for (u32& c : colors)
        c = 0;
    for (u32& c : colors)
        if (!in.readHex(c))
            break;
}

i32 ParseHorizontalAlign(const std::string& text) {
    if (NoCaseEqual(text, "center"))
        return 1;
    return NoCaseEqual(text, "right") ? 2 : 0;
}

i32 ParseVerticalAlign(const std::string& text) {
    if (NoCaseEqual(text, "center"))
        return 1;
    return NoCaseEqual(text, "bottom") ? 2 : 0;
}

u32 HotkeyKeyCode(std::string_view name) {
    for (const KeyName& k : KeyNames)
        if (NoCaseEqual(name, k.name))
            return k.code;
    return 0;
}

void ParseHotkey(const std::string& text, u32& key, u32& modifiers) {
    key = 0;
    modifiers = 0;
    size_t pos = 0;
    for (;;) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        if (pos >= text.size())
            return;
        size_t sep = pos;
        while (sep < text.size() && !isHotkeySeparator(text[sep]))
            ++sep;
        if (sep == text.size()) {
            key = HotkeyKeyCode(std::string_view(text).substr(pos));
            return;
        }
        modifiers |= modifierBit(std::string_view(text).substr(pos, sep - pos));
        pos = sep + 1;
    }
}

u8 ColorByte(f32 channel) {
    if (!(channel > 0.0f))
        return 0;
    if (channel >= 1.0f)
        return 255;
    return u8(channel * 255.0f + 0.5f);
}

} // namespace GUI
