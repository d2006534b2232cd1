#include "game/CResManager.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/CSpyObject.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// Input: a u16 length, that many bytes of objects.ini and the rest as items.ini. The room is built without
// pictures, animations or particle systems (as in a room whose lists failed), reset, stepped, hit-tested,
// clicked, applied to and put into the inventory, with "room:item" references answered for the room itself;
// its objects are scaled, moved and hit-tested over a small grid on their own too.

namespace {

const std::string& folder() {
    static const std::string path = "/tmp/fuzz_scene_ini_" + std::to_string(getpid()) + "/";
    static const bool made = [] {
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(path); });
        return true;
    }();
    (void)made;
    return path;
}

void write(const std::string& name, const uint8_t* data, size_t size) {
    if (std::FILE* file = std::fopen((folder() + name).c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}

struct OneRoom : CRoomItemLookup {
    bool HasItem(const std::string& room, const std::string& item) const override {
        return room == "Hall" && items->HasItem(item);
    }
    CSpyItem* GetItem(const std::string& room, const std::string& item) const override {
        return room == "Hall" ? items->GetItem(item) : nullptr;
    }
    CSpyItem* GetItemByFullName(const std::string& fullName) const override {
        std::string room, item;
        SplitFullItemName(fullName, room, item);
        return GetItem(room, item);
    }
    CSpyItemManager* items = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 1 << 16)
        return 0;
    static CResManager res(false);
    const size_t objectBytes = std::min<size_t>(size - 2, data[0] | data[1] << 8);
    write("objects.ini", data + 2, objectBytes);
    write("items.ini", data + 2 + objectBytes, size - 2 - objectBytes);

    CSpyItemManager items;
    OneRoom rooms;
    rooms.items = &items;
    items.CreateItems(&rooms, "Hall", folder());
    items.ResetItems();
    for (int frame = 0; frame < 3; ++frame) {
        items.FrameMoveItems(0.4f);
        for (size_t i = items.GetItemCount(); i-- > 0;) {
            CSpyItem* item = items.GetItemAt(i);
            item->HitTest(i16(frame * 20), i16(frame * 20));
            item->ApplyItem(item->GetUsedItem());
            item->ClickUse();
            item->SetScale({1.5f, 0.5f}, frame == 1);
            item->SetPos(f32(frame * 7), f32(frame * 3));
        }
    }
    for (size_t i = 0; i < items.GetItemCount(); ++i)
        items.GetItemAt(i)->SetInInventory(true);
    if (items.GetItemCount() > 0)
        items.CloneItem(items.GetItemAt(0)->GetName(), "Copy");
    items.FrameMoveItems(0.4f);

    CSpyObjManager& objects = items.GetObjManager();
    for (const auto& object : objects.GetObjects()) {
        object->Reset();
        object->SetScale({0.5f, 2}, true);
        object->SetPos(object->GetPos().x + 3, object->GetPos().y - 3);
        object->FrameMove(0.05f);
        for (i32 y = -8; y <= 64; y += 8)
            for (i32 x = -8; x <= 64; x += 8)
                (void)object->HitTest(x, y);
    }
    if (!objects.GetObjects().empty())
        objects.CloneObject(objects.GetObjects().front()->GetName(), "clone");
    return 0;
}
