#include "CasePictures.h"
#include "DemoRooms.h"
#include "HubRoom.h"
#include "RoomGroups.h"
#include "Synth.h"

namespace {

// The town's slot table: every place in the hub's square, which room group owns it, and what the
// player reads below it. A group stands each of its items' objects in its own slots (objects.ini
// X/Y = the slot's corner, a picture at most the slot's size) and draws nothing outside them. The
// room's bottom hundred pixels stay clear: the message box covers them. The names of the places
// the close-ups lead into are the rooms': BOX goes to zoom_Box, and so on; SHOWER is the door to
// room_Shower.
//
//   item          group       kind      x    y    w    h   label
//   HEDGE         mazes       ZoomRoom  15   16  150   80  "Hedge maze"
//   VENT          mazes       ZoomRoom 180   16  150   80  "Air vent"
//   GARDEN        garden      Door     345   16  150   80  "Garden gate"
//   SHOWER        close-ups   Door     510   16  150   80  "Shower room"
//   EXIT          close-ups   ZoomRoom 675   16  150   80  "Exit"
//   MACHINE       words       ZoomRoom  15  136  150   80  "Machine"
//   DIARY         words       ZoomRoom 180  136  150   80  "Diary"
//   ZODIAC        words       ZoomRoom 345  136  150   80  "Zodiac"
//   REGISTER      words       ZoomRoom 510  136  150   80  "Register"
//   LETTERTABLE   words       ZoomRoom 675  136  150   80  "Letter table"
//   BOX           close-ups   ZoomRoom  15  256  150   80  "Box"
//   FIGURES       close-ups   ZoomRoom 180  256  150   80  "Figures"
//   FAX           close-ups   ZoomRoom 345  256  150   80  "Fax"
//   STAIN         close-ups   ZoomRoom 510  256  150   80  "Stain"
//   LAMPS         close-ups   ZoomRoom 675  256  150   80  "Lamps"
//   TILES         close-ups   ZoomRoom  15  376  150   80  "Tiles"
//   TABLE         close-ups   ZoomRoom 180  376  150   80  "Table"
//   on the shelves, no label:
//   TOWN_NOTE     the town    quest     20  510   80   54
//   TOKEN1        words       quest    158  510   80   54
//   INV01         words       quest    296  510   80   54
//   INV02         words       quest    434  510   80   54
//   STAKANSKARAND words       quest    572  510   80   54
//   PIECE1        words       quest    710  510   80   54
//   PIECE2        words       quest     20  584   80   54
//   PIECE3        words       quest    158  584   80   54
//   JADE          close-ups   quest    296  584   80   54
//   LAMP01        close-ups   quest    434  584   80   54
//   LAMP02        close-ups   quest    572  584   80   54
//   TORCH         close-ups   quest    710  584   80   54
const std::vector<HubSlot> kTownSlots = {
    {"HEDGE", "Hedge maze", 15, 16, 150, 80},
    {"VENT", "Air vent", 180, 16, 150, 80},
    {"GARDEN", "Garden gate", 345, 16, 150, 80},
    {"SHOWER", "Shower room", 510, 16, 150, 80},
    {"EXIT", "Exit", 675, 16, 150, 80},
    {"MACHINE", "Machine", 15, 136, 150, 80},
    {"DIARY", "Diary", 180, 136, 150, 80},
    {"ZODIAC", "Zodiac", 345, 136, 150, 80},
    {"REGISTER", "Register", 510, 136, 150, 80},
    {"LETTERTABLE", "Letter table", 675, 136, 150, 80},
    {"BOX", "Box", 15, 256, 150, 80},
    {"FIGURES", "Figures", 180, 256, 150, 80},
    {"FAX", "Fax", 345, 256, 150, 80},
    {"STAIN", "Stain", 510, 256, 150, 80},
    {"LAMPS", "Lamps", 675, 256, 150, 80},
    {"TILES", "Tiles", 15, 376, 150, 80},
    {"TABLE", "Table", 180, 376, 150, 80},
    {"TOWN_NOTE", nullptr, 20, 510, 80, 54},
    {"TOKEN1", nullptr, 158, 510, 80, 54},
    {"INV01", nullptr, 296, 510, 80, 54},
    {"INV02", nullptr, 434, 510, 80, 54},
    {"STAKANSKARAND", nullptr, 572, 510, 80, 54},
    {"PIECE1", nullptr, 710, 510, 80, 54},
    {"PIECE2", nullptr, 20, 584, 80, 54},
    {"PIECE3", nullptr, 158, 584, 80, 54},
    {"JADE", nullptr, 296, 584, 80, 54},
    {"LAMP01", nullptr, 434, 584, 80, 54},
    {"LAMP02", nullptr, 572, 584, 80, 54},
    {"TORCH", nullptr, 710, 584, 80, 54},
};

constexpr HubLook kTownLook = {.wallTop = 0xFF0E1830,
                               .wallBottom = 0xFF2A3450,
                               .floorTop = 0xFF4A4440,
                               .floorBottom = 0xFF24201C,
                               .frame = 0xFF8A7A60,
                               .inset = 0xFF161A24,
                               .title = "Old Town Square",
                               .titleX = 585,
                               .titleY = 396};

// The town clock's bell, struck once.
std::vector<uint8_t> bell() {
    Synth s(1.6f);
    s.note(0, 1.6f, 330, 0.5f, Synth::Wave::Bell);
    s.note(0.01f, 1.5f, 495, 0.25f, Synth::Wave::Bell);
    s.normalize(0.5f);
    return s.wav();
}

std::vector<uint8_t> cobbleStep() {
    Synth s(0.15f);
    s.noiseBurst(0, 0.05f, 0.6f);
    s.note(0, 0.15f, 180, 0.4f, Synth::Wave::Sine, 0.001f, 120);
    s.normalize(0.45f);
    return s.wav();
}

} // namespace

void writeTownRooms(DataWriter& out, const std::string& investigation, PictureFonts& fonts) {
    HubFiles hub(out, investigation + "room_Town/", fonts);
    hub.image("background.png", hubBackground(kTownLook, 500, kTownSlots, fonts));
    hub.image("town_note.png", townNote());
    hub.sound("town_bell.wav", bell());
    hub.sound("cobble_step.wav", cobbleStep());
    hub.sound("paper_slide.wav", paperSlide());
    // Each room group: its rooms, and its items' pictures and sounds on the hub.
    writeTownMazes(investigation, hub);
    writeTownWords(investigation, hub);
    writeTownGarden(investigation, hub);
    writeTownCloseUps(investigation, hub);
    writeTownLamps(investigation, hub);
    hub.finish();
}
