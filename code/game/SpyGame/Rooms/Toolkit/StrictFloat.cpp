#include "game/SpyGame/Rooms/Toolkit/StrictFloat.h"

#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// The decimal forms a strict text-to-number conversion takes; hexadecimal floats are not among them.
bool IsPlainNumber(const std::string& text) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    return text.find_first_of("xX") == std::string::npos;
}

} // namespace

bool ReadStrictFloat(const aOptionsFile& ini, const std::string& key, f32& value, const std::string& reader) {
    const std::string text = ini.hasKey(key) ? ini.getString(key) : std::string();
    if (IsPlainNumber(text)) {
        char* end = nullptr;
        errno = 0;
        const f32 read = std::strtof(text.c_str(), &end);
        if (end == text.c_str() + text.size() && errno != ERANGE && std::isfinite(read)) {
            value = read;
            return true;
        }
    }
    log("%s(). Key \"%s\" is not a number (\"%s\"), keeping %g", reader.c_str(), key.c_str(), text.c_str(),
        double(value));
    return false;
}
