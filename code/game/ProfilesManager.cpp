#include "game/ProfilesManager.h"

#include "game/GameConstants.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/util/log.h"

namespace {
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isPathBreaker(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F;
}
} // namespace

ProfilesManager::ProfilesManager() : SaveLoadEntity("<profiles>") {}

void ProfilesManager::setFolders(const std::string& dataFolder, const std::string& savesFolder) {
    m_dataFolder = dataFolder;
    m_savesFolder = savesFolder;
}

std::string ProfilesManager::GetProfilesFileName() const {
    const aApplication* app = aApplication::getInstance();
    const std::string folder = !m_dataFolder.empty() || !app ? m_dataFolder : app->getUserDataFolder();
    return folder + SHORT_NAME + "_profiles.dat";
}

std::string ProfilesManager::GetSaveFileName(const Profile& profile) const {
    const aApplication* app = aApplication::getInstance();
    const std::string folder = !m_savesFolder.empty() || !app ? m_savesFolder : app->getSavedGamesFolder();
    std::string name = profile.name;
    for (char& c : name)
        if (isPathBreaker(c))
            c = '_';
    return folder + SHORT_NAME + "_" + name + ".save";
}

void ProfilesManager::DeleteSaveFile(const Profile& profile) const {
    const std::string path = GetSaveFileName(profile);
    aFileServer* files = aFileServer::getInstance();
    if (files && file_existsPlain(path))
        files->deleteFile(path);
}

i32 ProfilesManager::FindProfile(const std::string& name) const {
    for (size_t i = 0; i < m_profiles.size(); ++i) {
        const std::string& other = m_profiles[i].name;
        if (other.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < name.size() && same; ++k)
            same = lowerAscii(other[k]) == lowerAscii(name[k]);
        if (same)
            return i32(i);
    }
    return -1;
}

bool ProfilesManager::IsAcceptableName(const std::string& name) {
    if (name.find_first_not_of(' ') == std::string::npos)
        return false;
    for (char c : name)
        if (isPathBreaker(c))
            return false;
    return true;
}

std::string ProfilesManager::TrimSpaces(const std::string& name) {
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

void ProfilesManager::Load() {
    m_profiles.clear();
    m_loadRan = true;
    if (SaveLoadSystem::Load(GetProfilesFileName(), FileHeader)) {
        LoadEntity(*this);
        Finish();
        m_selected = FindProfile(g_currentProfile.name);
    }
    logList();
}

void ProfilesManager::logList() const {
    log("Profiles list");
    for (size_t i = 0; i < m_profiles.size(); ++i)
        log("%c %s", i32(i) == m_selected ? '*' : ' ', m_profiles[i].name.c_str());
}

bool ProfilesManager::Save() {
    if (hasSelection()) {
        if (m_dialogState != 0)
            g_currentProfile = m_profiles[size_t(m_selected)];
        else
            m_profiles[size_t(m_selected)] = g_currentProfile;
    }
    BeginSave(GetProfilesFileName(), FileHeader);
    SaveEntity(*this);
    return Finish();
}

// Nothing is taken unless the whole record holds together: a count the record cannot hold, or a
// profile that runs past its end, leaves the list empty and the current profile untouched.
const u8* ProfilesManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    const u8* end = pos + sys.bytesLeftInRecord(pos);
    Profile current;
    u32 count = 0;
    pos = sys.readU32(readProfile(sys, pos, current), count);
    bool whole = pos <= end && u64(count) * MinProfileBytes <= u64(end - pos);
    std::vector<Profile> profiles;
    if (whole) {
        profiles.resize(count);
        for (size_t i = 0; i < profiles.size() && whole; ++i) {
            pos = readProfile(sys, pos, profiles[i]);
            whole = pos <= end;
        }
    }
    if (!whole) {
        log("ProfilesManager::LoadSelf(). Corrupt profiles record, %u profiles claimed", count);
        return pos;
    }
    g_currentProfile = current;
    m_profiles = std::move(profiles);
    return pos;
}

u8* ProfilesManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = writeProfile(sys, pos, g_currentProfile);
    pos = sys.writeU32(pos, u32(m_profiles.size()));
    for (const Profile& profile : m_profiles)
        pos = writeProfile(sys, pos, profile);
    return pos;
}

const u8* ProfilesManager::readProfile(SaveLoadSystem& sys, const u8* pos, Profile& out) {
    pos = sys.readString(pos, out.name);
    pos = sys.readF32(pos, out.soundVolume);
    pos = sys.readF32(pos, out.musicVolume);
    pos = sys.readU32(pos, out.reserved);
    pos = sys.readU8(pos, out.reservedFlag);
    pos = sys.readBool(pos, out.showTips);
    return sys.readBool(pos, out.fullScreen);
}

u8* ProfilesManager::writeProfile(SaveLoadSystem& sys, u8* pos, const Profile& profile) {
    pos = sys.writeString(pos, profile.name);
    pos = sys.writeF32(pos, profile.soundVolume);
    pos = sys.writeF32(pos, profile.musicVolume);
    pos = sys.writeU32(pos, profile.reserved);
    pos = sys.writeU8(pos, profile.reservedFlag);
    pos = sys.writeBool(pos, profile.showTips);
    return sys.writeBool(pos, profile.fullScreen);
}
