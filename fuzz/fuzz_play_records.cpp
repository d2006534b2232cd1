#include "fuzz_record_stream.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "tk2v/gui/Server.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// Input: a selector byte, then the record data of the game panel, the strip of an inventory on it,
// the panel's message box or its tip manager, put into a valid stream under that entity's name. The
// entity loads it, is saved, and loads what it saved.

namespace {

const char* const Windows = R"(window SpyGameInterface
{
  AreaRect 0 0 1024 768
  widget GamePanel
  {
    AreaRect 0 600 1024 168
  }
  widget BlockWidget
  {
    AreaRect 0 0 1024 600
  }
  widget BackBtnPanel
  {
    AreaRect 900 0 124 60
    widget Back
    {
      AreaRect 10 10 100 40
    }
  }
  widget SolveBtnPanel
  {
    AreaRect 900 100 124 60
    widget Solve
    {
      AreaRect 10 10 100 40
    }
  }
  widget Map
  {
    AreaRect 540 610 60 40
  }
  widget PersonagesNotepads
  {
    AreaRect 0 120 200 400
    widget Ann
    {
      AreaRect 10 20 190 380
      statictext text
      {
        AreaRect 5 10 180 16
      }
    }
  }
  widget ArrowLeft
  {
    AreaRect 70 650 20 50
  }
  widget ArrowRight
  {
    AreaRect 320 650 20 50
  }
  widget Hints
  {
    AreaRect 700 610 80 40
  }
  widget InventoryArea
  {
    AreaRect 100 650 209 50
  }
}
window Message
{
  AreaRect 112 560 800 100
  Visible 0
  statictext text
  {
    AreaRect 100 14 600 72
  }
  widget Close
  {
    AreaRect 704 30 84 40
  }
}
)";

const std::string& folder() {
    return fuzzScratchFolder("fuzz_play_records");
}

void writeFile(const std::string& name, const std::string& bytes) {
    writeScratchFile(folder(), name, bytes);
}

// Items of the one room Hall.
struct OneRoom : CRoomItemLookup {
    CSpyItemManager hall;
    bool HasItem(const std::string&, const std::string& item) const override { return hall.HasItem(item); }
    CSpyItem* GetItem(const std::string& room, const std::string& item) const override {
        return room == "Hall" ? hall.GetItem(item) : nullptr;
    }
    CSpyItem* GetItemByFullName(const std::string& name) const override {
        const size_t colon = name.find(':');
        return colon == std::string::npos ? nullptr : GetItem(name.substr(0, colon), name.substr(colon + 1));
    }
};

struct World {
    CResManager res{false};
    GUI::Server gui{res.getImageManager(), res.getSoundManager()};
    OneRoom rooms;
    CDialogSpyGamePanel panel;
    CInventory inventory;

    World() {
        writeFile("windows.agui", Windows);
        gui.load(folder() + "windows.agui");
        gui.InitializeWidgets();
        writeFile("Hall/objects.ini", "[key]\nClass = object\n");
        writeFile("Hall/items.ini", "[KEY]\nObject = key\n[PEN]\n");
        rooms.hall.CreateItems(&rooms, "Hall", folder() + "Hall/");
        rooms.hall.ResetItems();
        panel.Init();
        panel.SetPersonage("Ann");
        inventory.Init("Ann", &panel, &rooms);
        panel.SetInventory(&inventory);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    static World world;
    SaveLoadEntity* entities[] = {&world.panel, &world.inventory, &world.panel.GetMessage(),
                                  &world.panel.GetTipManager()};
    SaveLoadEntity& entity = *entities[data[0] % 4];
    writeFile("in.save", oneRecordStream(entity.getName(), data + 1, size - 1));
    loadFromStream(entity, folder() + "in.save");
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(entity);
    save.Finish();
    loadFromStream(entity, folder() + "out.save");
    return 0;
}
