#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/platform/System.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

std::string notValid(const std::string& name) {
    return "aFileServer::manglePath(" + name + ") not valid!";
}

TEST(FileServer, ManglePathResolvesOnlyKnownAssignPrefixes) {
    aFileServer fs;
    fs.setAssign("data", "/base/");
    LogCapture log;
    struct Case {
        const char* name;
        const char* expected;
        bool logged;
    } cases[] = {
        {"c:/dir/file.txt", "c:/dir/file.txt", false}, // drive letter
        {":data/file.txt", ":data/file.txt", false},   // leading colon
        {"dir/file.txt", "dir/file.txt", false},       // no colon
        {"zz:file.txt", "zz:file.txt", true},          // two letters, no such assign
        {"DATA:a/b.txt", "/base/a/b.txt", false},      // capitals
        {"data:a:b/c.txt", "/base/a:b/c.txt", false},  // only the first colon counts
        {"data:", "/base/", false},
    };
    for (const Case& c : cases) {
        log.clear();
        EXPECT_EQ(fs.manglePath(c.name), c.expected) << c.name;
        if (c.logged)
            EXPECT_EQ(log.messages(), std::vector<std::string>{notValid(c.name)}) << c.name;
        else
            EXPECT_TRUE(log.messages().empty()) << c.name;
    }
}

TEST(FileServer, DefaultAssignsNameExecutableTempAndSpecialFolders) {
    {
        aFileServer fs;
        EXPECT_EQ(aFileServer::getInstance(), &fs);
        ASSERT_FALSE(aFileServer::getExeDir().empty());
        EXPECT_EQ(aFileServer::getExeDir().back(), '/');
        EXPECT_EQ(fs.manglePath("home:Game.ini"), aFileServer::getExeDir() + "Game.ini");
        EXPECT_EQ(fs.manglePath("temp:x"), platform::tempDir() + "x");
        for (const char* name : {"userprof", "userappdata", "alldocs", "allprogs", "uservideo"}) {
            std::string folder = platform::specialFolder(name);
            EXPECT_EQ(fs.manglePath(std::string(name) + ":x"),
                      (folder.empty() ? platform::tempDir() : folder) + "x")
                << name;
        }
        EXPECT_EQ(aFileServer::resolve("home:a"), aFileServer::getExeDir() + "a");
    }
    EXPECT_EQ(aFileServer::getInstance(), nullptr);
    EXPECT_EQ(aFileServer::resolve("home:a"), "home:a");
}

TEST(FileServer, SetAssignRefusesShortNamesAndHomeAndExpandsOnce) {
    aFileServer fs;
    LogCapture log;
    fs.setAssign("x", "/x/");
    fs.setAssign("HOME", "/elsewhere/");
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"aFileServer::setAssign(x) less than 2 chars, ignored",
                                        "aFileServer::setAssign(HOME) override failed!"}));
    EXPECT_EQ(fs.manglePath("home:a"), aFileServer::getExeDir() + "a");

    fs.setAssign("gamedata", "home:GameData/");
    EXPECT_EQ(fs.manglePath("gamedata:Images/a.png"), aFileServer::getExeDir() + "GameData/Images/a.png");

    fs.setAssign("base", "/one/");
    fs.setAssign("sub", "base:S/");
    fs.setAssign("BASE", "/two/");
    EXPECT_EQ(fs.manglePath("sub:x"), "/one/S/x");
    EXPECT_EQ(fs.manglePath("base:x"), "/two/x");
}

TEST(FileServer, MakeDirCreatesTheWholeChain) {
    TempDir t;
    aFileServer fs;
    fs.setAssign("work", t.path());
    EXPECT_TRUE(fs.makeDir("work:a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(t.file("a/b/c")));
    EXPECT_TRUE(fs.makeDir("work:a/b/c/"));
    EXPECT_TRUE(fs.makeDir("work:a\\b\\d"));
    EXPECT_TRUE(std::filesystem::is_directory(t.file("a/b/d")));
}

TEST(FileServer, MakeDirReportsTheChainThatCannotBeMade) {
    TempDir t;
    aFileServer fs;
    fs.setAssign("work", t.path());
    ASSERT_EQ(::symlink(t.file("nowhere").c_str(), t.file("dangling").c_str()), 0);
    t.write("file.txt", "x");
    LogCapture log;
    EXPECT_FALSE(fs.makeDir("work:dangling/a/b")); // a parent that does not exist ends the walk
    EXPECT_FALSE(fs.makeDir("work:file.txt/sub")); // a file stands where a folder should be
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"aFileServer::makeDir(" + t.file("dangling/a") + "...) failed!",
                                        "aFileServer::makeDir(" + t.file("file.txt/sub") + "...) failed!"}));
}

TEST(FileServer, DeleteFileRemovesOrLogsTheNameGiven) {
    TempDir t;
    aFileServer fs;
    fs.setAssign("work", t.path());
    t.write("old.sav", "x");
    LogCapture log;
    EXPECT_TRUE(fs.deleteFile("work:old.sav"));
    EXPECT_FALSE(std::filesystem::exists(t.file("old.sav")));
    EXPECT_FALSE(fs.deleteFile("work:old.sav"));
    EXPECT_EQ(log.messages(), std::vector<std::string>{"aFileServer::deleteFile(work:old.sav) failed!"});
}

} // namespace
