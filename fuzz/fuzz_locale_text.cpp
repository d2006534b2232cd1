#include "tk2v/file/aLocaleServer.h"
#include "tk2v/util/str.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// The one text file of this process; "file," names of the input are looked up beside it.
struct TextFile {
    const std::string name = "/tmp/fuzz_locale_text_" + std::to_string(getpid()) + ".txt";
    ~TextFile() { std::remove(name.c_str()); }

    void write(const uint8_t* data, size_t size) const {
        std::FILE* file = std::fopen(name.c_str(), "wb");
        if (!file)
            return;
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring wide = str_utf8ToWStringN(reinterpret_cast<const char*>(data), size);
    const std::string narrow = str_toString(wide);
    if (str_toString(str_toWString(narrow)) != narrow)
        __builtin_trap();

    static const TextFile textFile;
    textFile.write(data, size);
    aLocaleServer server;
    for (const char* group : {"Room", ""}) {
        server.loadFile(textFile.name, group);
        for (const char* id : {"A", "MENU_PLAY", "", "Room:A"})
            server.getString(id, group);
    }
    server.unloadFile(textFile.name, "Room");
    server.unloadFile(textFile.name, "");
    return 0;
}
