#include "fuzz_input_file.h"
#include "game/ProfilesManager.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// The profiles manager adds the file name to its folder; a prefix of this process serves.
const std::string& folder() {
    static const std::string prefix = "/tmp/fuzz_profiles_" + std::to_string(getpid()) + "_";
    static const bool cleanedUp =
        std::atexit([] { std::remove((prefix + "RVH_profiles.dat").c_str()); }) == 0;
    (void)cleanedUp;
    return prefix;
}

void putU32(std::vector<u8>& out, u32 value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(u8(value >> (8 * i)));
}

// The input is the payload of the one "<profiles>" record of a stream that passes every check of
// the save system, so that only the record reader is under test.
std::vector<u8> stream(const uint8_t* data, size_t size) {
    std::vector<u8> out;
    putU32(out, ProfilesManager::FileHeader);
    putU32(out, 1);
    const std::string name = "<profiles>";
    out.insert(out.end(), name.begin(), name.end() + 1);
    putU32(out, u32(size));
    out.insert(out.end(), data, data + size);
    putU32(out, SaveLoadSystem::checksum(out.data(), u32(out.size())));
    SaveLoadSystem::scramble(out.data(), u32(out.size()));
    return out;
}
} // namespace

// Loads the record, writes it back and loads that again: the second load must give the same list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<u8> bytes = stream(data, size);
    ProfilesManager first;
    first.setFolders(folder(), folder());
    writeFuzzInput(first.GetProfilesFileName(), "", bytes.data(), bytes.size());
    g_currentProfile = DEFAULT_PROFILE;
    first.Load();
    for (const Profile& profile : first.getProfiles())
        (void)first.GetSaveFileName(profile);
    if (!first.Save())
        std::abort();
    ProfilesManager second;
    second.setFolders(folder(), folder());
    second.Load();
    if (second.getProfiles().size() != first.getProfiles().size())
        std::abort();
    return 0;
}
