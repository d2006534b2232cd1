#include "RoomPictures.h"

#include <cmath>

namespace {

constexpr Canvas::Color kWood = 0xFF6A4428, kDarkWood = 0xFF3E2616, kBrass = 0xFFC8A050;
constexpr Canvas::Color kGold = 0xFFFFD070, kIron = 0xFF4A4E56, kDarkIron = 0xFF2A2C32;
constexpr Canvas::Color kPaper = 0xFFF0E6CC, kInk = 0xFF2A2A3A;
constexpr float kPi = 3.14159265f;

// A room fills the room area. Its furniture is drawn on a layer of the scene's size, which stands
// this far in, so that the objects.ini places are the layer's plus this offset.
constexpr int kRoomW = 845, kRoomH = 768, kSceneW = 800, kSceneH = 600, kSceneX = 22, kSceneY = 84;

// Wall above, floorboards below `floorY`, a skirting board between them.
void wallAndFloor(Canvas& c, int floorY, Canvas::Color wallTop, Canvas::Color wallBottom) {
    c.verticalGradient(0, 0, c.width(), floorY, wallTop, wallBottom);
    c.verticalGradient(0, floorY, c.width(), c.height() - floorY, 0xFF4A3020, 0xFF24160C);
    for (int y = floorY + 24; y < c.height(); y += 28)
        c.fillRect(0, y, c.width(), 2, 0xFF1C1008);
    c.fillRect(0, floorY - 14, c.width(), 14, kDarkWood);
}

// A board with a row of legs below it.
void table(Canvas& c, int x, int y, int w, int legHeight) {
    c.fillRect(x + 6, y + 8, 8, legHeight, kDarkWood);
    c.fillRect(x + w - 14, y + 8, 8, legHeight, kDarkWood);
    c.fillRoundRect(float(x), float(y), float(w), 10, 3, kWood);
}

// A clock hand from the centre, `angle` clockwise from twelve o'clock.
void hand(Canvas& c, float cx, float cy, float angle, float length, float halfWidth) {
    const float dx = std::sin(angle), dy = -std::cos(angle), nx = -dy * halfWidth, ny = dx * halfWidth;
    c.fillPolygon({cx + nx, cy + ny, cx + dx * length + nx, cy + dy * length + ny, cx + dx * length - nx,
                   cy + dy * length - ny, cx - nx, cy - ny},
                  kInk);
    c.fillCircle(cx, cy, 2, kInk);
}

// A moulding along the top of the wall, under the ceiling.
void cornice(Canvas& c) {
    c.fillRect(0, 0, c.width(), 18, kDarkWood);
    c.fillRect(0, 18, c.width(), 4, kWood);
}

Canvas glow(int w, int h, float inset) {
    Canvas c(w, h, 0x00FFD070);
    for (int i = 0; i < 6; ++i) {
        const float grow = inset - float(i) * inset / 6;
        c.fillRoundRect(grow, grow, float(w) - 2 * grow, float(h) - 2 * grow, 12, 0x20FFD070);
    }
    return c;
}

} // namespace

Canvas hallBackground() {
    Canvas c(kRoomW, kRoomH);
    wallAndFloor(c, kSceneY + 430, 0xFF3A2C26, 0xFF2C201A);
    cornice(c);
    // A picture rail along the wall.
    c.fillRect(0, kSceneY + 40, kRoomW, 4, 0xFF4A3A2E);
    Canvas scene(kSceneW, kSceneH, 0);
    // Wainscot panels along the wall.
    for (int x = 180; x < 640; x += 90)
        scene.fillRect(x, 330, 70, 80, 0xFF33251E);
    // The fireplace: a mantel shelf at 280, the hearth below it.
    scene.fillRect(640, 290, 150, 140, 0xFF5A5048);
    scene.fillRect(670, 330, 90, 100, 0xFF120C08);
    scene.radialGlow(715, 420, 40, 0xA0FF8030);
    scene.fillRoundRect(630, 276, 170, 14, 3, kWood);
    // The side table by the door, where a cup stands.
    table(scene, 180, 450, 80, 100);
    // A chair by the fireplace.
    scene.fillRect(560, 380, 8, 170, kDarkWood);
    scene.fillRect(604, 380, 8, 170, kDarkWood);
    scene.fillRect(560, 380, 52, 10, kWood);
    scene.fillRect(560, 440, 52, 12, kWood);
    // A portrait frame.
    scene.fillRect(180, 110, 90, 120, kBrass);
    scene.verticalGradient(186, 116, 78, 108, 0xFF3C4A3A, 0xFF20281E);
    c.draw(scene, kSceneX, kSceneY);
    return c;
}

Canvas cup(Canvas::Color glaze) {
    Canvas c(36, 30, 0x00FFFFFF);
    c.fillRing(28, 13, 7, 4, glaze);
    c.fillRoundRect(4, 4, 24, 20, 6, glaze);
    c.fillRect(6, 6, 20, 3, 0x60FFFFFF);
    c.fillRoundRect(0, 24, 36, 5, 2, 0xFFE8E0D0);
    return c;
}

Canvas hat() {
    Canvas c(70, 40, 0x00202020);
    c.fillRoundRect(0, 30, 70, 9, 4, 0xFF2A2622);
    c.fillRoundRect(14, 2, 42, 32, 8, 0xFF3A342E);
    c.fillRect(14, 22, 42, 6, 0xFF8A2A20);
    return c;
}

Canvas desk() {
    Canvas c(240, 140, 0x00000000);
    c.fillRect(8, 12, 70, 128, kDarkWood);
    c.fillRect(162, 12, 70, 128, kDarkWood);
    for (int y = 24; y < 140; y += 38) {
        c.fillRect(14, y, 58, 30, kWood);
        c.fillRect(168, y, 58, 30, kWood);
        c.fillCircle(43, float(y) + 15, 3, kBrass);
        c.fillCircle(197, float(y) + 15, 3, kBrass);
    }
    c.fillRoundRect(0, 0, 240, 14, 3, 0xFF7A5232);
    c.fillRect(70, 4, 100, 3, 0xFF2A4A2A);
    return c;
}

Canvas deskGlow() {
    return glow(260, 160, 10);
}

Canvas studyDoor(bool open) {
    Canvas c(120, 260, 0x00000000);
    c.fillRect(0, 0, 120, 260, kDarkWood);
    if (open) {
        c.verticalGradient(8, 8, 104, 252, 0xFF6A5A40, 0xFF3A3020);
        c.fillPolygon({8, 8, 40, 20, 40, 250, 8, 260}, kWood);
        c.fillCircle(32, 140, 4, kBrass);
    } else {
        c.fillRect(8, 8, 104, 252, kWood);
        c.fillRect(20, 24, 80, 90, 0xFF5A3A22);
        c.fillRect(20, 136, 80, 106, 0xFF5A3A22);
        c.fillCircle(96, 130, 5, kBrass);
    }
    return c;
}

Canvas clockFrames() {
    Canvas c(240, 240, 0x00000000);
    const float swing[] = {-0.15f, 0, 0.15f, 0};
    for (int i = 0; i < 4; ++i) {
        const float ox = float(60 * i);
        c.fillRoundRect(ox + 2, 0, 56, 240, 6, kDarkWood);
        c.fillRect(int(ox) + 8, 70, 44, 150, 0xFF1E140C);
        c.fillCircle(ox + 30, 34, 24, kBrass);
        c.fillCircle(ox + 30, 34, 20, kPaper);
        // A quarter past nine: the minute hand at three, the hour hand a quarter of the way on
        // from nine to ten.
        hand(c, ox + 30, 34, 0.5f * kPi, 16, 1.0f);
        hand(c, ox + 30, 34, 1.5f * kPi + kPi / 24, 11, 1.5f);
        // The pendulum hangs from (30, 76).
        const float bx = ox + 30 + std::sin(swing[i]) * 100, by = 76 + std::cos(swing[i]) * 100;
        c.fillPolygon({ox + 29, 76, ox + 31, 76, bx + 1, by, bx - 1, by}, kBrass);
        c.fillCircle(bx, by, 10, kGold);
    }
    return c;
}

Canvas candlestick() {
    Canvas c(24, 44, 0x00000000);
    c.fillRoundRect(0, 38, 24, 6, 2, kBrass);
    c.fillRect(10, 20, 4, 20, kBrass);
    c.fillRoundRect(6, 2, 12, 20, 3, 0xFFF4F0E0);
    return c;
}

Canvas signBoard() {
    Canvas c(200, 60, 0x00000000);
    c.fillRoundRect(0, 0, 200, 60, 8, kBrass);
    c.fillRoundRect(4, 4, 192, 52, 6, 0xFFE8D8A8);
    return c;
}

Canvas deskTopBackground() {
    Canvas c(520, 390);
    c.verticalGradient(0, 0, 520, 390, 0xFF7A5232, 0xFF4E321E);
    for (int y = 14; y < 390; y += 22)
        c.fillRect(0, y, 520, 1, 0x40201008);
    c.fillRoundRect(40, 120, 440, 240, 6, 0xFF2A4A2A);
    c.fillRect(40, 120, 440, 12, 0xFF3A2A1A);
    c.fillCircle(450, 70, 26, kDarkIron);
    c.fillCircle(450, 70, 14, 0xFF101020);
    return c;
}

Canvas brassKey() {
    Canvas c(64, 26, 0x00000000);
    c.fillRing(13, 13, 12, 6, kBrass);
    c.fillRect(24, 10, 38, 6, kBrass);
    c.fillRect(48, 16, 5, 8, kBrass);
    c.fillRect(57, 16, 5, 10, kBrass);
    return c;
}

Canvas brassKeyIcon() {
    Canvas c(36, 36, 0x00000000);
    c.fillRing(10, 10, 9, 4.5f, kBrass);
    c.fillPolygon({15, 13, 18, 10, 34, 26, 31, 29}, kBrass);
    c.fillPolygon({25, 23, 28, 20, 31, 23, 28, 26}, kGold);
    return c;
}

Canvas keyGlow() {
    return glow(80, 42, 4);
}

Canvas papers() {
    Canvas c(140, 100, 0x00000000);
    c.fillPolygon({10, 6, 136, 0, 140, 90, 14, 96}, 0xFFD8CCB0);
    c.fillRect(0, 4, 128, 92, kPaper);
    for (int y = 18; y < 88; y += 10)
        c.fillRect(10, y, y % 30 ? 104 : 70, 2, 0xFF8A8A9A);
    return c;
}

Canvas studyBackground() {
    Canvas c(kRoomW, kRoomH);
    wallAndFloor(c, kSceneY + 450, 0xFF26303A, 0xFF1C242C);
    cornice(c);
    Canvas scene(kSceneW, kSceneH, 0);
    // Bookshelves on the left, four shelves of books.
    scene.fillRect(30, 60, 260, 390, kDarkWood);
    const Canvas::Color spines[] = {0xFF7A2A22, 0xFF2A4A6A, 0xFF3A5A2A, 0xFF8A6A2A, 0xFF4A2A4A};
    for (int shelf = 0; shelf < 4; ++shelf) {
        const int base = 150 + shelf * 95;
        scene.fillRect(30, base, 260, 8, kWood);
        for (int x = 40, i = shelf; x < 270; x += 14, ++i)
            scene.fillRect(x, base - 70 + (i * 7) % 14, 12, 70 - (i * 7) % 14, spines[i % 5]);
    }
    // The window, with night outside.
    scene.fillRect(360, 80, 160, 200, kDarkWood);
    scene.verticalGradient(370, 90, 140, 180, 0xFF0A1020, 0xFF1C2A44);
    scene.fillRect(437, 90, 6, 180, kDarkWood);
    scene.fillRect(370, 177, 140, 6, kDarkWood);
    scene.fillCircle(480, 120, 12, 0xFFF0E8C8);
    // The wall around the safe.
    scene.fillRect(528, 298, 144, 138, 0xFF3A3E46);
    c.draw(scene, kSceneX, kSceneY);
    return c;
}

Canvas safe(bool open) {
    Canvas c(120, 120, 0x00000000);
    c.fillRect(0, 0, 120, 120, kDarkIron);
    if (open) {
        c.fillRect(8, 8, 104, 104, 0xFF141418);
        c.fillRect(8, 70, 104, 4, kIron);
        c.fillPolygon({0, 0, 14, 10, 14, 110, 0, 120}, kIron);
    } else {
        // A light steel door: the highlight of the safe under the mouse adds to its colours.
        c.fillRect(6, 6, 108, 108, 0xFF6E7684);
        c.fillRect(12, 12, 96, 96, 0xFF7A8290);
        c.fillCircle(60, 56, 22, kDarkIron);
        c.fillCircle(60, 56, 16, 0xFFB0B4BA);
        for (int i = 0; i < 12; ++i) {
            const float a = float(i) * 0.5235988f;
            c.fillCircle(60 + std::cos(a) * 19, 56 + std::sin(a) * 19, 1.2f, kDarkIron);
        }
        c.fillRect(86, 92, 20, 6, kBrass);
    }
    return c;
}

Canvas fingerprintCard() {
    Canvas c(44, 34, 0x00000000);
    c.fillRoundRect(0, 0, 44, 34, 3, kPaper);
    for (float r = 3; r < 14; r += 2.5f)
        c.fillRing(22, 18, r + 1, r, 0xFF4A4A6A);
    return c;
}

Canvas envelope() {
    Canvas c(50, 32, 0x00000000);
    c.fillRect(0, 0, 50, 32, 0xFFE8DCC0);
    c.fillTriangle(0, 0, 50, 0, 25, 18, 0xFFD0C4A8);
    c.fillCircle(25, 18, 4, 0xFF9A2A22);
    return c;
}

Canvas sparkle() {
    Canvas c(16, 16, 0x00FFF0C0);
    c.radialGlow(8, 8, 8, 0xC0FFF0C0);
    c.fillPolygon({8, 0, 9, 7, 16, 8, 9, 9, 8, 16, 7, 9, 0, 8, 7, 7}, 0xFFFFFFFF);
    return c;
}
