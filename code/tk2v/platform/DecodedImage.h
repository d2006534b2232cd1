#pragma once
#include "tk2v/util/types.h"

#include <vector>

namespace platform {

struct DecodedImage {
    u32 width = 0, height = 0;
    std::vector<u32> argb;
};

} // namespace platform
