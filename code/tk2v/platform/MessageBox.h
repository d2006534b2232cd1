#pragma once
#include <string>

namespace platform {

// A modal error box. Without a display (no X11 or Wayland, or the headless SDL video drivers) the
// text goes to stderr as "caption: text" instead, so it never waits for a user who is not there.
void showMessageBox(const std::string& caption, const std::string& text);

} // namespace platform
