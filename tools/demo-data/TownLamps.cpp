#include "RoomGroups.h"
#include "Synth.h"
#include "TextRenderer.h"

#include <string>
#include <vector>

// The lamp table of the town (zoom_Lamps, 720 x 540): a one-page note beside a table with two
// numbered holes, and the pictures of each lamp standing in either hole; the place on the hub
// (LAMPS) and the two lamps found there (LAMP01, LAMP02). Where each object stands is the room's
// objects.ini.

namespace {

using Color = Canvas::Color;

constexpr int kCloseW = 720, kCloseH = 540;
constexpr Color kCream = 0xFFF6EEDA, kInk = 0xFF2A2A3A, kWood = 0xFF5A3C24;
// Lamp 1 burns amber, lamp 2 green.
constexpr Color kGlass[] = {0xFFE8A030, 0xFF50C070};

// The table top with its two holes, 110 x 130 at (400, 200) and (560, 200), each numbered below.
Canvas tableBackground(TextRenderer& font) {
    Canvas c(kCloseW, kCloseH, 0xFF000000);
    c.verticalGradient(0, 0, kCloseW, kCloseH, 0xFF4A3A2E, 0xFF241A12);
    c.fillRoundRect(370, 150, 330, 260, 14, kWood);
    for (int hole = 0; hole < 2; ++hole) {
        const int x = 400 + hole * 160;
        font.drawCentered(c, x + 55, 340, std::to_string(hole + 1), kCream);
    }
    return c;
}

Canvas hole() {
    Canvas c(110, 130, 0);
    c.fillRoundRect(0, 0, 110, 130, 12, 0xFF1A120C);
    c.fillRoundRect(8, 8, 94, 114, 10, 0xFF0A0604);
    return c;
}

// A lamp, its glass lit in its colour, with its number on the base.
Canvas lamp(TextRenderer& font, int number, int w, int h) {
    Canvas c(w, h, 0);
    const float cx = float(w) / 2;
    c.radialGlow(cx, float(h) * 0.38f, float(w) * 0.5f, kGlass[number - 1] & 0x80FFFFFF);
    c.fillCircle(cx, float(h) * 0.38f, float(w) * 0.28f, kGlass[number - 1]);
    c.fillRoundRect(cx - float(w) * 0.22f, float(h) * 0.66f, float(w) * 0.44f, float(h) * 0.26f, 4,
                    0xFF8A8A94);
    font.drawCentered(c, int(cx), int(float(h) * 0.68f), std::to_string(number), kInk);
    return c;
}

Canvas notePage(TextRenderer& font) {
    Canvas c(300, 360, 0);
    c.fillRect(0, 0, 300, 360, 0xFFF2E8D0);
    font.drawCentered(c, 150, 20, "The keeper's note", 0xFF6A4A2A);
    font.draw(c, 20, 90, "Each lamp to the hole", kInk);
    font.draw(c, 20, 120, "of its own number.", kInk);
    return c;
}

// A lamp set into its socket: a click, then a short hum.
std::vector<uint8_t> bulbSetup() {
    Synth s(0.4f);
    s.noiseBurst(0, 0.03f, 0.5f);
    s.note(0.03f, 0.35f, 120, 0.3f, Synth::Wave::Triangle);
    s.normalize(0.4f);
    return s.wav();
}

std::vector<uint8_t> pageTurn() {
    Synth s(0.3f);
    s.noiseBurst(0, 0.25f, 0.3f);
    s.normalize(0.35f);
    return s.wav();
}

void writeLamps(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", tableBackground(fonts.body));
    files.picture("hole", hole());
    files.picture("page1", notePage(fonts.body));
    files.picture("back", pageArrow(false));
    files.picture("next", pageArrow(true));
    for (int number = 1; number <= 2; ++number)
        files.picture("lamp" + std::to_string(number) + "_set", lamp(fonts.body, number, 110, 130));
    files.wave("bulb_setup", bulbSetup());
    files.wave("change_page", pageTurn());
}

Canvas lampsPlace(TextRenderer& font) {
    Canvas c(150, 80, 0);
    c.fillRoundRect(0, 0, 150, 80, 8, kWood);
    c.fillCircle(55, 30, 14, kGlass[0]);
    c.fillCircle(95, 30, 14, kGlass[1]);
    font.drawCentered(c, 75, 56, "LAMPS", kCream);
    return c;
}

} // namespace

void writeTownLamps(const std::string& investigation, HubFiles& hub) {
    TextRenderer& font = hub.fonts().body;
    hub.image("lamps.png", lampsPlace(font));
    for (int number = 1; number <= 2; ++number) {
        const std::string name = "lamp0" + std::to_string(number);
        hub.image(name + ".png", lamp(font, number, 54, 54));
        hub.image(name + "_icon.png", fitted(lamp(font, number, 54, 54), 38));
    }
    writeLamps(hub.out(), investigation + "zoom_Lamps/", hub.fonts());
}
