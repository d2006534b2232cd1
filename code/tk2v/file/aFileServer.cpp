#include "tk2v/file/aFileServer.h"

#include "tk2v/platform/System.h"
#include "tk2v/util/log.h"

#include <cerrno>
#include <cstdio>
#include <strings.h>
#include <sys/stat.h>

namespace {

// Asked of the platform in this order; one it cannot give falls back to the temp folder.
const char* const kSpecialFolders[] = {"userprof",  "userdocs",  "usermusic",   "uservideo", "userdesktop",
                                       "userstart", "userprogs", "userappdata", "alldocs",   "allmusic",
                                       "allvideo",  "allstart",  "allprogs",    "allappdata"};

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool aFileServer::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
}

aFileServer::aFileServer() {
    setDefaultAssigns();
    s_instance = this;
}

aFileServer::~aFileServer() {
    if (s_instance == this)
        s_instance = nullptr;
}

std::string aFileServer::resolve(const std::string& name) {
    return s_instance ? s_instance->manglePath(name) : name;
}

const std::string& aFileServer::getExeDir() {
    static const std::string dir = platform::exeDir();
    return s_exeDirOverride.empty() ? dir : s_exeDirOverride;
}

void aFileServer::setExeDirOverride(const std::string& folder) {
    s_exeDirOverride = folder;
}

void aFileServer::setDefaultAssigns() {
    setAssign("home", getExeDir());
    setAssign("temp", platform::tempDir());
    for (const char* name : kSpecialFolders) {
        std::string path = platform::specialFolder(name);
        setAssign(name, path.empty() ? "temp:" : path);
    }
}

void aFileServer::setAssign(const std::string& name, const std::string& path) {
    if (name.size() < 2) {
        log("aFileServer::setAssign(%s) less than 2 chars, ignored", name.c_str());
        return;
    }
    if (strcasecmp(name.c_str(), "home") == 0 && m_assigns.count(name)) {
        log("aFileServer::setAssign(%s) override failed!", name.c_str());
        return;
    }
    // Expanded now, so a later change of an assign it was built on does not reach it.
    m_assigns[name] = manglePath(path);
}

std::string aFileServer::manglePath(const std::string& name) const {
    size_t colon = name.find(':');
    // A one-letter prefix is a drive letter, never an assign.
    if (colon == std::string::npos || colon < 2)
        return name;
    auto it = m_assigns.find(name.substr(0, colon));
    if (it == m_assigns.end()) {
        log("aFileServer::manglePath(%s) not valid!", name.c_str());
        return name;
    }
    return it->second + name.substr(colon + 1);
}

bool aFileServer::deleteFile(const std::string& name) const {
    if (std::remove(manglePath(name).c_str()) == 0)
        return true;
    log("aFileServer::deleteFile(%s) failed!", name.c_str());
    return false;
}

bool aFileServer::makeDir(const std::string& name) const {
    std::string path = manglePath(name);
    if (path.size() <= 3)
        return true;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    // The first three characters stand for a drive prefix and are never created.
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/')
            continue;
        std::string prefix = path.substr(0, i);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno == ENOENT) {
            log("aFileServer::makeDir(%s...) failed!", prefix.c_str());
            return false;
        }
    }
    // Other failures were passed over ("already exists" above all); the chain must exist now.
    if (isDirectory(path))
        return true;
    log("aFileServer::makeDir(%s...) failed!", path.c_str());
    return false;
}
