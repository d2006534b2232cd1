#pragma once
#include "game/DialogKit.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aImage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const aRect& r, std::ostream* os) {
    *os << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

// The dialog frame with what the in-game windows need besides: a font whose glyphs are 10 x 16
// blocks (so a line of text is 16 pixels high and 10 per character wide), texts of the test's own,
// and scripts built from short descriptions.
class InGameTest : public DialogTest {
public:
    static constexpr i32 LINE = 16, GLYPH = 10;

    InGameTest() { writeFont(); }

    // The font list every script of these tests starts with: the font "text".
    static std::string fonts() { return "fontlist\n{\n  text @/text.fnt\n}\n"; }

    // A widget section: `kind name`, the area, extra entries, then the children's sections.
    static std::string widget(const std::string& kind, const std::string& name, const std::string& area,
                              const std::vector<std::string>& entries = {},
                              const std::vector<std::string>& children = {}) {
        std::string text = kind + " " + name + "\n{\n  AreaRect " + area + "\n";
        for (const std::string& entry : entries)
            text += "  " + entry + "\n";
        for (const std::string& child : children)
            text += child;
        return text + "}\n";
    }
    // A hidden window with plain widgets (10 x 10, side by side) and any further sections.
    static std::string window(const std::string& name, const std::vector<std::string>& buttons,
                              const std::vector<std::string>& more = {},
                              const std::string& area = "100 100 400 300") {
        std::vector<std::string> children;
        i32 x = 0;
        for (const std::string& button : buttons) {
            children.push_back(widget("widget", button, std::to_string(x) + " 280 10 10"));
            x += 20;
        }
        children.insert(children.end(), more.begin(), more.end());
        return widget("window", name, area, {"Visible 0"}, children);
    }
    static std::string text(const std::string& name, const std::string& area) {
        return widget("statictext", name, area, {"Font text"});
    }

    // Texts of the section, one `key = "text"` line each.
    void texts(const std::string& lines, const std::string& section = "") {
        const std::string name = "texts" + std::to_string(++m_textFiles) + ".txt";
        dir.write(name, lines);
        res->getLocaleServer()->loadFile(dir.file(name), section);
    }

    size_t logged(const std::string& message) const {
        const std::vector<std::string> messages = log.messages();
        return size_t(std::count(messages.begin(), messages.end(), message));
    }
    std::string logText() const {
        std::string text;
        for (const std::string& message : log.messages())
            text += message + "\n";
        return text;
    }

    // The bytes of the entity's record (without name and size) as the save system writes them.
    std::string saveRecord(SaveLoadEntity& entity) const {
        SaveLoadSystem sys;
        sys.BeginSave(dir.file("record.save"), 1);
        sys.SaveEntity(entity);
        if (!sys.Finish())
            return "<save failed>";
        std::string stream = dir.read("record.save");
        SaveLoadSystem::scramble(reinterpret_cast<u8*>(stream.data()), u32(stream.size()));
        // Header, count, then the one record: name, NUL, u32 size, data.
        const size_t nul = stream.find('\0', 8);
        u32 size = 0;
        std::memcpy(&size, stream.data() + nul + 1, 4);
        return stream.substr(nul + 5, size);
    }
    // Loads the entity from a stream whose one record holds the bytes.
    bool loadRecord(SaveLoadEntity& entity, const std::string& record) const {
        std::string stream = le32(1) + le32(1) + entity.getName() + '\0' + le32(u32(record.size())) + record;
        stream +=
            le32(SaveLoadSystem::checksum(reinterpret_cast<const u8*>(stream.data()), u32(stream.size())));
        SaveLoadSystem::scramble(reinterpret_cast<u8*>(stream.data()), u32(stream.size()));
        dir.write("record.save", stream);
        SaveLoadSystem sys;
        const bool loaded =
            sys.Load(dir.file("record.save"), SaveLoadSystem::AnyHeader) && sys.LoadEntity(entity);
        sys.Finish();
        return loaded;
    }
    static std::string f32bytes(f32 value) {
        u32 bits = 0;
        std::memcpy(&bits, &value, 4);
        return le32(bits);
    }

    // A one-colour picture as an image of its own.
    std::unique_ptr<aImage> picture(u32 width, u32 height) {
        const std::string name = "pic" + std::to_string(++m_pictures) + ".png";
        dir.write(name, imagefiles::text(
                            imagefiles::png(width, height, std::vector<u32>(width * height, 0xFF806040))));
        return std::make_unique<aImage>(dir.file(name), 21, 21);
    }

private:
    // Printable ASCII, each glyph a block in a cell of a 16-column sheet.
    void writeFont() {
        const u32 count = 0x7F - 0x20, sheetW = 16 * GLYPH, sheetH = (count + 15) / 16 * LINE;
        std::vector<u32> pixels(size_t(sheetW) * sheetH, 0);
        std::string description = "[General]\nTexture = glyphs.png\nFormat16 = 4444\nFormat32 = 8888\n"
                                  "CharSpacing = 0\n[Charlist]\n";
        for (u32 i = 0; i < count; ++i) {
            const u32 x0 = i % 16 * GLYPH, y0 = i / 16 * LINE;
            for (u32 y = 2; y < u32(LINE) && i != 0; ++y)
                for (u32 x = 1; x < u32(GLYPH) - 1; ++x)
                    pixels[size_t(y0 + y) * sheetW + x0 + x] = 0xFFFFFFFF;
            char line[64];
            std::snprintf(line, sizeof line, "%X = %u %u %d %d 0 0\n", 0x20 + i, x0, y0, GLYPH, LINE);
            description += line;
        }
        dir.write("glyphs.png", imagefiles::text(imagefiles::png(sheetW, sheetH, pixels)));
        dir.write("text.fnt", description);
    }

    int m_textFiles = 0;
    int m_pictures = 0;
};
