#include "fuzz_input_file.h"
#include "support/FakeClipboard.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gui/Memo.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/Server.h"
#include "tk2v/platform/Clipboard.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace GUI;

namespace {

// Glyphs of printable ASCII from 0 to 22 pixels wide (some none at all) and Cyrillic letters 12
// wide; measuring needs no texture.
aFont& font() {
    static std::unique_ptr<aFont> f = [] {
        std::string text = "[General]\nTexture = none.png\nFormat16 = 4444\nFormat32 = 8888\n[Charlist]\n";
        char line[64];
        for (unsigned c = 0x20; c <= 0x7E; ++c) {
            std::snprintf(line, sizeof line, "%X = 0 0 %u 16 0 0\n", c, c % 23);
            text += line;
        }
        for (unsigned c = 0x410; c <= 0x44F; ++c) {
            std::snprintf(line, sizeof line, "%X = 0 0 12 16 1 1\n", c);
            text += line;
        }
        const std::string& path = fuzzInputPath("fuzz_memo", ".fnt");
        writeFuzzInput(path, text, "", 0);
        return std::make_unique<aFont>(path);
    }();
    return *f;
}

constexpr u32 kKeys[] = {
    Editbox::KEY_BACK,  Editbox::KEY_DELETE, Editbox::KEY_LEFT, Editbox::KEY_RIGHT,  Editbox::KEY_HOME,
    Editbox::KEY_END,   Editbox::KEY_UP,     Editbox::KEY_DOWN, Editbox::KEY_PAGEUP, Editbox::KEY_PAGEDOWN,
    Editbox::KEY_ENTER, Editbox::KEY_A,      Editbox::KEY_C,    Editbox::KEY_V,      Editbox::KEY_X,
    Editbox::KEY_Y,     Editbox::KEY_Z,      0x10 /* Q */,      0x39 /* space */,
};
constexpr u32 kKeyCount = sizeof kKeys / sizeof kKeys[0];

struct Input {
    const uint8_t* data;
    size_t size, at = 0;
    bool empty() const { return at >= size; }
    uint8_t next() { return at < size ? data[at++] : 0; }
};

// Printable ASCII (0x7F has no glyph), line breaks, Cyrillic, units without glyphs, NUL and lone
// surrogates.
std::wstring units(Input& in) {
    std::wstring text;
    for (int n = in.next() % 48; n > 0; --n) {
        const uint8_t b = in.next();
        wchar_t u = b < 96    ? wchar_t(0x20 + b)
                    : b < 120 ? L'\n'
                    : b < 184 ? wchar_t(0x410 + b - 120)
                              : wchar_t(0x2600 + b);
        if (b == 250)
            u = 0;
        else if (b == 251)
            u = 0xD800;
        text += u;
    }
    return text;
}

void check(const Memo& memo) {
    const std::wstring& text = memo.GetText();
    const u32 length = u32(text.size()), caret = memo.GetCursorPos();
    const u32 start = memo.GetSelectionStart(), end = memo.GetSelectionEnd();
    if (caret > length || start > end || end > length || (caret != start && caret != end))
        std::abort();
}

// The lines follow each other from 0 to the end of the text, each holding its part of it; only a
// final line after a trailing line break is empty and ends one past the text.
void checkLines(const Memo& memo) {
    const std::wstring& text = memo.GetText();
    u32 at = 0;
    for (const Memo::Line& line : memo.GetLines()) {
        if (line.first != at || line.end < line.first)
            std::abort();
        if (line.first == text.size()) {
            if (line.end != at + 1 || !line.text.empty() || text.empty() || text.back() != L'\n' ||
                &line != &memo.GetLines().back())
                std::abort();
        } else if (line.end == line.first || line.end > text.size() ||
                   line.text != text.substr(line.first, line.end - line.first)) {
            std::abort();
        }
        at = line.end;
    }
    if (at < text.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FakeClipboard clipboard;
    Input in{data, size};
    Scrollbar vertical("m_auto_vscroll"), horizontal("m_auto_hscroll");
    Memo memo("m");
    memo.SetFont(&font());
    memo.SetArea(0, 0, u16(in.next() | in.next() << 8) % 300, 100);
    const uint8_t flags = in.next();
    memo.SetWordWrap(flags & 1);
    memo.SetHistorySize((flags >> 1) & 7);
    memo.SetAllowCopyPaste(flags & 16);
    memo.SetMaxLength(u32(flags >> 5) * 8);
    vertical.SetVertical(true);
    memo.AddChild(&vertical);
    memo.AddChild(&horizontal);
    memo.Initialize();
    clipboard.text.clear();
    while (!in.empty()) {
        const uint8_t op = in.next();
        const u32 kind = op % 22, mods = (op >> 5) & 3;
        if (kind < kKeyCount) {
            KeybEventArgs e(&memo);
            e.key = kKeys[kind];
            e.modifiers = mods;
            e.character = Server::KeyToChar(e.key, mods);
            memo.OnKeyDown(e);
        } else if (kind == kKeyCount) {
            clipboard.text = platform::unitsToUtf8(units(in));
        } else if (kind == kKeyCount + 1) {
            memo.SetText(units(in));
        } else {
            memo.SetWidth(in.next());
        }
        check(memo);
        memo.Update(0.02f);
        check(memo);
        checkLines(memo);
    }
    memo.RemoveChild(&vertical);
    memo.RemoveChild(&horizontal);
    return 0;
}
