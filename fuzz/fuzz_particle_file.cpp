#include "fuzz_input_file.h"
#include "tk2v/gfx/aParticleSystem.h"

#include <cstdint>
#include <string>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_particle_file", ".psys");
}

void writeInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
}

// Every operation an owner uses, with frame lengths from the ordinary to a long stall.
void exercise(aParticleSystem& system) {
    system.setBoundsTracking(true);
    system.startAt(512, 384);
    for (float dt : {0.016f, 0.04f, 0.5f, 3.0f})
        system.update(dt);
    system.setPosition(-200, 900);
    system.scale(1.5f);
    system.update(0.25f);
    system.stopEmitter();
    system.update(0.25f);
    system.render();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    aParticleSystem original(inputName(), nullptr, "");
    exercise(original);
    aParticleSystem copy(original);
    exercise(copy);
    copy = original;
    copy.reset();
    copy.start();
    copy.update(1.0f);
    return 0;
}
