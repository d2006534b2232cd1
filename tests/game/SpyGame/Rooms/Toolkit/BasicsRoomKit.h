#pragma once
#include "../RoomFrameKit.h"
#include "support/game/BasicsTestRoom.h"
#include "support/game/TestRoomsManager.h"

#include <algorithm>
#include <string>
#include <vector>

// The test room "zoom_Basics" beside the hall, played by Ann: two text boxes at the top, the menu's
// pictures in a row at y 100 (BTN_A at 220, BTN_B at 250, MENU_TEXT at 280, MENU at 300, BTN_A_ON over
// BTN_A), the cell markers M1 (three positions from x 20, y 150, 25 apart) and M2 (two from x 20,
// y 200), the bar at (10, 250) 100 x 20 (dark blue), and a 64 x 32 paint page at (100, 150) whose 16 x 8
// source picture lies at (110, 155). Pictures are 20 x 20: white, BTN_A_ON red, MENU_TEXT blue, MENU olive.
class BasicsRoomTest : public RoomFrameTestOn<TestRoomsManager<BasicsTestRoom>> {
protected:
    static constexpr const char* Name = "zoom_Basics";

    void SetUp() override {
        for (const char* sound : {"type_key", "menu_click", "menu_hover"})
            addSound(sound);
        writeRoom(Name, std::string("Class = BasicsTestRoom\n") + roomSections(), roomObjects(), roomItems(),
                  400, 300);
        addPicture("page", 16, 8, 0xFF00FF00);
        addPicture("strip", 100, 20, 0xFFFFFFFF);
        play("", "", "[ROOM]\n", std::string(Name) + "\n");
        room = dynamic_cast<BasicsTestRoom*>(rooms.GetRoom(Name));
        ASSERT_TRUE(room);
        playing = room;
        room->Enter("Demo", nullptr);
        quiet();
    }

    virtual std::string roomSections() const {
        return "[Cells]\ndx = 5\ndy = -1\ngroups = M1, 3, M2, 2\nM1 = 1\nM2 = 0, 1\n"
               "[ScreenInventaryPair]\nPHOTO = PHOTO_INV\nLETTER = LETTER_INV\n"
               "[Paint]\nrect = 100 150 64 32\nplace = 110 155 0 0\nbrush = 0 0 4 4\ncolor = FF336699\n"
               "limit = 200\nspeed = 2\n";
    }
    static std::string roomObjects() {
        std::string text =
            "[box1]\nClass = text\nFont = text\nColor = FF202020\nX = 210\nY = 20\nWidth = 150\nHeight = 16\n"
            "[box2]\nClass = text\nFont = text\nColor = FF202020\nX = 210\nY = 40\nWidth = 150\nHeight = 16\n"
            "[bar]\nClass = image\nImage = strip\nX = 10\nY = 250\nColor = FF000040\n";
        text += objects({{"btn_a", 220, 100},
                         {"btn_a_on", 220, 100},
                         {"btn_b", 250, 100},
                         {"menu_text", 280, 100},
                         {"menu", 300, 100},
                         {"m1", 20, 150},
                         {"m2", 20, 200}});
        for (const auto& [object, color] :
             {std::pair{"btn_a_on", "FFFF0000"}, {"menu_text", "FF0000FF"}, {"menu", "FF808000"}})
            text.replace(text.find(std::string("[") + object + "]\n"), std::string(object).size() + 3,
                         std::string("[") + object + "]\nColor = " + color + "\n");
        return text;
    }
    static std::string roomItems() {
        std::string text;
        for (const char* name :
             {"BOX1", "BOX2", "BAR", "BTN_A", "BTN_A_ON", "BTN_B", "MENU_TEXT", "MENU", "M1", "M2"}) {
            std::string object = name;
            std::transform(object.begin(), object.end(), object.begin(), ::tolower);
            text += std::string("[") + name + "]\nObject = " + object + "\n";
        }
        return text;
    }
    // A picture of the room's group, listed after the others.
    void addPicture(const std::string& name, u32 w, u32 h, u32 argb) {
        const std::string folder = std::string("Demo/") + Name + "/Images/";
        dir.write(folder + name + ".png",
                  imagefiles::text(imagefiles::png(w, h, std::vector<u32>(w * h, argb))));
        dir.write(folder + "_images.list", dir.read(folder + "_images.list") + name + ".png 8888 8888\n");
    }

    // The sounds of the toolkit objects that play now, stopped (and every other sound with them).
    std::vector<std::string> toolkitSounds() {
        std::vector<std::string> names = played();
        std::erase_if(names, [](const std::string& n) {
            return n != "type_key" && n != "menu_click" && n != "menu_hover";
        });
        return names;
    }

    CSpyItem& item(const std::string& name) { return *room->GetItem(name); }

    BasicsTestRoom* room = nullptr;
};
