#include "tk2v/platform/MessageBox.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(MessageBox, WithoutADisplayTheTextGoesToStderr) {
    // Set here too, so a run outside CTest on a desktop does not wait for a click.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    TempDir dir;
    const int saved = dup(STDERR_FILENO);
    const int file = open(dir.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(file, 0);
    dup2(file, STDERR_FILENO);
    platform::showMessageBox("Error!", "Could not load required media.");
    dup2(saved, STDERR_FILENO);
    close(file);
    close(saved);
    EXPECT_EQ(dir.read("stderr"), "Error!: Could not load required media.\n");
}

} // namespace
