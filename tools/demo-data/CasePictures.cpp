#include "CasePictures.h"

namespace {

constexpr Canvas::Color kGlass = 0xFF9ED8D0, kPaper = 0xFFF0E6CC, kInk = 0xFF2A2A3A, kLit = 0xFFFFD070;

// The map's places stand on a pale round plate.
Canvas mapPlate() {
    Canvas c(140, 100, 0);
    c.fillRoundRect(0, 0, 140, 100, 12, 0x60FFFFFF);
    return c;
}

} // namespace

// A flat-roofed block with a flask on its sign.
Canvas mapLabPlace() {
    Canvas c = mapPlate();
    c.fillRect(26, 30, 88, 58, 0xFF8A9AA8);
    c.fillRect(22, 24, 96, 8, 0xFF4A5A6A);
    for (int x = 34; x < 110; x += 26)
        c.fillRect(x, 42, 16, 14, kLit);
    c.fillRect(62, 66, 16, 22, 0xFF3A4A5A);
    c.fillCircle(70, 14, 9, kGlass);
    c.fillRect(67, 2, 6, 8, kGlass);
    return c;
}

// Three roofs round a square with a lamp.
Canvas mapTownPlace() {
    Canvas c = mapPlate();
    const struct {
        float x, w;
        Canvas::Color walls, roof;
    } houses[] = {
        {14, 36, 0xFFB09A7A, 0xFF7A3A2A}, {52, 40, 0xFF9A8A78, 0xFF3A4A5A}, {94, 34, 0xFFA89070, 0xFF5A2A22}};
    for (const auto& h : houses) {
        c.fillRect(int(h.x), 46, int(h.w), 40, h.walls);
        c.fillTriangle(h.x - 4, 48, h.x + h.w + 4, 48, h.x + h.w / 2, 22, h.roof);
        c.fillRect(int(h.x + h.w / 2 - 4), 66, 8, 20, kLit);
    }
    c.fillRect(69, 6, 2, 16, kInk);
    c.fillCircle(70, 6, 4, kLit);
    return c;
}

Canvas caseFile() {
    Canvas c(80, 56, 0);
    c.fillRoundRect(0, 0, 34, 12, 3, 0xFFC8A060);
    c.fillRoundRect(0, 6, 80, 50, 3, 0xFFD8B070);
    c.fillRect(6, 2, 68, 6, kPaper);
    c.fillRect(14, 24, 52, 14, kPaper);
    c.fillRect(18, 29, 44, 2, kInk);
    c.fillRect(18, 33, 30, 2, kInk);
    return c;
}

Canvas townNote() {
    Canvas c(70, 50, 0);
    c.fillPolygon({4, 6, 66, 0, 70, 44, 0, 50}, kPaper);
    for (int y = 14; y < 40; y += 8)
        c.fillRect(12, y, y == 38 ? 24 : 44, 2, kInk);
    c.fillCircle(35, 6, 4, 0xFF9A2A22);
    return c;
}
