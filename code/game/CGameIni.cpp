#include "game/CGameIni.h"

#include "tk2v/file/aOptionsFile.h"

void CGameIni::Load(const std::string& fileName) {
    aOptionsFile file(fileName);
    if (!file.selectSection("Graphics"))
        return;
    m_hiColor = readFlag(file, "HiColor");
    m_vsync = readFlag(file, "VSync");
    m_showFps = readFlag(file, "ShowFPS");
    m_fullScreen = readFlag(file, "FullScr");
    // Unchecked on purpose: without "Other" the keys are looked up in "Graphics".
    file.selectSection("Other");
    m_language = file.getString("Language");
    m_splash = readFlag(file, "SplashScrEnabled");
    readOptionalFlag(file, "FastStart", m_fastStart);
    readOptionalFlag(file, "EnableCheatKeys", m_cheatKeys);
    if (!file.selectSection("Sound"))
        return;
    readOptionalFlag(file, "Ambient", m_ambient);
    readOptionalFlag(file, "Music", m_music);
}

bool CGameIni::readFlag(const aOptionsFile& file, const std::string& key) {
    return file.getString(key) != "0";
}

void CGameIni::readOptionalFlag(const aOptionsFile& file, const std::string& key, bool& flag) {
    if (file.hasKey(key))
        flag = readFlag(file, key);
}
