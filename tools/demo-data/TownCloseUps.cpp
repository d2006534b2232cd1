#include "RoomGroups.h"
#include "Synth.h"
#include "TextRenderer.h"

#include <string>
#include <utility>
#include <vector>

// The close-ups of the town: the puzzle box (zoom_Box), the figurines (zoom_Figures), the fax
// machine (zoom_Fax), the stain (zoom_Stain), the way out (zoom_Exit), the sliding tiles (zoom_Tiles)
// and the dark desk (zoom_Table), each 720 x 540, and the shower room (room_Shower, 845 x 768, the
// whole room area); their places on the hub (BOX, FIGURES, FAX, STAIN, EXIT, TILES, TABLE, SHOWER)
// and what is found there (JADE, TORCH). Where each object stands is the rooms' objects.ini; the
// pictures are cut to size.

namespace {

using Color = Canvas::Color;

constexpr int kCloseW = 720, kCloseH = 540;
constexpr Color kCream = 0xFFF6EEDA, kInk = 0xFF2A2A3A, kSteel = 0xFF8A96A4, kTile = 0xFFD8E4EA;

Canvas surface(int w, int h, Color top, Color bottom) {
    Canvas c(w, h, 0xFF000000);
    c.verticalGradient(0, 0, w, h, top, bottom);
    return c;
}

// A place on the hub: a framed picture of what waits in the close-up, with its name written in.
Canvas hubPlace(TextRenderer& font, Color back, Color thing, const std::string& name) {
    Canvas c(150, 80, 0);
    c.fillRoundRect(0, 0, 150, 80, 8, back);
    c.fillRoundRect(40, 12, 70, 40, 6, thing);
    font.drawCentered(c, 75, 56, name, kCream);
    return c;
}

// ---- The puzzle box ----

constexpr Color kLacquer = 0xFF7A1E18, kGold = 0xFFD8B050, kJade = 0xFF3AA070;

// The table and the open box seen from above: its dark inside lies under the lid, a socket waits
// where the jade disk goes.
Canvas boxBackground() {
    Canvas c = surface(kCloseW, kCloseH, 0xFF4A3020, 0xFF2A1A10);
    c.fillRoundRect(140, 80, 440, 360, 14, 0xFF3A0E0A);
    c.fillRoundRect(170, 110, 380, 300, 8, 0xFF140806);
    return c;
}

// The lid, a disk's socket cut into it at (400, 140) of the room.
Canvas boxCover() {
    Canvas c(400, 320, 0);
    c.fillRoundRect(0, 0, 400, 320, 12, kLacquer);
    c.fillRoundRect(14, 14, 372, 292, 8, mixColor(kLacquer, 0xFF000000, 0.8f));
    c.fillCircle(300, 100, 62, 0xFF2A0A08);
    return c;
}

// The gold rim and its four lamps, over the lid.
Canvas boxLights() {
    Canvas c(400, 320, 0);
    for (const auto& [x, y] : {std::pair{20, 20}, {380, 20}, {20, 300}, {380, 300}}) {
        c.radialGlow(float(x), float(y), 18, 0xC0FFE080);
        c.fillCircle(float(x), float(y), 6, kGold);
    }
    c.fillRect(30, 4, 340, 4, kGold);
    c.fillRect(30, 312, 340, 4, kGold);
    return c;
}

// A disk with a mark at its top: upright when the mark points up.
Canvas boxDisk(Color face) {
    Canvas c(120, 120, 0);
    c.fillCircle(60, 60, 58, kGold);
    c.fillCircle(60, 60, 52, face);
    c.fillRing(60, 60, 30, 26, mixColor(face, 0xFFFFFFFF, 0.7f));
    c.fillTriangle(60, 8, 48, 30, 72, 30, kGold);
    return c;
}

// A square tile turned by clicks, its arrow pointing up when upright.
Canvas boxElement() {
    Canvas c(80, 80, 0);
    c.fillRoundRect(0, 0, 80, 80, 8, kGold);
    c.fillRoundRect(5, 5, 70, 70, 6, 0xFF5A1410);
    c.fillTriangle(40, 12, 22, 40, 58, 40, kGold);
    c.fillRect(34, 40, 12, 26, kGold);
    return c;
}

// What waits in the box: a sealed letter.
Canvas boxContents(TextRenderer& font) {
    Canvas c(220, 130, 0);
    c.fillRoundRect(0, 0, 220, 130, 6, 0xFFF0E6C8);
    c.fillTriangle(0, 0, 220, 0, 110, 70, 0xFFE0D4B0);
    c.fillCircle(110, 70, 16, 0xFF9A1A1A);
    font.drawCentered(c, 110, 96, "To the harbour master", kInk);
    return c;
}

Canvas jade() {
    Canvas c(64, 54, 0);
    c.fillCircle(32, 27, 26, kJade);
    c.fillRing(32, 27, 14, 10, 0xFF8AD8B0);
    return c;
}

std::vector<uint8_t> woodClick(float freq, float amp) {
    Synth s(0.2f);
    s.noiseBurst(0, 0.03f, amp);
    s.note(0, 0.2f, freq, amp, Synth::Wave::Sine, 0.001f, freq * 0.6f);
    s.normalize(0.5f);
    return s.wav();
}

// The disk grinding round, a seamless loop.
std::vector<uint8_t> boxRotating() {
    Synth s(0.5f, true);
    for (int i = 0; i < 10; ++i)
        s.noiseBurst(float(i) * 0.05f, 0.02f, 0.3f);
    s.normalize(0.3f);
    return s.wav();
}

std::vector<uint8_t> chime(const std::vector<float>& tune, float gap) {
    Synth s(float(tune.size()) * gap + 1.0f);
    for (size_t i = 0; i < tune.size(); ++i)
        s.note(float(i) * gap, 1.0f, tune[i], 0.4f, Synth::Wave::Bell);
    s.normalize(0.45f);
    return s.wav();
}

void writeBox(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", boxBackground());
    files.picture("cover", boxCover());
    files.picture("lights", boxLights());
    files.picture("disk", boxDisk(0xFF5A1410));
    files.picture("disk_jade", boxDisk(kJade));
    files.picture("element", boxElement());
    files.picture("contents", boxContents(fonts.body));
    files.wave("chinbox_rotating", boxRotating());
    files.wave("chinbox_putitem", woodClick(160, 0.6f));
    files.wave("chinbox_clickitem", woodClick(420, 0.4f));
    files.wave("chinbox_itemvalidated", chime({880}, 0.1f));
    files.wave("chinbox_open", chime({523, 659, 784, 1047}, 0.15f));
}

// ---- The figurines ----

// Hands: 0 an open palm, 1 a fist, 2 a fan; a man's robe blue, a woman's red.
void figureHand(Canvas& c, float x, float y, int pose) {
    if (pose == 0)
        c.fillCircle(x, y, 12, 0xFFF0D0A8);
    else if (pose == 1)
        c.fillRoundRect(x - 10, y - 10, 20, 20, 3, 0xFFD0A878);
    else
        c.fillTriangle(x, y - 14, x - 13, y + 10, x + 13, y + 10, 0xFFE8C040);
}

Canvas figurine(bool man, int left, int right) {
    Canvas c(140, 260, 0);
    const Color robe = man ? 0xFF2A4A8A : 0xFF9A2A3A;
    c.fillCircle(70, 40, 26, 0xFFF0D8B8);
    c.fillRoundRect(40, 8, 60, 18, 8, 0xFF1A1A1A);
    c.fillTriangle(70, 66, 24, 250, 116, 250, robe);
    c.fillRect(20, 100, 100, 14, robe);
    figureHand(c, 14, 107, left);
    figureHand(c, 126, 107, right);
    return c;
}

Canvas figuresBackground() {
    Canvas c = surface(kCloseW, kCloseH, 0xFF2A3A2A, 0xFF141E14);
    c.fillRect(60, 380, 600, 20, 0xFF5A4020);
    return c;
}

Canvas coin(TextRenderer& font) {
    Canvas c(100, 100, 0);
    c.fillCircle(50, 50, 48, kGold);
    c.fillCircle(50, 50, 40, 0xFFE8C870);
    c.fillRect(42, 42, 16, 16, 0xFF8A6A20);
    font.drawCentered(c, 50, 70, "1880", kInk);
    return c;
}

void writeFigures(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", figuresBackground());
    files.picture("figure1", figurine(true, 0, 1));
    files.picture("figure2", figurine(false, 1, 2));
    files.picture("figure3", figurine(true, 2, 0));
    files.picture("coin", coin(fonts.body));
    files.wave("chinfigure_select", woodClick(600, 0.4f));
    files.wave("chinfigure_swap", woodClick(300, 0.5f));
    files.wave("chinfigure_win", chime({659, 784, 988}, 0.15f));
}

// ---- The fax machine ----

// The machine's body with the slot the report rises from at y 200, the front below it an item of
// its own so that the report slides out from behind it.
Canvas faxBackground() {
    Canvas c = surface(kCloseW, kCloseH, 0xFF3A3A44, 0xFF1E1E26);
    c.fillRoundRect(180, 180, 360, 260, 18, 0xFF4A4E58);
    c.fillRect(250, 196, 220, 8, 0xFF0A0A0A);
    return c;
}

Canvas faxFront() {
    Canvas c(360, 240, 0);
    c.fillRoundRect(0, 0, 360, 240, 16, 0xFFB8BCC4);
    c.fillRoundRect(30, 40, 180, 60, 6, 0xFF2A3A30);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            c.fillRoundRect(float(240 + col * 34), float(40 + row * 34), 26, 26, 4, 0xFF7A7E88);
    return c;
}

Canvas faxButton(TextRenderer& font) {
    Canvas c(90, 40, 0);
    c.fillRoundRect(0, 0, 90, 40, 8, 0xFF1E6A30);
    c.fillRoundRect(3, 3, 84, 34, 6, 0xFF3AA050);
    font.drawCentered(c, 45, (40 - font.lineHeight()) / 2, "START", kCream);
    return c;
}

Canvas light(int size, Color color) {
    Canvas c(size, size, 0);
    c.radialGlow(float(size) / 2, float(size) / 2, float(size) / 2, color);
    c.fillCircle(float(size) / 2, float(size) / 2, float(size) / 5, 0xFFFFFFFF);
    return c;
}

Canvas report(TextRenderer& font) {
    Canvas c(180, 200, 0xFFF8F8F2);
    font.draw(c, 12, 10, "POLICE REPORT", kInk);
    for (int y = 40; y < 190; y += 14)
        c.fillRect(12, y, 156 - (y % 3) * 20, 3, 0xFF9098A8);
    return c;
}

std::vector<uint8_t> printing() {
    Synth s(2.0f);
    for (int i = 0; i < 16; ++i)
        s.noiseBurst(float(i) * 0.125f, 0.06f, 0.25f);
    s.note(0, 2.0f, 220, 0.15f, Synth::Wave::Triangle);
    s.normalize(0.4f);
    return s.wav();
}

void writeFax(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", faxBackground());
    files.picture("fax_front", faxFront());
    files.picture("fax_button", faxButton(fonts.body));
    files.picture("fax_waiting", light(28, 0xFFFF9030));
    files.picture("report", report(fonts.body));
    files.picture("report_icon", fitted(report(fonts.body), 38));
    files.wave("fax_printing", printing());
}

// ---- The stain ----

Canvas stainBackground() {
    Canvas c = surface(kCloseW, kCloseH, 0xFF7A6A58, 0xFF4A3E32);
    for (int x = 0; x < kCloseW; x += 60)
        c.fillRect(x, 0, 2, kCloseH, 0xFF5A4C3E);
    return c;
}

Canvas swab() {
    Canvas c(120, 24, 0);
    c.fillRoundRect(20, 9, 100, 6, 3, 0xFFE8E0D0);
    c.fillRoundRect(0, 2, 30, 20, 10, 0xFFFFFFFF);
    return c;
}

Canvas bloodStain() {
    Canvas c(160, 110, 0);
    c.fillCircle(70, 55, 40, 0xFF6A0A0A);
    c.fillCircle(115, 40, 18, 0xFF7A1010);
    c.fillCircle(40, 85, 14, 0xFF5A0808);
    return c;
}

Canvas packet(TextRenderer& font) {
    Canvas c(130, 90, 0);
    c.fillRoundRect(0, 0, 130, 90, 6, 0xFFD8D0B0);
    c.fillRect(0, 14, 130, 4, 0xFF9A2A2A);
    font.drawCentered(c, 65, 40, "SAMPLE", kInk);
    return c;
}

void writeStain(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", stainBackground());
    files.picture("swab", swab());
    files.picture("swab_icon", fitted(swab(), 38));
    files.picture("blood", bloodStain());
    files.picture("packet", packet(fonts.body));
}

// ---- The way out ----

Canvas exitBackground() {
    Canvas c = surface(kCloseW, kCloseH, 0xFF2A3A4A, 0xFF18222C);
    c.fillRoundRect(220, 40, 280, 460, 10, 0xFF5A3E28);
    c.fillRoundRect(240, 60, 240, 420, 8, 0xFF6E4E32);
    return c;
}

Canvas handle() {
    Canvas c(90, 40, 0);
    c.fillRoundRect(0, 12, 90, 16, 8, 0xFFC8A048);
    c.fillCircle(14, 20, 14, 0xFFA88030);
    return c;
}

Canvas note(TextRenderer& font) {
    Canvas c(170, 70, 0xFFF4EEC8);
    font.draw(c, 8, 8, "Gone to the harbour.", kInk);
    font.draw(c, 8, 36, "Back by night.", kInk);
    return c;
}

void writeExit(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", exitBackground());
    files.picture("handle", handle());
    files.picture("note", note(fonts.body));
}

// ---- The shower room ----

Canvas showerBackground() {
    Canvas c(845, 768, 0xFF101418);
    for (int y = 0; y < 660; y += 40)
        for (int x = (y / 40 % 2) * 20; x < 845; x += 40)
            c.fillRect(x, y, 38, 38, mixColor(kTile, 0xFF000000, 0.8f));
    c.fillRect(0, 660, 845, 108, 0xFF1A1E22);
    return c;
}

Canvas beam() {
    Canvas c(200, 200, 0);
    c.radialGlow(100, 100, 100, 0xC0FFF4C0);
    return c;
}

Canvas radio(TextRenderer& font) {
    Canvas c(140, 90, 0);
    c.fillRoundRect(0, 0, 140, 90, 10, 0xFF6A4A2A);
    c.fillCircle(40, 45, 26, 0xFF2A1A10);
    c.fillRoundRect(80, 20, 48, 24, 4, 0xFFE0C880);
    font.draw(c, 84, 54, "FM", kCream);
    return c;
}

Canvas showerDoor(TextRenderer& font) {
    Canvas c(120, 220, 0);
    c.fillRoundRect(0, 0, 120, 220, 6, kSteel);
    c.fillRoundRect(8, 8, 104, 204, 4, 0xFF5A6470);
    font.drawCentered(c, 60, 100, "SQUARE", kCream);
    return c;
}

Canvas torch() {
    Canvas c(70, 40, 0);
    c.fillRoundRect(0, 12, 50, 16, 6, 0xFF3A3A44);
    c.fillRoundRect(46, 4, 24, 32, 6, 0xFF8A8A94);
    c.fillCircle(64, 20, 8, 0xFFFFF4C0);
    return c;
}

std::vector<uint8_t> radioLoop() {
    Synth s(2.0f);
    const float tune[] = {392, 440, 494, 523, 494, 440, 392, 330};
    for (int i = 0; i < 8; ++i)
        s.note(float(i) * 0.25f, 0.3f, tune[i], 0.4f, Synth::Wave::Triangle);
    s.noiseBurst(0, 2.0f, 0.03f);
    s.normalize(0.35f);
    return s.wav();
}

void writeShower(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", showerBackground());
    files.picture("beam", beam());
    files.picture("radio", radio(fonts.body));
    files.picture("door", showerDoor(fonts.body));
    files.wave("radio_loop", radioLoop());
}

// ---- The sliding tiles ----

// The lid's picture, 300 x 200, cut into six tiles: the sky of the top row must come home.
Canvas lidPicture() {
    Canvas c(300, 200, 0xFF000000);
    c.verticalGradient(0, 0, 300, 100, 0xFF3A78C8, 0xFF9AC8EA);
    c.fillCircle(250, 45, 26, 0xFFFFE070);
    c.fillCircle(60, 40, 18, 0xFFF4F8FC);
    c.fillCircle(85, 34, 22, 0xFFF4F8FC);
    c.fillCircle(110, 44, 16, 0xFFF4F8FC);
    c.verticalGradient(0, 100, 300, 100, 0xFF1E5A78, 0xFF0C2A3C);
    c.fillTriangle(120, 170, 190, 170, 150, 110, 0xFFE8E0D0);
    c.fillRect(100, 170, 110, 14, 0xFF6A3A20);
    return c;
}

Canvas tile(const Canvas& picture, int row, int col, TextRenderer& font) {
    Canvas c(100, 100, 0xFF000000);
    c.draw(Canvas(picture), -100 * col, -100 * row);
    c.fillRect(0, 0, 100, 3, 0xFF2A1A10);
    c.fillRect(0, 97, 100, 3, 0xFF2A1A10);
    c.fillRect(0, 0, 3, 100, 0xFF2A1A10);
    c.fillRect(97, 0, 3, 100, 0xFF2A1A10);
    font.draw(c, 8, 6, std::to_string(row * 3 + col + 1), kCream);
    return c;
}

Canvas openBox() {
    Canvas c(340, 240, 0);
    c.fillRoundRect(0, 0, 340, 240, 14, 0xFF6A3A20);
    c.fillRoundRect(16, 16, 308, 208, 10, 0xFF8A1E2A);
    return c;
}

Canvas callingCard(TextRenderer& font) {
    Canvas c(120, 80, 0xFFF8F4E8);
    font.drawCentered(c, 60, 12, "HARBOUR", kInk);
    font.drawCentered(c, 60, 34, "OFFICE", kInk);
    c.fillRect(20, 62, 80, 4, kInk);
    return c;
}

std::vector<uint8_t> tileSlide() {
    Synth s(0.2f);
    s.noiseBurst(0, 0.15f, 0.4f);
    s.note(0, 0.1f, 300, 0.3f, Synth::Wave::Triangle, 0.002f, 200);
    s.normalize(0.4f);
    return s.wav();
}

std::vector<uint8_t> boxOpen() {
    Synth s(1.0f);
    const float chord[] = {523, 659, 784};
    for (int i = 0; i < 3; ++i)
        s.note(float(i) * 0.12f, 0.8f - float(i) * 0.12f, chord[i], 0.3f, Synth::Wave::Sine, 0.01f);
    s.normalize(0.45f);
    return s.wav();
}

void writeTiles(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    Canvas back = surface(kCloseW, kCloseH, 0xFF4A3424, 0xFF2A1C12);
    back.fillRoundRect(190, 130, 340, 240, 14, 0xFF6A3A20);
    files.picture("background", back);
    const Canvas picture = lidPicture();
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            files.picture("tile" + std::to_string(row + 1) + std::to_string(col + 1),
                          tile(picture, row, col, fonts.body));
    files.picture("open_box", openBox());
    files.picture("card", callingCard(fonts.body));
    files.wave("heartbox_figure_move", tileSlide());
    files.wave("heartbox_open", boxOpen());
}

// ---- The flashlight table ----

Canvas deskBackground() {
    Canvas c(kCloseW, kCloseH, 0xFF08080C);
    c.fillRoundRect(80, 120, 560, 360, 12, 0xFF141018);
    return c;
}

// A narrower, warmer beam than the shower room's: the desk is darker.
Canvas deskBeam() {
    Canvas c(200, 200, 0);
    c.radialGlow(100, 100, 100, 0x90FFE8A0);
    return c;
}

// Ridges over a smudge of the same ink: the print answers the light anywhere on it, not only on its
// ridges (a hit test looks at the picture's alpha).
Canvas fingerprint(Canvas::Color ink) {
    Canvas c(80, 100, 0);
    c.fillCircle(40, 50, 38, (ink & 0x00FFFFFF) | 0xA0000000);
    for (float r = 36; r > 4; r -= 6)
        c.fillRing(40, 50, r, r - 2.5f, ink);
    return c;
}

Canvas liftedPrint() {
    Canvas c(120, 90, 0);
    c.fillRoundRect(0, 0, 120, 90, 4, 0xC0E8F0F4);
    c.draw(fitted(fingerprint(0xFF2A2A3A), 70), 25, 10);
    return c;
}

std::vector<uint8_t> switchClick() {
    Synth s(0.1f);
    s.noiseBurst(0, 0.03f, 0.6f);
    s.note(0, 0.05f, 1200, 0.3f, Synth::Wave::Triangle, 0.001f, 600);
    s.normalize(0.4f);
    return s.wav();
}

void writeTable(DataWriter& out, const std::string& room) {
    RoomFolder files(out, room);
    files.picture("background", deskBackground());
    files.picture("beam", deskBeam());
    files.picture("print", fingerprint(0xFFD8D0C0));
    files.picture("print2", liftedPrint());
    files.wave("flashlight_turn", switchClick());
}

} // namespace

void writeTownCloseUps(const std::string& investigation, HubFiles& hub) {
    TextRenderer& font = hub.fonts().body;
    hub.image("box.png", hubPlace(font, 0xFF2A1A10, kLacquer, "BOX"));
    hub.image("figures.png", hubPlace(font, 0xFF141E14, 0xFF2A4A8A, "FIGURES"));
    hub.image("jade.png", jade());
    hub.image("jade_icon.png", fitted(jade(), 38));
    writeBox(hub.out(), investigation + "zoom_Box/", hub.fonts());
    writeFigures(hub.out(), investigation + "zoom_Figures/", hub.fonts());
    hub.image("fax.png", hubPlace(font, 0xFF3A3A44, 0xFFB8BCC4, "FAX"));
    hub.image("stain.png", hubPlace(font, 0xFF4A3E32, 0xFF6A0A0A, "STAIN"));
    hub.image("exit.png", hubPlace(font, 0xFF18222C, 0xFF6E4E32, "EXIT"));
    hub.image("shower.png", hubPlace(font, 0xFF101418, kTile, "SHOWER"));
    hub.image("tiles.png", hubPlace(font, 0xFF4A3424, 0xFF3A78C8, "TILES"));
    hub.image("table.png", hubPlace(font, 0xFF08080C, 0xFF141018, "TABLE"));
    hub.image("torch.png", torch());
    hub.image("torch_icon.png", fitted(torch(), 38));
    writeFax(hub.out(), investigation + "zoom_Fax/", hub.fonts());
    writeStain(hub.out(), investigation + "zoom_Stain/", hub.fonts());
    writeExit(hub.out(), investigation + "zoom_Exit/", hub.fonts());
    writeShower(hub.out(), investigation + "room_Shower/", hub.fonts());
    writeTiles(hub.out(), investigation + "zoom_Tiles/", hub.fonts());
    writeTable(hub.out(), investigation + "zoom_Table/");
}
