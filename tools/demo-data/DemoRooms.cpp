#include "DemoRooms.h"

#include "CasePictures.h"
#include "InGamePictures.h"
#include "RoomPictures.h"
#include "Synth.h"

namespace {

std::vector<uint8_t> bell(float seconds, std::initializer_list<float> freqs, float spacing) {
    Synth s(seconds);
    float start = 0;
    for (float f : freqs) {
        s.note(start, seconds - start, f, 0.5f, Synth::Wave::Bell);
        start += spacing;
    }
    s.normalize(0.6f);
    return s.wav();
}

std::vector<uint8_t> creak(float seconds, float from, float to) {
    Synth s(seconds);
    s.note(0, seconds, from, 0.5f, Synth::Wave::Triangle, 0.05f, to);
    s.noiseBurst(0, seconds * 0.5f, 0.1f);
    s.normalize(0.5f);
    return s.wav();
}

std::vector<uint8_t> knock(float seconds, float freq) {
    Synth s(seconds);
    s.noiseBurst(0, 0.03f, 0.6f);
    s.note(0, seconds, freq, 0.6f, Synth::Wave::Sine, 0.001f, freq * 0.6f);
    s.normalize(0.5f);
    return s.wav();
}

void writeHall(DataWriter& out, const std::string& room) {
    std::string images;
    const std::string folder = room + "Images/";
    out.image(images, folder, "background.png", hallBackground());
    out.image(images, folder, "cup1.png", cup(0xFFE8E4DC));
    out.image(images, folder, "cup2.png", cup(0xFF4A7AA8));
    out.image(images, folder, "cup3.png", cup(0xFFB04A3A));
    out.image(images, folder, "hat.png", hat());
    out.image(images, folder, "desk.png", desk());
    out.image(images, folder, "desk_glow.png", deskGlow());
    out.image(images, folder, "study_door.png", studyDoor(false));
    out.image(images, folder, "study_door_open.png", studyDoor(true));
    out.image(images, folder, "clock_frames.png", clockFrames());
    out.image(images, folder, "candlestick.png", candlestick());
    out.image(images, folder, "sign_board.png", signBoard());
    out.write(folder + "_images.list", images);

    std::string sounds;
    out.sound(sounds, room + "Sounds/", "clock_tick.wav", knock(0.12f, 1400));
    out.sound(sounds, room + "Sounds/", "door_creak.wav", creak(0.6f, 180, 110));
    out.sound(sounds, room + "Sounds/", "hall_chime.wav", bell(1.2f, {523.3f, 659.3f, 784.0f}, 0.25f));
    out.write(room + "Sounds/_sounds.list", sounds);
}

void writeDeskTop(DataWriter& out, const std::string& room) {
    std::string images;
    const std::string folder = room + "Images/";
    out.image(images, folder, "background.png", deskTopBackground());
    out.image(images, folder, "key.png", brassKey());
    out.image(images, folder, "key_icon.png", brassKeyIcon());
    out.image(images, folder, "key_glow.png", keyGlow());
    out.image(images, folder, "papers.png", papers());
    out.write(folder + "_images.list", images);

    std::string sounds;
    out.sound(sounds, room + "Sounds/", "key_jingle.wav", bell(0.4f, {2093.0f, 2637.0f, 2349.3f}, 0.07f));
    out.sound(sounds, room + "Sounds/", "paper_rustle.wav", knock(0.2f, 300));
    out.write(room + "Sounds/_sounds.list", sounds);
}

void writeStudy(DataWriter& out, const std::string& room) {
    std::string images;
    const std::string folder = room + "Images/";
    out.image(images, folder, "background.png", studyBackground());
    out.image(images, folder, "safe.png", safe(false));
    out.image(images, folder, "safe_open.png", safe(true));
    out.image(images, folder, "fingerprint.png", fingerprintCard());
    out.image(images, folder, "letter.png", envelope());
    out.write(folder + "_images.list", images);

    std::string sounds;
    out.sound(sounds, room + "Sounds/", "safe_unlock.wav", knock(0.25f, 900));
    out.sound(sounds, room + "Sounds/", "safe_open.wav", creak(0.5f, 140, 90));
    out.sound(sounds, room + "Sounds/", "thud.wav", knock(0.18f, 120));
    out.write(room + "Sounds/_sounds.list", sounds);
}

} // namespace

void writeDemoRooms(DataWriter& out, const std::string& investigation) {
    writeHall(out, investigation + "room_Hall/");
    writeDeskTop(out, investigation + "zoom_Desk/");
    writeStudy(out, investigation + "room_Study/");
}

void writeSharedRooms(DataWriter& out, const std::string& investigations, PictureFonts& fonts) {
    {
        const std::string room = investigations + "_GlobalMap/";
        std::string images, sounds;
        out.image(images, room + "Images/", "background.png", mapBackground());
        out.image(images, room + "Images/", "hall.png", mapPlace(false));
        out.image(images, room + "Images/", "study.png", mapPlace(true));
        out.image(images, room + "Images/", "hall_done.png", mapPlaceDone());
        out.image(images, room + "Images/", "lab.png", mapLabPlace());
        out.image(images, room + "Images/", "town.png", mapTownPlace());
        out.write(room + "Images/_images.list", images);
        out.sound(sounds, room + "Sounds/", "cursor_hover_icon.wav", knock(0.08f, 1200));
        out.write(room + "Sounds/_sounds.list", sounds);
    }
    {
        const std::string room = investigations + "_InvestigationCards/";
        std::string images;
        out.image(images, room + "Images/", "background.png", boardBackground(0xFF22304A));
        out.image(images, room + "Images/", "card_slot.png", cardSlot());
        out.image(images, room + "Images/", "letter_icon.png", cardThumbnail());
        out.write(room + "Images/_images.list", images);
        out.write(room + "InvCards/LETTER.jng", letterCard(fonts).jng(85));
    }
    {
        const std::string room = investigations + "Demo/Evidence_box/";
        std::string images;
        out.image(images, room + "Images/", "background.png", boardBackground(0xFF2A4A32));
        out.image(images, room + "Images/", "fingerprint.png", fingerprintCard());
        out.write(room + "Images/_images.list", images);
    }
    for (int page = 1; page <= 2; ++page)
        out.write(investigations + "Demo/Comics/Intro_p" + std::to_string(page) + ".jpg",
                  comicPage(fonts, page).jpeg(80));
}
