#pragma once
#include "RecordedEvents.h"
#include "support/FakeClipboard.h"
#include "support/Golden.h"
#include "support/ImageFiles.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gui/Widget.h"

#include <memory>
#include <string>
#include <vector>

// What the text widget tests share: a font, a clipboard and a record of fired events.
namespace textfixtures {

constexpr u32 GLYPH_W = 10, GLYPH_H = 16;

// The characters with glyphs: printable ASCII and the Cyrillic capitals and small letters.
inline std::vector<u32> fontCharacters() {
    std::vector<u32> chars;
    for (u32 c = 0x20; c <= 0x7E; ++c)
        chars.push_back(c);
    for (u32 c = 0x410; c <= 0x44F; ++c)
        chars.push_back(c);
    return chars;
}

// Every glyph 10 x 16 in cells of a 16-column sheet: a space is blank, the caret bar "|" two
// columns wide, any other glyph a block whose height tells the characters apart. Writes "text.fnt"
// and its picture into the folder and returns the description's path.
inline std::string writeFont(const TempDir& dir) {
    const std::vector<u32> chars = fontCharacters();
    const u32 sheetW = 16 * GLYPH_W, sheetH = u32((chars.size() + 15) / 16) * GLYPH_H;
    std::vector<u32> pixels(size_t(sheetW) * sheetH, 0);
    std::string description = "[General]\nTexture = glyphs.png\nFormat16 = 4444\nFormat32 = 8888\n"
                              "CharSpacing = 0\n[Charlist]\n";
    for (size_t i = 0; i < chars.size(); ++i) {
        const u32 c = chars[i], x0 = u32(i % 16) * GLYPH_W, y0 = u32(i / 16) * GLYPH_H;
        const u32 top = c == '|' ? 0 : 2 + c % 12;
        for (u32 y = top; y < GLYPH_H && c != ' '; ++y)
            for (u32 x = 1; x < GLYPH_W - 1; ++x)
                if (c != '|' || x == 4 || x == 5)
                    pixels[size_t(y0 + y) * sheetW + x0 + x] = 0xFFFFFFFF;
        char line[64];
        std::snprintf(line, sizeof line, "%X = %u %u %u %u 0 0\n", c, x0, y0, GLYPH_W, GLYPH_H);
        description += line;
    }
    dir.write("glyphs.png", imagefiles::text(imagefiles::png(sheetW, sheetH, pixels)));
    dir.write("text.fnt", description);
    return dir.file("text.fnt");
}

inline std::unique_ptr<aFont> makeFont(const TempDir& dir) {
    const std::string path = writeFont(dir);
    testGraphServer();
    return std::make_unique<aFont>(path);
}

// The recorded event names, space-separated.
inline std::string joined(const RecordedEvents& events) {
    std::string out;
    for (const std::string& name : events.names)
        out += (out.empty() ? "" : " ") + name;
    return out;
}

} // namespace textfixtures
