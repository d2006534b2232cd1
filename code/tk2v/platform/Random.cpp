#include "tk2v/platform/Random.h"

namespace platform {
namespace {
thread_local unsigned g_state = 1;
}

int rand() {
    g_state = g_state * 214013u + 2531011u;
    return int((g_state >> 16) & 0x7FFF);
}

void srand(unsigned seed) { g_state = seed; }

} // namespace platform
