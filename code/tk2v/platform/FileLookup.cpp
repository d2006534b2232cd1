#include "tk2v/platform/FileLookup.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace platform {
namespace {

bool exists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// The entry of `dir` named `name` without regard to case, or "" when there is none.
std::string matchEntry(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return {};
    std::string found;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

} // namespace

std::string findPathNoCase(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\')
            c = '/';
    if (p.empty())
        return {};
    if (exists(p))
        return p;

    std::string result = p[0] == '/' ? "/" : "";
    size_t pos = p[0] == '/' ? 1 : 0;
    while (pos <= p.size()) {
        size_t next = p.find('/', pos);
        if (next == std::string::npos)
            next = p.size();
        std::string part = p.substr(pos, next - pos);
        if (!part.empty()) {
            std::string dir = result;
            std::string candidate = dir + part;
            if (!exists(candidate)) {
                std::string entry = matchEntry(dir, part);
                if (entry.empty())
                    return {};
                candidate = dir + entry;
            }
            result = candidate;
            if (next < p.size())
                result += '/';
        }
        pos = next + 1;
    }
    return exists(result) ? result : std::string();
}

} // namespace platform
