#pragma once
#include "tk2v/util/types.h"

// min + (max - min) * r / 32767 with r from the engine's rand (0..32767), shared by item effects and puzzles.
f32 RandomFloat(f32 min, f32 max);
