#include "ToolkitTestRoom.h"
#include "fuzz_record_stream.h"
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/game/BasicsTestRoom.h"
#include "support/game/TestRoomsManager.h"

#include <cstdint>
#include <string>

// Input: the record data of a toolkit test room (the room base's part, then the basics room's edit
// boxes, menu, cells, pairs, timer, bar, key repeater and paint layer, or the toolkit room's drag
// manager, disk, pulse, fade, hiding, lamps, physics and walker), put into a valid stream under each
// room's name. Each room loads it, is saved, and loads what it saved; a few frames run in between.

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_toolkit_records");
}

struct World {
    CResManager res{false};
    TestRoomsManager<BasicsTestRoom, ToolkitTestRoom> rooms;
    CPersonagesManager personages;
    BasicsTestRoom* room = nullptr;
    ToolkitTestRoom* toolkit = nullptr;

    World() {
        const std::string room = "zoom_Basics/";
        writeScratchFile(folder(), room + "room.ini",
                         "[Room]\nClass = BasicsTestRoom\n[Cells]\ndx = 5\ndy = -1\ngroups = M1, 3, M2, 2\n"
                         "M1 = 1\nM2 = 0, 1\n[ScreenInventaryPair]\nPHOTO = PHOTO_INV\n"
                         "[Paint]\nrect = 0 0 16 8\nplace = 2 2 0 0\nbrush = 0 0 2 2\ncolor = FF336699\n"
                         "limit = 200\nspeed = 2\n");
        writeScratchFile(folder(), room + "objects.ini",
                         "[box1]\nClass = text\n[box2]\nClass = text\n[bar]\nClass = object\n"
                         "[btn_a]\nClass = object\n[btn_a_on]\nClass = object\n[btn_b]\nClass = object\n"
                         "[menu_text]\nClass = object\n[menu]\nClass = object\n[m1]\nClass = object\n"
                         "[m2]\nClass = object\n");
        std::string items;
        for (const char* name :
             {"BOX1", "BOX2", "BAR", "BTN_A", "BTN_A_ON", "BTN_B", "MENU_TEXT", "MENU", "M1", "M2"}) {
            std::string object = name;
            for (char& c : object)
                c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
            items += std::string("[") + name + "]\nObject = " + object + "\n";
        }
        writeScratchFile(folder(), room + "items.ini", items);
        writeToolkitRoom();
        writeScratchFile(folder(), "_rooms.list", "zoom_Basics\nzoom_Toolkit\n");
        loadRooms(res, rooms, &personages, folder());
        this->room = rooms.HasRoom("zoom_Basics")
                         ? dynamic_cast<BasicsTestRoom*>(rooms.GetRoom("zoom_Basics"))
                         : nullptr;
        toolkit = rooms.HasRoom("zoom_Toolkit")
                      ? dynamic_cast<ToolkitTestRoom*>(rooms.GetRoom("zoom_Toolkit"))
                      : nullptr;
    }

    static void writeToolkitRoom() {
        const std::string room = "zoom_Toolkit/";
        writeScratchFile(
            folder(), room + "room.ini",
            "[Room]\nClass = ToolkitTestRoom\n[Tiles]\nSLOT1 = 60 20 20 20\nSLOT2 = 20 20 20 20\n"
            "[LEAF]\nmass = 2\nfriction = SQR\n");
        std::string objects, items;
        for (const char* name : {"TILE1", "TILE2", "DISK", "COVER", "SEAL", "LEAF", "LAMP1", "LAMP2", "LAMP3",
                                 "WALK1", "WALK2", "PRIZE"}) {
            std::string object = name;
            for (char& c : object)
                c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
            objects += "[" + object + "]\nClass = object\n";
            items += std::string("[") + name + "]\nObject = " + object + "\n";
        }
        writeScratchFile(folder(), room + "objects.ini", objects);
        writeScratchFile(folder(), room + "items.ini", items);
    }
};

} // namespace

namespace {

void playRecord(CRoomBase& room, const uint8_t* data, size_t size) {
    writeScratchFile(folder(), "in.save", oneRecordStream(room.getName(), data, size));
    loadFromStream(room, folder() + "in.save");
    for (int i = 0; i < 3; ++i)
        room.FrameMove(0.25f, false);
    room.Render();
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(room);
    save.Finish();
    loadFromStream(room, folder() + "out.save");
    room.Reset();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    static World world;
    if (world.room)
        playRecord(*world.room, data, size);
    if (world.toolkit)
        playRecord(*world.toolkit, data, size);
    return 0;
}
