// Makes the demo data set: pictures drawn from simple shapes and text, bitmap fonts rendered from
// a TrueType face, synthesised sounds and music, and the waves clip; the hand-written scripts
// and settings are copied beside them. Same input, same bytes out.
//
// Usage: make_demo_data <hand-written files> <regular face .ttf> <bold face .ttf> <output folder>

#include "DataWriter.h"
#include "DemoRooms.h"
#include "InGamePictures.h"
#include "Pictures.h"
#include "RoomPictures.h"
#include "Synth.h"
#include "TextRenderer.h"
#include "WavesVideo.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

const std::string kGameData = "GameData/";
const std::string kImages = kGameData + "Images/";
const std::string kLanguage = kGameData + "Language/English/";
const std::string kSounds = kGameData + "Sounds/";
const std::string kInvestigations = kGameData + "Investigations/";

// The puzzle cases' personages: the lab's scientist in a white coat, the town's sergeant in blue.
constexpr Canvas::Color kRuscaCoat = 0xFFE8E8E0, kRuscaBackdrop = 0xFF2A4A48;
constexpr Canvas::Color kCorwinCoat = 0xFF2A3A6A, kCorwinBackdrop = 0xFF4A3A2A;

// Semitones above A4 (440 Hz).
float pitch(int semitones) {
    return 440.0f * std::pow(2.0f, float(semitones) / 12.0f);
}

void writeFonts(DataWriter& out, const std::string& regular, const std::string& bold) {
    struct Face {
        const char* name;
        const std::string& file;
        int size;
    };
    const Face faces[] = {
        {"main", regular, 20}, {"small", regular, 16}, {"blair", bold, 34}, {"credits", regular, 26}};
    for (const Face& face : faces) {
        TextRenderer renderer(face.file, face.size);
        TextRenderer::BitmapFont font = renderer.bitmapFont(std::string(face.name) + ".png");
        out.write(kLanguage + "Fonts/" + face.name + ".png", font.texture);
        out.write(kLanguage + "Fonts/" + face.name + ".fnt", font.description);
    }
}

void writePictures(DataWriter& out, PictureFonts& fonts) {
    std::string list;
    out.image(list, kImages, "Help_screen.png", helpScreen(fonts));
    out.image(list, kImages, "menu_bg.png", menuBackground());
    out.image(list, kImages, "frame.png", dialogFrame());
    out.image(list, kImages, "frame_gb.png", goldFrame());
    out.image(list, kImages, "button.png", buttonSheet(fonts.body));
    out.image(list, kImages, "slot.png", slotHover());
    out.image(list, kImages, "selector.png", selectorBar());
    out.image(list, kImages, "selection.png", selectionMarker());
    out.image(list, kImages, "balloon.png", tipBalloons());
    out.image(list, kImages, "cursor.png", arrowCursor());
    out.image(list, kImages, "check_box.png", checkBox());
    out.image(list, kImages, "check_mark.png", checkMark());
    out.image(list, kImages, "slider_track.png", sliderTrack());
    out.image(list, kImages, "slider_thumb.png", sliderThumb());
    out.image(list, kImages, "field.png", textField());
    out.image(list, kImages, "panel_bg.png", panelBackground());
    out.image(list, kImages, "notepad.png", notepadSheet());
    out.image(list, kImages, "panel_btn.png", panelButton(80, 36));
    out.image(list, kImages, "hint_btn.png", hintButton());
    out.image(list, kImages, "panel_arrow_left.png", panelArrow(false));
    out.image(list, kImages, "panel_arrow_right.png", panelArrow(true));
    out.image(list, kImages, "star.png", hintStar());
    out.image(list, kImages, "Ashby_foto.png", portrait(84));
    out.image(list, kImages, "Rusca_foto.png", portrait(84, kRuscaCoat, kRuscaBackdrop));
    out.image(list, kImages, "Corwin_foto.png", portrait(84, kCorwinCoat, kCorwinBackdrop));
    out.image(list, kImages, "The_end.png", banner(fonts, "The End"));
    out.image(list, kImages, "Investigation_complete.png", banner(fonts, "Investigation complete"));
    out.write(kImages + "_images.list", list);

    std::string panel;
    out.image(panel, kImages + "GamePanel/", "Inventory_shadow.png", inventoryShadow());
    out.image(panel, kImages + "GamePanel/", "Ashby_icon.png", portrait(76));
    out.image(panel, kImages + "GamePanel/", "Rusca_icon.png", portrait(76, kRuscaCoat, kRuscaBackdrop));
    out.image(panel, kImages + "GamePanel/", "Corwin_icon.png", portrait(76, kCorwinCoat, kCorwinBackdrop));
    out.write(kImages + "GamePanel/_images.list", panel);

    std::string loading;
    const std::string loadingFolder = kImages + "LoadingScreen/";
    out.image(loading, loadingFolder, "loading_bg.png", loadingBackground(fonts));
    out.image(loading, loadingFolder, "blot.png", inkBlot());
    out.image(loading, loadingFolder, "bar.png", progressBar());
    out.image(loading, loadingFolder, "inlay.png", progressGlow());
    out.write(loadingFolder + "_images.list", loading);

    std::string particles;
    out.image(particles, kImages + "Particles/", "fog.png", fogPuff());
    out.image(particles, kImages + "Particles/", "light.png", lightSpot());
    out.image(particles, kImages + "Particles/", "sparkle.png", sparkle());
    out.write(kImages + "Particles/_images.list", particles);

    // Lists the game reads that have nothing in them yet.
    for (const std::string& folder :
         {kImages + "Personages/", kImages + "Menu/", kLanguage + "Images/",
          kLanguage + "Images/LoadingScreen/", kLanguage + "Images/GamePanel/", kLanguage + "Images/Menu/"})
        out.write(folder + "_images.list", std::string());

    out.write("SplashScr/engine.png", engineSplash(fonts).png());
    out.write("SplashScr/demo.png", demoSplash(fonts).png());
}

std::vector<uint8_t> chord(float seconds, std::initializer_list<int> notes, Synth::Wave wave, float amp) {
    Synth s(seconds);
    for (int n : notes)
        s.note(0, seconds, pitch(n), amp, wave, 0.01f);
    s.normalize(0.7f);
    return s.wav();
}

std::vector<uint8_t> glide(float seconds, float from, float to) {
    Synth s(seconds);
    s.note(0, seconds, from, 0.6f, Synth::Wave::Triangle, 0.02f, to);
    s.normalize(0.6f);
    return s.wav();
}

void writeSounds(DataWriter& out) {
    std::string list;
    {
        Synth click(0.05f);
        click.noiseBurst(0, 0.02f, 0.5f);
        click.note(0, 0.05f, 2000, 0.4f, Synth::Wave::Sine, 0.001f);
        click.normalize(0.5f);
        out.sound(list, kSounds, "click.wav", click.wav());
    }
    out.sound(list, kSounds, "test_volume.wav", chord(0.35f, {12}, Synth::Wave::Sine, 0.6f));
    {
        Synth tip(0.35f);
        tip.note(0, 0.15f, pitch(7), 0.5f, Synth::Wave::Bell);
        tip.note(0.12f, 0.23f, pitch(14), 0.5f, Synth::Wave::Bell);
        tip.normalize(0.6f);
        out.sound(list, kSounds, "show_tip.wav", tip.wav());
    }
    {
        Synth done(1.6f);
        const int arpeggio[] = {3, 7, 10, 15};
        for (int i = 0; i < 4; ++i)
            done.note(0.13f * float(i), 1.6f - 0.13f * float(i), pitch(arpeggio[i]), 0.4f, Synth::Wave::Bell);
        done.normalize(0.75f);
        out.sound(list, kSounds, "investigation_completed.wav", done.wav());
    }
    out.sound(list, kSounds, "message_appear.wav", glide(0.22f, 520, 620));
    out.sound(list, kSounds, "show_hint.wav", chord(0.09f, {24}, Synth::Wave::Sine, 0.5f));
    out.sound(list, kSounds, "dialog_show.wav", chord(0.28f, {0, 7}, Synth::Wave::Triangle, 0.4f));
    out.sound(list, kSounds, "closeup_zoomin.wav", glide(0.3f, 300, 900));
    out.sound(list, kSounds, "closeup_zoomout.wav", glide(0.3f, 900, 300));
    // What rooms play when a thing is found, taken or missed.
    out.sound(list, kSounds, "object_click_good.wav", chord(0.18f, {19, 24}, Synth::Wave::Bell, 0.5f));
    out.sound(list, kSounds, "object_click_bad.wav", glide(0.12f, 160, 110));
    out.sound(list, kSounds, "pick_quest_item.wav", chord(0.4f, {12, 16, 19}, Synth::Wave::Bell, 0.4f));
    out.sound(list, kSounds, "pick_item_on_cursor.wav", glide(0.1f, 700, 900));
    // A thing dropped into the inventory strip falls; one lifted out of it rises.
    out.sound(list, kSounds, "inventory_item_put.wav", glide(0.12f, 620, 420));
    out.sound(list, kSounds, "inventory_item_take.wav", glide(0.12f, 420, 620));
    {
        Synth clue(0.7f);
        const int rising[] = {7, 12, 16, 19};
        for (int i = 0; i < 4; ++i)
            clue.note(0.1f * float(i), 0.7f - 0.1f * float(i), pitch(rising[i]), 0.4f, Synth::Wave::Bell);
        clue.normalize(0.6f);
        out.sound(list, kSounds, "found_clue.wav", clue.wav());
    }
    out.sound(list, kSounds, "found_inv_card.wav", glide(0.4f, 400, 1000));
    out.write(kSounds + "_sounds.list", list);

    std::string ambient;
    {
        Synth wind(3.0f, true);
        wind.wind(1.0f, 0.985f);
        wind.normalize(0.5f);
        out.sound(ambient, kSounds + "Ambient/", "wind.wav", wind.wav());
    }
    {
        Synth drip(0.4f);
        drip.note(0, 0.4f, 1800, 0.6f, Synth::Wave::Sine, 0.002f, 700);
        drip.normalize(0.5f);
        out.sound(ambient, kSounds + "Ambient/", "drip.wav", drip.wav());
    }
    out.write(kSounds + "Ambient/_sounds.list", ambient);

    Synth chime(1.4f);
    chime.note(0, 1.4f, pitch(3), 0.5f, Synth::Wave::Bell);
    chime.note(0.02f, 1.38f, pitch(10), 0.3f, Synth::Wave::Bell);
    chime.normalize(0.6f);
    out.write("SplashScr/chime.wav", chime.wav());
}

// Both tracks loop: notes that ring past the end carry on at the start.
void writeMusic(DataWriter& out) {
    const std::string folder = kGameData + "Music/";
    {
        // A slow pad over four chords, with a few bell notes above it.
        Synth theme(8.0f, true);
        const int chords[4][3] = {{0, 3, 7}, {-4, 0, 3}, {-9, -5, -2}, {-2, 2, 5}};
        for (int c = 0; c < 4; ++c)
            for (int n : chords[c]) {
                theme.note(2.0f * float(c), 2.6f, pitch(n - 12), 0.22f, Synth::Wave::Sine, 0.6f);
                theme.note(2.0f * float(c), 2.6f, pitch(n - 12) * 1.003f, 0.12f, Synth::Wave::Triangle, 0.6f);
            }
        const int melody[] = {12, 10, 7, 15, 12, 8, 7, 5};
        for (int i = 0; i < 8; ++i)
            theme.note(1.0f * float(i) + 0.5f, 1.2f, pitch(melody[i]), 0.18f, Synth::Wave::Bell);
        theme.normalize(0.6f);
        out.write(folder + "menu_theme.wav", theme.wav());
    }
    {
        // A plucked pentatonic tune over a drone, for the end credits.
        Synth tune(6.0f, true);
        tune.note(0, 6.0f, pitch(-21), 0.15f, Synth::Wave::Triangle, 1.0f);
        const int scale[] = {0, 3, 5, 7, 10, 12, 10, 7, 5, 7, 3, 0};
        for (int i = 0; i < 12; ++i)
            tune.note(0.5f * float(i), 0.6f, pitch(scale[i]), 0.35f, Synth::Wave::Triangle, 0.004f);
        tune.normalize(0.6f);
        out.write(folder + "in_the_chinatown.wav", tune.wav());
    }
    {
        // A low pulse under a slow falling figure, while the demo case is played.
        Synth pulse(6.0f, true);
        for (int beat = 0; beat < 6; ++beat)
            pulse.note(1.0f * float(beat), 0.9f, pitch(-26), 0.3f, Synth::Wave::Sine, 0.01f);
        const int figure[] = {7, 5, 3, 2, 0, -2};
        for (int i = 0; i < 6; ++i)
            pulse.note(1.0f * float(i) + 0.25f, 1.4f, pitch(figure[i]), 0.16f, Synth::Wave::Bell);
        pulse.normalize(0.5f);
        out.write(folder + "case_theme.wav", pulse.wav());
    }
    out.write(folder + "playlist.txt", std::string("menu_theme.wav\nin_the_chinatown.wav\ncase_theme.wav\n"));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <hand-written files> <regular .ttf> <bold .ttf> <output folder>\n",
                     argv[0]);
        return 2;
    }
    const std::string regular = argv[2], bold = argv[3];
    DataWriter out(argv[4]);
    out.copyTree(argv[1]);
    writeFonts(out, regular, bold);

    TextRenderer body(regular, 20), title(bold, 34), huge(bold, 72);
    PictureFonts fonts{body, title, huge};
    writePictures(out, fonts);
    writeSounds(out);
    writeMusic(out);
    writeDemoRooms(out, kInvestigations + "Demo/");
    writeLabRooms(out, kInvestigations + "Lab/", fonts);
    writeTownRooms(out, kInvestigations + "Town/", fonts);
    writeSharedRooms(out, kInvestigations, fonts);
    out.write(kGameData + "Particles/_particles.list", std::string("Fog\nWindowsLight\nMagicStars\n"));
    out.write(kGameData + "Video/waves.ogg", wavesVideo(320, 180, 15, 30));

    std::printf("demo data: %llu bytes\n", static_cast<unsigned long long>(out.totalBytes()));
    return 0;
}
