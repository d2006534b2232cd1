// A folder of a benchmark's own under the temp dir, for the files the code under test reads by name.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace bench {

class TempFolder {
public:
    // Named after the stem, the process and how many folders it made before, so none shares another's.
    explicit TempFolder(const std::string& stem) : path(makePath(stem)) {
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes the bytes under the name, which may lead through folders of its own.
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path + name).parent_path());
        if (std::FILE* out = std::fopen((path + name).c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
    }

    // Ends with a '/'.
    const std::string path;

private:
    static std::string makePath(const std::string& stem) {
        static int made = 0;
        const std::string name = stem + "_" + std::to_string(::getpid()) + "_" + std::to_string(made++);
        return (std::filesystem::temp_directory_path() / name).string() + "/";
    }
};

} // namespace bench
