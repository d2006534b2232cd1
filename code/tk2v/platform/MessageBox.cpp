#include "tk2v/platform/MessageBox.h"

#include <SDL.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace platform {
namespace {

bool headless() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return true;
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
}

// Plain write(2): the box is also shown from the crash handler, where stdio may be mid-update.
void printToStderr(const std::string& caption, const std::string& text) {
    const std::string line = caption + ": " + text + "\n";
    for (size_t done = 0; done < line.size();) {
        const ssize_t n = write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

} // namespace

void showMessageBox(const std::string& caption, const std::string& text) {
    // SDL can show a box before its video subsystem is up, which the early start-up errors need.
    if (headless() ||
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) != 0)
        printToStderr(caption, text);
}

} // namespace platform
