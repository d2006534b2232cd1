#include "RoomGroups.h"
#include "Synth.h"

#include <cmath>
#include <string>
#include <vector>

// The chemistry bench: the hub's BENCH slot, the bench close-up "zoom_CrimeLabMain" (800 x 600) and the
// bottle rack close-up "zoom_CrimeLabButtles" (520 x 390), their pictures, animations' frames and
// sounds. Where each object stands is the rooms' objects.ini; the checklist's cells are drawn on the
// bench's screen where its ColorCells and EffectCells lay them (28 x 28, 56 and 36 apart).

namespace {

constexpr Canvas::Color kSteel = 0xFF6A747C, kDarkSteel = 0xFF3A4248, kGlass = 0xC0B8E0E8;
constexpr Canvas::Color kPaper = 0xFFF0E6CC, kInk = 0xFF2A2A3A, kScreen = 0xFF10263A;
constexpr Canvas::Color kScreenInk = 0xFFB8E0F0, kWood = 0xFF6A4428, kDarkWood = 0xFF3E2616;

// The checklist's layout on the bench's screen, as room.ini's cell tables give it.
constexpr int kCellX = 540, kColorY = 88, kEffectY = 222, kCell = 28, kColumnStep = 56, kRowStep = 36;
const char* const kColorNames[] = {"Red", "Blue", "Green", "Black"};
const char* const kEffectNames[] = {"None", "Fizz", "Boil", "Smoke"};
const char* const kVials[] = {"Vial A", "Vial B", "Vial C"};
constexpr Canvas::Color kDishColors[] = {0xFFE8ECEE, 0xFFC8302A, 0xFF2A58C8, 0xFF3AA848, 0xFF202024};

// One checklist table: its column names over the cells, each row named by its vial.
void checklist(Canvas& c, TextRenderer& font, int top, const char* const (&columns)[4]) {
    for (int col = 0; col < 4; ++col)
        font.drawCentered(c, kCellX + col * kColumnStep + kCell / 2, top - 24, columns[col], kScreenInk);
    for (int row = 0; row < 3; ++row) {
        const int y = top + row * kRowStep;
        font.draw(c, 455, y + 3, kVials[row], kScreenInk);
        for (int col = 0; col < 4; ++col) {
            const int x = kCellX + col * kColumnStep;
            c.fillRect(x, y, kCell, kCell, 0xFF5A7A90);
            c.fillRect(x + 2, y + 2, kCell - 4, kCell - 4, kScreen);
        }
    }
}

Canvas benchBackground(PictureFonts& fonts) {
    Canvas c(800, 600);
    c.verticalGradient(0, 0, 800, 380, 0xFF34424C, 0xFF26323A);
    for (int x = 0; x < 800; x += 40)
        c.fillRect(x, 0, 1, 380, 0xFF2C3840);
    for (int y = 20; y < 380; y += 40)
        c.fillRect(0, y, 800, 1, 0xFF2C3840);
    // The bench top, its front edge and the shadow under the wall.
    c.verticalGradient(0, 380, 800, 220, 0xFF7A8288, 0xFF4A5258);
    c.fillRect(0, 380, 800, 6, 0xFF9AA2A8);
    c.fillRect(0, 586, 800, 14, kDarkSteel);
    // The computer: frame, screen and foot.
    c.fillRoundRect(430, 20, 360, 352, 10, 0xFF1A1E22);
    c.fillRect(445, 35, 330, 320, kScreen);
    c.fillRect(590, 372, 40, 12, 0xFF1A1E22);
    checklist(c, fonts.body, kColorY, kColorNames);
    checklist(c, fonts.body, kEffectY, kEffectNames);
    // A rack of three places on the bench where the vials stand.
    c.fillRoundRect(20, 540, 220, 16, 4, kDarkWood);
    return c;
}

// A glass vial with a cap; its label hangs over the cap.
Canvas vial(int w, int h) {
    Canvas c(w, h, 0);
    const float x = float(w) * 0.2f, width = float(w) * 0.6f;
    c.fillRoundRect(x, float(h) * 0.2f, width, float(h) * 0.8f, width / 2, kGlass);
    c.fillRoundRect(x + 3, float(h) * 0.5f, width - 6, float(h) * 0.5f - 3, width / 2 - 3, 0xE0D8C890);
    c.fillRect(int(x) - 2, 0, int(width) + 4, int(float(h) * 0.22f), kDarkSteel);
    return c;
}

Canvas label(int w, int h) {
    Canvas c(w, h, 0);
    c.fillRoundRect(0, 0, float(w), float(h), 4, kPaper);
    c.fillRect(0, 0, w, 2, 0xFFB8A888);
    return c;
}

// The big view: the lifted vial on a card whose lower part carries its description.
Canvas bigView() {
    Canvas c(160, 340, 0);
    c.fillRoundRect(0, 0, 160, 340, 10, 0xF0E8E4D8);
    c.draw(vial(120, 170), 20, 24);
    c.fillRect(10, 200, 140, 2, 0xFFB8A888);
    return c;
}

Canvas pipette(bool full) {
    Canvas c(16, 110, 0);
    c.fillRoundRect(3, 0, 10, 26, 5, 0xFFC83A3A);
    c.fillRect(5, 24, 6, 76, kGlass);
    c.fillTriangle(5, 99, 11, 99, 8, 110, kGlass);
    if (full)
        c.fillRect(6, 70, 4, 34, 0xFFD8C890);
    return c;
}

Canvas pipetteStand() {
    Canvas c(40, 130, 0);
    c.fillRect(0, 118, 40, 12, kDarkSteel);
    c.fillRect(18, 10, 4, 110, kSteel);
    c.fillRect(8, 20, 24, 6, kSteel);
    c.draw(pipette(false), 12, 8);
    return c;
}

Canvas dish(Canvas::Color liquid, bool empty) {
    Canvas c(160, 45, 0);
    c.fillShape(
        0, 0, 160, 45,
        [](float x, float y) {
            const float dx = (x - 80) / 80, dy = (y - 22.5f) / 22.5f;
            return dx * dx + dy * dy <= 1;
        },
        0xE0D8E4E8);
    if (!empty)
        c.fillShape(
            12, 8, 148, 37,
            [](float x, float y) {
                const float dx = (x - 80) / 68, dy = (y - 22.5f) / 14.5f;
                return dx * dx + dy * dy <= 1;
            },
            liquid);
    return c;
}

Canvas plate() {
    Canvas c(180, 50, 0);
    c.fillRoundRect(0, 24, 180, 26, 8, kDarkSteel);
    c.fillRoundRect(10, 18, 160, 14, 6, kSteel);
    return c;
}

// Frames side by side, each `w` x `h`: bubbles rising (size grows with `big`) or smoke puffs.
Canvas bubbles(int w, int h, int frames, float radius, Canvas::Color color) {
    Canvas c(w * frames, h, 0);
    for (int f = 0; f < frames; ++f)
        for (int i = 0; i < 7; ++i) {
            const float x = float(f * w) + 14 + float(i * (w - 28) / 6);
            const float rise = std::fmod(float(i * 13 + f * 11), float(h - 8));
            c.fillCircle(x, float(h) - 4 - rise, radius * (0.6f + 0.1f * float((i + f) % 4)), color);
        }
    return c;
}

Canvas checkMark() {
    Canvas c(28, 28, 0);
    c.fillPolygon({4, 15, 10, 9, 13, 13, 22, 3, 26, 8, 13, 24}, 0xFF58E070);
    return c;
}

Canvas selectionBar() {
    Canvas c(330, 28, 0);
    c.fillRoundRect(0, 0, 330, 28, 6, 0x40FFD070);
    return c;
}

Canvas resultScreen() {
    Canvas c(330, 293, 0);
    c.fillRect(0, 0, 330, 293, 0xFF14304A);
    c.fillRect(0, 0, 330, 2, kScreenInk);
    return c;
}

Canvas button(int w, int h, Canvas::Color color) {
    Canvas c(w, h, 0);
    c.fillRoundRect(0, 0, float(w), float(h), 8, color);
    c.fillRoundRect(3, 3, float(w) - 6, float(h) / 2 - 3, 6, 0x30FFFFFF);
    return c;
}

Canvas report() {
    Canvas c(220, 130, 0);
    c.fillRect(0, 0, 220, 130, kPaper);
    c.fillRect(10, 10, 120, 6, kInk);
    for (int y = 30; y < 120; y += 12)
        c.fillRect(10, y, y % 24 ? 190 : 150, 2, 0xFF8A8A9A);
    c.fillCircle(190, 105, 14, 0x80C83A3A);
    return c;
}

// The cabinet where the rack stands: a glass door, three vials behind it.
Canvas rackCabinet() {
    Canvas c(200, 160, 0);
    c.fillRoundRect(0, 0, 200, 160, 6, kWood);
    c.fillRect(12, 12, 176, 136, 0xFF2A3238);
    for (int i = 0; i < 3; ++i)
        c.draw(vial(40, 80), 30 + i * 50, 50);
    c.fillRect(12, 130, 176, 8, kDarkWood);
    c.fillRect(12, 12, 176, 136, 0x20B8E0E8);
    return c;
}

// Catches the clicks on the screen without covering it: all but transparent.
Canvas screenCatcher() {
    return Canvas(330, 320, 0x01000000);
}

Canvas rackBackground() {
    Canvas c(520, 390);
    c.verticalGradient(0, 0, 520, 390, 0xFF4A3628, 0xFF2A1E16);
    c.fillRect(60, 250, 400, 20, kWood);
    c.fillRect(60, 270, 400, 10, kDarkWood);
    for (int x : {80, 200, 320, 440})
        c.fillRect(x, 90, 8, 170, kDarkWood);
    return c;
}

Canvas sortedSign(TextRenderer& font) {
    Canvas c(200, 50, 0);
    c.fillRoundRect(0, 0, 200, 50, 10, 0xFF3A8A4A);
    font.drawCentered(c, 100, 14, "Sorted", 0xFFFFFFFF);
    return c;
}

// The hub's bench: a long table with vials and a small screen.
Canvas hubBench() {
    Canvas c(560, 150, 0);
    c.fillRect(0, 96, 560, 16, kSteel);
    c.fillRect(20, 112, 12, 38, kDarkSteel);
    c.fillRect(528, 112, 12, 38, kDarkSteel);
    for (int i = 0; i < 5; ++i)
        c.draw(vial(30, 60), 40 + i * 40, 36);
    c.fillRoundRect(360, 10, 150, 86, 6, 0xFF1A1E22);
    c.fillRect(368, 18, 134, 70, kScreen);
    for (int y = 28; y < 80; y += 12)
        c.fillRect(378, y, 100, 3, kScreenInk);
    return c;
}

std::vector<uint8_t> clink(float freq) {
    Synth s(0.35f);
    s.note(0, 0.35f, freq, 0.5f, Synth::Wave::Bell, 0.001f);
    s.note(0.06f, 0.29f, freq * 1.5f, 0.3f, Synth::Wave::Bell, 0.001f);
    s.normalize(0.45f);
    return s.wav();
}

std::vector<uint8_t> beep(float freq, float seconds) {
    Synth s(seconds);
    s.note(0, seconds, freq, 0.5f, Synth::Wave::Sine, 0.002f);
    s.normalize(0.35f);
    return s.wav();
}

std::vector<uint8_t> glide(float from, float to, float seconds) {
    Synth s(seconds);
    s.note(0, seconds, from, 0.5f, Synth::Wave::Triangle, 0.01f, to);
    s.noiseBurst(0, seconds, 0.08f);
    s.normalize(0.4f);
    return s.wav();
}

// The reactions loop while they show: bubbles as short notes, fizz and smoke as noise.
std::vector<uint8_t> bubbling() {
    Synth s(1.2f, true);
    for (int i = 0; i < 12; ++i)
        s.note(0.1f * float(i), 0.08f, 180.0f + float(i * 37 % 120), 0.5f, Synth::Wave::Sine, 0.005f, 90);
    s.normalize(0.4f);
    return s.wav();
}

std::vector<uint8_t> hiss(float smooth) {
    Synth s(1.5f, true);
    s.wind(0.6f, smooth);
    s.normalize(0.3f);
    return s.wav();
}

std::vector<uint8_t> buzz() {
    Synth s(0.5f);
    s.note(0, 0.5f, 110, 0.5f, Synth::Wave::Triangle, 0.005f);
    s.note(0, 0.5f, 116, 0.4f, Synth::Wave::Triangle, 0.005f);
    s.normalize(0.45f);
    return s.wav();
}

std::vector<uint8_t> chime() {
    Synth s(1.0f);
    float start = 0;
    for (float f : {659.3f, 784.0f, 1046.5f}) {
        s.note(start, 1.0f - start, f, 0.5f, Synth::Wave::Bell);
        start += 0.15f;
    }
    s.normalize(0.5f);
    return s.wav();
}

void writeBench(DataWriter& out, const std::string& folder, PictureFonts& fonts) {
    HubFiles room(out, folder, fonts);
    room.image("background.png", benchBackground(fonts));
    room.image("vial.png", vial(60, 120));
    room.image("label.png", label(60, 22));
    room.image("big_view.png", bigView());
    room.image("big_label.png", label(120, 24));
    room.image("pipette.png", pipette(false));
    room.image("pipette_full.png", pipette(true));
    room.image("stand.png", pipetteStand());
    const char* const dishes[] = {"dish_none", "dish_red", "dish_blue", "dish_green", "dish_black"};
    for (int i = 0; i < 5; ++i)
        room.image(std::string(dishes[i]) + ".png", dish(kDishColors[i], i == 0));
    room.image("plate.png", plate());
    room.image("fizz.png", bubbles(160, 60, 4, 3, 0xC0FFFFFF));
    room.image("boil.png", bubbles(160, 60, 4, 7, 0xC0E8F0F0));
    room.image("smoke.png", bubbles(160, 60, 4, 12, 0x80A0A0A8));
    room.image("boil_smoke.png", bubbles(160, 50, 4, 10, 0x60E8E8F0));
    room.image("check.png", checkMark());
    room.image("selection.png", selectionBar());
    room.image("result.png", resultScreen());
    room.image("submit.png", button(110, 34, 0xFF3A6A9A));
    room.image("confirm.png", button(110, 34, 0xFF3A8A4A));
    room.image("continue.png", button(110, 34, 0xFF8A6A2A));
    room.image("report.png", report());
    room.image("rack_cabinet.png", rackCabinet());
    room.image("screen.png", screenCatcher());
    room.sound("lab_bottle_move.wav", clink(1800));
    room.sound("lab_pc_checkbox_set.wav", beep(1320, 0.08f));
    room.sound("lab_dropper_take.wav", glide(600, 900, 0.15f));
    room.sound("lab_dropper_fill.wav", glide(900, 300, 0.4f));
    room.sound("lab_reaction_boil.wav", bubbling());
    room.sound("lab_reaction_fizz.wav", hiss(0.2f));
    room.sound("lab_reaction_smoke.wav", hiss(0.95f));
    room.sound("lab_reaction_wrong.wav", buzz());
    room.finish();
}

void writeRack(DataWriter& out, const std::string& folder, PictureFonts& fonts) {
    HubFiles room(out, folder, fonts);
    room.image("background.png", rackBackground());
    room.image("vial.png", vial(60, 140));
    room.image("label.png", label(60, 22));
    room.image("sorted.png", sortedSign(fonts.body));
    room.sound("buttles_select.wav", beep(880, 0.12f));
    room.sound("buttles_swap.wav", clink(1500));
    room.sound("buttles_win.wav", chime());
    room.finish();
}

} // namespace

void writeLabChemistry(const std::string& investigation, HubFiles& hub) {
    hub.image("bench.png", hubBench());
    writeBench(hub.out(), investigation + "zoom_CrimeLabMain/", hub.fonts());
    writeRack(hub.out(), investigation + "zoom_CrimeLabButtles/", hub.fonts());
}
