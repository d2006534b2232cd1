// Any bytes as a pack file: reading members through the pack cache must never crash or leak.
#include "tk2v/file/file.h"
#include "tk2v/platform/System.h"

#include <zzip/zzip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// One scratch folder per run, removed at exit.
const std::string& folder() {
    static const struct Scratch {
        std::string path;
        Scratch() {
            std::string pattern = platform::tempDir() + "rvh-fuzz-XXXXXX";
            const char* made = mkdtemp(pattern.data());
            path = std::string(made ? made : "/tmp") + "/";
        }
        ~Scratch() {
            std::remove((path + "Pack.zip").c_str());
            std::remove(path.c_str());
        }
    } scratch;
    return scratch.path;
}

// A few of the names the pack itself lists, beside fixed ones, so real members get decoded.
std::vector<std::string> memberNames(const std::string& packPath) {
    std::vector<std::string> names = {"a.txt", "Dir/b.txt", "Dir/", "missing"};
    zzip_error_t error;
    if (ZZIP_DIR* dir = zzip_dir_open(packPath.c_str(), &error)) {
        ZZIP_DIRENT entry;
        for (int i = 0; i < 6 && zzip_dir_read(dir, &entry); ++i)
            names.push_back(entry.d_name);
        zzip_dir_close(dir);
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string packPath = folder() + "Pack.zip";
    std::FILE* f = std::fopen(packPath.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    for (const std::string& name : memberNames(packPath)) {
        const std::string full = folder() + "Pack/" + name;
        u32 read = 0;
        std::free(file_readFullAndMalloc(full, &read));
        file_exists(full);
        file_getSize(full);
    }
    file_closePacks();
    return 0;
}
