#include "support/TempDir.h"
#include "tk2v/platform/FileLookup.h"
#include "tk2v/platform/Random.h"
#include "tk2v/platform/System.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Random, MatchesTheClassicGenerator) {
    platform::srand(1);
    int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int e : expected)
        EXPECT_EQ(platform::rand(), e);
}

TEST(FileLookup, FindsPathsWithoutRegardToCaseOrSlashKind) {
    TempDir dir;
    dir.write("GameData/Images/Logo.PNG", "x");
    EXPECT_EQ(platform::findPathNoCase(dir.file("gamedata/images/logo.png")), dir.file("GameData/Images/Logo.PNG"));
    EXPECT_EQ(platform::findPathNoCase(dir.file("GAMEDATA\\Images\\LOGO.png")), dir.file("GameData/Images/Logo.PNG"));
    EXPECT_EQ(platform::findPathNoCase(dir.file("gamedata/")), dir.file("GameData/"));
    EXPECT_EQ(platform::findPathNoCase(dir.file("gamedata/images/missing.png")), "");
}

TEST(System, SpecialFoldersFollowXdgRules) {
    const char* old = std::getenv("XDG_DATA_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(platform::specialFolder("userappdata"), "/data/home/");
    EXPECT_EQ(platform::specialFolder("userprof"), "/data/home/");
    setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_NE(platform::specialFolder("userappdata"), "relative/path/");
    EXPECT_EQ(platform::specialFolder("nosuchfolder"), "");
    if (old)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(platform::exeDir().back(), '/');
    EXPECT_EQ(platform::tempDir().back(), '/');
}

} // namespace
