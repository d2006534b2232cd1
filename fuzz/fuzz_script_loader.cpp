#include "tk2v/file/aScriptLoader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
// Every third header is ignored (handle 0), so that the ignored-section paths are reached too.
class CountingLoader : public aScriptLoader {
protected:
    u32 BeginSection(u32, const std::vector<std::string>& tokens) override {
        ++m_sections;
        return m_sections % 3 == 0 ? 0 : m_sections + u32(tokens.size());
    }
    void EndSection(u32) override { ++m_ends; }
    void ReadEntry(u32, const std::vector<std::string>& tokens) override { m_tokens += tokens.size(); }

private:
    u32 m_sections = 0;
    u32 m_ends = 0;
    size_t m_tokens = 0;
};

const std::string& inputName() {
    static const std::string name = "/tmp/fuzz_script_loader_" + std::to_string(getpid()) + ".agui";
    static const bool cleanedUp = std::atexit([] { std::remove(name.c_str()); }) == 0;
    (void)cleanedUp;
    return name;
}

// The file starts with a define of its own name, so that an input can include itself as "$self$".
void writeInput(const uint8_t* data, size_t size) {
    if (std::FILE* file = std::fopen(inputName().c_str(), "wb")) {
        const std::string define = "#define self \"" + inputName() + "\"\n";
        std::fwrite(define.data(), 1, define.size(), file);
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    CountingLoader loader;
    loader.load(inputName());
    return 0;
}
