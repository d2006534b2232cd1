#include "InGamePictures.h"

#include "RoomPictures.h"

#include <cmath>

namespace {

constexpr Canvas::Color kGold = 0xFFFFD070, kDimGold = 0xFFC8A050, kBrass = 0xFF8C7040;
constexpr Canvas::Color kPaper = 0xFFF0E6CC, kInk = 0xFF2A2A3A, kNight = 0xFF0A1020;
constexpr float kPi = 3.14159265f;

// The inventory strip in the panel's column: four cells of 41 pixels, the first 3 pixels in.
constexpr int kStripX = 6, kStripY = 668, kStripW = 168, kStripH = 52;
constexpr int kCellPitch = 41, kCellWidth = 39, kCells = 4;
// The room area, which the map and the boards fill.
constexpr int kRoomW = 845, kRoomH = 768;
// A glyph on a panel button, in the colours of the buttons' labels, one per band: normal, pushed,
// hover, disabled.
constexpr Canvas::Color kGlyphLooks[4] = {kGold, kGold, 0xFFFFF0C0, 0xFF807868};

// A five-pointed star's outline, points up, as polygon points.
std::vector<float> starPoints(float cx, float cy, float outer, float inner) {
    std::vector<float> points;
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 ? inner : outer, a = -kPi / 2 + float(i) * kPi / 5;
        points.push_back(cx + r * std::cos(a));
        points.push_back(cy + r * std::sin(a));
    }
    return points;
}

void plate(Canvas& c, float x, float y, float w, float h, Canvas::Color top, Canvas::Color bottom) {
    c.fillRoundRect(x, y, w, h, 10, kBrass);
    c.fillRoundRectGradient(x + 3, y + 3, w - 6, h - 6, 8, top, bottom);
}

// A small house: walls, a roof and a lit door.
void house(Canvas& c, float x, float y, float w, Canvas::Color walls, Canvas::Color roof) {
    const float h = w * 0.6f;
    c.fillRect(int(x), int(y + h * 0.4f), int(w), int(h * 0.6f), walls);
    c.fillTriangle(x - 6, y + h * 0.42f, x + w + 6, y + h * 0.42f, x + w / 2, y, roof);
    c.fillRect(int(x + w * 0.42f), int(y + h * 0.66f), int(w * 0.16f), int(h * 0.34f), kGold);
}

} // namespace

Canvas hintStar() {
    Canvas c(32, 32, 0x00FFF0C0);
    c.radialGlow(16, 16, 16, 0x80FFF0C0);
    c.fillPolygon(starPoints(16, 17, 14, 6), kGold);
    return c;
}

Canvas panelBackground() {
    Canvas c(179, 768, kBrass);
    c.verticalGradient(2, 2, 174, 764, 0xFF1A2236, 0xFF0E1420);
    // Thin rules below the notepad and above the strip.
    for (int y : {486, kStripY - 6})
        c.fillRect(12, y, 155, 1, 0x80C8A050);
    c.fillRoundRect(float(kStripX), float(kStripY), float(kStripW), float(kStripH), 6, kDimGold);
    c.fillRoundRect(float(kStripX + 1), float(kStripY + 1), float(kStripW - 2), float(kStripH - 2), 5,
                    0xFF121A2A);
    for (int i = 0; i < kCells; ++i)
        c.fillRoundRect(float(kStripX + 3 + kCellPitch * i), float(kStripY + 3), float(kCellWidth),
                        float(kStripH - 6), 4, 0xFF0A0E18);
    return c;
}

Canvas notepadSheet() {
    Canvas c(162, 330, 0);
    c.fillRoundRect(0, 0, 162, 330, 6, kBrass);
    c.fillRoundRect(1.5f, 1.5f, 159, 327, 5, kPaper);
    c.fillRect(8, 163, 146, 1, 0x808C7040);
    c.fillRect(8, 165, 146, 1, 0x808C7040);
    return c;
}

Canvas hintButton() {
    Canvas c = panelButton(163, 40);
    for (int i = 0; i < 4; ++i)
        c.fillPolygon(starPoints(24, float(40 * i + 21), 12, 5), kGlyphLooks[i]);
    return c;
}

Canvas panelArrow(bool right) {
    Canvas c = panelButton(48, 30);
    const float dx = right ? 7 : -7;
    for (int i = 0; i < 4; ++i) {
        const float cy = float(30 * i + 15);
        c.fillTriangle(24 + dx, cy, 24 - dx, cy - 8, 24 - dx, cy + 8, kGlyphLooks[i]);
    }
    return c;
}

Canvas inventoryShadow() {
    Canvas c(kStripW, kStripH, 0);
    for (int y = 0; y < 10; ++y)
        c.fillRect(0, y, kStripW, 1, Canvas::Color(0x70 * (10 - y) / 10) << 24);
    return c;
}

Canvas portrait(int size, Canvas::Color coat, Canvas::Color backdrop) {
    const float s = float(size), mid = s / 2;
    Canvas c(size, size, 0);
    c.fillCircle(mid, mid, mid, kBrass);
    c.fillCircle(mid, mid, mid - 3, backdrop);
    // Coat, face and the brim of a hat.
    c.fillShape(
        3, mid, s - 3, s - 3,
        [&](float x, float y) {
            return std::hypot(x - mid, y - s) < s * 0.42f && std::hypot(x - mid, y - mid) < mid - 3;
        },
        coat);
    c.fillCircle(mid, s * 0.45f, s * 0.17f, 0xFFE8C8A8);
    c.fillRoundRect(mid - s * 0.28f, s * 0.26f, s * 0.56f, s * 0.06f, 2, 0xFF2A2218);
    c.fillRoundRect(mid - s * 0.16f, s * 0.12f, s * 0.32f, s * 0.16f, 3, 0xFF2A2218);
    return c;
}

Canvas banner(PictureFonts& fonts, const char* text) {
    Canvas c(600, 160, 0);
    plate(c, 0, 0, 600, 160, 0xF01A2236, 0xF0111726);
    fonts.title.drawCentered(c, 300, 80 - fonts.title.lineHeight() / 2, text, kGold);
    return c;
}

Canvas mapBackground() {
    Canvas c(kRoomW, kRoomH, 0xFFE4D4AC);
    // A harbour on the right, two roads meeting on the left.
    c.fillShape(
        560, 0, kRoomW, kRoomH, [](float x, float y) { return x > 640 + 60 * std::sin(y / 90); }, 0xFF7C9CB0);
    c.fillPolygon({0, 300, 600, 330, 600, 350, 0, 322}, 0xFFC8B48C);
    c.fillPolygon({300, 0, 322, 0, 344, kRoomH, 322, kRoomH}, 0xFFC8B48C);
    for (int i = 0; i < 4; ++i)
        c.fillRect(0, i, kRoomW, 1, kBrass);
    return c;
}

Canvas mapPlace(bool study) {
    Canvas c(140, 100, 0);
    c.fillRoundRect(0, 0, 140, 100, 12, 0x60FFFFFF);
    house(c, 30, 14, 80, study ? 0xFF8A6A4A : 0xFF9A8A78, study ? 0xFF5A2A22 : 0xFF3A4A5A);
    return c;
}

// The hall's place in greys under a veil, with a tick.
Canvas mapPlaceDone() {
    Canvas c(140, 100, 0);
    c.fillRoundRect(0, 0, 140, 100, 12, 0x60FFFFFF);
    house(c, 30, 14, 80, 0xFF8C8C8C, 0xFF5C5C5C);
    c.fillRoundRect(0, 0, 140, 100, 12, 0x90202020);
    c.fillPolygon({44, 54, 52, 46, 64, 60, 92, 28, 100, 36, 64, 76}, 0xFFE8E0C8);
    return c;
}

Canvas boardBackground(Canvas::Color felt) {
    Canvas c(kRoomW, kRoomH, 0xFF3E2616);
    c.fillRect(16, 16, kRoomW - 32, kRoomH - 32, felt);
    for (float x : {40.0f, float(kRoomW - 40)})
        for (float y : {40.0f, float(kRoomH - 40)})
            c.fillCircle(x, y, 6, kDimGold);
    return c;
}

Canvas cardSlot() {
    Canvas c(140, 110, 0);
    c.fillRoundRect(0, 0, 140, 110, 8, kBrass);
    c.fillRoundRect(4, 4, 132, 102, 6, 0xFF1A2236);
    return c;
}

Canvas cardThumbnail() {
    Canvas c(120, 90, 0);
    c.draw(envelope(), 35, 29);
    c.fillRect(10, 10, 100, 2, kDimGold);
    c.fillRect(10, 78, 100, 2, kDimGold);
    return c;
}

Canvas letterCard(PictureFonts& fonts) {
    Canvas c(320, 280, kPaper);
    c.fillRect(0, 0, 320, 6, kBrass);
    const char* lines[] = {"Meet me at the harbour", "at midnight. Bring the", "papers from the safe.", "",
                           "    - a friend"};
    int y = 30;
    for (const char* line : lines) {
        fonts.body.draw(c, 24, y, line, kInk);
        y += 34;
    }
    return c;
}

Canvas comicPage(PictureFonts& fonts, int page) {
    Canvas c(1024, 768, kNight);
    c.fillRect(0, 0, 1024, 768, 0xFFF4E8C8);
    // Two panels a page: the harbour at night, then the inspector at the door.
    const int panelH = 330;
    for (int i = 0; i < 2; ++i) {
        const int y = 40 + i * (panelH + 40);
        c.fillRect(40, y, 944, panelH, 0xFF101010);
        c.verticalGradient(44, y + 4, 936, panelH - 8, 0xFF18243C, 0xFF0A1020);
        c.fillRect(44, y + panelH - 80, 936, 76, page == 1 ? 0xFF203040 : 0xFF2A2018);
        house(c, float(140 + 300 * i + 120 * (page - 1)), float(y + 120), 160, 0xFF4A4A58, 0xFF2A2A34);
        c.fillCircle(float(860 - 200 * i), float(y + 70), 30, 0xFFF0E8C0);
    }
    const char* captions[2][2] = {{"The harbour sleeps.", "Not everyone does."},
                                  {"A light in the study.", "Someone was here first."}};
    for (int i = 0; i < 2; ++i)
        fonts.title.draw(c, 70, 60 + i * (panelH + 40), captions[page - 1][i], 0xFFF4E8C8);
    return c;
}
