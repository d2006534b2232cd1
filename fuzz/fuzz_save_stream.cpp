#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

// Input: one mode byte, then the stream. An odd mode byte takes the rest as the file itself;
// an even one as the plain records, sealed with their checksum and scrambled, so that the
// record walk and the entities' readers are reached.

namespace {
// Reads a mix of fields until its record, or the loaded data, runs out.
struct ProbeEntity : SaveLoadEntity {
    explicit ProbeEntity(const char* name) : SaveLoadEntity(name) {}
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        std::string text;
        u32 count = 0;
        f32 value;
        bool flag;
        pos = sys.readU32(sys.readString(pos, text), count);
        for (u32 i = 0; i < count && i < 64; ++i)
            pos = sys.readBool(sys.readF32(sys.readString(pos, text), value), flag);
        return pos;
    }
};

std::vector<u8> sealed(const u8* plain, size_t size) {
    std::vector<u8> bytes(plain, plain + size);
    u32 sum = SaveLoadSystem::checksum(bytes.data(), u32(bytes.size()));
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<u8>(sum >> (8 * i)));
    SaveLoadSystem::scramble(bytes.data(), u32(bytes.size()));
    return bytes;
}

// A plain write: the file layer's durable replace would spend each run in fsync.
struct InputFile {
    std::string path = "/tmp/fuzz_save_stream_" + std::to_string(getpid()) + ".save";
    ~InputFile() { std::remove(path.c_str()); }
    bool put(const std::vector<u8>& bytes) const {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    if (size == 0 || size > 1 << 20)
        return 0;
    static const InputFile file;
    std::vector<u8> bytes = data[0] & 1 ? std::vector<u8>(data + 1, data + size) : sealed(data + 1, size - 1);
    if (!file.put(bytes))
        return 0;
    SaveLoadSystem sys;
    if (sys.Load(file.path, SaveLoadSystem::AnyHeader)) {
        for (const char* name : {"<SpyMain>", "<profiles>", "a", ""}) {
            ProbeEntity entity(name);
            sys.LoadEntity(entity);
        }
    }
    sys.Finish();
    return 0;
}
