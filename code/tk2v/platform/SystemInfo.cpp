#include "tk2v/platform/SystemInfo.h"

#include "tk2v/platform/System.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/statvfs.h>
#include <sys/utsname.h>

namespace platform {
namespace {

std::string readText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Shell-style value of os-release: optional quotes, backslash escapes inside them.
std::string unquote(const std::string& value) {
    if (value.size() < 2 || (value[0] != '"' && value[0] != '\'') || value.back() != value[0])
        return value;
    std::string out;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

int digitValue(char c, int base) {
    const int v = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
    return v < base ? v : -1;
}

// Decodes a backslash, `prefix` and `digits` digits in `base` into one byte: the kernel writes
// blanks in mount fields as "\040", udev writes them in label names as "\x20".
std::string unescape(const std::string& text, const std::string& prefix, size_t digits, int base) {
    const std::string lead = "\\" + prefix;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        int value =
            text.compare(i, lead.size(), lead) == 0 && i + lead.size() + digits <= text.size() ? 0 : -1;
        for (size_t k = 0; k < digits && value >= 0; ++k) {
            const int d = digitValue(char(std::tolower(u8(text[i + lead.size() + k]))), base);
            value = d < 0 ? -1 : value * base + d;
        }
        if (value < 0) {
            out += text[i];
            continue;
        }
        out += char(value);
        i += lead.size() + digits - 1;
    }
    return out;
}

// Kernel views, memory file systems, optical media and read-only images get no drive line.
bool isSkippedFileSystem(const std::string& type) {
    static const char* const kSkipped[] = {
        "autofs",   "binfmt_misc", "bpf",      "cgroup",  "cgroup2",    "configfs",   "debugfs",
        "devpts",   "devtmpfs",    "efivarfs", "fusectl", "hugetlbfs",  "iso9660",    "mqueue",
        "nsfs",     "proc",        "pstore",   "ramfs",   "rpc_pipefs", "securityfs", "selinuxfs",
        "squashfs", "sysfs",       "tmpfs",    "tracefs", "udf"};
    // FUSE helpers (portals, virtual views, remote shells) are not disks; fuseblk is.
    return type.compare(0, 5, "fuse.") == 0 ||
           std::any_of(std::begin(kSkipped), std::end(kSkipped), [&](const char* s) { return type == s; });
}

// Measuring these could block for as long as the server does not answer.
bool isNetworkFileSystem(const std::string& type) {
    static const char* const kNetwork[] = {"afs", "ceph", "cifs", "glusterfs", "ncpfs",
                                           "nfs", "nfs4", "smb3", "smbfs"};
    return std::any_of(std::begin(kNetwork), std::end(kNetwork), [&](const char* n) { return type == n; });
}

std::map<std::string, std::string> labelsByDevice() {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> labels;
    std::error_code ec;
    for (fs::directory_iterator it("/dev/disk/by-label", ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path device = fs::canonical(it->path(), ec);
        if (!ec)
            labels[device.string()] = unescape(it->path().filename().string(), "x", 2, 16);
    }
    return labels;
}

std::string labelOf(const std::map<std::string, std::string>& labels, const std::string& device) {
    if (device.empty() || device[0] != '/')
        return {};
    std::error_code ec;
    const std::string real = std::filesystem::canonical(device, ec).string();
    auto it = ec ? labels.end() : labels.find(real);
    return it == labels.end() ? std::string() : it->second;
}

bool measure(DriveInfo& drive) {
    struct statvfs fs {};
    if (statvfs(drive.root.c_str(), &fs) != 0 || fs.f_blocks == 0)
        return false;
    const u64 unit = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    drive.totalMb = u64(fs.f_blocks) * unit / 1048576;
    drive.freeMb = u64(fs.f_bavail) * unit / 1048576;
    return true;
}

std::vector<DriveInfo> measuredDrives() {
    const auto labels = labelsByDevice();
    std::vector<DriveInfo> drives;
    for (DriveInfo& d : drivesFromMounts(readText("/proc/self/mounts"))) {
        if (d.type == "remote" || measure(d)) {
            d.label = labelOf(labels, d.device);
            drives.push_back(std::move(d));
        }
    }
    return drives;
}

OsInfo readOs() {
    OsInfo os;
    os.name = osPrettyName(readText("/etc/os-release"));
    if (os.name.empty())
        os.name = osPrettyName(readText("/usr/lib/os-release"));
    if (utsname u{}; uname(&u) == 0) {
        if (os.name.empty())
            os.name = u.sysname;
        os.release = u.release;
        os.build = u.version;
    }
    return os;
}

} // namespace

std::string osPrettyName(const std::string& osRelease) {
    std::istringstream in(osRelease);
    const std::string key = "PRETTY_NAME=";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, key.size(), key) == 0)
            return unquote(line.substr(key.size()));
    }
    return {};
}

MemoryInfo memoryFromMeminfo(const std::string& meminfo) {
    std::map<std::string, u64> kb;
    std::istringstream in(meminfo);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string key;
        u64 value = 0;
        if (fields >> key >> value && key.size() > 1 && key.back() == ':')
            kb[key.substr(0, key.size() - 1)] = value;
    }
    auto get = [&](const char* k) { return kb.count(k) ? kb[k] : 0; };
    MemoryInfo m;
    m.physicalTotalKb = get("MemTotal");
    // Kernels before 3.14 have no MemAvailable; free plus caches is the old estimate.
    const u64 available =
        kb.count("MemAvailable") ? get("MemAvailable") : get("MemFree") + get("Buffers") + get("Cached");
    m.physicalFreeKb = std::min(available, m.physicalTotalKb);
    if (m.physicalTotalKb)
        m.loadPercent = u32((m.physicalTotalKb - m.physicalFreeKb) * 100 / m.physicalTotalKb);
    // With overcommit the committed amount may pass the limit.
    m.virtualTotalKb = get("CommitLimit");
    m.virtualFreeKb = m.virtualTotalKb - std::min(get("Committed_AS"), m.virtualTotalKb);
    m.pageFileTotalKb = get("SwapTotal");
    m.pageFileFreeKb = std::min(get("SwapFree"), m.pageFileTotalKb);
    return m;
}

std::vector<DriveInfo> drivesFromMounts(const std::string& mounts) {
    std::vector<DriveInfo> drives;
    std::istringstream in(mounts);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string device, root, type;
        if (!(fields >> device >> root >> type) || isSkippedFileSystem(type))
            continue;
        DriveInfo d;
        d.device = unescape(device, "", 3, 8);
        d.root = unescape(root, "", 3, 8);
        d.fileSystem = type;
        d.type = isNetworkFileSystem(type) ? "remote" : "fixed";
        // A later mount on the same point hides the earlier one.
        std::erase_if(drives, [&](const DriveInfo& old) { return old.root == d.root; });
        drives.push_back(std::move(d));
    }
    return drives;
}

SystemInfo readSystemInfo() {
    SystemInfo info;
    info.os = readOs();
    info.computerName = computerName();
    info.userName = userName();
    info.memory = memoryFromMeminfo(readText("/proc/meminfo"));
    info.drives = measuredDrives();
    return info;
}

} // namespace platform
