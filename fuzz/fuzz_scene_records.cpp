#include "fuzz_input_file.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/CSpyObject.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Input: a u16 length, that many bytes of a scene-object manager's record, and the rest as a record
// holding a list of hidden-object groups. Both are sealed into a stream that passes the save system's
// checks, loaded into a manager with one object of each class and a list, and saved again.

namespace {

const char* const kObjects = "[A]\nClass = object\n[B]\nClass = image\n[C]\nClass = animation\n"
                             "[D]\nClass = particles\n[E]\nClass = text\nWidth = 20\nHeight = 10\n"
                             "HorzBorders = 2\n[A]\nClass = object\n";

struct GroupsEntity : SaveLoadEntity {
    GroupsEntity() : SaveLoadEntity("groups") {}
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        return LoadFindItemsGroupList(sys, pos, groups);
    }
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return SaveFindItemsGroupList(sys, pos, groups); }
    std::vector<CFindItemsGroup> groups;
};

void putU32(std::vector<u8>& out, u32 value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(u8(value >> (8 * i)));
}

void putRecord(std::vector<u8>& out, const std::string& name, const uint8_t* data, size_t size) {
    out.insert(out.end(), name.begin(), name.end() + 1);
    putU32(out, u32(size));
    out.insert(out.end(), data, data + size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 1 << 16)
        return 0;
    const size_t first = std::min<size_t>(size - 2, data[0] | data[1] << 8);
    static const std::string& iniPath = fuzzInputPath("fuzz_scene_records", ".ini");
    static const bool written = (writeFuzzInput(iniPath, kObjects, "", 0), true);
    (void)written;

    CSpyObjManager manager;
    manager.CreateObjects("Hall", iniPath);
    for (const auto& object : manager.GetObjects())
        object->Reset();
    GroupsEntity groups;

    std::vector<u8> stream;
    putU32(stream, 1);
    putU32(stream, 2);
    putRecord(stream, manager.getName(), data + 2, first);
    putRecord(stream, groups.getName(), data + 2 + first, size - 2 - first);
    putU32(stream, SaveLoadSystem::checksum(stream.data(), u32(stream.size())));
    SaveLoadSystem::scramble(stream.data(), u32(stream.size()));
    // The input helper keeps one path a process; the stream goes beside it.
    static const struct SavePath {
        std::string path = iniPath + ".save";
        ~SavePath() { std::remove(path.c_str()); }
    } save;
    const std::string& savePath = save.path;
    writeFuzzInput(savePath, "", stream.data(), stream.size());

    SaveLoadSystem loader;
    if (!loader.Load(savePath, SaveLoadSystem::AnyHeader))
        std::abort();
    loader.LoadEntity(manager);
    loader.LoadEntity(groups);
    loader.Finish();
    for (const auto& object : manager.GetObjects()) {
        object->FrameMove(0.1f);
        (void)object->HitTest(5, 5);
        (void)object->GetWidth();
    }
    // Saved into the stream's buffer only: writing the file would time the disk, not the writers.
    SaveLoadSystem saver;
    saver.BeginSave(savePath, 1);
    saver.SaveEntity(manager);
    saver.SaveEntity(groups);
    return 0;
}
