#include "game/ProfilesManager.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr auto hex = &SaveRecords::hex;
constexpr auto seal = &SaveRecords::seal;

// The current profile and one list entry, both "Tester", windowed.
const std::string testerFile = hex(
    "6a 6a 69 68 6e 6e 6d 6c 5f 12 13 0f 01 0f 09 01 08 44 79 48 7f 7e 7d 28 16 01 05 15 05 76 75 74 0b "
    "75 d3 d1 d6 70 4d 4c 43 42 40 41 47 47 45 44 5b 0e 3c 2b 2b 3b 2f 5c 53 52 11 6f cd cf cc 6a 2b 2a 29 "
    "28 2e 2f 2d fd 3e 22 21");
const std::string tester = "54 65 73 74 65 72 00 00 00 40 3f 9a 99 99 3e 00 00 00 00 01 01 00 ";
const std::string recordHead = "01 00 00 00 01 00 00 00 3c 70 72 6f 66 69 6c 65 73 3e 00 ";

Profile testerProfile() {
    Profile p;
    p.name = "Tester";
    p.fullScreen = false;
    return p;
}

class ProfilesManagerTest : public testing::Test {
protected:
    void SetUp() override {
        testApplication(); // the file server
        g_currentProfile = DEFAULT_PROFILE;
        profiles.setFolders(dir.path(), dir.path() + "saves/");
        std::filesystem::create_directories(dir.path() + "saves");
        capture.clear();
    }
    void TearDown() override { g_currentProfile = DEFAULT_PROFILE; }

    std::string profilesFile() const { return dir.file("RVH_profiles.dat"); }

    TempDir dir;
    ProfilesManager profiles;
    LogCapture capture;
};

TEST_F(ProfilesManagerTest, TheTesterFixtureReadsAndWritesBack) {
    dir.write("RVH_profiles.dat", testerFile);
    profiles.Load();
    EXPECT_TRUE(profiles.WasLoaded());
    ASSERT_EQ(profiles.getProfiles(), std::vector<Profile>{testerProfile()});
    EXPECT_EQ(g_currentProfile, testerProfile());
    EXPECT_EQ(profiles.getSelected(), 0);
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{"Profiles list", "* Tester"}));

    std::filesystem::remove(profilesFile());
    EXPECT_TRUE(profiles.Save());
    EXPECT_TRUE(dir.read("RVH_profiles.dat") == testerFile);
}

TEST_F(ProfilesManagerTest, SaveSyncsTheSelectedEntryWithTheCurrentProfile) {
    dir.write("RVH_profiles.dat", testerFile);
    profiles.Load();
    // The dialog is closed: the current profile's settings go into its list entry.
    g_currentProfile.musicVolume = 0.9f;
    ASSERT_TRUE(profiles.Save());
    EXPECT_EQ(profiles.getProfiles()[0].musicVolume, 0.9f);
    ProfilesManager again;
    again.setFolders(dir.path(), dir.path());
    g_currentProfile = DEFAULT_PROFILE;
    again.Load();
    EXPECT_EQ(g_currentProfile.musicVolume, 0.9f);
    EXPECT_EQ(again.getProfiles()[0].musicVolume, 0.9f);
}

TEST_F(ProfilesManagerTest, MissingOrBadFilesLeaveAnEmptyListAndTheCurrentProfile) {
    struct Case {
        const char* what;
        std::string bytes; // empty: no file
        std::vector<std::string> log;
    };
    const std::string corrupt = "ProfilesManager::LoadSelf(). Corrupt profiles record, ";
    const std::string failed = "SaveLoadSystem: file \"" + profilesFile() + "\" load failed!";
    const std::string missing = "file_readFullAndMalloc. Error open file: " + profilesFile();
    const Case cases[] = {
        {"no file", "", {missing, failed, "Profiles list"}},
        {"saved-game header", seal(hex("d8 0f 00 00 00 00 00 00")), {failed, "Profiles list"}},
        // 0xFFFFFFFF profiles of at least 16 bytes each in a record of 26 bytes.
        {"huge count",
         seal(hex(recordHead + "1a 00 00 00 " + tester + "ff ff ff ff")),
         {corrupt + "4294967295 profiles claimed", "Profiles list"}},
        {"count past the record",
         seal(hex(recordHead + "30 00 00 00 " + tester + "02 00 00 00 " + tester)),
         {corrupt + "2 profiles claimed", "Profiles list"}},
        // 18 bytes left for one profile, but its name runs on into the next record, which the
        // reader must not take for the rest of it.
        {"profile runs into the next record",
         seal(hex("01 00 00 00 02 00 00 00 3c 70 72 6f 66 69 6c 65 73 3e 00 2c 00 00 00 " + tester +
                  "01 00 00 00 41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f 50 51 52 78 00 16 00 00 00 " +
                  tester)),
         {corrupt + "1 profiles claimed", "Profiles list"}},
    };
    for (const Case& c : cases) {
        if (c.bytes.empty())
            std::filesystem::remove(profilesFile());
        else
            dir.write("RVH_profiles.dat", c.bytes);
        capture.clear();
        profiles.Load();
        EXPECT_TRUE(profiles.getProfiles().empty()) << c.what;
        EXPECT_EQ(g_currentProfile, DEFAULT_PROFILE) << c.what;
        EXPECT_EQ(profiles.getSelected(), -1) << c.what;
        EXPECT_EQ(capture.messages(), c.log) << c.what;
    }
}

TEST_F(ProfilesManagerTest, ACountOfZeroStillRestoresTheCurrentProfile) {
    dir.write("RVH_profiles.dat", seal(hex(recordHead + "1a 00 00 00 " + tester + "00 00 00 00")));
    profiles.Load();
    EXPECT_TRUE(profiles.getProfiles().empty());
    EXPECT_EQ(g_currentProfile, testerProfile());
    EXPECT_EQ(profiles.getSelected(), -1);
}

TEST_F(ProfilesManagerTest, ProfilesWithEmptyNamesAreTheSmallestAndStillLoad) {
    Profile empty = testerProfile();
    empty.name = "";
    profiles.getProfiles() = {empty, empty};
    ASSERT_TRUE(profiles.Save());
    ProfilesManager again;
    again.setFolders(dir.path(), dir.path());
    again.Load();
    EXPECT_EQ(again.getProfiles().size(), 2u);
}

TEST_F(ProfilesManagerTest, NamesAreFoundIgnoringCaseAndListedWithTheSelection) {
    Profile a = testerProfile(), b = testerProfile(), c = testerProfile();
    a.name = "Anna";
    b.name = "bob";
    c.name = "Ünï";
    profiles.getProfiles() = {a, b, c};
    g_currentProfile = b;
    ASSERT_TRUE(profiles.Save());
    ProfilesManager again;
    again.setFolders(dir.path(), dir.path());
    capture.clear();
    again.Load();
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{"Profiles list", "  Anna", "* bob", "  Ünï"}));
    EXPECT_EQ(again.FindProfile("ANNA"), 0);
    EXPECT_EQ(again.FindProfile("Bob"), 1);
    EXPECT_EQ(again.FindProfile("Ünï"), 2);
    EXPECT_EQ(again.FindProfile("üNÏ"), -1); // only ASCII letters fold
    EXPECT_EQ(again.FindProfile("Ann"), -1);
}

TEST_F(ProfilesManagerTest, SavePathsStayInTheirFolderWhateverTheName) {
    const struct {
        const char* name;
        const char* file;
    } cases[] = {
        {"Tester", "RVH_Tester.save"},
        {"a/b", "RVH_a_b.save"},
        {"..\\..\\x", "RVH_.._.._x.save"},
        {"tab\tand\x7f", "RVH_tab_and_.save"},
        {"../../outside", "RVH_.._.._outside.save"},
    };
    for (const auto& c : cases) {
        Profile p;
        p.name = c.name;
        EXPECT_EQ(profiles.GetSaveFileName(p), dir.path() + "saves/" + c.file) << c.name;
    }

    // Deleting goes to the mapped file only, never to what the raw name points at.
    dir.write("outside.save", "keep");
    dir.write("saves/RVH_.._.._outside.save", "old game");
    Profile escaping;
    escaping.name = "../../outside";
    profiles.DeleteSaveFile(escaping);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "saves/RVH_.._.._outside.save"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "outside.save"));
    profiles.DeleteSaveFile(escaping); // none left: nothing happens, nothing is logged
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(ProfilesManagerTest, NewNamesNeedMoreThanSpacesAndNoPathCharacters) {
    const struct {
        const char* name;
        bool acceptable;
    } cases[] = {
        {"", false},    {"   ", false},  {"Bob", true},    {" Bob ", true},  {"Ünï", true},
        {"a/b", false}, {"a\\b", false}, {"tab\t", false}, {"a\x01", false}, {"del\x7f", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfilesManager::IsAcceptableName(c.name), c.acceptable) << c.name;
    EXPECT_EQ(ProfilesManager::TrimSpaces("  Bob  "), "Bob");
    EXPECT_EQ(ProfilesManager::TrimSpaces(" \tBob\t "), "\tBob\t");
    EXPECT_EQ(ProfilesManager::TrimSpaces("   "), "");
}

TEST_F(ProfilesManagerTest, NothingIsLoadedUntilLoadRuns) {
    EXPECT_FALSE(profiles.WasLoaded());
    EXPECT_EQ(profiles.getDialogState(), 0);
    EXPECT_EQ(profiles.GetProfilesFileName(), dir.file("RVH_profiles.dat"));
}

} // namespace
