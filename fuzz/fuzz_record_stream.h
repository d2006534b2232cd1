#pragma once
#include "game/SaveLoadSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// What the record fuzz targets share: a scratch folder of their own and streams of records.

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

// The file's bytes; empty when it cannot be read.
inline std::string readScratchFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

// Named records in stream order.
using SaveRecords = std::vector<std::pair<std::string, std::string>>;

// A stream of the records as the save system writes it: the header, the count, each record (name,
// NUL, size, data), the checksum, scrambled.
inline std::string recordStream(uint32_t header, const SaveRecords& records) {
    const auto putU32 = [](std::string& out, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out += char(value >> (8 * i));
    };
    std::string bytes;
    putU32(bytes, header);
    putU32(bytes, uint32_t(records.size()));
    for (const auto& [name, data] : records) {
        bytes += name;
        bytes += '\0';
        putU32(bytes, uint32_t(data.size()));
        bytes += data;
    }
    putU32(bytes, SaveLoadSystem::checksum(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size())));
    SaveLoadSystem::scramble(reinterpret_cast<u8*>(bytes.data()), u32(bytes.size()));
    return bytes;
}

// Loads the entity from the stream file, if it reads as a whole.
inline void loadFromStream(SaveLoadEntity& entity, const std::string& path) {
    SaveLoadSystem load;
    if (load.Load(path, SaveLoadSystem::AnyHeader))
        load.LoadEntity(entity);
    load.Finish();
}

// Saves the entity alone into the stream file at `path` under the header; the file's bytes.
inline std::string saveToStream(SaveLoadEntity& entity, const std::string& path, u32 header = 4056) {
    SaveLoadSystem save;
    save.BeginSave(path, header);
    save.SaveEntity(entity);
    save.Finish();
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

// A stream of one record under header 1.
inline std::string oneRecordStream(const std::string& name, const uint8_t* data, size_t size) {
    return recordStream(1, {{name, std::string(reinterpret_cast<const char*>(data), size)}});
}

// The records of a stream that recordStream (or the save system) wrote; empty when it is not whole.
inline SaveRecords readRecordStream(std::string bytes) {
    SaveLoadSystem::scramble(reinterpret_cast<u8*>(bytes.data()), u32(bytes.size()));
    const auto getU32 = [&bytes](size_t at) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | uint8_t(bytes[at + size_t(i)]);
        return value;
    };
    SaveRecords records;
    if (bytes.size() < 12)
        return records;
    const size_t end = bytes.size() - 4;
    for (size_t at = 8, i = 0; i < getU32(4); ++i) {
        const size_t nul = bytes.find('\0', at);
        if (nul == std::string::npos || nul + 5 > end || getU32(nul + 1) > end - nul - 5)
            return {};
        records.emplace_back(bytes.substr(at, nul - at), bytes.substr(nul + 5, getU32(nul + 1)));
        at = nul + 5 + getU32(nul + 1);
    }
    return records;
}
