#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return decodeWithMagic("\xFF\xD8\xFF", data, size);
}
