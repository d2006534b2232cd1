#pragma once
#include "Canvas.h"
#include "DataWriter.h"
#include "Pictures.h"

#include <string>
#include <vector>

// A puzzle case's hub: the room the player comes back to between puzzles, whose places lead into
// the puzzle rooms. The hub's picture reserves a slot for every item a room group puts there.

// Where an item stands on the hub (room pixels), and the label a player reads below it; things
// found there have no label and lie on the shelf.
struct HubSlot {
    const char* item;
    const char* label; // null: a place on the shelf
    int x, y, w, h;
};

// The hub's looks: its wall, its floor, the colours of its places, and its name on a sign centred
// at (titleX, titleY).
struct HubLook {
    Canvas::Color wallTop, wallBottom, floorTop, floorBottom, frame, inset;
    const char* title;
    int titleX, titleY;
};

// The hub's picture, 845 x 768 (the whole room area), the floor from `floorY` down: every labelled
// slot framed, with its label on a plate below it; a shelf's slot a hollow on a board.
Canvas hubBackground(const HubLook& look, int floorY, const std::vector<HubSlot>& slots, PictureFonts& fonts);

// The files of one hub room, as its own writer and the writers of its room groups fill them: each
// picture and sound lands in the hub's folder and on the hub's lists, written once all are in.
class HubFiles {
public:
    HubFiles(DataWriter& out, std::string folder, PictureFonts& fonts)
        : m_out(out), m_folder(std::move(folder)), m_fonts(fonts) {}

    void image(const std::string& file, const Canvas& picture) {
        m_out.image(m_images, m_folder + "Images/", file, picture);
    }
    void sound(const std::string& file, const std::vector<uint8_t>& wav) {
        m_out.sound(m_sounds, m_folder + "Sounds/", file, wav);
    }
    // Writes the picture and sound lists.
    void finish() {
        m_out.write(m_folder + "Images/_images.list", m_images);
        m_out.write(m_folder + "Sounds/_sounds.list", m_sounds);
    }

    DataWriter& out() { return m_out; }
    PictureFonts& fonts() { return m_fonts; }

private:
    DataWriter& m_out;
    const std::string m_folder;
    PictureFonts& m_fonts;
    std::string m_images, m_sounds;
};

// The picture shrunk to fit a square of `size`, each pixel the average of those it covers: the
// smaller picture the inventory strip shows of a find ("<picture>_icon").
Canvas fitted(const Canvas& src, int size);

// The sound of a sheet of paper taken up, which both hubs play when their note is picked.
std::vector<uint8_t> paperSlide();
