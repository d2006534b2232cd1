#include "RoomGroups.h"
#include "Synth.h"
#include "TextRenderer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

// The word and book puzzles of the town: the word machine (zoom_CapOJoe), the zodiac book
// (zoom_ZodiacBook), the appointment book (zoom_AppointmentBook), the register (zoom_Register) and
// the torn letter (zoom_TornLetter), each 720 x 540; their places on the hub (MACHINE, DIARY, ZODIAC,
// REGISTER, LETTERTABLE) and the things found there for them (TOKEN1, INV01, INV02, STAKANSKARAND,
// PIECE1-PIECE3). Where each object stands is the rooms' objects.ini; the pictures are cut to size.

namespace {

using Color = Canvas::Color;

constexpr int kRoomW = 720, kRoomH = 540;
constexpr Color kInk = 0xFF2A2A3A, kPaper = 0xFFF0E6CC, kGold = 0xFFE0B040, kBrass = 0xFFC89A48;
constexpr Color kLeather = 0xFF6A3A2A, kWood = 0xFF7A5636, kWoodDark = 0xFF4E3420, kCream = 0xFFF6EEDA;
constexpr Color kMachineRed = 0xFF9A2A2A, kGlass = 0xFF101820, kChrome = 0xFFC8CCD4;

const std::string kLanguage = "GameData/Language/English/";

// ---- Shapes shared by the rooms ----

Canvas table(Color top, Color bottom) {
    Canvas c(kRoomW, kRoomH, 0xFF000000);
    c.verticalGradient(0, 0, kRoomW, kRoomH, top, bottom);
    for (int y = 30; y < kRoomH; y += 46)
        c.fillRect(0, y, kRoomW, 2, mixColor(top, 0xFF000000, 0.25f));
    return c;
}

// A text of one line on a clear picture, sized to it.
Canvas label(TextRenderer& font, const std::string& text, Color color, int padX = 4, int padY = 2) {
    Canvas c(font.textWidth(text) + 2 * padX, font.lineHeight() + 2 * padY, 0);
    font.draw(c, padX, padY, text, color);
    return c;
}

// A plate with a centred text.
Canvas plate(TextRenderer& font, int w, int h, const std::string& text, Color face, Color ink, float r = 8) {
    Canvas c(w, h, 0);
    c.fillRoundRect(0, 0, float(w), float(h), r, mixColor(face, 0xFF000000, 0.35f));
    c.fillRoundRect(2, 2, float(w - 4), float(h - 4), r - 2, face);
    font.drawCentered(c, w / 2, (h - font.lineHeight()) / 2, text, ink);
    return c;
}

Canvas coin(int size, Color face) {
    Canvas c(size, size, 0);
    const float r = float(size) / 2;
    c.fillCircle(r, r, r, mixColor(face, 0xFF000000, 0.3f));
    c.fillCircle(r, r, r - 2, face);
    c.fillRing(r, r, r - 4, r - 5.5f, mixColor(face, 0xFFFFFFFF, 0.4f));
    c.fillRect(int(r) - 1, int(r * 0.55f), 3, int(r * 0.9f), mixColor(face, 0xFF000000, 0.25f));
    return c;
}

Canvas lamp(int size, Color color) {
    Canvas c(size, size, 0);
    c.radialGlow(float(size) / 2, float(size) / 2, float(size) / 2, color);
    c.fillCircle(float(size) / 2, float(size) / 2, float(size) / 4, 0xFFFFFFFF);
    return c;
}

Canvas star(int size) {
    Canvas c(size, size, 0);
    std::vector<float> points;
    for (int i = 0; i < 10; ++i) {
        const float a = float(i) * 3.1415927f / 5 - 3.1415927f / 2;
        const float r = (i % 2 ? 0.4f : 1.0f) * float(size) / 2;
        points.push_back(float(size) / 2 + r * std::cos(a));
        points.push_back(float(size) / 2 + r * std::sin(a));
    }
    c.fillPolygon(points, kGold);
    return c;
}

// A hand-written line: text in ink on a clear picture.
Canvas writing(TextRenderer& font, const std::vector<std::string>& lines, int w, Color ink) {
    Canvas c(w, int(lines.size()) * (font.lineHeight() + 4) + 4, 0);
    for (size_t i = 0; i < lines.size(); ++i)
        font.draw(c, 6, 2 + int(i) * (font.lineHeight() + 4), lines[i], ink);
    return c;
}

// ---- Sounds ----

std::vector<uint8_t> chime(std::initializer_list<float> freqs, float spacing, float seconds,
                           float peak = 0.5f) {
    Synth s(seconds);
    float start = 0;
    for (float f : freqs) {
        s.note(start, seconds - start, f, 0.5f, Synth::Wave::Bell);
        start += spacing;
    }
    s.normalize(peak);
    return s.wav();
}

std::vector<uint8_t> click(float freq, float seconds = 0.12f) {
    Synth s(seconds);
    s.noiseBurst(0, 0.02f, 0.5f);
    s.note(0, seconds, freq, 0.6f, Synth::Wave::Sine, 0.001f, freq * 0.7f);
    s.normalize(0.5f);
    return s.wav();
}

std::vector<uint8_t> slide(float from, float to, float seconds) {
    Synth s(seconds);
    s.noiseBurst(0, seconds * 0.8f, 0.3f);
    s.note(0, seconds, from, 0.3f, Synth::Wave::Triangle, 0.02f, to);
    s.normalize(0.45f);
    return s.wav();
}

// ---- The word machine ----

Canvas machineBackground() {
    Canvas c = table(0xFF3A2A24, 0xFF22160F);
    c.fillRoundRect(8, 8, kRoomW - 16, kRoomH - 16, 28, 0xFF5A1414);
    c.fillRoundRect(14, 14, kRoomW - 28, kRoomH - 28, 24, kMachineRed);
    c.fillRoundRect(36, 46, 648, 348, 14, kChrome);
    c.fillRoundRect(40, 50, 640, 340, 12, kGlass);
    // The tray below the slot where paid-out coins land, and the ticket's panel.
    c.fillRoundRect(200, 410, 320, 100, 12, 0xFF6A1A1A);
    c.fillRoundRect(230, 480, 260, 22, 8, 0xFF2A0A0A);
    c.fillRoundRect(540, 410, 140, 110, 12, 0xFF6A1A1A);
    return c;
}

Canvas slotPart(int w, int h, bool hole) {
    Canvas c(w, h, 0);
    c.fillRoundRect(0, 0, float(w), float(h), 4, hole ? 0xFF0A0A0A : kChrome);
    if (hole)
        c.fillRect(4, h / 2 - 2, w - 8, 4, 0xFF000000);
    else
        c.fillRect(2, 2, w - 4, 3, 0xFFF0F2F6);
    return c;
}

// A ticket with a cup printed on it.
Canvas ticket() {
    Canvas c(70, 34, 0);
    c.fillRect(0, 0, 70, 34, 0xFFF4D87A);
    for (int x = 0; x < 70; x += 7)
        c.fillCircle(float(x) + 3.5f, 0, 2.5f, 0);
    c.fillRoundRect(24, 10, 18, 18, 4, 0xFF6A3A1A);
    c.fillRing(44, 18, 6, 3, 0xFF6A3A1A);
    c.fillRect(20, 28, 28, 3, 0xFF6A3A1A);
    return c;
}

Canvas ticketHole() {
    Canvas c(90, 14, 0);
    c.fillRoundRect(0, 0, 90, 14, 5, kChrome);
    c.fillRect(8, 5, 74, 4, 0xFF000000);
    return c;
}

Canvas glassSheen() {
    Canvas c(640, 340, 0);
    c.fillPolygon({0, 0, 120, 0, 0, 110}, 0x14FFFFFF);
    c.fillPolygon({560, 340, 640, 260, 640, 340}, 0x10FFFFFF);
    return c;
}

Canvas dialogBack() {
    Canvas c(420, 170, 0);
    c.fillRoundRect(0, 0, 420, 170, 16, 0xF0202838);
    c.fillRoundRect(4, 4, 412, 162, 13, 0xF0303C54);
    return c;
}

void writeMachine(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    TextRenderer& small = fonts.body;
    RoomFolder files(out, room);
    files.picture("background", machineBackground());
    files.picture("caption", label(fonts.title, "COFFEE WORDS", kGold));
    files.picture("text_words", label(small, "WORDS", kCream));
    files.picture("text_theme", label(small, "COMMON THEME", kCream));
    files.picture("text_buy", label(small, "BUY A LETTER", kCream));
    files.picture("solve", plate(small, 90, 32, "SOLVE", 0xFF3AA050, kCream));
    files.picture("solve_pushed", plate(small, 90, 32, "SOLVE", 0xFF1E6A30, 0xFFB0D0B0));
    files.picture("solve_disabled", plate(small, 90, 32, "SOLVE", 0xFF5A5A5A, 0xFF9A9A9A));
    files.picture("enter_token", label(small, "INSERT TOKEN", kCream));
    files.picture("slot_lamp", lamp(12, 0xFFFFE060));
    files.picture("hole", slotPart(40, 16, true));
    files.picture("hole_end", slotPart(30, 16, false));
    files.picture("coin", coin(22, kGold));
    files.picture("ticket", ticket());
    files.picture("ticket_icon", fitted(ticket(), 38));
    files.picture("ticket_hole", ticketHole());
    files.picture("sheen", glassSheen());
    files.picture("light", lamp(14, 0xFFFFD060));
    files.picture("input_message", dialogBack());
    files.picture("star", star(24));
    files.picture("input_caption", label(small, "TYPE THE COMMON THEME", kGold));
    files.picture("input_caption1", label(small, "Click a cell of the theme, then type.", kCream));
    files.picture("btn_cancel", plate(small, 120, 32, "CANCEL", 0xFF8A3030, kCream));
    files.picture("btn_cancel_pressed", plate(small, 120, 32, "CANCEL", 0xFF5A1A1A, 0xFFD0B0B0));
    files.picture("btn_enter", plate(small, 120, 32, "ENTER", 0xFF3AA050, kCream));
    files.picture("btn_enter_pressed", plate(small, 120, 32, "ENTER", 0xFF1E6A30, 0xFFB0D0B0));
    files.picture("btn_concede", plate(small, 120, 32, "GIVE UP", 0xFF6A6A6A, kCream));
    files.picture("btn_concede_pressed", plate(small, 120, 32, "GIVE UP", 0xFF3A3A3A, 0xFFC0C0C0));
    files.picture("message_menu", plate(small, 380, 110, "", 0xF0303C54, kCream, 14));
    files.picture("text_token_bonus",
                  writing(small, {"A FREE COIN! Take it from", "beside the slot."}, 340, kGold));
    files.picture("text_5_free_letters",
                  writing(small, {"FIVE LETTERS ON THE HOUSE!", "Click to play."}, 340, kGold));
    files.picture("text_out_of_tokens",
                  writing(small, {"OUT OF TOKENS! Type the", "theme, or give up."}, 340, kGold));

    files.wave("cupojoe_solve", click(660));
    files.wave("cupojoe_token_putting", chime({1200, 900}, 0.08f, 0.4f));
    files.wave("cupojoe_true_char", chime({880, 1320}, 0.06f, 0.35f));
    files.wave("cupojoe_close_msg", click(440, 0.1f));
    files.wave("cupojoe_lost", chime({392, 330, 262}, 0.18f, 0.9f));
    files.wave("cupojoe_won", chime({523, 659, 784, 1047}, 0.12f, 1.0f));
    files.wave("cupojoe_token_bonus", chime({1047, 1319, 1568}, 0.07f, 0.6f));
    files.wave("cupojoe_out_of_tockens", chime({330, 262}, 0.2f, 0.7f));
    files.wave("cupojoe_shuffling_letters", slide(600, 1200, 0.25f));
    files.wave("cupojoe_5_free_letters", chime({784, 988, 1175, 1568}, 0.09f, 0.8f));
    files.wave("cupojoe_type_letter", click(1500, 0.06f));

    // The machine's own font, for its board of letters.
    const TextRenderer::BitmapFont font = small.bitmapFont("Font_CapOJoe.png");
    out.write(kLanguage + "Fonts/Font_CapOJoe.png", font.texture);
    out.write(kLanguage + "Fonts/Font_CapOJoe.ini", font.description);
}

// ---- The zodiac book ----

Canvas zodiacBook(bool open, TextRenderer& small) {
    Canvas c(440, 320, 0);
    if (open) {
        c.fillRoundRect(0, 10, 440, 300, 10, kLeather);
        c.fillRect(14, 18, 200, 284, kCream);
        c.fillRect(226, 18, 200, 284, kCream);
        c.fillRect(214, 14, 12, 292, 0xFF4A2418);
        for (int y = 50; y < 290; y += 24) {
            c.fillRect(30, y, 168, 2, 0xFFB8AC90);
            c.fillRect(242, y, 168, 2, 0xFFB8AC90);
        }
        small.draw(c, 30, 28, "Under the ram:", kInk);
        small.draw(c, 30, 52, "the old mill.", kInk);
        small.draw(c, 242, 28, "Under the fish:", kInk);
        small.draw(c, 242, 52, "Saturday night.", kInk);
        return c;
    }
    c.fillRoundRect(0, 0, 440, 320, 14, 0xFF3A1E14);
    c.fillRoundRect(8, 8, 424, 304, 10, kLeather);
    c.fillRing(220, 160, 150, 144, kBrass);
    // The two empty places where the figures go.
    for (int x : {110, 250}) {
        c.fillRoundRect(float(x), 120, 80, 80, 12, 0xFF2A140C);
        c.fillRoundRect(float(x + 6), 126, 68, 68, 9, 0xFF3A1E14);
    }
    c.fillRect(420, 130, 20, 60, kBrass);
    return c;
}

Canvas figurePlace() {
    Canvas c(80, 80, 0);
    c.fillRoundRect(0, 0, 80, 80, 12, 0xFF2A140C);
    c.fillRoundRect(4, 4, 72, 72, 10, 0xFF4A2418);
    return c;
}

// The ram: a head with two curled horns. The fish: two fish nose to tail.
Canvas zodiacFigure(int which, int size) {
    Canvas c(size, size, 0);
    const float s = float(size);
    if (which == 1) {
        c.fillCircle(s / 2, s * 0.6f, s * 0.26f, kGold);
        c.fillRing(s * 0.24f, s * 0.36f, s * 0.2f, s * 0.1f, kBrass);
        c.fillRing(s * 0.76f, s * 0.36f, s * 0.2f, s * 0.1f, kBrass);
        c.fillCircle(s * 0.42f, s * 0.58f, s * 0.04f, kInk);
        c.fillCircle(s * 0.58f, s * 0.58f, s * 0.04f, kInk);
    } else {
        c.fillShape(
            0, 0, s, s,
            [s](float x, float y) {
                const float dx = (x - s * 0.45f) / (s * 0.34f), dy = (y - s * 0.32f) / (s * 0.13f);
                return dx * dx + dy * dy < 1;
            },
            kGold);
        c.fillTriangle(s * 0.75f, s * 0.32f, s * 0.95f, s * 0.18f, s * 0.95f, s * 0.46f, kGold);
        c.fillShape(
            0, 0, s, s,
            [s](float x, float y) {
                const float dx = (x - s * 0.55f) / (s * 0.34f), dy = (y - s * 0.7f) / (s * 0.13f);
                return dx * dx + dy * dy < 1;
            },
            kBrass);
        c.fillTriangle(s * 0.25f, s * 0.7f, s * 0.05f, s * 0.56f, s * 0.05f, s * 0.84f, kBrass);
    }
    return c;
}

Canvas clasp(bool open) {
    Canvas c(60, 90, 0);
    c.fillRoundRect(10, open ? 40 : 20, 40, 50, 6, kBrass);
    c.fillRing(30, open ? 30 : 20, 16, 10, kBrass);
    c.fillCircle(30, open ? 62 : 44, 5, kInk);
    return c;
}

Canvas photos() {
    Canvas c(130, 100, 0);
    c.fillPolygon({10, 20, 110, 0, 124, 72, 24, 92}, 0xFFF4F0E8);
    c.fillPolygon({18, 24, 106, 8, 116, 66, 30, 82}, 0xFF5A6A7A);
    c.fillCircle(62, 40, 12, 0xFFE0C8A8);
    return c;
}

void writeZodiacBook(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", table(0xFF5A4030, 0xFF3A2818));
    files.picture("book", zodiacBook(false, fonts.body));
    files.picture("book_open", zodiacBook(true, fonts.body));
    files.picture("place", figurePlace());
    files.picture("ram", zodiacFigure(1, 56));
    files.picture("fish", zodiacFigure(2, 56));
    files.picture("clasp_open", clasp(true));
    files.picture("fotos", photos());
    files.wave("zodiak_item_right", chime({988, 1319}, 0.08f, 0.5f));
    files.wave("zodiak_item_wrong", click(220, 0.25f));
    files.wave("zodiak_book_open", slide(300, 150, 0.7f));
}

// ---- The appointment book ----

Canvas appointmentBook(TextRenderer& small) {
    Canvas c = table(0xFF4A3828, 0xFF2A1E14);
    c.fillRoundRect(50, 60, 620, 420, 12, 0xFF2A3A5A);
    c.fillRect(64, 74, 290, 392, kCream);
    c.fillRect(366, 74, 290, 392, kCream);
    c.fillRect(354, 70, 12, 400, 0xFF1A2A44);
    const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday"};
    for (int i = 0; i < 4; ++i) {
        small.draw(c, 80, 84 + i * 96, days[i], 0xFF3A4A6A);
        for (int y = 110 + i * 96; y < 170 + i * 96; y += 20)
            c.fillRect(80, y, 258, 1, 0xFFB8C0D0);
    }
    small.draw(c, 382, 84, "Friday", 0xFF3A4A6A);
    for (int y = 110; y < 460; y += 20)
        c.fillRect(382, y, 258, 1, 0xFFD0D4DC);
    return c;
}

// What rubbing shows: graphite everywhere, the pressed-in writing left light.
Canvas imprint(TextRenderer& small) {
    Canvas c(240, 140, 0xFF5A5A64);
    const char* lines[] = {"Reservation: Mr. Grey,", "room 12, Friday,", "nine o'clock. Cash."};
    for (int i = 0; i < 3; ++i)
        small.draw(c, 8, 10 + i * 40, lines[i], 0xFFF0E8D8);
    return c;
}

// The tip at the top left corner, where the rubbing falls.
Canvas pencil(int size) {
    Canvas c(size, size, 0);
    const float k = float(size) / 70;
    auto at = [k](std::vector<float> p) {
        for (float& v : p)
            v *= k;
        return p;
    };
    c.fillPolygon(at({0, 0, 14, 4, 4, 14}), kInk);
    c.fillPolygon(at({4, 14, 14, 4, 22, 8, 8, 22}), 0xFFE8C8A0);
    c.fillPolygon(at({8, 22, 22, 8, 64, 50, 50, 64}), 0xFFE0B030);
    c.fillPolygon(at({50, 64, 64, 50, 70, 56, 56, 70}), 0xFFD08080);
    return c;
}

void writeAppointmentBook(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    files.picture("background", appointmentBook(fonts.body));
    files.picture("hidden_text_ontable", imprint(fonts.body));
    files.picture("page_zone", Canvas(280, 340, 0x30FFFFFF));
    files.picture("page29", label(fonts.body, "29", 0xFF3A4A6A));
    files.picture("hidden_text",
                  writing(fonts.body, {"Mr. Grey - room 12", "Friday, nine o'clock"}, 240, 0xFF1A2A6A));
    files.picture("pen", pencil(70));
    Synth scratch(0.5f, true);
    scratch.wind(0.5f, 0.2f);
    scratch.noiseBurst(0, 0.5f, 0.2f);
    scratch.normalize(0.3f);
    files.wave("book_pen_use", scratch.wav());
}

// ---- The register ----

Canvas registerPage(TextRenderer& small, int page) {
    Canvas c(520, 360, 0);
    c.fillRect(0, 0, 520, 360, kPaper);
    c.fillRect(0, 0, 520, 4, 0xFFC8B890);
    const std::vector<std::vector<std::string>> entries = {
        {"Room 3   Mrs. Abbott   two nights", "Room 7   Mr. Hale      one night",
         "Room 9   Dr. Vance     a week"},
        {"Room 4   Miss Lind     one night", "Room 12  Mr. Grey      Friday",
         "Room 2   Mr. Oakes     two nights"},
        {"Room 5   Mr. Price     one night", "Room 8   Mrs. Kerr     three nights", "Room 11  (left blank)"}};
    small.drawCentered(c, 260, 14, "Register  -  page " + std::to_string(page), 0xFF6A4A2A);
    for (size_t i = 0; i < 3; ++i) {
        c.fillRect(20, 90 + int(i) * 80, 480, 1, 0xFFB8A888);
        small.draw(c, 24, 60 + int(i) * 80, entries[size_t(page - 1)][i], kInk);
    }
    return c;
}

Canvas reservationCard(TextRenderer& small) {
    Canvas c(96, 60, 0);
    c.fillRect(0, 0, 96, 60, 0xFFE8F0F8);
    c.fillRect(0, 0, 96, 12, 0xFF8A2A2A);
    small.draw(c, 6, 16, "Rm 12", kInk);
    small.draw(c, 6, 36, "Grey", kInk);
    return c;
}

void writeRegister(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    Canvas desk = table(0xFF6A4A30, 0xFF3A2818);
    desk.fillRoundRect(90, 60, 540, 380, 10, 0xFF3A2A1A);
    files.picture("background", desk);
    for (int page = 1; page <= 3; ++page)
        files.picture("page" + std::to_string(page), registerPage(fonts.body, page));
    files.picture("back", pageArrow(false));
    files.picture("next", pageArrow(true));
    files.picture("target", reservationCard(fonts.body));
    files.wave("change_page", slide(1400, 900, 0.3f));
}

// ---- The torn letter ----

// A strip of the invitation, torn along ragged edges above and below (none at the letter's top and
// bottom).
Canvas letterPiece(TextRenderer& small, int piece) {
    constexpr int w = 300, h = 150, body = 130;
    Canvas c(w, h, 0);
    std::vector<float> outline;
    auto ragged = [&](int y0, bool torn, bool reverse) {
        for (int i = 0; i <= 12; ++i) {
            const int step = reverse ? 12 - i : i;
            const float x = float(step) * w / 12;
            outline.push_back(x);
            outline.push_back(float(y0) + (torn ? float((step * 7 + piece * 5) % 11) : 0));
        }
    };
    ragged(0, piece != 1, false);
    ragged(piece == 3 ? body : body + 10, piece != 3, true);
    c.fillPolygon(outline, kCream);
    const std::vector<std::vector<std::string>> lines = {{"You are invited", "to a quiet supper"},
                                                         {"at the Old Mill,", "Saturday at nine."},
                                                         {"Come alone.", "            - G."}};
    for (size_t i = 0; i < 2; ++i)
        small.draw(c, 30, 30 + int(i) * 36, lines[size_t(piece - 1)][i], 0xFF2A2A6A);
    return c;
}

Canvas letterGlow() {
    Canvas c(340, 430, 0);
    c.fillRoundRect(0, 0, 340, 430, 18, 0x50FFE080);
    c.fillRoundRect(10, 10, 320, 410, 12, 0);
    return c;
}

void writeTornLetter(DataWriter& out, const std::string& room, PictureFonts& fonts) {
    RoomFolder files(out, room);
    Canvas desk = table(kWood, kWoodDark);
    desk.fillRect(210, 60, 300, 2, 0x40FFFFFF);
    desk.fillRect(210, 450, 300, 2, 0x40FFFFFF);
    files.picture("background", desk);
    for (int piece = 1; piece <= 3; ++piece)
        files.picture("piece" + std::to_string(piece), letterPiece(fonts.body, piece));
    files.picture("complete", letterGlow());
    files.wave("letter_assemble_grab", click(700, 0.1f));
    files.wave("letter_assemble_placeback", slide(500, 300, 0.2f));
    files.wave("letter_assemble_lock", chime({880, 1175}, 0.06f, 0.4f));
    files.wave("letter_assemble_rotate", click(1000, 0.08f));
    files.wave("letter_assemble_completed", chime({523, 784, 1047}, 0.1f, 0.9f));
}

// ---- On the hub ----

// The places (150 x 80) and the finds (54 x 54) on the hub.
Canvas machinePlace() {
    Canvas c(150, 80, 0);
    c.fillRoundRect(42, 4, 66, 76, 10, kMachineRed);
    c.fillRoundRect(50, 12, 50, 28, 4, kGlass);
    for (int i = 0; i < 4; ++i)
        c.fillRect(54 + i * 11, 24, 7, 2, 0xFF40E060);
    c.fillRect(66, 50, 18, 4, 0xFF000000);
    c.fillCircle(75, 66, 5, kGold);
    return c;
}

Canvas bookPlace(Color cover, Color mark) {
    Canvas c(150, 80, 0);
    c.fillRoundRect(30, 12, 90, 62, 6, mixColor(cover, 0xFF000000, 0.4f));
    c.fillRoundRect(34, 8, 86, 62, 6, cover);
    c.fillCircle(77, 39, 13, mark);
    return c;
}

Canvas letterTablePlace() {
    Canvas c(150, 80, 0);
    c.fillRoundRect(10, 36, 130, 18, 4, kWood);
    c.fillRect(20, 54, 8, 26, kWoodDark);
    c.fillRect(122, 54, 8, 26, kWoodDark);
    c.fillPolygon({50, 36, 70, 16, 84, 26, 100, 14, 104, 36}, kCream);
    return c;
}

Canvas token() {
    Canvas c(54, 54, 0);
    c.draw(coin(40, 0xFFB0B8C0), 7, 7);
    return c;
}

Canvas figurine(int which) {
    Canvas c(54, 54, 0);
    c.fillRoundRect(6, 44, 42, 10, 3, kWoodDark);
    c.draw(zodiacFigure(which, 42), 6, 2);
    return c;
}

Canvas pieceScrap(int piece) {
    Canvas c(54, 54, 0);
    const float t = float(piece) * 3;
    c.fillPolygon({4 + t, 8, 46, 2 + t, 52, 40, 10, 50 - t}, kCream);
    c.fillRect(14, 22, 28, 2, 0xFF2A2A6A);
    c.fillRect(14, 30, 20, 2, 0xFF2A2A6A);
    return c;
}

} // namespace

void writeTownWords(const std::string& investigation, HubFiles& hub) {
    hub.image("machine.png", machinePlace());
    hub.image("diary.png", bookPlace(0xFF2A3A5A, kCream));
    hub.image("zodiac.png", bookPlace(kLeather, kBrass));
    hub.image("register.png", bookPlace(0xFF3A2A1A, 0xFF8A2A2A));
    hub.image("letter_table.png", letterTablePlace());
    // Each find with the smaller picture the inventory strip shows of it.
    const std::vector<std::pair<std::string, Canvas>> finds = {
        {"token", token()},       {"inv01", figurine(1)},    {"inv02", figurine(2)},
        {"pencil", pencil(54)},   {"piece1", pieceScrap(1)}, {"piece2", pieceScrap(2)},
        {"piece3", pieceScrap(3)}};
    for (const auto& [name, picture] : finds) {
        hub.image(name + ".png", picture);
        hub.image(name + "_icon.png", fitted(picture, 38));
    }
    writeMachine(hub.out(), investigation + "zoom_CapOJoe/", hub.fonts());
    writeZodiacBook(hub.out(), investigation + "zoom_ZodiacBook/", hub.fonts());
    writeAppointmentBook(hub.out(), investigation + "zoom_AppointmentBook/", hub.fonts());
    writeRegister(hub.out(), investigation + "zoom_Register/", hub.fonts());
    writeTornLetter(hub.out(), investigation + "zoom_TornLetter/", hub.fonts());
}
