#pragma once
#include "game/SaveLoadSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// What the record fuzz targets share: a scratch folder of their own and a stream of one record.

// A folder of this process under /tmp, removed at exit. The first call names it for the process.
inline const std::string& fuzzScratchFolder(const std::string& program) {
    static const std::string path = "/tmp/" + program + "_" + std::to_string(getpid()) + "/";
    // Registered after the path is made, so the removal runs before the path is destroyed.
    static const bool made = [] {
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(path); });
        return true;
    }();
    (void)made;
    return path;
}

// Writes a file below the folder, making its sub-folders.
inline void writeScratchFile(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(folder + name).parent_path());
    if (std::FILE* file = std::fopen((folder + name).c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// A stream of one record, as the save system writes it: header 1, count 1, the record, checksum,
// scrambled.
inline std::string oneRecordStream(const std::string& name, const uint8_t* data, size_t size) {
    const auto putU32 = [](std::string& out, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out += char(value >> (8 * i));
    };
    std::string bytes;
    putU32(bytes, 1);
    putU32(bytes, 1);
    bytes += name;
    bytes += '\0';
    putU32(bytes, uint32_t(size));
    bytes.append(reinterpret_cast<const char*>(data), size);
    putU32(bytes, SaveLoadSystem::checksum(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size())));
    SaveLoadSystem::scramble(reinterpret_cast<u8*>(bytes.data()), u32(bytes.size()));
    return bytes;
}
