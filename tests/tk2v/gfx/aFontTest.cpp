#include "tk2v/gfx/aFont.h"
#include "SceneCapture.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

namespace {

// Glyphs in a 16 x 8 picture: "A" a solid 4 x 6 block, "B" a 5 x 6 checker, "_" a 3 x 2 bar.
void writeGlyphs(const std::string& path) {
    RgbaImage image{16, 8, std::vector<u8>(16 * 8 * 4, 0)};
    auto set = [&](u32 x, u32 y) { std::fill_n(&image.rgba[(y * 16 + x) * 4], 4, u8(255)); };
    for (u32 y = 0; y < 6; ++y) {
        for (u32 x = 0; x < 4; ++x)
            set(x, y);
        for (u32 x = 4; x < 9; ++x)
            if ((x + y) % 2 == 0)
                set(x, y);
    }
    for (u32 x = 9; x < 12; ++x)
        set(x, 0), set(x, 1);
    ASSERT_TRUE(writePng(path, image));
}

const char* const kGlyphs = "[Charlist]\n41 = 0 0 4 6 0 1\n42 = 4 0 5 6 1 0\n5F = 9 0 3 2 0 0\n";

std::string general(const std::string& extra) {
    return "[General]\nTexture = glyphs.png\nFormat16 = 4444\nFormat32 = 8888\nCharSpacing = 1\n" + extra;
}

struct FontFiles {
    TempDir dir;
    FontFiles() { writeGlyphs(dir.file("glyphs.png")); }
    std::string write(const std::string& name, const std::string& text) {
        dir.write(name, text);
        return dir.file(name);
    }
};

// With underlines (7 pixels down, red) and without.
struct Fonts : FontFiles {
    Fonts()
        : underlined((testGraphServer(),
                      write("u.fnt", general("UnderlineDY = 7\nUnderlineColor = FFFF0000\n") + kGlyphs))),
          plain(write("p.fnt", general("") + kGlyphs)) {}
    aFont underlined;
    aFont plain;
};

TEST(aFontTest, MeasuresGlyphsWithTheirSpacingButNotAfterTheLast) {
    Fonts fonts;
    struct Case {
        const char* text;
        f32 underlined, plain;
    };
    const Case cases[] = {
        {"", 0, 0},   {"A", 4, 4},     {"AB", 12, 12}, {"BA", 10, 10},
        {"_A", 4, 8}, {"A_B", 12, 16}, {"xyz", 0, 0},  {"AxB", 12, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fonts.underlined.getTextSize(c.text).width, c.underlined) << c.text;
        EXPECT_EQ(fonts.plain.getTextSize(c.text).width, c.plain) << c.text;
        EXPECT_EQ(fonts.plain.getTextSize(c.text).height, 6) << c.text;
    }
    EXPECT_EQ(fonts.plain.getTextSizeW(L"AB").width, 12);
    EXPECT_EQ(fonts.plain.getTextSizeW(std::wstring(1, wchar_t(0x10041))).width, 0);

    fonts.plain.setScale(2);
    EXPECT_EQ(fonts.plain.getTextSize("AB").width, 24);
    EXPECT_EQ(fonts.plain.getTextSize("AB").height, 12);
    fonts.plain.setScale(-6);
    EXPECT_EQ(fonts.plain.getScale(), 1);
    fonts.plain.setScale(-12);
    EXPECT_EQ(fonts.plain.getScale(), 2);
    EXPECT_EQ(fonts.plain.getRequestedScale(), -12);

    EXPECT_EQ(fonts.plain.getGlyphRect('B'), (aRect{4, 0, 5, 6}));
    EXPECT_EQ(fonts.plain.getGlyphRect('C'), aRect{});
    EXPECT_EQ(fonts.plain.getGlyphPreOffset('B'), 1);
    EXPECT_EQ(fonts.plain.getGlyphPostOffset('A'), 1);
    EXPECT_EQ(fonts.plain.getGlyphPostOffset('C'), 0);
}

// The bounding box of the lit pixels: left, top, right, bottom (inclusive).
std::array<i32, 4> litBox(const RgbaImage& image) {
    std::array<i32, 4> box{i32(image.width), i32(image.height), -1, -1};
    for (u32 y = 0; y < image.height; ++y)
        for (u32 x = 0; x < image.width; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF00u) != 0)
                box = {std::min(box[0], i32(x)), std::min(box[1], i32(y)), std::max(box[2], i32(x)),
                       std::max(box[3], i32(y))};
    return box;
}

TEST(aFontTest, FlagsMoveTheText) {
    Fonts fonts;
    struct Case {
        u32 flags;
        f32 x, y;
        std::array<i32, 4> box;
    };
    const Case cases[] = {
        {0, 16, 16, {16, 16, 19, 21}},  {1, 16, 16, {14, 16, 17, 21}},        {2, 16, 16, {12, 16, 15, 21}},
        {3, 16, 16, {12, 16, 15, 21}},  {4, 16, 16, {16, 13, 19, 18}},        {8, 16, 16, {16, 10, 19, 15}},
        {12, 16, 16, {16, 10, 19, 15}}, {16, 16.4f, 16.6f, {16, 17, 19, 22}},
    };
    for (const Case& c : cases) {
        const RgbaImage image = drawScene({0, 0, 32, 32}, [&] { fonts.plain.print(c.x, c.y, "A", c.flags); });
        EXPECT_EQ(litBox(image), c.box) << "flags " << c.flags;
        EXPECT_EQ(countLit(image), 24) << "flags " << c.flags;
    }
}

TEST(aFontTest, BrokenDescriptionsAreLoggedAndDrawNothingTheyCannotRead) {
    FontFiles files;
    struct Case {
        std::string text;
        const char* logged;
    };
    const Case cases[] = {
        {"[General]\nFormat16 = 4444\nFormat32 = 8888\n" + std::string(kGlyphs),
         "aOptionsFile. Cannot find key: [General].Texture"},
        {general("") + "[Charlist]\n41 = 0 0 -4 6 0 0\n42 = 4 0 5\n43 = 0 0 70000 6 0 0\n44 = 0 0 4 6 x 0\n",
         "aFont. Incorrect glyph 41 = \"0 0 -4 6 0 0\""},
        {general("") + "[Charlist]\nzz = 0 0 4 6 0 0\n10041 = 0 0 4 6 0 0\n",
         "aFont. Incorrect character code \"zz\""},
        {general(""), "aFont. Cannot find section [Charlist]"},
        {"[General]\nTexture = glyphs.png\nFormat16 = 555\nFormat32 = 8888\n" + std::string(kGlyphs),
         "aFont. Unknown texture format: "},
        {"", "aOptionsFile. Cannot find section: [General]"},
    };
    testGraphServer();
    for (const Case& c : cases) {
        const std::string file = files.write("bad.fnt", c.text);
        LogCapture captured;
        aFont font(file);
        const auto lines = captured.messages();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(c.logged, 0) == 0;
        })) << c.logged;
        const bool readable = font.getTexture().hasTexture() && font.getGlyphRect('A').w != 0;
        if (!readable) {
            EXPECT_EQ(countLit(drawScene({0, 0, 32, 32}, [&] { font.print(4, 4, "ABCD"); })), 0) << c.logged;
        }
    }
    // Of the glyphs above only the well-formed ones exist; the rest print nothing.
    const std::string file =
        files.write("some.fnt", general("") + "[Charlist]\n41 = 0 0 -4 6 0 0\n42 = 4 0 5 6 0 0\n");
    aFont font(file);
    EXPECT_EQ(font.getGlyphRect('A'), aRect{});
    EXPECT_EQ(font.getTextSize("AB").width, 5);
}

TEST(aFontTest, UnderscoreUnderlinesTheNextGlyph) {
    Fonts fonts;
    const RgbaImage image = drawScene({0, 0, 40, 16}, [&] {
        fonts.underlined.print(2, 2, "A_BA");
        fonts.plain.print(24, 2, "_A");
    });
    EXPECT_TRUE(matchesGolden("font_underline", image));
}

} // namespace
