#pragma once
#include <string>

namespace platform {

// The game data was authored on a case-insensitive file system: finds an existing file or folder
// whose path matches `path` without regard to ASCII case, with "\" counting as "/".
// Returns the real path, or "" when nothing matches.
std::string findPathNoCase(const std::string& path);

} // namespace platform
