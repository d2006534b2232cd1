#pragma once
#include "tk2v/util/types.h"

#include <string>

struct zzip_file;
typedef struct zzip_file ZZIP_FILE;
typedef const char* const zzip_strings_t; // as zziplib declares it

// Whole-file access over the assigns and zip packs. A name is looked up as a plain file first,
// then inside a ".zip" or ".pak" pack named after one of its folders. Writing goes to plain files.

// The whole file in a new malloc'ed block (free it with free); null and size 0 on failure or when empty.
void* file_readFullAndMalloc(const std::string& name, u32* outSize = nullptr);
// Replaces the file as a whole: a crash leaves either the old or the new contents, never a mix.
// The new contents go to "<target>.tmp<pid>-<n>" first; a writer killed before its rename leaves
// that file behind, so each write first removes those of the same target whose writer is gone.
bool file_writeFull(const std::string& name, const void* data, u32 size);

// Where a whole-file write stands when a kill there must still leave the target whole: the temporary
// file written and synced, then closed and about to be renamed, then renamed over the target.
enum class FileWritePoint { TempWritten, BeforeRename, AfterRename };
using FileWriteProbe = void (*)(FileWritePoint point, const std::string& target);
// Test hook: while set, every file_writeFull calls it at each point with the resolved target, so
// that a test can stop the process there; null (the default) turns it off.
void file_setWriteProbe(FileWriteProbe probe);
// The size in bytes of the plain file or of the packed member, whose name must match exactly.
u32 file_getSize(const std::string& name);

bool file_exists(const std::string& name);
bool file_existsPlain(const std::string& name);
bool file_existsEx(const std::string& name, bool alsoInPacks);
bool file_dirExistsPlain(const std::string& name);
bool file_dirExists(const std::string& name);
bool file_dirExistsEx(const std::string& name, bool alsoInPacks);

std::string file_getDir(const std::string& name);
std::string file_getName(const std::string& name);
std::string file_getExt(const std::string& name);

// The pack-aware open of an already resolved name (zziplib's open with the pack cache). `extensions`
// is a null-terminated list of pack extensions; null means ".zip" then ".pak".
ZZIP_FILE* file_open(const std::string& resolvedName, int flags, int modes, zzip_strings_t* extensions);

// Closes every cached pack directory and empties the cache.
void file_closePacks();
void file_destroyPackCache();
