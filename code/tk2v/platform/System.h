#pragma once
#include <string>

namespace platform {

// Folder of the running executable, with a trailing separator.
std::string exeDir();

// The temporary folder with a trailing separator ($TMPDIR or /tmp).
std::string tempDir();

// A special folder by the engine's assign name ("userprof", "userappdata", "alldocs", ...), with a
// trailing separator; "" when the folder is unknown or cannot be determined.
std::string specialFolder(const std::string& assignName);

// The user and machine names for the system-information log block.
std::string userName();
std::string computerName();

} // namespace platform
