#include "tk2v/file/file.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/ZipWriter.h"
#include "tk2v/file/aFileBuffer.h"
#include "tk2v/file/aFileServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Method = ZipWriter::Method;

// The file as text, or nullopt when the read gave no block.
std::optional<std::string> readWhole(const std::string& name) {
    u32 size = 12345;
    void* data = file_readFullAndMalloc(name, &size);
    if (!data) {
        EXPECT_EQ(size, 0u) << name;
        return std::nullopt;
    }
    std::string text(static_cast<const char*>(data), size);
    std::free(data);
    return text;
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

size_t openDescriptors() {
    return entriesOf("/proc/self/fd").size();
}

// Dated an hour back, as installed data is.
void backdate(const std::string& folder) {
    timespec old{std::time(nullptr) - 3600, 0};
    timespec times[2] = {old, old};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
}

TEST(FileNames, PartsOfTheResolvedPath) {
    struct Case {
        const char* name;
        const char* dir;
        const char* file;
        const char* ext;
    } cases[] = {
        {"a/b.txt", "a/", "b.txt", "txt"},
        {"a\\b.tar.gz", "a\\", "b.tar.gz", "gz"},
        {"dir.d/file", "dir.d/", "file", ""}, // the only dot is in a folder name
        {"noext", "", "noext", ""},
        {"dir/", "dir/", "", ""},
        {"a/.hidden", "a/", ".hidden", "hidden"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file_getDir(c.name), c.dir) << c.name;
        EXPECT_EQ(file_getName(c.name), c.file) << c.name;
        EXPECT_EQ(file_getExt(c.name), c.ext) << c.name;
    }
    aFileServer fs;
    fs.setAssign("data", "/base/");
    EXPECT_EQ(file_getDir("data:Images/a.png"), "/base/Images/");
    EXPECT_EQ(file_getExt("data:Images/a.png"), "png");
}

TEST(FilePlain, WholeFileRoundTripAndMessagesNameTheCallersName) {
    TempDir t;
    aFileServer fs;
    fs.setAssign("work", t.path());
    const std::string bytes("hello\0world", 11);
    ASSERT_TRUE(file_writeFull("work:a.bin", bytes.data(), u32(bytes.size())));
    EXPECT_EQ(readWhole("work:a.bin"), bytes);
    EXPECT_EQ(file_getSize("work:a.bin"), 11u);
    EXPECT_TRUE(file_exists("work:a.bin"));

    LogCapture log;
    EXPECT_EQ(readWhole("work:missing.txt"), std::nullopt);
    EXPECT_EQ(file_getSize("work:missing.txt"), 0u);
    EXPECT_FALSE(file_exists("work:missing.txt"));
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"file_readFullAndMalloc. Error open file: work:missing.txt",
                                        "file_getSize. Error open file: work:missing.txt"}));
}

TEST(FilePlain, EmptyFileGivesNullAndSizeZeroWithoutMessage) {
    TempDir t;
    t.write("empty.txt", "");
    LogCapture log;
    EXPECT_EQ(readWhole(t.file("empty.txt")), std::nullopt);
    EXPECT_TRUE(file_exists(t.file("empty.txt")));
    aFileBuffer buffer(t.file("empty.txt"));
    EXPECT_FALSE(buffer.isLoaded());
    EXPECT_TRUE(log.messages().empty());
}

TEST(FilePlain, FileBufferOwnsTheLatestLoad) {
    TempDir t;
    t.write("one.txt", "first");
    t.write("two.txt", "second!");
    aFileBuffer buffer(t.file("one.txt"));
    ASSERT_TRUE(buffer.isLoaded());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.getData()), buffer.getSize()), "first");
    buffer.load(t.file("two.txt"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.getData()), buffer.getSize()), "second!");
    LogCapture log;
    buffer.load(t.file("three.txt"));
    EXPECT_FALSE(buffer.isLoaded());
    EXPECT_EQ(buffer.getData(), nullptr);
    EXPECT_EQ(buffer.getSize(), 0u);
}

TEST(FilePlain, LookupsIgnoreLetterCaseAndBackslashes) {
    TempDir t;
    t.write("Sub/File.TXT", "content");
    EXPECT_EQ(readWhole(t.file("sub/file.txt")), "content");
    EXPECT_EQ(readWhole(t.file("SUB\\FILE.txt")), "content");
    EXPECT_TRUE(file_existsPlain(t.file("sub/FILE.TXT")));
    EXPECT_TRUE(file_existsPlain(t.file("sub")));     // a directory counts
    EXPECT_FALSE(file_exists(t.file("Sub")));         // but cannot be read as a file
    EXPECT_TRUE(file_dirExistsPlain(t.file("SUB/"))); // one trailing separator is dropped
    EXPECT_TRUE(file_dirExistsEx(t.file("sub\\"), false));
    EXPECT_FALSE(file_dirExistsPlain(t.file("sub/file.txt")));
    EXPECT_FALSE(file_existsPlain(t.file("sub/other.txt")));

    ASSERT_TRUE(file_writeFull(t.file("SUB/New.txt"), "n", 1));
    EXPECT_EQ(t.read("Sub/New.txt"), "n");
}

TEST(FilePlain, MissesInSettledFoldersDoNotHideLaterFiles) {
    TempDir t;
    t.write("DATA/keep.txt", "k");
    backdate(t.path());
    backdate(t.file("DATA"));
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(file_existsPlain(t.file("Pack/a.txt")));
        EXPECT_FALSE(file_existsPlain(t.file("Data/Images/a.txt")));
    }
    t.write("DATA/Images/a.txt", "b"); // changes DATA, not the folder above it
    EXPECT_EQ(readWhole(t.file("Data/Images/a.txt")), "b");
    t.write("PACK/A.TXT", "a");
    EXPECT_EQ(readWhole(t.file("pack/a.txt")), "a");
}

TEST(FilePlain, WriteFullReplacesTheFileAsAWhole) {
    TempDir t;
    t.write("save.dat", "old contents");
    ASSERT_TRUE(file_writeFull(t.file("save.dat"), "new", 3));
    EXPECT_EQ(t.read("save.dat"), "new");
    EXPECT_EQ(entriesOf(t.path()), std::vector<std::string>{"save.dat"});

    EXPECT_FALSE(file_writeFull(t.file("missing/save.dat"), "x", 1));
    std::filesystem::create_directory(t.file("folder"));
    EXPECT_FALSE(file_writeFull(t.file("folder"), "x", 1)); // the rename cannot replace a folder
    EXPECT_EQ(entriesOf(t.path()), (std::vector<std::string>{"folder", "save.dat"}));
}

TEST(FilePlain, WriteFullThatCannotWriteEveryByteKeepsTheOldFile) {
    TempDir t;
    t.write("save.dat", "old contents");
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = file_writeFull(t.file("save.dat"), "much longer contents", 20);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(t.read("save.dat"), "old contents");
    EXPECT_EQ(entriesOf(t.path()), std::vector<std::string>{"save.dat"});
}

FileWritePoint g_killPoint;

void killAtPoint(FileWritePoint point, const std::string&) {
    if (point == g_killPoint)
        std::raise(SIGKILL);
}

// Overwrites the file in a child process that is killed at the point of its write, as kill -9 would
// stop it; returns the child's pid, which no longer runs.
pid_t overwriteKilledAt(FileWritePoint point, const std::string& path, const std::string& contents) {
    const pid_t child = fork();
    if (child == 0) {
        g_killPoint = point;
        file_setWriteProbe(killAtPoint);
        file_writeFull(path, contents.data(), u32(contents.size()));
        _exit(0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    return child;
}

// The folder's entries with each writer's temporary named by its writer alone.
std::vector<std::string> entriesWithWriters(const std::string& folder) {
    std::vector<std::string> names = entriesOf(folder);
    for (std::string& name : names)
        if (size_t dash = name.rfind('-');
            name.find(".tmp") != std::string::npos && dash != std::string::npos)
            name.resize(dash);
    return names;
}

TEST(FilePlain, AWriteKilledAtAnyPointLeavesTheTargetWholeAndAtMostItsOwnTemporary) {
    const struct Case {
        FileWritePoint point;
        bool renamed;
    } cases[] = {
        {FileWritePoint::TempWritten, false},
        {FileWritePoint::BeforeRename, false},
        {FileWritePoint::AfterRename, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.point));
        TempDir t;
        t.write("save.dat", "old contents");
        // The second killed write sweeps the first one's temporary before it is killed in turn.
        for (const std::string contents : {"first new", "second new"}) {
            const pid_t writer = overwriteKilledAt(c.point, t.file("save.dat"), contents);
            EXPECT_EQ(t.read("save.dat"), c.renamed ? contents : "old contents");
            std::vector<std::string> expected{"save.dat"};
            if (!c.renamed)
                expected.push_back("save.dat.tmp" + std::to_string(writer));
            EXPECT_EQ(entriesWithWriters(t.path()), expected);
        }
        ASSERT_TRUE(file_writeFull(t.file("save.dat"), "last", 4));
        EXPECT_EQ(t.read("save.dat"), "last");
        EXPECT_EQ(entriesOf(t.path()), std::vector<std::string>{"save.dat"});
    }
}

TEST(FilePlain, AWriteRemovesOnlyTheTemporariesOfItsTargetWhoseWriterIsGone) {
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone), alive = std::to_string(getpid());
    const struct Case {
        std::string name;
        bool kept;
    } cases[] = {
        {"save.dat.tmp" + dead + "-0", false},
        {"save.dat.tmp" + dead + "-12", false},
        {"save.dat.tmp" + alive + "-3", true}, // this process may still rename it
        {"other.dat.tmp" + dead + "-0", true},
        {"save.dat.old.tmp" + dead + "-0", true},
        {"save.dat.tmp" + dead, true},
        {"save.dat.tmp" + dead + "-", true},
        {"save.dat.tmp" + dead + "-1x", true},
        {"save.dat.tmp-" + dead + "-0", true},
        {"save.dat.tmp99999999999999999999-0", true},
    };
    TempDir t;
    std::vector<std::string> kept{"save.dat"};
    for (const Case& c : cases) {
        t.write(c.name, "x");
        if (c.kept)
            kept.push_back(c.name);
    }
    ASSERT_TRUE(file_writeFull(t.file("save.dat"), "new", 3));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(entriesOf(t.path()), kept);
}

// A game folder with its data packed: Data.zip beside a partly unpacked Data folder holding Images.zip.
class FilePacks : public ::testing::Test {
protected:
    void SetUp() override {
        file_closePacks();
        data = t.file("Data/");
        std::string longFolder = "L/";
        longMember259 = longFolder + std::string(259 - data.size() - longFolder.size(), 'x');
        longMember260 = longMember259 + "y";

        ZipWriter high;
        high.addFolder("Images/");
        high.add("Images/a.txt", "high a");
        high.add("Images/high_only.txt", "high only");
        high.addFolder("Sounds/");
        high.add("Sounds/s.txt", "sound", Method::Stored);
        high.add("plain.txt", "packed");
        high.add("Mixed/Case.TXT", std::string(3000, 'm'));
        high.add(longMember259, "259");
        high.add(longMember260, "260");
        ASSERT_TRUE(high.save(t.file("Data.zip")));

        t.write("Data/plain.txt", "plain");
        ZipWriter deep;
        deep.add("a.txt", "deep a", Method::Stored);
        ASSERT_TRUE(deep.save(t.file("Data/Images.pak")));
    }
    void TearDown() override { file_closePacks(); }

    TempDir t;
    std::string data;
    std::string longMember259, longMember260;
};

TEST_F(FilePacks, DeeperPackAnswersUntilAHigherOneIsCached) {
    EXPECT_EQ(readWhole(data + "Images/a.txt"), "deep a");
    // The first pack found is the only one searched.
    LogCapture log;
    EXPECT_EQ(readWhole(data + "Images/high_only.txt"), std::nullopt);
    EXPECT_TRUE(log.contains("file_readFullAndMalloc. Error open file: " + data + "Images/high_only.txt"));

    EXPECT_EQ(readWhole(data + "Sounds/s.txt"), "sound");
    EXPECT_EQ(readWhole(data + "Images/a.txt"), "high a");
    EXPECT_EQ(readWhole(data + "images/HIGH_ONLY.txt"), "high only");
}

TEST_F(FilePacks, PlainFileBeatsPackedMember) {
    EXPECT_EQ(readWhole(data + "Sounds/s.txt"), "sound"); // Data.zip is cached
    EXPECT_EQ(readWhole(data + "plain.txt"), "plain");
    EXPECT_EQ(file_getSize(data + "plain.txt"), 5u);
}

TEST_F(FilePacks, MemberCaseIsIgnoredExceptByGetSize) {
    EXPECT_EQ(readWhole(data + "mixed/CASE.txt"), std::string(3000, 'm'));
    EXPECT_TRUE(file_exists(data + "MIXED/case.TXT"));
    EXPECT_TRUE(file_existsEx(data + "MIXED/case.TXT", true));
    EXPECT_FALSE(file_existsEx(data + "MIXED/case.TXT", false));
    EXPECT_EQ(file_getSize(data + "Mixed/Case.TXT"), 3000u);
    LogCapture log;
    EXPECT_EQ(file_getSize(data + "mixed/CASE.txt"), 0u);
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"file_getSize. Error open file: " + data + "mixed/CASE.txt"});
}

TEST_F(FilePacks, BackslashesNeverSplitANameIntoPackAndMember) {
    EXPECT_TRUE(file_exists(data + "Sounds/s.txt"));
    EXPECT_FALSE(file_exists(t.file("Data\\Sounds\\s.txt")));
}

TEST_F(FilePacks, FolderInsideAPackExistsThroughItsEntry) {
    EXPECT_FALSE(file_dirExistsPlain(data + "Sounds"));
    EXPECT_TRUE(file_dirExists(data + "Sounds"));
    EXPECT_TRUE(file_dirExistsEx(data + "Sounds/", true));
    EXPECT_FALSE(file_dirExists(data + "Music"));
    EXPECT_TRUE(file_dirExists(data));
    EXPECT_FALSE(file_dirExists(""));
}

TEST_F(FilePacks, NamesOf260CharactersOrMoreAreNotLookedUpInPacks) {
    ASSERT_EQ((data + longMember259).size(), 259u);
    EXPECT_EQ(readWhole(data + longMember259), "259");
    EXPECT_FALSE(file_exists(data + longMember260));
}

TEST_F(FilePacks, CachedPackAnswersOnlyForItsOwnFolder) {
    ZipWriter other;
    other.add("m.txt", "dat");
    ASSERT_TRUE(other.save(t.file("Dat.zip")));
    EXPECT_EQ(readWhole(t.file("Dat/m.txt")), "dat");
    EXPECT_EQ(readWhole(data + "Sounds/s.txt"), "sound");
}

TEST_F(FilePacks, CorruptPackFailsWithTheReadErrorAndLeaksNothing) {
    ZipWriter bad;
    bad.add("x.txt", "never read");
    ASSERT_TRUE(bad.save(t.file("Bad.zip"), true));
    LogCapture log;
    size_t before = openDescriptors();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(readWhole(t.file("Bad/x.txt")), std::nullopt);
        EXPECT_FALSE(file_exists(t.file("Bad/x.txt")));
    }
    EXPECT_TRUE(log.contains("file_readFullAndMalloc. Error open file: " + t.file("Bad/x.txt")));
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(FilePacks, MemberWhoseDataIsShorterThanItsEntryIsNotRead) {
    std::string zip;
    {
        ZipWriter w;
        w.add("s.txt", "stored data here", Method::Stored);
        zip = w.bytes();
    }
    // The stored member claims 64 KiB more than the archive holds.
    size_t central = zip.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    zip[central + 22] = char(0x10);
    zip[central + 23] = char(0x00);
    zip[central + 24] = char(0x01);
    t.write("Short.zip", zip);
    LogCapture log;
    EXPECT_EQ(readWhole(t.file("Short/s.txt")), std::nullopt);
    EXPECT_TRUE(log.contains("file_readFullAndMalloc. Error open file: " + t.file("Short/s.txt")));
}

} // namespace
