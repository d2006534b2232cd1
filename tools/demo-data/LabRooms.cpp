#include "CasePictures.h"
#include "DemoRooms.h"
#include "HubRoom.h"
#include "RoomGroups.h"
#include "Synth.h"

namespace {

// The lab's slot table: every place on the hub's wall, which room group owns it, and what the player
// reads below it. A group stands each of its items' objects in its own slots (objects.ini X/Y = the
// slot's corner, a picture at most the slot's size) and draws nothing outside them.
//
//   item          group       kind      x    y    w    h   label
//   ARCHIVE       computers   Door      30  120  150  300  "Archive"
//   PROFILE_PC    computers   ZoomRoom 215  120  180  130  "Profiles"
//   VICTIM_PC     computers   ZoomRoom 425  120  180  130  "Victim's computer"
//   SEARCH_PC     computers   ZoomRoom 635  120  180  130  "Search"
//   BENCH         chemistry   ZoomRoom 215  330  600  190  "Chemistry bench"
//   on the shelf, no label:
//   CASE_FILE     the lab     quest     40  640   90   64
//   ID_CARD       computers   quest    200  640   90   64
//   FINGERPRINTS  computers   quest    360  640   90   64
//   INFORMATION   computers   quest    520  640   90   64
//   PHONE_NUMBER  computers   quest    680  640   90   64
const std::vector<HubSlot> kLabSlots = {
    {"ARCHIVE", "Archive", 30, 120, 150, 300},
    {"PROFILE_PC", "Profiles", 215, 120, 180, 130},
    {"VICTIM_PC", "Victim's computer", 425, 120, 180, 130},
    {"SEARCH_PC", "Search", 635, 120, 180, 130},
    {"BENCH", "Chemistry bench", 215, 330, 600, 190},
    {"CASE_FILE", nullptr, 40, 640, 90, 64},
    {"ID_CARD", nullptr, 200, 640, 90, 64},
    {"FINGERPRINTS", nullptr, 360, 640, 90, 64},
    {"INFORMATION", nullptr, 520, 640, 90, 64},
    {"PHONE_NUMBER", nullptr, 680, 640, 90, 64},
};

constexpr HubLook kLabLook = {0xFF3A4A56, 0xFF2A3640,  0xFF5A646C, 0xFF30383E, 0xFF6A7A86,
                              0xFF1C242A, "Crime Lab", 422,        40};

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
    hub.image("background.png", hubBackground(kLabLook, 560, kLabSlots, fonts));
    hub.image("case_file.png", caseFile());
    hub.sound("lab_hum.wav", hum());
    hub.sound("glass_tap.wav", glassTap());
    hub.sound("paper_slide.wav", paperSlide());
    // Each room group: its rooms, and its items' pictures and sounds on the hub.
    writeLabChemistry(investigation, hub);
    writeLabComputers(investigation, hub);
    hub.finish();
}
