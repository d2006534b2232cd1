#include "fuzz_input_file.h"
#include "tk2v/gfx/aTrajectory.h"

#include <cstdint>
#include <string>

// Input: a trajectory file. It is loaded, followed to its end in both modes and extended by a point.

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_trajectory", ".traj");
}

void writeInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
}

// A bounded walk: the step grows with the length, so every path ends within the loop.
void follow(aTrajectory& trajectory) {
    const double step = trajectory.getLength() / 64 + 1;
    trajectory.startMove();
    for (int i = 0; i < 80 && trajectory.advance(step) != aTrajectory::Finished; ++i) {
        f32 x, y;
        double heading;
        trajectory.getPosition(x, y, &heading);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    aTrajectory trajectory;
    if (!trajectory.load(inputName()))
        return 0;
    follow(trajectory);
    aTrajectory copy(trajectory);
    copy.setMode(copy.getPointCount() % 2);
    copy.addPoint(size > 0 ? i32(data[0]) * 8 : 0, -7);
    follow(copy);
    copy.setPoint(copy.getPointCount() - 1, 1, 2);
    return 0;
}
