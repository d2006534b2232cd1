#include "game/CGameIni.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The options as one text: vsync, hicolor, showfps, fullscr, cheat keys, splash, fast start,
// ambient, music, then the language.
std::string flags(const CGameIni& ini) {
    std::string out;
    for (bool flag :
         {ini.IsVSync(), ini.IsHiColor(), ini.IsShowFPS(), ini.IsFullScreen(), ini.IsCheatKeysEnabled(),
          ini.IsSplashEnabled(), ini.IsFastStart(), ini.IsAmbientEnabled(), ini.IsMusicEnabled()})
        out += flag ? '1' : '0';
    return out + " " + ini.GetLanguage();
}

struct IniCase {
    const char* what;
    const char* text;
    const char* expected;
    std::vector<std::string> missingKeys;
};

TEST(CGameIniTest, ReadsTheOptionsAsTheTableSays) {
    const IniCase cases[] = {
        {"every key",
         "[Graphics]\nHiColor = 1\nVSync = 1\nShowFPS = 0\nFullScr = 0\n"
         "[Other]\nLanguage = English\nSplashScrEnabled = 1\nFastStart = 0\nEnableCheatKeys = 1\n"
         "[Sound]\nAmbient = 1\nMusic = 0\n",
         "110011010 English",
         {}},
        {"missing always-read flags are on, optional ones off",
         "[Graphics]\n[Other]\nLanguage = German\n",
         "111101000 German",
         {"HiColor", "VSync", "ShowFPS", "FullScr", "SplashScrEnabled"}},
        // Values are raw: "0 " is not "0".
        {"a trailing blank turns a flag on",
         "[Graphics]\nHiColor = 0\nVSync = 0 \nShowFPS = 0;x\nFullScr = 0\n"
         "[Other]\nLanguage = English\nSplashScrEnabled = 0\nFastStart = 0 \n",
         "100000100 English",
         {}},
        {"no Graphics section: nothing is read",
         "[Other]\nLanguage = English\nSplashScrEnabled = 1\n",
         "000000000 ",
         {}},
        {"no Other section: its keys come from Graphics",
         "[Graphics]\nHiColor = 0\nVSync = 0\nShowFPS = 0\nFullScr = 0\nLanguage = French\nSplashScrEnabled "
         "= 0\n"
         "FastStart = 1\n",
         "000000100 French",
         {}},
        {"no Sound section: no ambient, no music",
         "[Graphics]\nHiColor = 0\nVSync = 0\nShowFPS = 0\nFullScr = 0\n[Other]\nLanguage = "
         "x\nSplashScrEnabled = 0\n",
         "000000000 x",
         {}},
        {"Sound keys only when present",
         "[Graphics]\nHiColor = 0\nVSync = 0\nShowFPS = 0\nFullScr = 0\n"
         "[Other]\nLanguage = x\nSplashScrEnabled = 0\n[Sound]\nMusic = 1\n",
         "000000001 x",
         {}},
    };
    for (const IniCase& c : cases) {
        TempDir dir;
        dir.write("Game.ini", c.text);
        LogCapture capture;
        CGameIni ini;
        ini.Load(dir.file("Game.ini"));
        EXPECT_EQ(flags(ini), c.expected) << c.what;
        std::vector<std::string> expectedLog;
        for (const std::string& key : c.missingKeys)
            expectedLog.push_back("aOptionsFile. Cannot find key \"" + key + "\" in current section!");
        EXPECT_EQ(capture.messages(), expectedLog) << c.what;
    }
}

TEST(CGameIniTest, MissingFileKeepsTheDefaultsAndTheSingletonFollowsTheObject) {
    TempDir dir;
    {
        CGameIni ini;
        ini.Load(dir.file("absent.ini"));
        EXPECT_EQ(flags(ini), "000000000 ");
        EXPECT_EQ(CGameIni::getSingleton(), &ini);
    }
    EXPECT_FALSE(CGameIni::exists());
}

} // namespace
