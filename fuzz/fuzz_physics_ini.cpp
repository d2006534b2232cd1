#include "fuzz_input_file.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "tk2v/file/aOptionsFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Input: a room.ini. Every section becomes a physics body (the first 16 of them), which is reset and
// stepped 100 times; its coordinates and smallest coordinate are read on the way.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    const std::string& path = fuzzInputPath("fuzz_physics_ini", ".ini");
    writeFuzzInput(path, "", data, size);
    aOptionsFile ini(path);
    PHYSICS::cPhysicsManager physics;
    std::vector<std::string> names;
    for (ini.first(); !ini.isEnd() && names.size() < 16; ini.nextSection())
        names.push_back(ini.getSectionName());
    for (const std::string& name : names)
        physics.LoadObject(name, ini);
    physics.ResetAll();
    if (!names.empty())
        physics.SetFixed(names.front(), true);
    volatile f32 sink = 0;
    for (int step = 0; step < 100; ++step) {
        physics.Update(0.02f);
        for (const std::string& name : names)
            sink = sink + physics.GetCoord(name).x;
        sink = sink + physics.GetMinCoord().y;
    }
    return 0;
}
