#include "CasePictures.h"
#include "DemoRooms.h"
#include "HubRoom.h"
#include "RoomGroups.h"
#include "Synth.h"

namespace {

// The town's slot table: every place in the hub's square, which room group owns it, and what the
// player reads below it. A group stands each of its items' objects in its own slots (objects.ini
// X/Y = the slot's corner, a picture at most the slot's size) and draws nothing outside them. The
// names of the places the close-ups lead into are the rooms': BOX goes to zoom_Box, and so on;
// SHOWER is the door to room_Shower.
//
//   item          group       kind      x    y    w    h   label
//   HEDGE         mazes       ZoomRoom  15   20  150   90  "Hedge maze"
//   VENT          mazes       ZoomRoom 180   20  150   90  "Air vent"
//   GARDEN        garden      Door     345   20  150   90  "Garden gate"
//   SHOWER        close-ups   Door     510   20  150   90  "Shower room"
//   EXIT          close-ups   ZoomRoom 675   20  150   90  "Exit"
//   MACHINE       words       ZoomRoom  15  156  150   90  "Machine"
//   DIARY         words       ZoomRoom 180  156  150   90  "Diary"
//   ZODIAC        words       ZoomRoom 345  156  150   90  "Zodiac"
//   REGISTER      words       ZoomRoom 510  156  150   90  "Register"
//   LETTERTABLE   words       ZoomRoom 675  156  150   90  "Letter table"
//   BOX           close-ups   ZoomRoom  15  292  150   90  "Box"
//   FIGURES       close-ups   ZoomRoom 180  292  150   90  "Figures"
//   FAX           close-ups   ZoomRoom 345  292  150   90  "Fax"
//   STAIN         close-ups   ZoomRoom 510  292  150   90  "Stain"
//   LAMPS         close-ups   ZoomRoom 675  292  150   90  "Lamps"
//   TILES         close-ups   ZoomRoom  15  428  150   90  "Tiles"
//   TABLE         close-ups   ZoomRoom 180  428  150   90  "Table"
//   on the shelves, no label:
//   TOWN_NOTE     the town    quest     20  572   80   60
//   TOKEN1        words       quest    158  572   80   60
//   INV01         words       quest    296  572   80   60
//   INV02         words       quest    434  572   80   60
//   STAKANSKARAND words       quest    572  572   80   60
//   PIECE1        words       quest    710  572   80   60
//   PIECE2        words       quest     20  668   80   60
//   PIECE3        words       quest    158  668   80   60
//   JADE          close-ups   quest    296  668   80   60
//   LAMP01        close-ups   quest    434  668   80   60
//   LAMP02        close-ups   quest    572  668   80   60
//   TORCH         close-ups   quest    710  668   80   60
const std::vector<HubSlot> kTownSlots = {
    {"HEDGE", "Hedge maze", 15, 20, 150, 90},
    {"VENT", "Air vent", 180, 20, 150, 90},
    {"GARDEN", "Garden gate", 345, 20, 150, 90},
    {"SHOWER", "Shower room", 510, 20, 150, 90},
    {"EXIT", "Exit", 675, 20, 150, 90},
    {"MACHINE", "Machine", 15, 156, 150, 90},
    {"DIARY", "Diary", 180, 156, 150, 90},
    {"ZODIAC", "Zodiac", 345, 156, 150, 90},
    {"REGISTER", "Register", 510, 156, 150, 90},
    {"LETTERTABLE", "Letter table", 675, 156, 150, 90},
    {"BOX", "Box", 15, 292, 150, 90},
    {"FIGURES", "Figures", 180, 292, 150, 90},
    {"FAX", "Fax", 345, 292, 150, 90},
    {"STAIN", "Stain", 510, 292, 150, 90},
    {"LAMPS", "Lamps", 675, 292, 150, 90},
    {"TILES", "Tiles", 15, 428, 150, 90},
    {"TABLE", "Table", 180, 428, 150, 90},
    {"TOWN_NOTE", nullptr, 20, 572, 80, 60},
    {"TOKEN1", nullptr, 158, 572, 80, 60},
    {"INV01", nullptr, 296, 572, 80, 60},
    {"INV02", nullptr, 434, 572, 80, 60},
    {"STAKANSKARAND", nullptr, 572, 572, 80, 60},
    {"PIECE1", nullptr, 710, 572, 80, 60},
    {"PIECE2", nullptr, 20, 668, 80, 60},
    {"PIECE3", nullptr, 158, 668, 80, 60},
    {"JADE", nullptr, 296, 668, 80, 60},
    {"LAMP01", nullptr, 434, 668, 80, 60},
    {"LAMP02", nullptr, 572, 668, 80, 60},
    {"TORCH", nullptr, 710, 668, 80, 60},
};

constexpr HubLook kTownLook = {0xFF0E1830, 0xFF2A3450,        0xFF4A4440, 0xFF24201C, 0xFF8A7A60,
                               0xFF161A24, "Old Town Square", 585,        450};

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
    hub.image("background.png", hubBackground(kTownLook, 560, kTownSlots, fonts));
    hub.image("town_note.png", townNote());
    hub.sound("town_bell.wav", bell());
    hub.sound("cobble_step.wav", cobbleStep());
    hub.sound("paper_slide.wav", paperSlide());
    // Each room group: its rooms, and its items' pictures and sounds on the hub.
    writeTownMazes(investigation, hub);
    writeTownWords(investigation, hub);
    writeTownGarden(investigation, hub);
    writeTownCloseUps(investigation, hub);
    hub.finish();
}
