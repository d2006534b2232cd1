#include "CasePictures.h"
#include "DemoRooms.h"
#include "HubRoom.h"
#include "RoomGroups.h"
#include "Synth.h"

namespace {

// The lab's slot table: every place on the hub's wall, which room group owns it, and what the player
// reads below it. A group stands each of its items' objects in its own slots (objects.ini X/Y = the
// slot's corner, a picture at most the slot's size) and draws nothing outside them. The room's
// bottom hundred pixels stay clear: the message box covers them.
//
//   item          group       kind      x    y    w    h   label
//   ARCHIVE       computers   Door      30  110  150  290  "Archive"
//   PROFILE_PC    computers   ZoomRoom 215  110  180  120  "Profiles"
//   VICTIM_PC     computers   ZoomRoom 425  110  180  120  "Victim's computer"
//   SEARCH_PC     computers   ZoomRoom 635  110  180  120  "Search"
//   BENCH         chemistry   ZoomRoom 215  300  600  170  "Chemistry bench"
//   on the shelf, no label:
//   CASE_FILE     the lab     quest     40  540   90   60
//   ID_CARD       computers   quest    200  540   90   60
//   FINGERPRINTS  computers   quest    360  540   90   60
//   INFORMATION   computers   quest    520  540   90   60
//   PHONE_NUMBER  computers   quest    680  540   90   60
const std::vector<HubSlot> kLabSlots = {
    {"ARCHIVE", "Archive", 30, 110, 150, 290},
    {"PROFILE_PC", "Profiles", 215, 110, 180, 120},
    {"VICTIM_PC", "Victim's computer", 425, 110, 180, 120},
    {"SEARCH_PC", "Search", 635, 110, 180, 120},
    {"BENCH", "Chemistry bench", 215, 300, 600, 170},
    {"CASE_FILE", nullptr, 40, 540, 90, 60},
    {"ID_CARD", nullptr, 200, 540, 90, 60},
    {"FINGERPRINTS", nullptr, 360, 540, 90, 60},
    {"INFORMATION", nullptr, 520, 540, 90, 60},
    {"PHONE_NUMBER", nullptr, 680, 540, 90, 60},
};

constexpr HubLook kLabLook = {.wallTop = 0xFF3A4A56,
                              .wallBottom = 0xFF2A3640,
                              .floorTop = 0xFF5A646C,
                              .floorBottom = 0xFF30383E,
                              .frame = 0xFF6A7A86,
                              .inset = 0xFF1C242A,
                              .title = "Crime Lab",
                              .titleX = 422,
                              .titleY = 36};

// The strip lights' hum, a loop of two close tones.
std::vector<uint8_t> hum() {
    Synth s(1.5f, true);
    s.note(0, 1.5f, 120, 0.4f, Synth::Wave::Sine, 0.3f);
    s.note(0, 1.5f, 240.5f, 0.15f, Synth::Wave::Sine, 0.3f);
    s.normalize(0.4f);
    return s.wav();
}

std::vector<uint8_t> glassTap() {
    Synth s(0.3f);
    s.note(0, 0.3f, 2400, 0.5f, Synth::Wave::Bell, 0.001f);
    s.normalize(0.4f);
    return s.wav();
}

} // namespace

void writeLabRooms(DataWriter& out, const std::string& investigation, PictureFonts& fonts) {
    HubFiles hub(out, investigation + "room_Lab/", fonts);
    hub.image("background.png", hubBackground(kLabLook, 520, kLabSlots, fonts));
    hub.image("case_file.png", caseFile());
    hub.sound("lab_hum.wav", hum());
    hub.sound("glass_tap.wav", glassTap());
    hub.sound("paper_slide.wav", paperSlide());
    // Each room group: its rooms, and its items' pictures and sounds on the hub.
    writeLabChemistry(investigation, hub);
    writeLabComputers(investigation, hub);
    hub.finish();
}
