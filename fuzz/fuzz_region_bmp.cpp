#include "fuzz_input_file.h"
#include "tk2v/gui/Region.h"

#include <cstdint>
#include <string>

// Input: a region bitmap. It is loaded and every pixel of the mask, and one past each edge, is read.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& name = fuzzInputPath("fuzz_region_bmp", ".bmp");
    writeFuzzInput(name, "", data, size);
    GUI::Region region;
    region.LoadFromBitmap(name);
    u32 set = 0;
    for (u32 y = 0; y <= region.GetHeight(); ++y)
        for (u32 x = 0; x <= region.GetWidth(); ++x)
            set += region.IsSet(x, y);
    return set > region.GetWidth() * region.GetHeight() ? -1 : 0;
}
