#include "tk2v/file/aLocaleServer.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class LocaleServerTest : public ::testing::Test {
protected:
    // Writes the text file into the temp folder and loads it; returns the name it was loaded by.
    std::string load(const std::string& name, const std::string& bytes, const std::string& group = "") {
        dir.write(name, bytes);
        server.loadFile(dir.file(name), group);
        return dir.file(name);
    }
    std::optional<std::wstring> text(const std::string& id, const std::string& group = "") const {
        const std::wstring* found = server.findString(id, group);
        return found ? std::optional(*found) : std::nullopt;
    }

    TempDir dir;
    LogCapture logs;
    aLocaleServer server;
};

struct LineCase {
    const char* what;
    std::string bytes;
    std::optional<std::wstring> expected;
};

TEST_F(LocaleServerTest, ReadsTheTextOfAnEntryLine) {
    const LineCase cases[] = {
        {"with BOM",
         "\xEF\xBB\xBF"
         "A = \"Hello\"",
         L"Hello"},
        {"without BOM", "A = \"Hello\"\r\n", L"Hello"},
        {"indented", " \t A\t= \"x\"", L"x"},
        {"id ends at =", "A=\"x\"", L"x"},
        {"anything before the quote", "A whatever := \"x\"", L"x"},
        {"embedded quotes", "A = \"say \"hi\" now\"", L"say \"hi\" now"},
        {"line break escape", "A = \"one\\ntwo\\x\"", L"one\ntwo\\x"},
        {"UTF-8", "A = \"\xD0\x9F\xD1\x80\xD0\xB8\"", L"\u041F\u0440\u0438"},
        {"malformed UTF-8", "A = \"ab\xC3(cd\"", L"ab"},
        {"marker inside the quotes", "A = \"file,x\"", L"file,x"},
        {"empty text", "A = \"\"", L""},
        {"comment", "; A = \"x\"", std::nullopt},
        {"indented comment", "  ;A = \"x\"", std::nullopt},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string group = "case" + std::to_string(n++);
        load(group + ".txt", c.bytes, group);
        EXPECT_EQ(text("A", group), c.expected) << c.what;
    }
    EXPECT_TRUE(logs.messages().empty());
}

TEST_F(LocaleServerTest, BadLinesLogTheirNumberAndDefineNothing) {
    const std::string name =
        load("bad.txt", "A = \"ok\"\n\n\nNOQUOTES\r\nB = \"one quote\n  \nC =\n\tD = \"fine\"\n");
    EXPECT_EQ(text("A"), L"ok");
    EXPECT_EQ(text("D"), L"fine");
    EXPECT_EQ(text("NOQUOTES"), std::nullopt);
    EXPECT_EQ(text("B"), std::nullopt);
    EXPECT_EQ(text("C"), std::nullopt);
    const std::vector<std::string> expected = {
        "aLocaleServer. Error in file " + name + ", line 2",
        "aLocaleServer. Error in file " + name + ", line 3",
        "aLocaleServer. Error in file " + name + ", line 5",
    };
    EXPECT_EQ(logs.messages(), expected);
}

TEST_F(LocaleServerTest, LaterDefinitionReplacesEarlier) {
    load("one.txt", "A = \"first\"\nA = \"second\"\nB = \"kept\"");
    EXPECT_EQ(text("A"), L"second");
    load("two.txt", "A = \"third\"");
    EXPECT_EQ(text("A"), L"third");
    EXPECT_EQ(text("B"), L"kept");
}

TEST_F(LocaleServerTest, FileMarkerReadsTheTextFromAnotherFile) {
    dir.write("lang/long.txt", "\xEF\xBB\xBFline1\r\nline2\\n\r\n");
    dir.write("lang/sub/x.txt", "not reached");
    dir.write("abs/a.txt", "absolute");
    load("lang/Main.txt", "REL file,\"long.txt\"\n"
                          "ABS = file, \"" +
                              dir.file("abs/a.txt") +
                              "\"\n"
                              "SEP file,\"sub/x.txt\"\n"
                              "GONE file,\"missing.txt\"\n");
    EXPECT_EQ(text("REL"), L"line1\nline2\\n\n");
    EXPECT_EQ(text("ABS"), L"absolute");
    // A name with a folder is not joined to the text file's folder.
    EXPECT_EQ(text("SEP"), L"");
    EXPECT_EQ(text("GONE"), L"");
    EXPECT_TRUE(logs.contains("file_readFullAndMalloc. Error open file: " + dir.file("lang/missing.txt")));
}

TEST_F(LocaleServerTest, EachGroupHoldsItsOwnKeysAndAPairIsReadOnce) {
    const std::string room = load("room.txt", "A = \"one\"", "RoomA");
    dir.write("room.txt", "A = \"two\"");
    server.loadFile(room, "RoomB");
    server.loadFile(room, "RoomA");
    EXPECT_EQ(text("A", "RoomA"), L"one");
    EXPECT_EQ(text("A", "RoomB"), L"two");
    EXPECT_EQ(text("A"), std::nullopt);
    EXPECT_EQ(text("RoomA:A"), L"one");
}

TEST_F(LocaleServerTest, UnloadRemovesOnlyThatGroupsKeys) {
    const std::string main = load("main.txt", "A = \"main\"\nB = \"main\"");
    const std::string room = load("room.txt", "A = \"room\"", "Room");
    server.loadFile(room, "Other");

    EXPECT_TRUE(server.unloadFile(room, "Room"));
    EXPECT_EQ(text("A", "Room"), std::nullopt);
    EXPECT_EQ(text("A", "Other"), L"room");
    EXPECT_EQ(text("A"), L"main");
    EXPECT_FALSE(server.unloadFile(room, "Room"));
    EXPECT_FALSE(server.unloadFile(main, "Room"));
    EXPECT_FALSE(server.unloadFile(dir.file("never.txt"), ""));

    EXPECT_TRUE(server.unloadFile(main, ""));
    EXPECT_EQ(text("A"), std::nullopt);
    EXPECT_EQ(text("B"), std::nullopt);

    // An unloaded pair is read afresh by the next load.
    dir.write("room.txt", "A = \"again\"");
    server.loadFile(room, "Room");
    EXPECT_EQ(text("A", "Room"), L"again");
}

TEST_F(LocaleServerTest, OnlyGetStringLogsAMissingText) {
    load("main.txt", "A = \"x\"", "G");
    EXPECT_EQ(server.getString("A", "G"), L"x");
    EXPECT_EQ(server.findString("Z", "G"), nullptr);
    EXPECT_EQ(server.getString("Z", "G"), L"");
    EXPECT_EQ(logs.messages(), std::vector<std::string>{"aLocaleServer. String [Z] not found"});
}

TEST_F(LocaleServerTest, MissingTextFileAddsNothing) {
    server.loadFile(dir.file("none.txt"), "");
    EXPECT_EQ(logs.messages(),
              std::vector<std::string>{"file_readFullAndMalloc. Error open file: " + dir.file("none.txt")});
    EXPECT_TRUE(server.unloadFile(dir.file("none.txt"), ""));
}

TEST(LocaleServerInstanceTest, ConstructorPublishesAndDestructorClears) {
    {
        aLocaleServer server;
        EXPECT_EQ(aLocaleServer::getInstance(), &server);
    }
    EXPECT_EQ(aLocaleServer::getInstance(), nullptr);
}

} // namespace
