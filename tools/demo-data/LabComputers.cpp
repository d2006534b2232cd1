#include "RoomGroups.h"
#include "Synth.h"

#include <string>
#include <vector>

// The archive and its microfiche reader, the three computers and what they give: the hub's slots
// ARCHIVE, PROFILE_PC, VICTIM_PC, SEARCH_PC and the shelf's ID_CARD, FINGERPRINTS, INFORMATION and
// PHONE_NUMBER; the archive "room_ChronicleOffice" (the room area, 845 x 768), the reader "zoom_Microfiche"
// and the computers "zoom_VictimId2", "zoom_VictimId" and "zoom_CrimeSearcher" (640 x 480 each), with their
// pictures and the ten sounds of the reader and the computers. Where each object stands is the rooms'
// objects.ini; the pictures here are cut to the sizes it gives.

namespace {

constexpr Canvas::Color kScreen = 0xFF0E2A3C, kScreenInk = 0xFFB8E8F8, kScreenDim = 0xFF50707E;
constexpr Canvas::Color kCasing = 0xFF8A9298, kDarkCasing = 0xFF3C4246, kPaper = 0xFFF0E8D0;
constexpr Canvas::Color kInk = 0xFF2A2A36, kFilm = 0xFF3A3020, kFilmEdge = 0xFF8A7A50;
constexpr Canvas::Color kWood = 0xFF6A4A2C, kDarkWood = 0xFF3A2818, kAmber = 0xFFE8C060;

// A room's pictures and sounds, listed as it writes them.
class RoomFiles {
public:
    RoomFiles(HubFiles& hub, std::string folder) : m_hub(hub), m_folder(std::move(folder)) {}
    ~RoomFiles() {
        m_hub.out().write(m_folder + "Images/_images.list", m_images);
        if (!m_sounds.empty())
            m_hub.out().write(m_folder + "Sounds/_sounds.list", m_sounds);
    }
    void image(const std::string& file, const Canvas& picture) {
        m_hub.out().image(m_images, m_folder + "Images/", file, picture);
    }
    void sound(const std::string& file, const std::vector<uint8_t>& wav) {
        m_hub.out().sound(m_sounds, m_folder + "Sounds/", file, wav);
    }
    PictureFonts& fonts() { return m_hub.fonts(); }

private:
    HubFiles& m_hub;
    const std::string m_folder;
    std::string m_images, m_sounds;
};

// ---- pictures ----

Canvas label(TextRenderer& font, int w, int h, const char* text, Canvas::Color ink, Canvas::Color back = 0) {
    Canvas c(w, h, back);
    font.drawCentered(c, w / 2, (h - font.lineHeight()) / 2, text, ink);
    return c;
}

// A screen button: lit, or grayed when the computer cannot do it.
Canvas button(TextRenderer& font, int w, int h, const char* text, bool grayed) {
    Canvas c(w, h);
    c.fillRoundRect(0, 0, float(w), float(h), 6, grayed ? kScreenDim : kScreenInk);
    c.fillRoundRect(2, 2, float(w - 4), float(h - 4), 5, grayed ? 0xFF22343C : 0xFF1A4660);
    font.drawCentered(c, w / 2, (h - font.lineHeight()) / 2, text, grayed ? kScreenDim : kScreenInk);
    return c;
}

Canvas checkMark() {
    Canvas c(24, 24);
    c.fillRoundRect(0, 0, 24, 24, 4, 0xFF1E6A3A);
    c.fillPolygon({4, 12, 8, 8, 11, 13, 18, 4, 21, 8, 11, 20}, 0xFFB8F8C8);
    return c;
}

// A window of the screen with its title along the top.
Canvas window(TextRenderer& font, int w, int h, const char* title) {
    Canvas c(w, h);
    c.fillRoundRect(0, 0, float(w), float(h), 8, kScreenInk);
    c.fillRoundRect(3, 3, float(w - 6), float(h - 6), 6, 0xFF123448);
    c.fillRect(3, 3, w - 6, 34, 0xFF1A4660);
    font.drawCentered(c, w / 2, 8, title, kScreenInk);
    return c;
}

// A typed line's field.
Canvas field(int w, int h) {
    Canvas c(w, h, 0xFF5A7A8A);
    c.fillRect(2, 2, w - 4, h - 4, 0xFFF4F8FA);
    return c;
}

// The computer's monitor and desk, the screen a dark pane.
Canvas computerBackground(PictureFonts& fonts, const char* name) {
    Canvas c(640, 480, kDarkCasing);
    c.fillRoundRect(8, 8, 624, 464, 16, kCasing);
    c.fillRoundRect(20, 20, 600, 440, 10, kScreen);
    for (int y = 22; y < 458; y += 4)
        c.fillRect(22, y, 596, 1, 0xFF10303F);
    fonts.body.draw(c, 30, 438, name, kScreenDim);
    return c;
}

// A fingerprint: ridges as rings round a core, drawn in ink; `variant` moves the core.
Canvas fingerprint(int variant, Canvas::Color ink, Canvas::Color paper) {
    Canvas c(140, 180, paper);
    const float cx = 70.0f + float(variant % 3 - 1) * 8, cy = 90.0f + float(variant % 2) * 10;
    for (float r = 8; r < 70; r += 7)
        c.fillRing(cx, cy, r + 2, r, ink);
    return c;
}

Canvas progressBack() {
    Canvas c(30, 260, 0xFF5A7A8A);
    c.fillRect(3, 3, 24, 254, 0xFF0A1C28);
    return c;
}

// A position marker of the feature table: a frame around the chosen word, as large as the place a
// click on the word takes.
Canvas marker() {
    Canvas c(64, 36);
    c.fillRect(0, 0, 64, 3, kAmber);
    c.fillRect(0, 33, 64, 3, kAmber);
    c.fillRect(0, 3, 3, 30, kAmber);
    c.fillRect(61, 3, 3, 30, kAmber);
    return c;
}

Canvas note(TextRenderer& font, int w, int h, const char* text) {
    Canvas c(w, h);
    c.fillRoundRect(0, 0, float(w), float(h), 4, kPaper);
    font.drawCentered(c, w / 2, (h - font.lineHeight()) / 2, text, kInk);
    return c;
}

// A thing's picture in the strip: a small card with a word on it.
Canvas icon(TextRenderer& font, const char* text, Canvas::Color card = kPaper, Canvas::Color ink = kInk) {
    Canvas c(40, 40);
    c.fillRoundRect(1, 4, 38, 32, 4, card);
    font.drawCentered(c, 20, 20 - font.lineHeight() / 2, text, ink);
    return c;
}

// A strip of film in its frame, the year scratched on its leader.
Canvas film(TextRenderer& font, const char* year) {
    Canvas c(80, 56, kFilmEdge);
    c.fillRect(3, 3, 74, 50, kFilm);
    for (int x = 6; x < 76; x += 10) {
        c.fillRect(x, 5, 5, 4, 0xFFD8C898);
        c.fillRect(x, 47, 5, 4, 0xFFD8C898);
    }
    font.drawCentered(c, 40, 17, year, 0xFFE8D8A8);
    return c;
}

// A frame of light round a completed row or column.
Canvas flashBar(int w, int h) {
    Canvas c(w, h);
    c.fillRoundRect(0, 0, float(w), float(h), 6, 0xC0F8E070);
    for (int y = 5; y < h - 5; ++y)
        for (int x = 5; x < w - 5; ++x)
            c.set(x, y, 0);
    return c;
}

Canvas readerBackground(PictureFonts& fonts) {
    Canvas c(640, 480, kDarkCasing);
    c.fillRoundRect(8, 8, 624, 464, 14, 0xFF4A525A);
    // The film table, its four cells marked out.
    c.fillRoundRect(30, 40, 260, 250, 8, 0xFF2A2E32);
    fonts.body.drawCentered(c, 160, 46, "Film table", 0xFFB0B8C0);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            c.fillRect(60 + col * 110, 80 + row * 110, 80, 56, 0xFF1A1C1E);
    // The projector's body under its slot, and the monitor below.
    c.fillRoundRect(330, 50, 270, 190, 10, 0xFF6A727A);
    fonts.body.drawCentered(c, 465, 56, "Projector", 0xFF202428);
    c.fillRoundRect(30, 300, 580, 160, 8, kScreen);
    return c;
}

Canvas projector() {
    Canvas c(200, 160);
    c.fillRoundRect(0, 0, 200, 160, 10, 0xFF8A929A);
    c.fillRect(50, 40, 100, 76, 0xFF202428);
    return c;
}

Canvas projectedPage(PictureFonts& fonts) {
    Canvas c(240, 60, kPaper);
    fonts.body.draw(c, 8, 4, "HARBOUR GAZETTE", kInk);
    for (int y = 30; y < 56; y += 8)
        c.fillRect(8, y, 224, 3, 0xFF9A9080);
    return c;
}

Canvas monitorOff(PictureFonts& fonts) {
    Canvas c(580, 160, 0xFF101214);
    fonts.body.drawCentered(c, 290, 68, "(monitor off)", 0xFF40464C);
    return c;
}

Canvas clipping(PictureFonts& fonts) {
    Canvas c(160, 110, kPaper);
    fonts.body.drawCentered(c, 80, 6, "FIRE AT THE", kInk);
    fonts.body.drawCentered(c, 80, 28, "HARBOUR", kInk);
    for (int y = 56; y < 104; y += 8)
        c.fillRect(10, y, 140, 3, 0xFF9A9080);
    return c;
}

// The whole room area, the shelves and the title standing where the rooms' 800 x 600 scenes stand
// (22, 84 in).
Canvas archiveBackground(PictureFonts& fonts) {
    constexpr int kX = 22, kY = 84;
    Canvas c(845, 768);
    c.verticalGradient(0, 0, 845, kY + 450, 0xFF4A3C2C, 0xFF34281C);
    c.verticalGradient(0, kY + 450, 845, 768 - kY - 450, 0xFF5A4A36, 0xFF2E241A);
    // Shelves of bound newspapers along the back wall.
    for (int shelf = 0; shelf < 4; ++shelf) {
        const int y = kY + 60 + shelf * 95;
        c.fillRect(kX + 230, y + 80, 540, 10, kDarkWood);
        for (int x = kX + 236; x < kX + 760; x += 26)
            c.fillRect(x, y + 12, 22, 68, shelf % 2 ? 0xFF7A2A22 : 0xFF2A4A6A);
    }
    fonts.title.drawCentered(c, kX + 500, kY + 14, "Newspaper archive", 0xFFE8D8B0);
    return c;
}

Canvas archiveDoor(PictureFonts& fonts) {
    Canvas c(150, 300, kDarkWood);
    c.fillRect(8, 8, 134, 292, kWood);
    c.fillCircle(124, 160, 7, kAmber);
    fonts.body.drawCentered(c, 75, 30, "To the lab", 0xFFE8D8B0);
    return c;
}

Canvas readerDesk(PictureFonts& fonts) {
    Canvas c(200, 180);
    c.fillRoundRect(0, 60, 200, 120, 8, kWood);
    c.fillRoundRect(30, 0, 140, 100, 8, kCasing);
    c.fillRect(45, 14, 110, 60, kScreen);
    fonts.body.drawCentered(c, 100, 120, "Microfiche", 0xFFE8D8B0);
    return c;
}

// A hub terminal in its slot.
Canvas terminal(const char* text, PictureFonts& fonts) {
    Canvas c(170, 110, kDarkCasing);
    c.fillRoundRect(4, 4, 162, 102, 8, kCasing);
    c.fillRect(14, 12, 142, 74, kScreen);
    fonts.body.drawCentered(c, 85, 38, text, kScreenInk);
    return c;
}

Canvas archiveEntry(PictureFonts& fonts) {
    Canvas c(140, 280, kDarkWood);
    c.fillRect(8, 8, 124, 272, kWood);
    c.fillCircle(116, 150, 6, kAmber);
    fonts.body.drawCentered(c, 70, 40, "Archive", 0xFFE8D8B0);
    return c;
}

// ---- sounds ----

std::vector<uint8_t> click(float freq, float length) {
    Synth s(length);
    s.note(0, length, freq, 0.5f, Synth::Wave::Triangle, 0.001f);
    s.normalize(0.4f);
    return s.wav();
}

std::vector<uint8_t> chime(std::vector<float> notes) {
    Synth s(0.15f * float(notes.size()) + 0.2f);
    for (size_t i = 0; i < notes.size(); ++i)
        s.note(0.15f * float(i), 0.3f, notes[i], 0.4f, Synth::Wave::Bell, 0.002f);
    s.normalize(0.45f);
    return s.wav();
}

std::vector<uint8_t> whirr(float seconds) {
    Synth s(seconds);
    s.note(0, seconds, 180, 0.3f, Synth::Wave::Triangle, 0.05f, 260);
    s.noiseBurst(0, seconds, 0.1f);
    s.normalize(0.35f);
    return s.wav();
}

void computerSounds(RoomFiles& room) {
    room.sound("pc_button_mouseclick.wav", click(1400, 0.06f));
    room.sound("pc_button_mouseover.wav", click(2400, 0.03f));
    room.sound("pc_type_symbol.wav", click(1800, 0.04f));
    room.sound("pc_result_complete.wav", chime({660, 880}));
    room.sound("pc_result_failed.wav", chime({440, 330}));
    room.sound("pc_searching_process.wav", whirr(1.2f));
}

// ---- rooms ----

void writeArchive(const std::string& investigation, HubFiles& hub) {
    RoomFiles room(hub, investigation + "room_ChronicleOffice/");
    PictureFonts& fonts = room.fonts();
    room.image("background.png", archiveBackground(fonts));
    room.image("lab_door.png", archiveDoor(fonts));
    room.image("reader.png", readerDesk(fonts));
    room.sound("archive_hush.wav", whirr(0.6f));
    const char* const years[] = {"1928", "1929", "1930", "1931"};
    const char* const cards[] = {"card11.png", "card12.png", "card21.png", "card22.png"};
    for (int i = 0; i < 4; ++i) {
        room.image(cards[i], film(fonts.body, years[i]));
        room.image(std::string(cards[i]).replace(6, 4, "_icon.png"),
                   icon(fonts.body, years[i] + 2, kFilm, 0xFFE8D8A8));
    }
}

void writeReader(const std::string& investigation, HubFiles& hub) {
    RoomFiles room(hub, investigation + "zoom_Microfiche/");
    PictureFonts& fonts = room.fonts();
    room.image("background.png", readerBackground(fonts));
    const char* const years[] = {"1928", "1929", "1930", "1931"};
    const char* const films[] = {"f11.png", "f12.png", "f21.png", "f22.png"};
    for (int i = 0; i < 4; ++i)
        room.image(films[i], film(fonts.body, years[i]));
    room.image("flash_horiz.png", flashBar(200, 76));
    room.image("flash_vert.png", flashBar(112, 186));
    room.image("proector.png", projector());
    room.image("target.png", Canvas(80, 56, 0xFF202428));
    room.image("figure_open.png", projectedPage(fonts));
    room.image("monik_off.png", monitorOff(fonts));
    room.image("field.png", field(220, 30));
    room.image("btn_submit.png", button(fonts.body, 70, 30, "Find", false));
    room.image("clipping.png", clipping(fonts));
    room.sound("microfiche_type_symbol.wav", click(1600, 0.05f));
    room.sound("microfiche_put.wav", click(300, 0.12f));
    room.sound("microfiche_get.wav", click(500, 0.1f));
    room.sound("microfiche_charging.wav", whirr(0.8f));
}

// The pictures every computer's screen shares: buttons and their grayed twins, checks, windows.
void screenPictures(RoomFiles& room, const char* name) {
    PictureFonts& fonts = room.fonts();
    TextRenderer& font = fonts.body;
    room.image("background.png", computerBackground(fonts, name));
    room.image("caption_crime_computer.png", label(fonts.title, 400, 44, "CRIME COMPUTER", kScreenInk));
    room.image("caption_victimidreport.png", label(fonts.title, 400, 44, "VICTIM ID REPORT", kScreenInk));
    struct Button {
        const char* file;
        const char* text;
    };
    for (const Button& b : {Button{"btn_victimid", "Victim identification"},
                            {"btn_lookname", "Look up name"},
                            {"btn_lookphone", "Look up phone"},
                            {"btn_enter_name", "Enter name"},
                            {"btn_check_missing_persons", "Missing persons"},
                            {"btn_check_id_data_base", "ID data base"}}) {
        room.image(std::string(b.file) + ".png", button(font, 240, 40, b.text, false));
        room.image(std::string(b.file) + "_grayed.png", button(font, 240, 40, b.text, true));
    }
    room.image("check.png", checkMark());
    room.image("submit.png", button(font, 140, 36, "OK", false));
    room.image("escape.png", button(font, 140, 36, "Back", false));
    room.image("field.png", field(300, 30));
    room.image("capt_enter_name.png", window(font, 440, 290, "Enter a name"));
    room.image("blank.png", Canvas(4, 4));
    room.image("person_not_found.png", label(font, 320, 60, "Person not found", kScreenInk, 0xFF1A4660));
}

void writeProfileComputer(const std::string& investigation, HubFiles& hub) {
    RoomFiles room(hub, investigation + "zoom_VictimId2/");
    screenPictures(room, "Profiles");
    PictureFonts& fonts = room.fonts();
    room.image("profile_window.png", window(fonts.body, 480, 300, "Profile"));
    room.image("profile_report.png", note(fonts.body, 180, 120, "Profile: Vera Holm"));
    computerSounds(room);
}

void writeIdentificationComputer(const std::string& investigation, HubFiles& hub) {
    RoomFiles room(hub, investigation + "zoom_VictimId/");
    screenPictures(room, "Victim's computer");
    PictureFonts& fonts = room.fonts();
    TextRenderer& font = fonts.body;
    Canvas table = window(font, 480, 300, "Physical features");
    const char* const rows[][4] = {{"Hair", "dark", "fair", "red"},
                                   {"Eyes", "blue", "grey", "brown"},
                                   {"Height", "short", "middle", "tall"}};
    for (int r = 0; r < 3; ++r) {
        font.draw(table, 20, 70 + r * 60, rows[r][0], kScreenInk);
        // In the three places of the row's marker, 70 apart from x 203 of the room.
        for (int p = 0; p < 3; ++p)
            font.drawCentered(table, 155 + p * 70, 96 + r * 60, rows[r][p + 1], kScreenDim);
    }
    room.image("testwindow.png", table);
    room.image("fingerprints_menu.png", window(font, 480, 320, "Fingerprint search"));
    room.image("progress_back.png", progressBack());
    room.image("fingerprints_progress.png", Canvas(24, 254, 0x00000000));
    room.image("btn_enter_fingerprints.png", label(font, 140, 180, "Card here", kScreenInk, 0xFF1A4660));
    room.image("fingerprints_find.png", label(font, 140, 30, "Prints read", kScreenInk));
    for (int i = 0; i < 5; ++i)
        room.image(i ? "fingerprints" + std::to_string(i) + ".png" : std::string("fingerprints.png"),
                   fingerprint(i, 0xFF2A3A4A, 0xFFE8F0F4));
    for (int i = 1; i <= 12; ++i)
        room.image("fingerprintsr" + std::to_string(i) + ".png", fingerprint(i, 0xFF6A2A2A, 0xFFF4E8E8));
    struct Result {
        const char* file;
        const char* text;
    };
    for (const Result& r : {Result{"err_not_enought_info", "Not enough information"},
                            {"err_no_missing_persons_match", "No missing person matches"},
                            {"err_no_match_in_db", "No match in the data base"}})
        room.image(std::string(r.file) + ".png", label(font, 320, 60, r.text, kScreenInk, 0xFF1A4660));
    room.image("marker.png", marker());
    room.image("id_report.png", note(font, 180, 120, "Victim report"));
    computerSounds(room);
}

void writeSearchComputer(const std::string& investigation, HubFiles& hub) {
    RoomFiles room(hub, investigation + "zoom_CrimeSearcher/");
    screenPictures(room, "Search");
    PictureFonts& fonts = room.fonts();
    room.image("capt_enter_phone.png", window(fonts.body, 440, 290, "Enter a number"));
    room.image("profile_title.png", window(fonts.body, 480, 300, "Number found"));
    room.image("phone1.png", note(fonts.body, 180, 40, "555 0101"));
    room.image("two_numbers.png", note(fonts.body, 180, 60, "Docks and tower"));
    room.image("movie_detector.png", note(fonts.body, 180, 40, "Detector"));
    computerSounds(room);
}

} // namespace

void writeLabComputers(const std::string& investigation, HubFiles& hub) {
    PictureFonts& fonts = hub.fonts();
    hub.image("archive.png", archiveEntry(fonts));
    hub.image("profile_pc.png", terminal("Profiles", fonts));
    hub.image("victim_pc.png", terminal("Victim", fonts));
    hub.image("search_pc.png", terminal("Search", fonts));
    hub.image("id_card.png", note(fonts.body, 86, 56, "ID card"));
    hub.image("fingerprints.png", note(fonts.body, 86, 56, "Prints"));
    hub.image("information.png", note(fonts.body, 86, 56, "Info"));
    hub.image("phone_number.png", note(fonts.body, 86, 56, "Phones"));
    struct Icon {
        const char* file;
        const char* text;
    };
    for (const Icon& i : {Icon{"id_card_icon.png", "ID"},
                          {"fingerprints_icon.png", "FP"},
                          {"information_icon.png", "Info"},
                          {"phone_number_icon.png", "Tel"}})
        hub.image(i.file, icon(fonts.body, i.text));
    writeArchive(investigation, hub);
    writeReader(investigation, hub);
    writeProfileComputer(investigation, hub);
    writeIdentificationComputer(investigation, hub);
    writeSearchComputer(investigation, hub);
}
