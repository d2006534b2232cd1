#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kScreenW = 1024, kScreenH = 768;
constexpr Canvas::Color kGold = 0xFFFFD070, kDimGold = 0xFFC8A050, kBrass = 0xFF8C7040;
constexpr Canvas::Color kNight = 0xFF0A1020, kInk = 0xFF0A0E18, kParchment = 0xFFF4E8C8;

// A button's looks, edge and fill from top to bottom, and its caption's colour (those of the
// "btn" template): normal, hover, pushed, disabled.
constexpr Canvas::Color kButtonLooks[4][3] = {{kBrass, 0xFF2A3550, 0xFF1A2234},
                                              {0xFFE0B860, 0xFF3C4A6C, 0xFF243050},
                                              {kGold, 0xFF18203A, 0xFF202C48},
                                              {0xFF505050, 0xFF2A2A2E, 0xFF202024}};
constexpr Canvas::Color kCaptionColors[4] = {0xFFE8DCC0, 0xFFFFFFFF, 0xFFFFD070, 0xFF807868};

// A fixed-seed sequence, so that stars and windows land in the same places every run.
class Dice {
public:
    int roll(int below) {
        m_seed = m_seed * 1103515245u + 12345u;
        return int((m_seed >> 16) % unsigned(below));
    }

private:
    uint32_t m_seed = 20240611u;
};

// A rounded rectangle with a border: the border colour first, the fill inset by `border`.
void framedBox(Canvas& c, float x, float y, float w, float h, float r, float border, Canvas::Color edge,
               Canvas::Color top, Canvas::Color bottom) {
    c.fillRoundRect(x, y, w, h, r, edge);
    c.fillRoundRectGradient(x + border, y + border, w - 2 * border, h - 2 * border,
                            std::max(r - border, 0.0f), top, bottom);
}

void magnifier(Canvas& c, float cx, float cy, float r, Canvas::Color color) {
    c.fillRing(cx, cy, r, r * 0.82f, color);
    const float d = r * 0.72f, len = r * 1.1f, half = r * 0.14f;
    c.fillPolygon({cx + d - half, cy + d + half, cx + d + half, cy + d - half, cx + d + len + half,
                   cy + d + len - half, cx + d + len - half, cy + d + len + half},
                  color);
}

void stars(Canvas& c, int count, int maxY) {
    Dice dice;
    for (int i = 0; i < count; ++i) {
        const float x = float(dice.roll(kScreenW)), y = float(dice.roll(maxY));
        c.fillCircle(x, y, 0.8f + float(dice.roll(3)) * 0.3f,
                     0xFFFFFFFF - (Canvas::Color(dice.roll(0x60)) << 24));
    }
}

// Dark blocks of houses with lit windows along the skyline.
void skyline(Canvas& c) {
    Dice dice;
    const int widths[] = {90, 130, 70, 110, 150, 80, 120, 110};
    const int heights[] = {150, 220, 120, 260, 180, 140, 230, 170};
    int x = 0;
    for (int i = 0; i < 8; ++i) {
        const int w = widths[i], top = 588 - heights[i];
        c.fillRect(x, top, w, heights[i], i % 2 ? 0xFF0F1521 : 0xFF0C111B);
        for (int wy = top + 20; wy < 560; wy += 34)
            for (int wx = x + 14; wx + 14 < x + w; wx += 28)
                if (dice.roll(5) == 0)
                    c.fillRect(wx, wy, 12, 16, kGold - (Canvas::Color(dice.roll(0x50)) << 24));
        x += w;
    }
    // The window whose light flickers in the menu, beside the water.
    c.fillRect(690, 470, 110, 118, 0xFF0E1420);
    c.fillRect(720, 510, 22, 30, kGold);
    c.radialGlow(731, 525, 40, 0x60FFD070);
}

// A button of that size with its caption drawn in, its four looks in bands from the top in an image
// button's order: normal, pushed, hover, disabled.
Canvas captionedButton(TextRenderer& font, int width, int height, const char* caption) {
    const int looks[4] = {0, 2, 1, 3};
    const float w = float(width), h = float(height);
    Canvas c(width, 4 * height, 0x00202020);
    for (int band = 0; band < 4; ++band) {
        const Canvas::Color* look = kButtonLooks[looks[band]];
        framedBox(c, 0, h * float(band), w, h, 12, 2, look[0], look[1], look[2]);
        font.drawCentered(c, width / 2, height * band + (height - font.lineHeight()) / 2, caption,
                          kCaptionColors[looks[band]]);
    }
    return c;
}

} // namespace

Canvas menuBackground() {
    Canvas c(kScreenW, kScreenH, kNight);
    c.verticalGradient(0, 0, kScreenW, 588, kNight, 0xFF1C2A44);
    stars(c, 90, 300);
    c.radialGlow(820, 120, 130, 0x50F0E8C8);
    c.fillCircle(820, 120, 42, 0xFFF0E8C8);
    c.fillCircle(836, 110, 36, 0x30C0B8A0);
    skyline(c);
    // The quay in front, and dark water where the waves clip will play.
    c.verticalGradient(0, 588, 704, 180, 0xFF181C26, 0xFF08090D);
    c.verticalGradient(704, 588, 320, 180, 0xFF101A2C, 0xFF0C1424);
    for (int x = 60; x < 680; x += 150) {
        c.fillRoundRect(float(x), 600, 26, 40, 8, 0xFF05070A);
        c.fillRect(x + 4, 600, 18, 4, 0xFF3A3428);
    }
    // A shade behind the title and the buttons keeps the text readable.
    c.fillRoundRect(302, 140, 420, 100, 24, 0x700A0E18);
    c.fillRoundRect(12, 12, 380, 124, 20, 0x700A0E18);
    c.fillRoundRect(362, 280, 300, 356, 24, 0x900A0E18);
    return c;
}

Canvas helpScreen(PictureFonts& fonts) {
    Canvas c(kScreenW, kScreenH, kNight);
    c.verticalGradient(0, 0, kScreenW, kScreenH, 0xFF141C30, 0xFF080B14);
    framedBox(c, 80, 60, 864, 648, 28, 3, kDimGold, 0xFF1A2236, 0xFF111726);
    magnifier(c, 830, 140, 40, 0x80C8A050);
    fonts.title.drawCentered(c, kScreenW / 2, 90, "How to play", kGold);
    const char* lines[] = {
        "Pick a player at the top left of the main menu. Every player keeps",
        "their own volumes, screen mode and tips.",
        "",
        "Play starts the demo's first case; each case solved leads to the next.",
        "After a save and exit, Play carries on where you left off.",
        "In a case, find the listed things in each room, ask for a hint when",
        "stuck, and solve the case with the evidence you gathered.",
        "",
        "Options sets the sound and music volumes, the screen mode and the tips.",
        "Credits rolls the credits; a click ends them.",
    };
    int y = 180;
    for (const char* line : lines) {
        fonts.body.draw(c, 130, y, line, 0xFFE8DCC0);
        y += 36;
    }
    fonts.body.drawCentered(c, kScreenW / 2, 640, "Click to return to the menu", kDimGold);
    return c;
}

Canvas loadingBackground(PictureFonts& fonts) {
    Canvas c(kScreenW, kScreenH, kNight);
    c.verticalGradient(0, 0, kScreenW, kScreenH, 0xFF101828, 0xFF06080E);
    stars(c, 60, 250);
    magnifier(c, 512, 190, 70, 0x60C8A050);
    fonts.body.drawCentered(c, kScreenW / 2, 700, "Night at the Harbour", 0x80C8B890);
    // The bed of the progress bar.
    framedBox(c, 306, 594, 412, 28, 10, 2, kBrass, 0xFF05070C, 0xFF0A0E16);
    return c;
}

Canvas engineSplash(PictureFonts& fonts) {
    Canvas c(640, 360, 0xFF000000);
    c.fillRing(320, 130, 70, 60, kDimGold);
    c.fillRing(320, 130, 44, 38, kGold);
    c.fillCircle(320, 130, 12, kGold);
    fonts.huge.drawCentered(c, 320, 218, "tk2v", 0xFFF0E8D8);
    fonts.body.drawCentered(c, 320, 300, "a small 2D engine", kDimGold);
    return c;
}

Canvas demoSplash(PictureFonts& fonts) {
    Canvas c(640, 360, 0xFF000000);
    magnifier(c, 300, 110, 50, kDimGold);
    fonts.title.drawCentered(c, 320, 190, "Night at the Harbour", kGold);
    fonts.body.drawCentered(c, 320, 260, "Every picture, sound and tune of this demo", 0xFFE8DCC0);
    fonts.body.drawCentered(c, 320, 288, "was made by its generator.", 0xFFE8DCC0);
    return c;
}

Canvas inkBlot() {
    Canvas c(320, 120, 0x00701818);
    const float blobs[][3] = {{160, 60, 50}, {110, 66, 36}, {212, 54, 40}, {70, 72, 20}, {258, 70, 22}};
    for (const auto& b : blobs)
        c.fillCircle(b[0], b[1], b[2], 0xA0601010);
    c.fillCircle(40, 40, 6, 0xA0601010);
    c.fillCircle(290, 96, 5, 0xA0601010);
    return c;
}

Canvas progressBar() {
    Canvas c(64, 16);
    c.verticalGradient(0, 0, 64, 16, kGold, 0xFFB07020);
    c.fillRect(0, 2, 64, 2, 0x60FFFFFF);
    return c;
}

Canvas progressGlow() {
    Canvas c(420, 36, 0x00FFD070);
    c.fillRoundRect(0, 0, 420, 36, 18, 0x30FFC040);
    c.fillRoundRect(4, 4, 412, 28, 14, 0x40FFD070);
    return c;
}

Canvas dialogFrame() {
    Canvas c(96, 96, 0x00101828);
    framedBox(c, 0, 0, 96, 96, 20, 3, kDimGold, 0xF0182238, 0xF0101828);
    return c;
}

Canvas goldFrame() {
    Canvas c(48, 48, 0x00B08840);
    c.fillShape(
        0, 0, 48, 48, [](float x, float y) { return x < 4 || y < 4 || x >= 44 || y >= 44; }, 0xFFB08840);
    c.fillShape(
        0, 0, 48, 48, [](float x, float y) { return (x >= 2 && x < 3) || (y >= 2 && y < 3); }, kGold);
    return c;
}

Canvas buttonSheet(TextRenderer& font) {
    Canvas c(48 + 4 * 140, 192, 0x00202020);
    for (int i = 0; i < 4; ++i)
        framedBox(c, 0, float(48 * i), 48, 48, 12, 2, kButtonLooks[i][0], kButtonLooks[i][1],
                  kButtonLooks[i][2]);
    int x = 48;
    for (const char* caption : {"Back", "Next", "Skip", "Finish"}) {
        c.draw(captionedButton(font, 140, 48, caption), x, 0);
        x += 140;
    }
    return c;
}

Canvas slotHover() {
    Canvas c(48, 48, 0x00FFD070);
    framedBox(c, 0, 0, 48, 48, 10, 1.5f, 0xA0FFD070, 0x30FFFFFF, 0x18FFFFFF);
    return c;
}

Canvas selectorBar() {
    Canvas c(280, 48, 0x00FFD070);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 280; ++x) {
            const float u = (x + 0.5f) / 140 - 1, v = (y + 0.5f) / 24 - 1;
            const float a = (1 - u * u) * (1 - v * v * v * v);
            if (a > 0)
                c.blend(x, y, 0x70FFD070, a);
        }
    return c;
}

// Drawn under the selected slot's caption, which keeps its light colour: a dark fill in a gold rim.
Canvas selectionMarker() {
    Canvas c(320, 44, 0x00FFD070);
    framedBox(c, 0, 0, 320, 44, 8, 2, kGold, 0xFF4A3A1E, 0xFF2E2414);
    return c;
}

Canvas tipBalloons() {
    // Four 48 x 48 balloons; each one's tail points to the corner nearest the spot it explains:
    // top left, top right, bottom left, bottom right.
    Canvas c(96, 96, 0x00F4E8C8);
    for (int i = 0; i < 4; ++i) {
        const float ox = float(48 * (i % 2)), oy = float(48 * (i / 2));
        const float cx = ox + (i % 2 ? 47 : 1), cy = oy + (i / 2 ? 47 : 1);
        const float sx = i % 2 ? -1.0f : 1.0f, sy = i / 2 ? -1.0f : 1.0f;
        c.fillTriangle(cx, cy, cx + sx * 18, cy + sy * 7, cx + sx * 7, cy + sy * 18, kBrass);
        c.fillRoundRect(ox + 5, oy + 5, 38, 38, 10, kBrass);
        c.fillTriangle(cx + sx * 2, cy + sy * 2, cx + sx * 17, cy + sy * 8, cx + sx * 8, cy + sy * 17,
                       kParchment);
        c.fillRoundRect(ox + 6.5f, oy + 6.5f, 35, 35, 9, kParchment);
    }
    return c;
}

Canvas pageArrow(bool right) {
    constexpr Canvas::Color cream = 0xFFF6EEDA;
    Canvas c(60, 40, 0);
    c.fillRoundRect(0, 0, 60, 40, 10, 0xFF4A3020);
    if (right)
        c.fillTriangle(20, 8, 20, 32, 44, 20, cream);
    else
        c.fillTriangle(40, 8, 40, 32, 16, 20, cream);
    return c;
}

Canvas arrowCursor() {
    const std::vector<float> arrow = {2, 2, 2, 24, 7.5f, 18.5f, 11.5f, 27, 15, 25.5f, 11, 17, 19, 17};
    Canvas c(32, 32, 0x00000000);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            std::vector<float> moved = arrow;
            for (size_t i = 0; i < moved.size(); i += 2) {
                moved[i] += float(dx);
                moved[i + 1] += float(dy);
            }
            c.fillPolygon(moved, 0xFF000000);
        }
    c.fillPolygon(arrow, kParchment);
    return c;
}

Canvas checkBox() {
    Canvas c(24, 24, 0x000C1220);
    framedBox(c, 0, 0, 24, 24, 4, 2, kDimGold, 0xFF0C1220, 0xFF141C2E);
    return c;
}

Canvas checkMark() {
    Canvas c(24, 24, 0x00FFD070);
    c.fillPolygon({5, 12, 9, 8.5f, 11, 13, 19, 4, 22, 7.5f, 11, 20}, kGold);
    return c;
}

Canvas sliderTrack() {
    Canvas c(240, 8, 0x000A0E18);
    framedBox(c, 0, 0, 240, 8, 4, 1, kBrass, kInk, kInk);
    return c;
}

Canvas sliderThumb() {
    Canvas c(16, 24, 0x00FFD070);
    framedBox(c, 0, 0, 16, 24, 4, 1.5f, 0xFF604820, kGold, 0xFFB07020);
    return c;
}

Canvas textField() {
    Canvas c(420, 44, 0x000A0E18);
    framedBox(c, 0, 0, 420, 44, 8, 2, kBrass, 0xFF05070C, kInk);
    return c;
}

Canvas panelButton(int width, int height) {
    // Five bands: normal, pushed, hover, disabled, and the glow drawn over a button with news.
    const Canvas::Color looks[4][3] = {{kBrass, 0xFF2A3550, 0xFF1A2234},
                                       {kGold, 0xFF18203A, 0xFF202C48},
                                       {0xFFE0B860, 0xFF3C4A6C, 0xFF243050},
                                       {0xFF505050, 0xFF2A2A2E, 0xFF202024}};
    const float w = float(width), h = float(height), r = std::min(10.0f, h / 4);
    Canvas c(width, 5 * height, 0x00202020);
    for (int i = 0; i < 4; ++i)
        framedBox(c, 0, h * float(i), w, h, r, 2, looks[i][0], looks[i][1], looks[i][2]);
    c.fillRoundRect(0, 4 * h, w, h, r, 0x60FFD070);
    c.fillRoundRect(3, 4 * h + 3, w - 6, h - 6, r - 2, 0x40FFF0C0);
    return c;
}

Canvas fogPuff() {
    Canvas c(64, 64, 0x00FFFFFF);
    c.radialGlow(32, 32, 32, 0xFFFFFFFF);
    return c;
}

Canvas lightSpot() {
    Canvas c(32, 32, 0x00FFE8B0);
    c.radialGlow(16, 16, 16, 0xFFFFE8B0);
    return c;
}
