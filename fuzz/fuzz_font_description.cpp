#include "fuzz_input_file.h"
#include "tk2v/gfx/aFont.h"

#include <cstdint>
#include <string>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_font_description", ".fnt");
}

void writeInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
}
} // namespace

// Reading only: the description needs no device.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    aFont::Description description;
    aFont::readDescription(inputName(), description);
    // Every glyph kept has a size the drawing can take.
    for (const auto& glyph : description.glyphs)
        if (glyph && (glyph->w < 0 || glyph->h < 0))
            std::abort();
    return 0;
}
