#include "fuzz_input_file.h"
#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_options_file", ".ini");
}

// "@SELF@" in the input stands for the file's own name, so that an input can include itself.
void writeInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; (at = text.find("@SELF@", at)) != std::string::npos; at += inputName().size())
        text.replace(at, 6, inputName());
    writeFuzzInput(inputName(), "", text.data(), text.size());
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
