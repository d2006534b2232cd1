#include "tk2v/platform/System.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::string withSlash(std::string path) {
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path;
}

// XDG variables that are unset, empty or relative count as unset.
std::string absoluteEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v || v[0] != '/')
        return {};
    return v;
}

std::string homeDir() {
    std::string home = absoluteEnv("HOME");
    if (!home.empty())
        return home;
    if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    return {};
}

std::string dataHome() {
    std::string d = absoluteEnv("XDG_DATA_HOME");
    if (!d.empty())
        return d;
    std::string home = homeDir();
    return home.empty() ? std::string() : home + "/.local/share";
}

std::string configHome() {
    std::string d = absoluteEnv("XDG_CONFIG_HOME");
    if (!d.empty())
        return d;
    std::string home = homeDir();
    return home.empty() ? std::string() : home + "/.config";
}

// One entry of user-dirs.dirs (XDG_DOCUMENTS_DIR="$HOME/Documents"), else $HOME/<fallback>.
std::string userDir(const std::string& key, const std::string& fallback) {
    std::string home = homeDir();
    if (home.empty())
        return {};
    std::ifstream in(configHome() + "/user-dirs.dirs");
    std::string line;
    const std::string prefix = "XDG_" + key + "_DIR=\"";
    while (std::getline(in, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string value = line.substr(prefix.size());
        if (!value.empty() && value.back() == '"')
            value.pop_back();
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        if (!value.empty() && value[0] == '/')
            return value;
    }
    return home + "/" + fallback;
}

} // namespace

std::string exeDir() {
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return "./";
    std::string path(buf.data(), size_t(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string tempDir() {
    std::string t = absoluteEnv("TMPDIR");
    return withSlash(t.empty() ? "/tmp" : t);
}

std::string specialFolder(const std::string& name) {
    std::string path;
    if (name == "userprof" || name == "userappdata" || name == "allappdata")
        path = dataHome();
    else if (name == "userdocs" || name == "alldocs")
        path = userDir("DOCUMENTS", "Documents");
    else if (name == "usermusic" || name == "allmusic")
        path = userDir("MUSIC", "Music");
    else if (name == "uservideo" || name == "allvideo")
        path = userDir("VIDEOS", "Videos");
    else if (name == "userdesktop")
        path = userDir("DESKTOP", "Desktop");
    else if (name == "userstart" || name == "userprogs" || name == "allstart" || name == "allprogs")
        path = dataHome().empty() ? std::string() : dataHome() + "/applications";
    return path.empty() ? path : withSlash(path);
}

std::string userName() {
    if (passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return pw->pw_name;
    const char* u = std::getenv("USER");
    return u ? u : "";
}

std::string computerName() {
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0)
        return {};
    return buf;
}

} // namespace platform
