#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
const std::string& inputName() {
    static const std::string name = "/tmp/fuzz_options_file_" + std::to_string(getpid()) + ".ini";
    static const bool cleanedUp = std::atexit([] { std::remove(name.c_str()); }) == 0;
    (void)cleanedUp;
    return name;
}

// "@SELF@" in the input stands for the file's own name, so that an input can include itself.
void writeInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; (at = text.find("@SELF@", at)) != std::string::npos; at += inputName().size())
        text.replace(at, 6, inputName());
    if (std::FILE* file = std::fopen(inputName().c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    aOptionsFile options(inputName());
    for (options.first(); !options.isEnd(); options.nextSection()) {
        for (options.firstKey(); !options.isKeysEnd(); options.nextKey()) {
            const std::string key = options.getKeyName();
            std::vector<std::string> strings;
            std::vector<i32> ints;
            (void)options.getInt(key);
            options.getStringList(strings, key);
            options.getIntList(ints, key);
            options.getValueList(strings, options.getSectionName(), key);
        }
    }
    return 0;
}
