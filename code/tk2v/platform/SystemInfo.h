#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <vector>

namespace platform {

struct OsInfo {
    std::string name;    // PRETTY_NAME of /etc/os-release, else the kernel's name
    std::string release; // kernel release, e.g. "6.1.0-18-amd64"
    std::string build;   // kernel version text, e.g. "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1"
};

// Sizes in KB. Virtual memory is the commit limit and what is left of it; the page file is swap.
struct MemoryInfo {
    u32 loadPercent = 0;
    u64 physicalFreeKb = 0, physicalTotalKb = 0;
    u64 virtualFreeKb = 0, virtualTotalKb = 0;
    u64 pageFileFreeKb = 0, pageFileTotalKb = 0;
};

// One mounted file system where a drive letter would stand.
struct DriveInfo {
    std::string root;       // mount point
    std::string device;     // what is mounted, e.g. "/dev/sda1"
    std::string type;       // "fixed", or "remote" for network file systems (not measured)
    std::string fileSystem; // e.g. "ext4"
    std::string label;      // volume label, "" when it has none
    u64 freeMb = 0, totalMb = 0;
};

struct SystemInfo {
    OsInfo os;
    std::string computerName, userName;
    MemoryInfo memory;
    std::vector<DriveInfo> drives;
};

// Reads the machine description for the log's system-configuration block.
SystemInfo readSystemInfo();

// The parts of readSystemInfo that work on file contents, for callers that have the text already.
std::string osPrettyName(const std::string& osRelease);
MemoryInfo memoryFromMeminfo(const std::string& meminfo);
// The mounts worth a drive line, in mount order, one per mount point, sizes not filled in.
std::vector<DriveInfo> drivesFromMounts(const std::string& mounts);

} // namespace platform
