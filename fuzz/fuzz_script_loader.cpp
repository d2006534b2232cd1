#include "fuzz_input_file.h"
#include "tk2v/file/aScriptLoader.h"

#include <cstdint>
#include <string>
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
    return fuzzInputPath("fuzz_script_loader", ".agui");
}

// The file starts with a define of its own name, so that an input can include itself as "$self$".
void writeInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "#define self \"" + inputName() + "\"\n", data, size);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    CountingLoader loader;
    loader.load(inputName());
    return 0;
}
