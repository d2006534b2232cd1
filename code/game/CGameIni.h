#pragma once
#include "tk2v/util/aSingleton.h"

#include <string>

class aOptionsFile;

// The game options of "home:Game.ini". Every flag is off and the language empty until the file is
// read; a flag that is read is on unless its raw value is exactly "0", so an always-read key that
// is missing counts as on.
class CGameIni : public aSingleton<CGameIni> {
public:
    CGameIni() = default;

    // Without a "Graphics" section nothing is read.
    void Load(const std::string& fileName);

    std::string GetLanguage() const { return m_language; }
    bool IsVSync() const { return m_vsync; }
    bool IsHiColor() const { return m_hiColor; }
    bool IsShowFPS() const { return m_showFps; }
    // Kept, but the display mode at start is the current profile's.
    bool IsFullScreen() const { return m_fullScreen; }
    bool IsCheatKeysEnabled() const { return m_cheatKeys; }
    bool IsSplashEnabled() const { return m_splash; }
    bool IsFastStart() const { return m_fastStart; }
    bool IsAmbientEnabled() const { return m_ambient; }
    bool IsMusicEnabled() const { return m_music; }

private:
    static bool readFlag(const aOptionsFile& file, const std::string& key);
    // Reads the flag only when the current section holds the key.
    static void readOptionalFlag(const aOptionsFile& file, const std::string& key, bool& flag);

    bool m_vsync = false;
    bool m_hiColor = false;
    bool m_showFps = false;
    bool m_fullScreen = false;
    bool m_cheatKeys = false;
    bool m_splash = false;
    bool m_fastStart = false;
    bool m_ambient = false;
    bool m_music = false;
    std::string m_language;
};
