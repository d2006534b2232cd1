#pragma once
#include "MazeRoomKit.h"

#include <array>
#include <string>

// A garden of 3 x 3 cells CELL1 .. CELL9 of 200 x 180 pixels filling the maze rectangle from (300, 100)
// row by row, in a room of 1100 x 800 laid on a grid of 10-pixel cells. Hedges one grid cell thick run
// along every cell border; an open side is a passage three grid cells wide in the middle of its border.
// Gate 23 stands in the passage between cells 2 and 3 (stills 40 x 60 at (680, 170)). Marwenn's and
// Tez's poses are 30 x 30. Workers run inline: a plan is made when its worker starts and taken over at
// the next frame.
class GardenMazeTest : public RoomFrameTestOn<MazeRooms> {
protected:
    static constexpr u32 RoomW = 1100, RoomH = 800, Step = 10;

    struct Layout {
        // Open sides of cells 1 .. 9 (0 left, 1 right, 2 above, 3 below).
        std::array<const char*, 9> sides;
        const char* start = "2";
        std::string timers = "OpenDoor = 0.2\nCloseDoor = 0.3\nTezSpeed = 10\nMarwennSpeed = 10\n";
        std::string mapInfo = "UnitSize = 1\n";
        std::string doors = "d2 = 23 1\nd3 = 23 0\n";
    };

    static SpyPoint cellCentre(int cell) {
        const int c = (cell - 1) % 3, r = (cell - 1) / 3;
        return {f32(400 + 200 * c), f32(190 + 180 * r)};
    }

    void playGarden(const Layout& layout) {
        addSound("rosary_steps");
        addSound("rosary_gate_open");
        addSound("rosary_gate_close");
        const std::string folder = "Demo/zoom_Garden/";
        RoomPictures pictures;
        PixelGrid map(RoomW, RoomH, Step, Step);
        for (int cell = 1; cell <= 9; ++cell) {
            const int c = (cell - 1) % 3, r = (cell - 1) / 3, x = 300 + 200 * c, y = 100 + 180 * r;
            pictures.add("CELL" + std::to_string(cell), x, y, 200, 180, 0x18FFFFFF);
            map.paint(x, y, 10, 190, true);
            map.paint(x + 200, y, 10, 190, true);
            map.paint(x, y, 210, 10, true);
            map.paint(x, y + 180, 210, 10, true);
        }
        for (int cell = 1; cell <= 9; ++cell) {
            const int c = (cell - 1) % 3, r = (cell - 1) / 3, x = 300 + 200 * c, y = 100 + 180 * r;
            for (const char* s = layout.sides[cell - 1]; *s; ++s) {
                if (*s == '0' || *s == '1')
                    map.paint(*s == '0' ? x : x + 200, y + 80, 10, 30, false);
                if (*s == '2' || *s == '3')
                    map.paint(x + 90, *s == '2' ? y : y + 180, 30, 10, false);
            }
        }
        pictures.add("OTKRVOROTA23", 680, 170, 40, 60, 0xFF806020);
        pictures.add("ZAKRVOROTA23", 680, 170, 40, 60, 0xFF402000, false);
        pictures.add("23", 680, 170, 40, 60, 0xFF604010, false);
        for (const char* walker : {"1", "2"})
            for (const char* suffix : CMazeWalker::PoseSuffixes)
                pictures.add(std::string("ANIMATION") + walker + suffix, 0, 0, 30, 30,
                             *walker == '1' ? 0xFFFF60A0 : 0xFF40C040, false);
        pictures.add("WO_TEZ_INFO", 20, 20, 40, 40, 0xFFFFFF00, false);
        pictures.add("WO_TEZ_SUSPECT", 80, 20, 40, 40, 0xFF00FFFF, false);
        pictures.write(dir, folder, RoomW, RoomH);
        std::string cells = "ids = 1, 2, 3, 4, 5, 6, 7, 8, 9\n" + layout.doors;
        for (int cell = 1; cell <= 9; ++cell) {
            std::string list;
            for (const char* s = layout.sides[cell - 1]; *s; ++s)
                list += std::string(list.empty() ? "" : ", ") + *s;
            cells += std::to_string(cell) + " = " + list + "\n";
        }
        dir.write(folder + "room.ini", "[Room]\nClass = GardenMazeRoom\n[MapInfo]\nCellWidth = 10\n"
                                       "CellHeight = 10\nStartCell = " +
                                           std::string(layout.start) + "\n" + layout.mapInfo + "[Timers]\n" +
                                           layout.timers + "[Doors]\nids = 23\n23 = 0 0\n[Cells]\n" + cells);
        dir.write(folder + "objects.ini", pictures.objects);
        dir.write(folder + "items.ini", pictures.items);
        dir.write(folder + "garden.map", map.file());
        play("", "", "[ROOM]\n", "zoom_Garden\n");
        garden = dynamic_cast<GardenProbe*>(rooms.GetRoom("zoom_Garden"));
        ASSERT_TRUE(garden);
        garden->SetWorkersInline(true);
        playing = garden;
        garden->Enter("Demo", nullptr);
        quiet();
    }

    const CMazeWalker& player() const { return garden->GetPlayer(); }
    const CMazeWalker& tez() const { return garden->GetTez(); }
    // The cell a walker counts as standing in, as a number of the list (0 for none).
    static int cellOf(const CMazeWalker& walker) { return walker.cell + 1; }

    // Both stand still with nothing planned or queued.
    bool settled() const {
        return player().state == CMazeWalker::Idle && tez().state == CMazeWalker::Idle &&
               garden->GetTezStepCount() == 0 && !garden->IsWorkerPending();
    }
    // Frames until all is settled; false when that takes too long.
    bool settle(int frames = 4000) {
        for (int i = 0; i < frames && !settled(); ++i)
            frame(0, 0);
        return settled();
    }
    // A click, then frames until all stands still.
    bool clickAndSettle(SpyPoint at) {
        clickAt(i32(at.x), i32(at.y));
        return settle();
    }

    // The maze's own sounds started since the last look (a click on a cell also sounds the room's bad
    // click, as in any room).
    std::vector<std::string> mazeSounds() {
        std::vector<std::string> names = started();
        std::erase_if(names, [](const std::string& name) { return name.rfind("rosary_", 0) != 0; });
        return names;
    }

    bool isPlaying(const std::string& sound) { return res->getSoundManager()->getSound(sound)->isPlaying(); }

    CSpyItem& gardenItem(const std::string& name) { return *garden->GetItem(name); }
    // The room's own record, as a save writes it.
    std::string record() { return records.save(*garden); }
    // The room saved with its items into a stream, reset as for a new game and loaded back.
    void reload() {
        const std::string path = dir.file("garden.save");
        SaveLoadSystem out;
        out.BeginSave(path, 1);
        out.SaveEntity(*garden);
        ASSERT_TRUE(out.Finish());
        garden->Reset();
        SaveLoadSystem in;
        ASSERT_TRUE(in.Load(path, 1));
        ASSERT_TRUE(in.LoadEntity(*garden));
        in.Finish();
    }
    // Saved, loaded into the reset room and saved again: the same bytes, the items' too.
    void expectSameRecordAfterReload() {
        const std::string bytes = record(), items = records.save(garden->GetItemManager());
        reload();
        EXPECT_EQ(record(), bytes);
        EXPECT_EQ(records.save(garden->GetItemManager()), items);
    }

    GardenProbe* garden = nullptr;
    SaveRecords records;
};
