#include "RoomGroups.h"
#include "Synth.h"

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The garden behind the town square (room_Garden, through the gate GARDEN) and its five
// close-ups. Where each picture stands is the rooms' objects.ini; the sizes below are the ones
// those files count on:
//   room_Garden (845 x 768): the gate back to the square, the five close-up places (BEACH,
//     ROSEBUSH, NETS, SHED, SANDPIT) and the six things to find (APPLE, CORK,
//     PACKET_OF_CIGARETTES, LIGHTER, TWIG, BRUSH), each thing with a 36 x 36 inventory icon;
//   zoom_CrabPuzzle (640 x 480): five holes (56 x 28), the four blockers, the crab with and
//     without its crystal (48 x 32), the crystal and the twig in three states (64 x 180, held by
//     the point (31, 173), its tip at (30, 4));
//   zoom_GardenRose (640 x 480): the stain, the big leaf and its shadow, a second leaf, the rose
//     and its two petals, two bugs (their places on the leaf use the bugs' own picture);
//   zoom_NetPuzzle (640 x 480): the keys under four ropes;
//   zoom_Warehouse (640 x 480): the hook, the beam of light, the lit window and the dust, the
//     console's lock and the console, the ticket the hook uncovers;
//   zoom_SandCleaning (640 x 480): the sand over an arm, the tattoo and two patches of sand.

namespace {

using Color = Canvas::Color;

constexpr Color kSand = 0xFFD8C08A, kWetSand = 0xFFB89E6A, kLeaf = 0xFF3E7A32, kLeafDark = 0xFF24501E;
constexpr Color kWood = 0xFF7A5030, kDarkWood = 0xFF4A2E18, kRope = 0xFFC8A870, kRopeDark = 0xFF8A6E40;
constexpr Color kSkin = 0xFFE0B090, kRose = 0xFFC0283A, kRoseDark = 0xFF80182A, kIron = 0xFF5A5E66;

// A picture laid out in one of the rooms' lists.
struct Picture {
    const char* file;
    Canvas canvas;
};

void writeRoom(DataWriter& out, const std::string& room, const std::vector<Picture>& pictures,
               const std::vector<std::pair<const char*, std::vector<uint8_t>>>& sounds) {
    std::string images, list;
    for (const Picture& picture : pictures)
        out.image(images, room + "Images/", picture.file, picture.canvas);
    out.write(room + "Images/_images.list", images);
    for (const auto& [file, wav] : sounds)
        out.sound(list, room + "Sounds/", file, wav);
    if (!sounds.empty())
        out.write(room + "Sounds/_sounds.list", list);
}

// ---- The garden ----

Canvas gardenBackground() {
    Canvas c(845, 768);
    c.verticalGradient(0, 0, 845, 220, 0xFF6A9AC8, 0xFFB8D0E0);
    // The wall round the garden, then the hedge before it.
    c.fillRect(0, 150, 845, 70, 0xFF9A8A78);
    for (int x = 0; x < 845; x += 48)
        c.fillRect(x, 150, 2, 70, 0xFF7A6A5A);
    for (int x = -20; x < 860; x += 38)
        c.fillCircle(float(x), 228, 30, x / 38 % 2 ? 0xFF2E5A28 : 0xFF346428);
    c.verticalGradient(0, 240, 845, 528, 0xFF5A8A3A, 0xFF3A6426);
    // The gravel path from the gate down the middle.
    c.fillPolygon({380, 240, 460, 240, 560, 768, 280, 768}, 0xFFB0A488);
    // The apple tree on the left.
    c.fillRect(150, 150, 30, 200, 0xFF5A3A22);
    c.fillCircle(165, 130, 80, 0xFF3A7030);
    c.fillCircle(120, 170, 50, 0xFF3A7030);
    c.fillCircle(215, 165, 55, 0xFF346428);
    for (auto [x, y] : {std::pair{130, 110}, {190, 150}, {160, 90}, {110, 175}})
        c.fillCircle(float(x), float(y), 7, 0xFFC83028);
    // Flower beds along the path.
    for (int y = 300; y < 640; y += 60) {
        c.fillCircle(270, float(y), 12, 0xFFE0C040);
        c.fillCircle(590, float(y + 20), 12, 0xFFD06080);
    }
    return c;
}

Canvas squareGate() {
    Canvas c(130, 90, 0);
    c.fillRect(6, 20, 14, 70, 0xFF8A7A68);
    c.fillRect(110, 20, 14, 70, 0xFF8A7A68);
    c.fillRing(65, 40, 52, 44, 0xFF3A3A40);
    for (int x = 28; x < 104; x += 12)
        c.fillRect(x, 30, 4, 60, 0xFF3A3A40);
    return c;
}

Canvas beachPlace() {
    Canvas c(220, 120, 0);
    c.fillRoundRect(0, 0, 220, 120, 20, kSand);
    c.fillRoundRect(0, 0, 220, 34, 16, 0xFF4A88B8);
    c.fillRect(0, 26, 220, 10, kWetSand);
    for (int i = 0; i < 5; ++i)
        c.fillRoundRect(float(18 + 40 * i), 76, 24, 12, 6, 0xFF5A4A30);
    c.fillRoundRect(100, 50, 22, 14, 6, 0xFFD06030);
    return c;
}

Canvas roseBush() {
    Canvas c(170, 180, 0);
    for (auto [x, y, r] : {std::tuple{85, 110, 60}, {45, 130, 40}, {125, 130, 40}, {85, 60, 40}})
        c.fillCircle(float(x), float(y), float(r), kLeaf);
    for (auto [x, y] : {std::pair{60, 80}, {110, 70}, {85, 120}, {40, 130}, {130, 125}})
        c.fillCircle(float(x), float(y), 12, kRose);
    c.fillRect(80, 160, 10, 20, 0xFF4A3020);
    return c;
}

Canvas netsPlace() {
    Canvas c(190, 140, 0);
    c.fillRect(10, 0, 12, 140, kWood);
    c.fillRect(168, 0, 12, 140, kWood);
    c.fillRect(10, 14, 170, 6, kDarkWood);
    for (int i = 0; i < 8; ++i) {
        c.fillPolygon({float(22 + 20 * i), 20, float(26 + 20 * i), 20, float(46 + 20 * i), 120,
                       float(42 + 20 * i), 120},
                      kRope);
        c.fillPolygon({float(168 - 20 * i), 20, float(164 - 20 * i), 20, float(144 - 20 * i), 120,
                       float(148 - 20 * i), 120},
                      kRopeDark);
    }
    return c;
}

Canvas shed() {
    Canvas c(190, 220, 0);
    c.fillRect(10, 50, 170, 170, kWood);
    c.fillTriangle(0, 56, 190, 56, 95, 0, kDarkWood);
    c.fillRect(60, 100, 70, 120, kDarkWood);
    for (int y = 60; y < 220; y += 20)
        c.fillRect(10, y, 170, 2, kDarkWood);
    c.fillCircle(118, 160, 5, 0xFFC8A050);
    return c;
}

Canvas sandpit() {
    Canvas c(230, 130, 0);
    c.fillRoundRect(0, 20, 230, 110, 12, kWood);
    c.fillRoundRect(10, 30, 210, 90, 10, kSand);
    c.fillRoundRect(60, 60, 110, 24, 12, 0xFFC8A878);
    c.fillCircle(60, 72, 12, kSkin);
    return c;
}

Canvas apple(int size) {
    Canvas c(size, size, 0);
    const float s = float(size) / 36;
    c.fillCircle(18 * s, 20 * s, 15 * s, 0xFFC83028);
    c.fillCircle(13 * s, 15 * s, 4 * s, 0x60FFFFFF);
    c.fillRect(int(17 * s), int(1 * s), int(3 * s) + 1, int(7 * s), 0xFF5A3A22);
    c.fillTriangle(20 * s, 6 * s, 30 * s, 2 * s, 24 * s, 10 * s, kLeaf);
    return c;
}

Canvas cork(int w, int h) {
    Canvas c(w, h, 0);
    c.fillPolygon({float(w) * 0.15f, 0, float(w) * 0.85f, 0, float(w), float(h), 0, float(h)}, 0xFFB08050);
    for (int i = 0; i < 6; ++i)
        c.fillCircle(float(w) * (0.25f + 0.1f * float(i)), float(h) * (0.3f + 0.08f * float(i % 3)), 1.5f,
                     0xFF7A5030);
    return c;
}

Canvas cigarettes(int w, int h) {
    Canvas c(w, h, 0);
    c.fillRect(0, 0, w, h, 0xFFE8E0D0);
    c.fillRect(0, h / 3, w, h / 3, 0xFFB02030);
    c.fillRect(w / 4, 0, 3, h / 4, 0xFFF0F0F0);
    c.fillRect(w / 2, 0, 3, h / 5, 0xFFF0F0F0);
    return c;
}

Canvas lighter(int w, int h) {
    Canvas c(w, h, 0);
    c.fillRoundRect(0, float(h) / 3, float(w), float(h) * 2 / 3, 3, 0xFFB8BCC4);
    c.fillRect(2, h / 3 + 4, w - 4, 3, 0xFF8A8E96);
    c.fillRoundRect(2, 0, float(w) - 4, float(h) / 3 + 2, 2, 0xFF9A9EA6);
    return c;
}

Canvas twig(int w, int h) {
    Canvas c(w, h, 0);
    c.fillPolygon(
        {0, float(h) * 0.6f, float(w), float(h) * 0.3f, float(w), float(h) * 0.45f, 0, float(h) * 0.8f},
        0xFF6A4A2A);
    c.fillPolygon({float(w) * 0.5f, float(h) * 0.5f, float(w) * 0.7f, 0, float(w) * 0.74f, 2,
                   float(w) * 0.56f, float(h) * 0.55f},
                  0xFF6A4A2A);
    return c;
}

// Four frames side by side: the bristles sway; frame 2 is the brush at rest.
Canvas brushFrames() {
    Canvas c(4 * 38, 36, 0);
    const float sway[] = {-2, 0, 1, 3};
    for (int f = 0; f < 4; ++f) {
        const float x = float(38 * f);
        c.fillPolygon({x + 2, 2, x + 8, 0, x + 30, 18, x + 24, 22}, kDarkWood);
        c.fillRoundRect(x + 18, 16, 18, 10, 3, kWood);
        for (int b = 0; b < 5; ++b)
            c.fillRect(int(x + 19 + 3.5f * float(b) + sway[f]), 26, 2, 9, 0xFF3A3024);
    }
    return c;
}

// The strip lays each icon from its cell's left edge: a picture narrower than the cell stands in the
// middle of a cell-sized icon.
Canvas stripIcon(const Canvas& picture) {
    Canvas c(36, 36, 0);
    c.draw(picture, (36 - picture.width()) / 2, (36 - picture.height()) / 2);
    return c;
}

Canvas brushIcon() {
    Canvas c(36, 36, 0);
    c.fillPolygon({2, 4, 8, 2, 28, 20, 22, 24}, kDarkWood);
    c.fillRoundRect(17, 18, 18, 10, 3, kWood);
    for (int b = 0; b < 5; ++b)
        c.fillRect(18 + 3 * b, 28, 2, 7, 0xFF3A3024);
    return c;
}

void writeGarden(DataWriter& out, const std::string& room) {
    writeRoom(
        out, room,
        {{"background.png", gardenBackground()},
         {"square_gate.png", squareGate()},
         {"beach.png", beachPlace()},
         {"rosebush.png", roseBush()},
         {"nets.png", netsPlace()},
         {"shed.png", shed()},
         {"sandpit.png", sandpit()},
         {"apple.png", apple(36)},
         {"apple_icon.png", apple(36)},
         {"cork.png", cork(28, 28)},
         {"cork_icon.png", stripIcon(cork(30, 30))},
         {"packet.png", cigarettes(30, 40)},
         {"packet_icon.png", stripIcon(cigarettes(26, 34))},
         {"lighter.png", lighter(22, 36)},
         {"lighter_icon.png", stripIcon(lighter(22, 34))},
         {"twig.png", twig(90, 24)},
         {"twig_icon.png", twig(36, 36)},
         {"brush_frames.png", brushFrames()},
         {"brush_icon.png", brushIcon()}},
        {{"garden_birds.wav", [] {
              // Two blackbird phrases over the wall.
              Synth s(1.4f);
              const float phrase[][2] = {{0, 1760}, {0.12f, 2093}, {0.22f, 1976}, {0.7f, 2349}, {0.8f, 2637}};
              for (const auto& [at, freq] : phrase)
                  s.note(at, 0.14f, freq, 0.3f, Synth::Wave::Sine, 0.01f, freq * 1.08f);
              s.normalize(0.3f);
              return s.wav();
          }()}});
}

// ---- The crab's beach ----

Canvas beachBackground() {
    Canvas c(640, 480);
    c.verticalGradient(0, 0, 640, 110, 0xFF2A5A8A, 0xFF4A88B8);
    c.verticalGradient(0, 110, 640, 40, kWetSand, kSand);
    c.verticalGradient(0, 150, 640, 330, kSand, 0xFFC8AE78);
    for (int i = 0; i < 40; ++i)
        c.fillCircle(float(i * 97 % 640), float(170 + i * 53 % 300), 2.5f, 0xFFA89468);
    for (int x = 0; x < 640; x += 80)
        c.fillRoundRect(float(x + 10), 104, 50, 6, 3, 0x80FFFFFF);
    return c;
}

Canvas hole() {
    Canvas c(56, 28, 0);
    c.fillRoundRect(0, 0, 56, 28, 14, 0xFF8A7450);
    c.fillRoundRect(6, 5, 44, 18, 9, 0xFF2A2218);
    return c;
}

// The crab, its earring glinting on the right claw unless it has lost it.
Canvas crab(bool crystal) {
    Canvas c(48, 32, 0);
    for (int i = 0; i < 3; ++i) {
        c.fillRect(4 + 5 * i, 18 + 3 * i, 10, 3, 0xFFB04020);
        c.fillRect(34 - 5 * i, 18 + 3 * i, 10, 3, 0xFFB04020);
    }
    c.fillRoundRect(10, 10, 28, 18, 9, 0xFFD05A28);
    c.fillCircle(6, 8, 6, 0xFFD05A28);
    c.fillCircle(42, 8, 6, 0xFFD05A28);
    c.fillCircle(19, 12, 2.5f, 0xFF101010);
    c.fillCircle(29, 12, 2.5f, 0xFF101010);
    if (crystal) {
        c.radialGlow(42, 4, 6, 0xC0C0F0FF);
        c.fillCircle(42, 4, 3, 0xFFB8E8FF);
    }
    return c;
}

Canvas crystal() {
    Canvas c(20, 26, 0);
    c.fillRing(10, 5, 5, 3, 0xFFC8A050);
    c.radialGlow(10, 16, 10, 0x80C0F0FF);
    c.fillPolygon({10, 8, 17, 16, 10, 25, 3, 16}, 0xFFB8E8FF);
    c.fillPolygon({10, 8, 17, 16, 10, 16}, 0xFFE8F8FF);
    return c;
}

// The twig held by its lower end at (31, 173), its tip at (30, 4); the crab hangs from the tip once
// caught.
Canvas stick(int crabState) {
    Canvas c(64, 180, 0);
    c.fillPolygon({26, 2, 34, 2, 36, 178, 27, 178}, 0xFF6A4A2A);
    c.fillPolygon({30, 60, 34, 58, 52, 30, 49, 28}, 0xFF6A4A2A);
    if (crabState > 0)
        c.draw(crab(crabState == 1), 8, 0);
    return c;
}

void writeCrabPuzzle(DataWriter& out, const std::string& room) {
    writeRoom(out, room,
              {{"background.png", beachBackground()},
               {"hole.png", hole()},
               {"apple_block.png", apple(40)},
               {"probka.png", cork(34, 30)},
               {"sigarety.png", cigarettes(44, 30)},
               {"zippo.png", lighter(28, 40)},
               {"crab.png", crab(true)},
               {"crab_bez_cristala.png", crab(false)},
               {"cristal.png", crystal()},
               {"cristal_icon.png", stripIcon(crystal())},
               {"stick.png", stick(0)},
               {"stick_crab.png", stick(1)},
               {"stick_shaken.png", stick(2)}},
              {{"crab_movement.wav",
                [] {
                    // Claws ticking on sand, round and round.
                    Synth s(0.6f, true);
                    for (int i = 0; i < 8; ++i)
                        s.noiseBurst(0.075f * float(i), 0.02f, i % 2 ? 0.3f : 0.5f);
                    s.normalize(0.35f);
                    return s.wav();
                }()},
               {"crab_catch.wav",
                [] {
                    Synth s(0.4f);
                    s.noiseBurst(0, 0.12f, 0.5f);
                    s.note(0.08f, 0.3f, 300, 0.4f, Synth::Wave::Triangle, 0.005f, 180);
                    s.normalize(0.5f);
                    return s.wav();
                }()},
               {"crab_earring_drop.wav", [] {
                    Synth s(0.7f);
                    s.note(0, 0.7f, 2637, 0.4f, Synth::Wave::Bell);
                    s.note(0.12f, 0.5f, 3136, 0.25f, Synth::Wave::Bell);
                    s.normalize(0.45f);
                    return s.wav();
                }()}});
}

// ---- The rose ----

Canvas roseBackground() {
    Canvas c(640, 480);
    c.verticalGradient(0, 0, 640, 480, 0xFF2A3A22, 0xFF3A2A1A);
    for (int i = 0; i < 30; ++i)
        c.fillCircle(float(i * 131 % 640), float(i * 71 % 480), float(20 + i % 4 * 8), 0x40408A30);
    return c;
}

Canvas bloodStain() {
    Canvas c(90, 50, 0);
    c.fillRoundRect(4, 10, 70, 30, 15, 0xFF6A1A14);
    c.fillCircle(76, 16, 8, 0xFF6A1A14);
    c.fillCircle(20, 40, 6, 0xFF5A1410);
    return c;
}

// The big leaf, pointing right, with its veins.
Canvas leaf(int w, int h, Color color) {
    Canvas c(w, h, 0);
    const float cx = float(w) / 2, cy = float(h) / 2;
    c.fillShape(
        0, 0, float(w), float(h),
        [=](float x, float y) {
            const float dx = (x - cx) / (float(w) / 2), dy = (y - cy) / (float(h) / 2);
            return dx * dx + dy * dy * (1.2f + 0.6f * dx) < 1;
        },
        color);
    c.fillRect(int(float(w) * 0.08f), int(cy) - 1, int(float(w) * 0.86f), 3, kLeafDark);
    for (int i = 1; i < 5; ++i) {
        const float x = float(w) * 0.18f * float(i);
        c.fillPolygon({x, cy, x + 4, cy, x + float(w) * 0.12f, cy - float(h) * 0.3f, x + float(w) * 0.12f - 3,
                       cy - float(h) * 0.3f},
                      kLeafDark);
        c.fillPolygon({x, cy, x + 4, cy, x + float(w) * 0.12f, cy + float(h) * 0.3f, x + float(w) * 0.12f - 3,
                       cy + float(h) * 0.3f},
                      kLeafDark);
    }
    return c;
}

Canvas leafShadow() {
    Canvas c(270, 130, 0);
    c.fillRoundRect(0, 0, 270, 130, 60, 0x70101808);
    return c;
}

Canvas rose() {
    Canvas c(170, 150, 0);
    c.fillCircle(85, 75, 60, kRoseDark);
    for (int i = 0; i < 6; ++i) {
        const float a = float(i) * 1.047f;
        c.fillCircle(85 + 34 * std::cos(a), 75 + 30 * std::sin(a), 26, kRose);
    }
    c.fillCircle(85, 75, 20, kRoseDark);
    return c;
}

Canvas petal() {
    Canvas c(70, 50, 0);
    c.fillRoundRect(0, 0, 70, 50, 24, 0xFFD83848);
    c.fillRoundRect(8, 6, 40, 20, 10, 0x40FFFFFF);
    return c;
}

Canvas bug(Color shell, Color spots) {
    Canvas c(34, 26, 0);
    c.fillCircle(8, 13, 6, 0xFF181818);
    c.fillRoundRect(8, 1, 26, 24, 12, shell);
    c.fillRect(20, 2, 2, 22, 0xFF181818);
    for (auto [x, y] : {std::pair{14, 8}, {27, 8}, {15, 18}, {27, 18}})
        c.fillCircle(float(x), float(y), 3, spots);
    return c;
}

void writeGardenRose(DataWriter& out, const std::string& room) {
    writeRoom(out, room,
              {{"background.png", roseBackground()},
               {"blood.png", bloodStain()},
               {"leaf_shadow.png", leafShadow()},
               {"leaf.png", leaf(280, 140, 0xFF4A8A3A)},
               {"leaf2.png", leaf(130, 64, 0xFF3E7A32)},
               {"rose.png", rose()},
               {"center.png", Canvas(10, 10, 0x80FFFFFF)},
               {"petal.png", petal()},
               {"bug1.png", bug(0xFFD02020, 0xFF181818)},
               {"bug2.png", bug(0xFF2A6A9A, 0xFFE0C040)}},
              {{"leaves_bug_put.wav", [] {
                    Synth s(0.35f);
                    s.noiseBurst(0, 0.3f, 0.35f);
                    s.note(0, 0.2f, 520, 0.15f, Synth::Wave::Sine, 0.01f, 380);
                    s.normalize(0.4f);
                    return s.wav();
                }()}});
}

// ---- The net ----

Canvas deckBackground() {
    Canvas c(640, 480);
    c.verticalGradient(0, 0, 640, 480, 0xFF5A4230, 0xFF3A2A1E);
    for (int y = 0; y < 480; y += 40)
        c.fillRect(0, y, 640, 3, 0xFF2A1E14);
    return c;
}

Canvas keys() {
    Canvas c(70, 40, 0);
    c.fillRing(14, 20, 12, 7, 0xFFC8A050);
    c.fillRect(24, 17, 40, 5, 0xFFC8A050);
    c.fillRect(56, 22, 4, 8, 0xFFC8A050);
    c.fillRect(46, 22, 4, 6, 0xFFC8A050);
    c.fillRect(24, 26, 30, 4, 0xFFA8A8B0);
    c.fillRect(48, 30, 3, 6, 0xFFA8A8B0);
    return c;
}

// A rope from one corner of its picture to the other, twisted in light and dark strands.
Canvas rope(int w, int h, float x0, float y0, float x1, float y1, float thickness) {
    Canvas c(w, h, 0);
    const float dx = x1 - x0, dy = y1 - y0, length = std::sqrt(dx * dx + dy * dy);
    const float nx = -dy / length * thickness / 2, ny = dx / length * thickness / 2;
    c.fillPolygon({x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny}, kRope);
    for (float t = 0; t < 1; t += 12 / length)
        c.fillCircle(x0 + dx * t + nx * 0.3f, y0 + dy * t + ny * 0.3f, thickness * 0.22f, kRopeDark);
    return c;
}

void writeNetPuzzle(DataWriter& out, const std::string& room) {
    writeRoom(out, room,
              {{"background.png", deckBackground()},
               {"keys.png", keys()},
               {"rope1.png", rope(460, 48, 0, 24, 460, 24, 44)},
               {"rope2.png", rope(300, 300, 10, 10, 290, 290, 28)},
               {"rope3.png", rope(300, 300, 290, 10, 10, 290, 28)},
               {"rope4.png", rope(40, 300, 20, 0, 20, 300, 28)}},
              {{"rope_removed.wav",
                [] {
                    Synth s(0.4f);
                    s.noiseBurst(0, 0.35f, 0.4f);
                    s.note(0, 0.35f, 700, 0.2f, Synth::Wave::Triangle, 0.01f, 1200);
                    s.normalize(0.4f);
                    return s.wav();
                }()},
               {"rope_wrong.wav", [] {
                    Synth s(0.25f);
                    s.note(0, 0.25f, 140, 0.6f, Synth::Wave::Sine, 0.002f, 100);
                    s.normalize(0.45f);
                    return s.wav();
                }()}});
}

// ---- The warehouse ----

Canvas warehouseBackground() {
    Canvas c(640, 480);
    c.verticalGradient(0, 0, 640, 480, 0xFF1E2024, 0xFF2A2620);
    c.fillRect(0, 20, 640, 10, kIron);
    c.fillRect(0, 400, 640, 80, 0xFF3A3228);
    for (auto [x, y, w, h] : {std::tuple{20, 300, 120, 100}, {150, 330, 90, 70}, {480, 250, 140, 150}})
        c.fillRect(x, y, w, h, 0xFF6A4A2A);
    return c;
}

// A crane hook: a shank and a curve open on the upper left.
Canvas hook() {
    Canvas c(50, 70, 0);
    c.fillRect(22, 0, 6, 36, kIron);
    c.fillShape(
        0, 30, 50, 70,
        [](float x, float y) {
            const float d = (x - 25) * (x - 25) + (y - 50) * (y - 50);
            return d <= 16 * 16 && d >= 10 * 10 && !(x < 25 && y < 50);
        },
        0xFF8A8E96);
    return c;
}

Canvas beam() {
    Canvas c(240, 380, 0);
    c.fillPolygon({60, 0, 170, 0, 240, 380, 0, 380}, 0x30FFE8A0);
    return c;
}

Canvas litWindow() {
    Canvas c(110, 70, 0);
    c.fillRect(0, 0, 110, 70, 0xFFFFE8A0);
    c.fillRect(53, 0, 4, 70, 0xFF3A3A3A);
    c.fillRect(0, 33, 110, 4, 0xFF3A3A3A);
    return c;
}

Canvas dust() {
    Canvas c(200, 300, 0);
    for (int i = 0; i < 60; ++i)
        c.fillCircle(float(i * 37 % 200), float(i * 89 % 300), 1.5f, 0xA0FFF0C0);
    return c;
}

Canvas console(bool lit) {
    Canvas c(90, 80, 0);
    c.fillRoundRect(0, 0, 90, 80, 6, 0xFF4A4E56);
    c.fillRoundRect(8, 8, 74, 34, 4, lit ? 0xFF40C060 : 0xFF20242A);
    if (lit)
        for (int i = 0; i < 3; ++i)
            c.fillCircle(float(20 + 25 * i), 58, 7, i == 1 ? 0xFFE04040 : 0xFFE0C040);
    else
        c.fillCircle(45, 58, 8, 0xFF1A1A1A);
    return c;
}

Canvas ticket() {
    Canvas c(80, 50, 0);
    c.fillPolygon({0, 4, 80, 0, 76, 50, 4, 46}, 0xFFF0E6CC);
    c.fillRect(10, 12, 56, 3, 0xFF2A2A3A);
    c.fillRect(10, 22, 40, 3, 0xFF2A2A3A);
    c.fillRect(10, 32, 50, 3, 0xFFB02030);
    return c;
}

void writeWarehouse(DataWriter& out, const std::string& room) {
    writeRoom(out, room,
              {{"background.png", warehouseBackground()},
               {"kruk.png", hook()},
               {"luch.png", beam()},
               {"light_on.png", litWindow()},
               {"dust.png", dust()},
               {"pult_lock.png", console(false)},
               {"pult.png", console(true)},
               {"lastwin.png", ticket()}},
              {{"warehouse_hook_falloff.wav", [] {
                    Synth s(1.2f);
                    s.note(0, 0.9f, 900, 0.2f, Synth::Wave::Triangle, 0.05f, 200);
                    s.noiseBurst(0.9f, 0.3f, 0.6f);
                    s.note(0.9f, 0.3f, 160, 0.5f, Synth::Wave::Bell);
                    s.normalize(0.5f);
                    return s.wav();
                }()}});
}

// ---- The sand ----

Canvas sandBackground() {
    Canvas c(640, 480);
    c.verticalGradient(0, 0, 640, 480, kSand, 0xFFC8AE78);
    // The arm lying across the pit, the hand on the left.
    c.fillRoundRect(130, 170, 420, 120, 56, kSkin);
    c.fillCircle(120, 230, 50, kSkin);
    return c;
}

Canvas sandLayer() {
    Canvas c(420, 200, 0);
    c.fillRoundRect(0, 0, 420, 200, 90, 0xFFD0B480);
    for (int i = 0; i < 80; ++i)
        c.fillCircle(float(20 + i * 53 % 380), float(20 + i * 29 % 160), 2, 0xFFB09468);
    return c;
}

// An anchor: ring, shank, stock and the arms curving up to their flukes.
Canvas tattoo() {
    Canvas c(110, 110, 0);
    const Color ink = 0xFF243A6A;
    c.fillRing(55, 16, 10, 6, ink);
    c.fillRect(52, 24, 6, 70, ink);
    c.fillRect(30, 36, 50, 6, ink);
    c.fillShape(
        10, 60, 100, 100,
        [](float x, float y) {
            const float d = (x - 55) * (x - 55) + (y - 60) * (y - 60);
            return y >= 60 && d <= 38 * 38 && d >= 32 * 32;
        },
        ink);
    c.fillTriangle(14, 62, 26, 56, 24, 70, ink);
    c.fillTriangle(96, 62, 84, 56, 86, 70, ink);
    return c;
}

Canvas sandPatch(int w, int h, int seed) {
    Canvas c(w, h, 0);
    c.fillRoundRect(0, 0, float(w), float(h), 20, 0xFFD4B884);
    for (int i = 0; i < 25; ++i)
        c.fillCircle(float(6 + (i * 31 + seed) % (w - 12)), float(6 + (i * 47 + seed) % (h - 12)), 2,
                     0xFFB09468);
    return c;
}

void writeSandCleaning(DataWriter& out, const std::string& room) {
    writeRoom(out, room,
              {{"background.png", sandBackground()},
               {"sand.png", sandLayer()},
               {"tatu.png", tattoo()},
               {"patch1.png", sandPatch(72, 132, 3)},
               {"patch2.png", sandPatch(72, 132, 11)}},
              {{"sand_cleaning.wav", [] {
                    Synth s(0.8f, true);
                    s.wind(0.5f, 0.6f);
                    s.normalize(0.3f);
                    return s.wav();
                }()}});
}

// The gate into the garden, on the hub's slot GARDEN (150 x 80).
Canvas gardenGate() {
    Canvas c(150, 80, 0);
    c.fillRect(0, 0, 150, 80, 0xFF5A8A3A);
    for (int x = 0; x < 160; x += 30)
        c.fillCircle(float(x), 8, 18, 0xFF346428);
    c.fillRect(30, 20, 90, 60, 0xFF2A3A22);
    for (int x = 36; x < 118; x += 12)
        c.fillRect(x, 22, 4, 58, 0xFF3A3A40);
    c.fillRing(75, 28, 46, 40, 0xFF3A3A40);
    return c;
}

} // namespace

void writeTownGarden(const std::string& investigation, HubFiles& hub) {
    hub.image("garden_gate.png", gardenGate());
    DataWriter& out = hub.out();
    writeGarden(out, investigation + "room_Garden/");
    writeCrabPuzzle(out, investigation + "zoom_CrabPuzzle/");
    writeGardenRose(out, investigation + "zoom_GardenRose/");
    writeNetPuzzle(out, investigation + "zoom_NetPuzzle/");
    writeWarehouse(out, investigation + "zoom_Warehouse/");
    writeSandCleaning(out, investigation + "zoom_SandCleaning/");
}
