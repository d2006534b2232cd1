#pragma once
#include <string>

namespace platform {

// A modal error box. Where none can be shown (no X11 or Wayland display, or one that cannot be
// opened) the text goes to stderr as "caption: text", followed by a line naming the missing display;
// with a headless SDL video driver asked for, the text alone goes there. It never waits for a user
// who is not there.
void showMessageBox(const std::string& caption, const std::string& text);

} // namespace platform
