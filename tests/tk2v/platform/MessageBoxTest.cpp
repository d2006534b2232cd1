#include "tk2v/platform/MessageBox.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// What the box writes to stderr with the environment given (null unsets a variable).
std::string boxOnStderr(const char* driver, const char* display, const char* wayland) {
    auto set = [](const char* name, const char* value) { value ? setenv(name, value, 1) : unsetenv(name); };
    set("SDL_VIDEODRIVER", driver);
    set("DISPLAY", display);
    set("WAYLAND_DISPLAY", wayland);
    StderrCapture capture;
    platform::showMessageBox("Error!", "Could not load required media.");
    // So that a run outside CTest on a desktop never waits for a click.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    return capture.stop();
}

TEST(MessageBox, WithoutADisplayTheTextGoesToStderrNamingWhatIsMissing) {
    const std::string text = "Error!: Could not load required media.\n";
    EXPECT_EQ(boxOnStderr("offscreen", ":0", nullptr), text);
    EXPECT_EQ(boxOnStderr("x11,dummy", nullptr, nullptr), text);
    EXPECT_EQ(boxOnStderr(nullptr, nullptr, nullptr),
              text + "No display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n");
    // A display named but not there: SDL cannot open a box on it.
    EXPECT_EQ(boxOnStderr("x11", "no-such-display", nullptr),
              text + "The display \"no-such-display\" cannot be opened.\n");
}

} // namespace
