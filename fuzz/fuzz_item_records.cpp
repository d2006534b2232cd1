#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

// Input: the record of a room's item manager. It is sealed into a stream that passes the save system's
// checks, loaded into a room with an item of each class (one with magic stars), stepped, and saved again.

namespace {

const char* const kObjects = "[a]\nClass = object\n[b]\nClass = object\n[c]\nClass = object\n"
                             "[#s_a]\nClass = object\n";
const char* const kItems =
    "[A]\nObject = a\nMagicStars = 1\n[B]\nObject = b\nClass = Container\nContainerShow = A\n"
    "[C]\nObject = c\nClass = Door\nUseRoom = Study\n[D]\nClass = ZoomRoom\nUseRoom = Desk\n";

const std::string& folder() {
    static const std::string path = "/tmp/fuzz_item_records_" + std::to_string(getpid()) + "/";
    static const bool made = [] {
        std::filesystem::create_directories(path);
        for (auto [name, text] : {std::pair{"objects.ini", kObjects}, std::pair{"items.ini", kItems}})
            if (std::FILE* file = std::fopen((path + name).c_str(), "wb")) {
                std::fputs(text, file);
                std::fclose(file);
            }
        std::atexit([] { std::filesystem::remove_all(path); });
        return true;
    }();
    (void)made;
    return path;
}

void putU32(std::vector<u8>& out, u32 value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(u8(value >> (8 * i)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    static CResManager res(false);
    CSpyItemManager items;
    items.CreateItems(nullptr, "Hall", folder());
    items.ResetItems();

    std::vector<u8> stream;
    putU32(stream, 1);
    putU32(stream, 1);
    const std::string& name = items.getName();
    stream.insert(stream.end(), name.begin(), name.end() + 1);
    putU32(stream, u32(size));
    stream.insert(stream.end(), data, data + size);
    putU32(stream, SaveLoadSystem::checksum(stream.data(), u32(stream.size())));
    SaveLoadSystem::scramble(stream.data(), u32(stream.size()));
    const std::string savePath = folder() + "game.save";
    if (std::FILE* file = std::fopen(savePath.c_str(), "wb")) {
        std::fwrite(stream.data(), 1, stream.size(), file);
        std::fclose(file);
    }

    SaveLoadSystem loader;
    if (!loader.Load(savePath, SaveLoadSystem::AnyHeader))
        std::abort();
    loader.LoadEntity(items);
    loader.Finish();
    items.FrameMoveItems(0.1f);
    for (size_t i = 0; i < items.GetItemCount(); ++i) {
        items.GetItemAt(i)->HitTest(1, 1);
        items.GetItemAt(i)->ClickUse();
    }
    // Saved into the stream's buffer only: writing the file would time the disk, not the writers.
    SaveLoadSystem saver;
    saver.BeginSave(savePath, 1);
    saver.SaveEntity(items);
    return 0;
}
