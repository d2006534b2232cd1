#include "fuzz_input_file.h"
#include "game/UCredits.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aImageManager.h"

#include <cstdint>
#include <string>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_credits", ".ini");
}
} // namespace

// Reads the script and plays the roll for 2,000 frames, restarting it half-way.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
    aLocaleServer locale;
    aImageManager images;
    UCredits credits(inputName(), &images);
    for (int i = 0; i < 2000; ++i) {
        if (i == 1000)
            credits.Start();
        credits.Update(i % 7 == 0 ? 0.5f : 0.02f);
    }
    return 0;
}
