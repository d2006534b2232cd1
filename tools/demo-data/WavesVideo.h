#pragma once
#include <cstdint>
#include <vector>

// The looping clip of harbour water behind the main menu, as an Ogg Theora file. The waves move
// by whole periods over the clip, so its last frame leads into its first.
std::vector<uint8_t> wavesVideo(int width, int height, int fps, int frames);
