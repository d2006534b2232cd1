#include "tk2v/file/file.h"

#include "tk2v/file/aFileServer.h"
#include "tk2v/platform/FileLookup.h"
#include "tk2v/util/log.h"

#include <zzip/zzip.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Longer resolved names are never looked up in packs.
constexpr size_t kMaxPackedName = 260;
// Deflate cannot expand by more than about 1032:1; a larger claim is a damaged directory.
constexpr u64 kMaxDeflateRatio = 1032;

zzip_strings_t kPackExtensions[] = {".zip", ".pak", nullptr};
// Stops zziplib's own pack search, which would bypass the pack cache.
zzip_strings_t kNoExtensions[] = {nullptr};

// Pack base path (the pack file's path without its extension) -> its open directory.
using PackMap = std::map<std::string, ZZIP_DIR*>;

// Never destroyed: objects torn down at exit may still close or read packs.
PackMap& packCache() {
    static PackMap* packs = new PackMap;
    return *packs;
}

struct PackMember {
    ZZIP_DIR* dir = nullptr;
    size_t memberStart = 0;
};

bool statIs(const std::string& path, bool wantDirectory) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return false;
    return wantDirectory ? S_ISDIR(st.st_mode) : !S_ISDIR(st.st_mode);
}

std::string withoutTrailingSeparator(const std::string& name) {
    if (name.size() > 1 && (name.back() == '/' || name.back() == '\\'))
        return name.substr(0, name.size() - 1);
    return name;
}

size_t lastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

// A folder part of a name that leads nowhere in any letter case. A packed game misses every plain
// lookup, and each miss would otherwise list a folder. The fact holds while the deepest existing
// folder on the way there is unchanged, provided the way there is in exact letter case.
struct FolderMiss {
    std::string existing;
    dev_t device;
    ino_t inode;
    timespec modified;
};

std::unordered_map<std::string, FolderMiss>& folderMisses() {
    static auto* misses = new std::unordered_map<std::string, FolderMiss>;
    return *misses;
}

bool sameFolder(const struct stat& st, const FolderMiss& miss) {
    return st.st_dev == miss.device && st.st_ino == miss.inode && st.st_mtim.tv_sec == miss.modified.tv_sec &&
           st.st_mtim.tv_nsec == miss.modified.tv_nsec;
}

// Folder time stamps are coarse (two seconds on some file systems): a change made in the same
// interval as the last one may leave the time stamp as it was, so only settled folders count.
bool settled(const timespec& modified) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - modified.tv_sec > 3;
}

bool knownMiss(const std::string& folder) {
    auto it = folderMisses().find(folder);
    if (it == folderMisses().end())
        return false;
    struct stat st;
    if (::stat(it->second.existing.c_str(), &st) == 0 && sameFolder(st, it->second))
        return true;
    folderMisses().erase(it);
    return false;
}

void rememberMiss(const std::string& folder) {
    if (folder.find('\\') != std::string::npos)
        return;
    std::string existing = withoutTrailingSeparator(folder);
    std::string below;
    struct stat st;
    while (::stat(existing.c_str(), &st) != 0) {
        size_t sep = existing.rfind('/');
        if (sep == std::string::npos || sep == 0)
            return;
        below = existing.substr(sep + 1);
        existing.resize(sep);
    }
    // Never a missing file in an existing folder, nor a folder present in other letter case,
    // whose own contents would decide.
    if (below.empty() || !S_ISDIR(st.st_mode) || !settled(st.st_mtim) ||
        !platform::findPathNoCase(existing + "/" + below).empty())
        return;
    folderMisses()[folder] = {existing, st.st_dev, st.st_ino, st.st_mtim};
}

// The real path of an existing plain entry; data authored on a case-insensitive system may name it
// in other letter case or with backslashes.
std::string existingPath(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) == 0)
        return path;
    std::string folder = path.substr(0, lastSeparator(path) + 1);
    if (knownMiss(folder))
        return {};
    std::string found = platform::findPathNoCase(path);
    if (found.empty())
        rememberMiss(folder);
    return found;
}

std::string plainPath(const std::string& path, bool wantDirectory) {
    std::string found = existingPath(path);
    return statIs(found, wantDirectory) ? found : std::string();
}

ZZIP_FILE* openPlain(const std::string& name, int flags, int modes) {
    std::string path = plainPath(name, false);
    if (path.empty())
        return nullptr;
    return zzip_open_ext_io(path.c_str(), flags, modes & ~(ZZIP_PREFERZIP | ZZIP_ONLYZIP), kNoExtensions,
                            nullptr);
}

// A cached pack whose base path is a folder of the name, the first in key order.
PackMember findCachedPack(const std::string& name) {
    for (const auto& [base, dir] : packCache()) {
        // The key must end at a folder boundary: a pack "Dat" does not answer for "Data/...".
        if (base.size() < name.size() && name[base.size()] == '/' &&
            strncasecmp(base.c_str(), name.c_str(), base.size()) == 0)
            return {dir, base.size() + 1};
    }
    return {};
}

// Opens and caches the pack named by `base` plus the first extension present on disk.
// Sets errno and reports a found-but-unreadable pack through `failed`.
ZZIP_DIR* openPackOnDisk(const std::string& base, zzip_strings_t* extensions, bool& failed) {
    for (zzip_strings_t* ext = extensions; *ext; ++ext) {
        std::string path = plainPath(base + *ext, false);
        if (path.empty())
            continue;
        zzip_error_t error = ZZIP_NO_ERROR;
        ZZIP_DIR* dir = zzip_dir_open(path.c_str(), &error);
        if (!dir) {
            errno = zzip_errno(error);
            failed = true;
            return nullptr;
        }
        packCache()[base] = dir;
        return dir;
    }
    return nullptr;
}

// Folder by folder from the deepest; the first pack found is the only one searched.
PackMember findPack(const std::string& name, zzip_strings_t* extensions) {
    if (PackMember cached = findCachedPack(name); cached.dir)
        return cached;
    for (size_t slash = name.rfind('/'); slash != std::string::npos && slash > 0;
         slash = name.rfind('/', slash - 1)) {
        bool failed = false;
        if (ZZIP_DIR* dir = openPackOnDisk(name.substr(0, slash), extensions, failed))
            return {dir, slash + 1};
        if (failed)
            return {};
    }
    errno = ENOENT;
    return {};
}

u64 fileSizeOf(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 ? u64(st.st_size) : 0;
}

// The member's uncompressed size, or -1 when its directory entry cannot be true.
i64 packedSize(ZZIP_FILE* fp) {
    ZZIP_STAT st;
    if (zzip_file_stat(fp, &st) != 0 || st.st_size < 0 || st.d_csize < 0)
        return -1;
    u64 packSize = fileSizeOf(zzip_dirfd(zzip_dirhandle(fp)));
    u64 limit = st.d_compr == 0 ? u64(st.d_csize) : u64(st.d_csize) * kMaxDeflateRatio + 64;
    if (u64(st.d_csize) > packSize || u64(st.st_size) > limit)
        return -1;
    return st.st_size;
}

// Whole-file size of an open handle, or -1 when it cannot be had.
i64 handleSize(ZZIP_FILE* fp) {
    if (!zzip_file_real(fp))
        return packedSize(fp);
    u64 size = fileSizeOf(zzip_realfd(fp));
    return size > 0xFFFFFFFFull ? -1 : i64(size);
}

bool readAll(ZZIP_FILE* fp, u8* data, u32 size) {
    u32 done = 0;
    while (done < size) {
        zzip_ssize_t n = zzip_read(fp, data + done, size - done);
        if (n <= 0)
            return false;
        done += u32(n);
    }
    return true;
}

// Reads the open handle whole; false when the data is shorter than its size says.
bool readWhole(ZZIP_FILE* fp, void*& data, u32& size) {
    i64 whole = handleSize(fp);
    if (whole < 0)
        return false;
    size = u32(whole);
    if (size == 0)
        return true;
    data = std::malloc(size);
    return data && readAll(fp, static_cast<u8*>(data), size);
}

FileWriteProbe g_writeProbe = nullptr;

void probe(FileWritePoint point, const std::string& target) {
    if (g_writeProbe)
        g_writeProbe(point, target);
}

bool allDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// "<pid>-<n>" naming a writer that no longer runs. A live writer's file, this process's own
// included, may still be renamed over the target.
bool writerGone(const std::string& suffix) {
    const size_t dash = suffix.find('-');
    // Nine digits at most keep the number a pid can be.
    if (dash == std::string::npos || dash > 9 || !allDigits(suffix.substr(0, dash)) ||
        !allDigits(suffix.substr(dash + 1)))
        return false;
    const long pid = std::strtol(suffix.c_str(), nullptr, 10);
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// The temporaries of writes to `target` that were killed before their rename; every kill would
// otherwise add one for good.
void removeStaleTemps(const std::string& target) {
    const size_t sep = lastSeparator(target);
    const std::string folder = sep == std::string::npos ? std::string() : target.substr(0, sep + 1);
    const std::string prefix = target.substr(folder.size()) + ".tmp";
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) == 0 && writerGone(name.substr(prefix.size())))
            ::unlink((folder + name).c_str());
    }
    ::closedir(dir);
}

// A name of its own beside the target, so a crash leaves the old file untouched.
int createTempBeside(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAllAndSync(int fd, const void* data, u32 size) {
    const u8* bytes = static_cast<const u8*>(data);
    u32 done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += u32(n);
    }
    return ::fsync(fd) == 0;
}

// A write that failed leaves nothing behind.
bool discard(const std::string& temp) {
    ::unlink(temp.c_str());
    return false;
}

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The target in its existing folder, found without regard to case when the exact one is missing.
std::string writeTarget(const std::string& path) {
    size_t sep = lastSeparator(path);
    if (sep == std::string::npos)
        return path;
    std::string folder = path.substr(0, sep + 1);
    std::string found = plainPath(folder, true);
    return (found.empty() ? folder : withoutTrailingSeparator(found) + "/") + path.substr(sep + 1);
}

} // namespace

ZZIP_FILE* file_open(const std::string& resolvedName, int flags, int modes, zzip_strings_t* extensions) {
    if (ZZIP_FILE* fp = openPlain(resolvedName, flags, modes))
        return fp;
    if (resolvedName.size() >= kMaxPackedName) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    PackMember pack = findPack(resolvedName, extensions ? extensions : kPackExtensions);
    if (!pack.dir)
        return nullptr;
    std::string member = resolvedName.substr(pack.memberStart);
    ZZIP_FILE* fp = zzip_file_open(pack.dir, member.c_str(), modes & (ZZIP_CASELESS | ZZIP_NOPATHS));
    if (!fp)
        errno = zzip_errno(zzip_error(pack.dir));
    return fp;
}

void* file_readFullAndMalloc(const std::string& name, u32* outSize) {
    if (outSize)
        *outSize = 0;
    ZZIP_FILE* fp = file_open(aFileServer::resolve(name), O_RDONLY, ZZIP_CASELESS, kPackExtensions);
    void* data = nullptr;
    u32 size = 0;
    bool ok = fp && readWhole(fp, data, size);
    if (fp)
        zzip_close(fp);
    if (!ok) {
        std::free(data);
        log("file_readFullAndMalloc. Error open file: %s", name.c_str());
        return nullptr;
    }
    if (outSize)
        *outSize = size;
    return data;
}

bool file_writeFull(const std::string& name, const void* data, u32 size) {
    std::string target = writeTarget(aFileServer::resolve(name));
    // First, so that room taken by old temporaries is free for this one.
    removeStaleTemps(target);
    std::string temp;
    int fd = createTempBeside(target, temp);
    if (fd < 0)
        return false;
    if (!writeAllAndSync(fd, data, size)) {
        ::close(fd);
        return discard(temp);
    }
    probe(FileWritePoint::TempWritten, target);
    if (::close(fd) != 0)
        return discard(temp);
    probe(FileWritePoint::BeforeRename, target);
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        return discard(temp);
    probe(FileWritePoint::AfterRename, target);
    size_t sep = lastSeparator(target);
    syncFolder(sep == std::string::npos ? std::string() : target.substr(0, sep + 1));
    return true;
}

void file_setWriteProbe(FileWriteProbe probe) {
    g_writeProbe = probe;
}

u32 file_getSize(const std::string& name) {
    ZZIP_FILE* fp = file_open(aFileServer::resolve(name), O_RDONLY, 0, kPackExtensions);
    if (!fp) {
        log("file_getSize. Error open file: %s", name.c_str());
        return 0;
    }
    i64 size = handleSize(fp);
    zzip_close(fp);
    return size < 0 ? 0 : u32(size);
}

bool file_exists(const std::string& name) {
    ZZIP_FILE* fp = file_open(aFileServer::resolve(name), O_RDONLY, ZZIP_CASELESS, kPackExtensions);
    if (fp)
        zzip_close(fp);
    return fp != nullptr;
}

bool file_existsPlain(const std::string& name) {
    return !existingPath(aFileServer::resolve(name)).empty();
}

bool file_existsEx(const std::string& name, bool alsoInPacks) {
    return alsoInPacks ? file_exists(name) : file_existsPlain(name);
}

bool file_dirExistsPlain(const std::string& name) {
    return !plainPath(withoutTrailingSeparator(aFileServer::resolve(name)), true).empty();
}

bool file_dirExists(const std::string& name) {
    if (name.empty())
        return false;
    if (file_dirExistsPlain(name))
        return true;
    // A pack lists its folders as entries of their own, ending with "/".
    return file_exists(name.back() == '/' ? name : name + "/");
}

bool file_dirExistsEx(const std::string& name, bool alsoInPacks) {
    return alsoInPacks ? file_dirExists(name) : file_dirExistsPlain(name);
}

std::string file_getDir(const std::string& name) {
    std::string path = aFileServer::resolve(name);
    size_t sep = lastSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string file_getName(const std::string& name) {
    std::string path = aFileServer::resolve(name);
    size_t sep = lastSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string file_getExt(const std::string& name) {
    std::string last = file_getName(name);
    size_t dot = last.rfind('.');
    return dot == std::string::npos ? std::string() : last.substr(dot + 1);
}

void file_closePacks() {
    for (auto& [base, dir] : packCache())
        zzip_dir_close(dir);
    packCache().clear();
}

void file_destroyPackCache() {
    file_closePacks();
}
