#pragma once
#include "MazeRoomKit.h"

#include <string>

// A duct of 600 x 400 pixels on a grid of columns 20 pixels wide ("CellHeight") and rows 10 high
// ("CellWidth"), walls everywhere but: a corridor along row 5 (columns 1 to 28) where the figure rests
// at (50, 55) with the dragon's place over columns 8 and 9 and the exit's over 25 and 26; a shaft down
// column 15 to row 25; row 25 from column 15 to 21; column 21 from row 20 down, column 20 from row 22.
class VentMazeTest : public RoomFrameTestOn<MazeRooms> {
protected:
    static constexpr u32 RoomW = 600, RoomH = 400;

    struct Layout {
        std::string figure =
            "x = 50\ny = 55\nspeed = 10\nlightR = 1.5\ndistance = 100\nkeyDelta = 7\nstate = 1\n";
        std::string mapInfo = "CellWidth = 10\nCellHeight = 20\nUnitSize = 1\n";
        bool withFigure = true;
    };

    void playVent() { playVent(Layout()); }
    void playVent(const Layout& layout) {
        addSound("ventilation_steps");
        const std::string folder = "Demo/zoom_Vent/";
        PixelGrid map(RoomW, RoomH, 20, 10);
        map.paint(0, 0, RoomW, RoomH, true);
        map.paint(20, 50, 560, 10, false);
        map.paint(300, 50, 20, 210, false);
        map.paint(300, 250, 140, 10, false);
        map.paint(420, 200, 20, 60, false);
        map.paint(400, 220, 20, 40, false);
        RoomPictures pictures;
        pictures.add("FUN1", 400, 300, 30, 30, 0xFF808080);
        pictures.add("DRAGON", 160, 40, 40, 30, 0xFFFF0000, false);
        pictures.add("EXIT", 500, 40, 40, 30, 0xFF00FF00, false);
        pictures.add("FOTO_DRAGO", 20, 300, 60, 40, 0xFFFF8080, false);
        pictures.add("FOTO_EXIT", 100, 300, 60, 40, 0xFF80FF80, false);
        if (layout.withFigure) {
            pictures.add("LIGHT", 0, 0, 60, 40, 0x80FFFF80, true, 0xC0FFFFFF);
            pictures.add("ANIMATION1U", 0, 0, 20, 20, 0xFFFF60A0, false);
            pictures.add("ANIMATION1IDLEU", 0, 0, 20, 20, 0xFFA060FF, false);
        }
        pictures.write(dir, folder, RoomW, RoomH);
        auto section = [](const char* name, const std::string& keys) {
            return keys.empty() ? std::string() : std::string("[").append(name).append("]\n").append(keys);
        };
        dir.write(folder + "room.ini",
                  "[Room]\nClass = VentMazePuzzleRoom\n" + section("MapInfo", layout.mapInfo) +
                      section("Rusca", layout.figure) + "[Funs]\ncount = 1\nFUN1 = 90 5 -5\n");
        dir.write(folder + "objects.ini", pictures.objects);
        dir.write(folder + "items.ini", pictures.items);
        dir.write(folder + "darkway.map", map.file());
        play("", "", "[ROOM]\n", "zoom_Vent\n");
        vent = dynamic_cast<VentProbe*>(rooms.GetRoom("zoom_Vent"));
        ASSERT_TRUE(vent);
        playing = vent;
        vent->Enter("Demo", nullptr);
        quiet();
    }

    bool isPlaying(const std::string& sound) { return res->getSoundManager()->getSound(sound)->isPlaying(); }

    CSpyItem& ventItem(const std::string& name) { return *vent->GetItem(name); }
    CSpyItem* figure() {
        CSpyItem& crawling = ventItem("ANIMATION1U");
        return crawling.IsVisible() ? &crawling : &ventItem("ANIMATION1IDLEU");
    }
    SpyPoint figureCentre() {
        const CSpyItem* f = figure();
        return {f->GetPos().x + f->GetWidth() / 2, f->GetPos().y + f->GetHeight() / 2};
    }
    // Frames until the figure rests; false when that takes too long.
    bool rest(int frames = 2000) {
        for (int i = 0; i < frames && !vent->GetPath().Empty(); ++i)
            frame(0, 0);
        return vent->GetPath().Empty();
    }

    VentProbe* vent = nullptr;
    SaveRecords records;
};
