#pragma once

namespace platform {

// The engine scales random values by 32767, so the generator must be the classic MSVC one
// (per thread, seed 1 until srand is called).
constexpr int RAND_MAX_VALUE = 32767;
int rand();
void srand(unsigned seed);

} // namespace platform
