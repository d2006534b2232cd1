#include "fuzz_input_file.h"
#include "game/SplashManager.h"

#include <cstdint>
#include <string>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_splash_settings", ".ini");
}
} // namespace

// Runs the whole sequence with frame lengths from none to a long stall; without an application
// there is no graph server and no input, so only the timing and the reading are exercised.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
    SplashManager splash(inputName());
    splash.setVolume(0.5f);
    splash.start(true);
    const float steps[] = {0.0f, 0.016f, 0.04f, 0.5f, 3.0f};
    for (int i = 0; i < 400 && splash.update(steps[i % 5]); ++i)
        splash.render();
    splash.start(false);
    return 0;
}
