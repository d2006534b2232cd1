#include "RoomGroups.h"
#include "Synth.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// The hedge maze and the air vent (slots HEDGE, VENT). Each close-up is 845 x 768, the whole room
// area, on a map of 10-pixel cells (85 x 77) drawn from the same rectangles as its picture: the
// garden's hedges are the walls of its map, the duct's corridors the free cells of its.

namespace {

constexpr int kRoomW = 845, kRoomH = 768, kStep = 10;
constexpr int kMapW = 85, kMapH = 77;

struct Box {
    int x, y, w, h;
};

// The garden: cells 1 and 2 side by side, hedges 20 thick round them with a gap on cell 1's left
// (Marwenn's way in), one below it (Tez's) and one between the cells, where gate 12 stands.
const Box kCells[] = {{120, 200, 300, 300}, {420, 200, 300, 300}};
const Box kHedges[] = {{110, 190, 620, 20},  {110, 490, 130, 20}, {300, 490, 430, 20}, {110, 190, 20, 140},
                       {110, 410, 20, 100},  {710, 190, 20, 320}, {410, 190, 20, 130}, {410, 380, 20, 130}};
const Box kGate = {400, 310, 40, 80};
constexpr int kPoseW = 28, kPoseH = 40;

// The duct: corridors 40 wide from the figure's rest at the top left to the way out at the bottom
// right (600, 560), the dragon's place (300, 360) on the way; both places 60 x 40.
const Box kDucts[] = {
    {40, 100, 560, 40}, {560, 100, 40, 300}, {160, 360, 440, 40}, {160, 360, 40, 240}, {160, 560, 500, 40}};

bool inside(const Box& b, int x, int y) {
    return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
}

// A ".map" file: a byte 0, width and height, then the cells column by column (255 a wall).
template <class Wall> std::vector<uint8_t> mapFile(Wall wall) {
    std::vector<uint8_t> bytes(1, 0);
    for (uint32_t value : {uint32_t(kMapW), uint32_t(kMapH)})
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(value >> (8 * i)));
    for (int x = 0; x < kMapW; ++x)
        for (int y = 0; y < kMapH; ++y)
            bytes.push_back(wall(x * kStep + kStep / 2, y * kStep + kStep / 2) ? 255 : 0);
    return bytes;
}

Canvas gardenBackground() {
    Canvas c(kRoomW, kRoomH, 0);
    c.verticalGradient(0, 0, kRoomW, kRoomH, 0xFF2C4A24, 0xFF1A3016);
    for (const Box& cell : kCells)
        c.fillRect(cell.x, cell.y, cell.w, cell.h, 0xFF6E6A5A);
    // Gravel: a speckle of lighter stones.
    for (int i = 0; i < 1400; ++i) {
        const int x = 120 + (i * 173) % 600, y = 200 + (i * 97) % 300;
        c.fillCircle(float(x), float(y), 1.5f, 0xFF8A8572);
    }
    for (const Box& h : kHedges) {
        c.fillRoundRect(float(h.x), float(h.y), float(h.w), float(h.h), 6, 0xFF1E5A1A);
        c.fillRoundRect(float(h.x + 3), float(h.y + 3), float(h.w - 6), float(h.h - 6), 4, 0xFF2F7A28);
    }
    return c;
}

// A gate in its frame: bars across (shut), leaves folded back (open) or half way (turning).
Canvas gate(float open) {
    Canvas c(kGate.w, kGate.h, 0);
    c.fillRect(0, 0, 8, kGate.h, 0xFF4A3A2A);
    c.fillRect(kGate.w - 8, 0, 8, kGate.h, 0xFF4A3A2A);
    const int reach = int((1 - open) * 30);
    for (int y = 14; y < kGate.h - 6; y += 12)
        c.fillRect(8, y, reach, 4, 0xFF8A6A3A);
    return c;
}

// A figure seen from above, a coat and a head, and a mark for where it faces.
Canvas pose(Canvas::Color coat, int index) {
    Canvas c(kPoseW, kPoseH, 0);
    c.fillRoundRect(2, 10, kPoseW - 4, kPoseH - 12, 8, coat);
    c.fillCircle(kPoseW / 2.0f, 12, 8, 0xFFE8C8A8);
    static const float dirs[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    const bool idle = index >= 10;
    const float* d = idle ? dirs[(index - 10) == 0 ? 6 : (index - 10) == 1 ? 2 : (index - 10) == 2 ? 0 : 4]
                          : dirs[index < 8 ? index : 4];
    const float cx = kPoseW / 2.0f, cy = kPoseH / 2.0f + 4, r = idle ? 6.0f : 11.0f;
    c.fillCircle(cx + d[0] * r, cy + d[1] * r, idle ? 2.5f : 3.5f, 0xFFFFF0C0);
    return c;
}

// As wide as its words need.
Canvas caughtBanner(PictureFonts& fonts) {
    const char* const text = "Tez is caught";
    const int w = fonts.title.textWidth(text) + 40, h = fonts.title.lineHeight() + 24;
    Canvas c(w, h, 0);
    c.fillRoundRect(0, 0, float(w), float(h), 10, 0xE0F0E6CC);
    fonts.title.drawCentered(c, w / 2, 12, text, 0xFF2A2A3A);
    return c;
}

Canvas suspectCard(PictureFonts& fonts) {
    Canvas c(130, 100, 0);
    c.fillRoundRect(0, 0, 130, 100, 8, 0xFFF0E6CC);
    c.fillCircle(65, 24, 15, 0xFFE8C8A8);
    c.fillRoundRect(37, 38, 56, 22, 9, 0xFF40A040);
    fonts.body.drawCentered(c, 65, 100 - fonts.body.lineHeight() - 4, "Tez", 0xFF2A2A3A);
    return c;
}

Canvas ventBackground() {
    Canvas c(kRoomW, kRoomH, 0xFF06070A);
    for (const Box& d : kDucts) {
        c.fillRect(d.x, d.y, d.w, d.h, 0xFF1C1E24);
        for (int x = d.x; x < d.x + d.w; x += 40)
            c.fillRect(x, d.y, 2, d.h, 0xFF2A2C34);
    }
    return c;
}

Canvas crawler(bool resting) {
    Canvas c(32, 32, 0);
    c.fillRoundRect(6, 8, 20, 22, 8, resting ? 0xFF6A5A8A : 0xFF8A6AB0);
    c.fillCircle(16, 8, 7, 0xFFE8C8A8);
    if (!resting) {
        c.fillRect(1, 14, 6, 3, 0xFF8A6AB0);
        c.fillRect(25, 20, 6, 3, 0xFF8A6AB0);
    }
    return c;
}

Canvas torchLight() {
    Canvas c(180, 180, 0);
    c.radialGlow(90, 90, 90, 0x90FFE8A0);
    return c;
}

Canvas place(Canvas::Color color) {
    return Canvas(60, 40, color);
}

Canvas photo(PictureFonts& fonts, const char* caption, Canvas::Color subject) {
    Canvas c(180, 130, 0);
    c.fillRoundRect(0, 0, 180, 130, 6, 0xFFF4F0E8);
    c.fillRect(10, 10, 160, 90, 0xFF22242A);
    c.fillCircle(90, 55, 30, subject);
    fonts.body.drawCentered(c, 90, 104, caption, 0xFF2A2A3A);
    return c;
}

Canvas fan() {
    Canvas c(60, 60, 0);
    c.fillCircle(30, 30, 28, 0xFF3A3C44);
    for (int blade = 0; blade < 3; ++blade) {
        const float a = float(blade) * 2.0943951f;
        c.fillTriangle(30, 30, 30 + 26 * std::cos(a), 30 + 26 * std::sin(a), 30 + 26 * std::cos(a + 0.6f),
                       30 + 26 * std::sin(a + 0.6f), 0xFF6A6C74);
    }
    c.fillCircle(30, 30, 5, 0xFF8A8C94);
    return c;
}

// The hub's places: an arch in a hedge, and a vent's grille.
Canvas hedgePlace() {
    Canvas c(150, 80, 0);
    c.fillRoundRect(0, 10, 150, 70, 10, 0xFF1E5A1A);
    c.fillRoundRect(50, 24, 50, 56, 20, 0xFF0C1A0A);
    return c;
}

Canvas ventPlace() {
    Canvas c(150, 80, 0);
    c.fillRoundRect(20, 10, 110, 60, 6, 0xFF8A8C94);
    for (int y = 18; y < 64; y += 8)
        c.fillRect(28, y, 94, 4, 0xFF2A2C34);
    return c;
}

std::vector<uint8_t> gravelSteps() {
    Synth s(0.8f, true);
    for (float t = 0; t < 0.8f; t += 0.2f)
        s.noiseBurst(t, 0.06f, 0.5f);
    s.normalize(0.35f);
    return s.wav();
}

std::vector<uint8_t> ductSteps() {
    Synth s(0.6f, true);
    for (float t = 0; t < 0.6f; t += 0.3f) {
        s.noiseBurst(t, 0.08f, 0.3f);
        s.note(t, 0.2f, 220, 0.2f, Synth::Wave::Triangle, 0.002f, 180);
    }
    s.normalize(0.35f);
    return s.wav();
}

std::vector<uint8_t> creak(float from, float to) {
    Synth s(0.5f);
    s.note(0, 0.5f, from, 0.5f, Synth::Wave::Triangle, 0.03f, to);
    s.noiseBurst(0, 0.2f, 0.1f);
    s.normalize(0.5f);
    return s.wav();
}

std::vector<uint8_t> tap(float freq) {
    Synth s(0.15f);
    s.noiseBurst(0, 0.02f, 0.3f);
    s.note(0, 0.15f, freq, 0.4f, Synth::Wave::Sine, 0.001f, freq * 0.7f);
    s.normalize(0.3f);
    return s.wav();
}

void writeGarden(const std::string& room, HubFiles& hub) {
    DataWriter& out = hub.out();
    std::string images;
    const std::string folder = room + "Images/";
    out.image(images, folder, "background.png", gardenBackground());
    for (int cell = 1; cell <= 2; ++cell)
        out.image(images, folder, "cell" + std::to_string(cell) + ".png", Canvas(300, 300, 0));
    out.image(images, folder, "gate_open.png", gate(1));
    out.image(images, folder, "gate_closed.png", gate(0));
    out.image(images, folder, "gate_turning.png", gate(0.5f));
    static const char* const suffixes[] = {"U",  "RU", "R",     "RD",    "D",     "LD",    "L",
                                           "LU", "OD", "CD",    "IDLEL", "IDLER", "IDLEU", "IDLED"};
    for (int i = 0; i < 14; ++i) {
        out.image(images, folder, std::string("marwenn_") + suffixes[i] + ".png", pose(0xFFB03A4A, i));
        out.image(images, folder, std::string("tez_") + suffixes[i] + ".png", pose(0xFF3A8A3A, i));
    }
    out.image(images, folder, "tez_info.png", caughtBanner(hub.fonts()));
    out.image(images, folder, "tez_suspect.png", suspectCard(hub.fonts()));
    out.write(folder + "_images.list", images);

    std::string sounds;
    out.sound(sounds, room + "Sounds/", "rosary_steps.wav", gravelSteps());
    out.sound(sounds, room + "Sounds/", "rosary_gate_open.wav", creak(160, 260));
    out.sound(sounds, room + "Sounds/", "rosary_gate_close.wav", creak(260, 140));
    out.sound(sounds, room + "Sounds/", "hedge_rustle.wav", tap(500));
    out.write(room + "Sounds/_sounds.list", sounds);

    out.write(room + "garden.map", mapFile([](int x, int y) {
                  for (const Box& h : kHedges)
                      if (inside(h, x, y))
                          return true;
                  return false;
              }));
}

void writeVent(const std::string& room, HubFiles& hub) {
    DataWriter& out = hub.out();
    std::string images;
    const std::string folder = room + "Images/";
    out.image(images, folder, "background.png", ventBackground());
    out.image(images, folder, "crawling.png", crawler(false));
    out.image(images, folder, "resting.png", crawler(true));
    out.image(images, folder, "light.png", torchLight());
    out.image(images, folder, "dragon_place.png", place(0xFFA02020));
    out.image(images, folder, "exit_place.png", place(0xFF20A020));
    out.image(images, folder, "foto_dragon.png", photo(hub.fonts(), "A dragon", 0xFFB02A22));
    out.image(images, folder, "foto_exit.png", photo(hub.fonts(), "The way out", 0xFF3AA040));
    out.image(images, folder, "fan.png", fan());
    out.write(folder + "_images.list", images);

    std::string sounds;
    out.sound(sounds, room + "Sounds/", "ventilation_steps.wav", ductSteps());
    out.sound(sounds, room + "Sounds/", "duct_tap.wav", tap(900));
    out.write(room + "Sounds/_sounds.list", sounds);

    out.write(room + "darkway.map", mapFile([](int x, int y) {
                  for (const Box& d : kDucts)
                      if (inside(d, x, y))
                          return false;
                  return true;
              }));
}

} // namespace

void writeTownMazes(const std::string& investigation, HubFiles& hub) {
    hub.image("hedge.png", hedgePlace());
    hub.image("vent.png", ventPlace());
    writeGarden(investigation + "zoom_GardenMaze/", hub);
    writeVent(investigation + "zoom_VentMaze/", hub);
}
