// Every benchmark draws on SDL's offscreen video driver, asked for before main runs: a window on a
// desktop would put the desktop's compositor into the figures, and the engine takes the offscreen
// driver only when it is asked for (without a display it would otherwise refuse to start).
#include <cstdlib>

namespace {

[[maybe_unused]] const bool g_offscreenVideo = (setenv("SDL_VIDEODRIVER", "offscreen", 0), true);

} // namespace
