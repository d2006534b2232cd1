#pragma once
#include "tk2v/util/types.h"

#include <string>

// One player's name and settings.
struct Profile {
    std::string name = "Player";
    f32 soundVolume = 0.75f;
    f32 musicVolume = 0.3f;
    u32 reserved = 0;
    u8 reservedFlag = 1;
    bool showTips = true;
    bool fullScreen = true;

    bool operator==(const Profile&) const = default;
};

// The profile of a start without any profiles file.
inline const Profile DEFAULT_PROFILE{};

// The profile the running game reads its settings from and writes them to.
inline Profile g_currentProfile = DEFAULT_PROFILE;
