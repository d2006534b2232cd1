#include "tk2v/platform/MessageBox.h"
#include "tk2v/platform/Window.h"

#include <SDL.h>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace platform {
namespace {

// Why no box can be shown in a window, said after the text on stderr.
std::string missingDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!x11 && !wayland)
        return "No display: neither DISPLAY nor WAYLAND_DISPLAY is set.";
    return std::string("The display \"") + (x11 ? x11 : wayland) + "\" cannot be opened.";
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
    // The tests ask for a driver that shows nothing: the text alone, and no box waiting for a click.
    if (headlessDriverRequested())
        return printToStderr(caption, text);
    // SDL can show a box before its video subsystem is up, which the early start-up errors need.
    const bool displayNamed = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!displayNamed ||
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) != 0)
        printToStderr(caption, text + "\n" + missingDisplay());
}

} // namespace platform
