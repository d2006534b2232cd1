// A record's own bytes as the stream writes them, for the benchmarks that check a baseline writes
// what the code under test writes before timing either.
#pragma once

#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"

#include <cstdio>
#include <string>

namespace bench {

// The bytes of the entity's record, saved through a stream file in the folder and read back out of
// it: "" when the file holds no record.
inline std::string recordBytes(SaveLoadEntity& entity, const std::string& folder) {
    const std::string file = folder + "record.save";
    SaveLoadSystem sys;
    sys.BeginSave(file, 1);
    sys.SaveEntity(entity);
    sys.Finish();
    std::string bytes;
    if (std::FILE* in = std::fopen(file.c_str(), "rb")) {
        for (int c; (c = std::fgetc(in)) != EOF;)
            bytes += char(c);
        std::fclose(in);
    }
    SaveLoadSystem::scramble(reinterpret_cast<u8*>(bytes.data()), u32(bytes.size()));
    // Header and count, the name and its NUL, the size; the checksum at the end.
    const size_t data = 8 + entity.getName().size() + 1 + 4;
    return bytes.size() > data + 4 ? bytes.substr(data, bytes.size() - data - 4) : std::string();
}

} // namespace bench
