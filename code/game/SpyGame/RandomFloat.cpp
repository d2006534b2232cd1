#include "game/SpyGame/RandomFloat.h"

#include "tk2v/platform/Random.h"

f32 RandomFloat(f32 min, f32 max) {
    return min + (max - min) * f32(platform::rand()) / f32(platform::RAND_MAX_VALUE);
}
