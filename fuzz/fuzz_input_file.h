#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The readers under test open files by name, so each input is written to a file of this process,
// removed at exit. The extension is the one the reader expects.
inline const std::string& fuzzInputPath(const char* stem, const char* extension) {
    static const std::string path = "/tmp/" + std::string(stem) + "_" + std::to_string(getpid()) + extension;
    static const bool cleanedUp = std::atexit([] { std::remove(path.c_str()); }) == 0;
    (void)cleanedUp;
    return path;
}

inline void writeFuzzInput(const std::string& path, const std::string& prefix, const void* data,
                           size_t size) {
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(prefix.data(), 1, prefix.size(), file);
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}
