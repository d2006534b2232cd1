#include "tk2v/file/aOptionsFile.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Entries = std::vector<std::pair<std::string, std::string>>;

class OptionsFileTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& text) {
        return dir.writeLinked(name, text);
    }
    void load(const std::string& text) { options.load(write("main.ini", text)); }

    // Every section in file order as "name: key=value, ..."
    Strings walk() {
        Strings sections;
        for (options.first(); !options.isEnd(); options.nextSection()) {
            std::string text = options.getSectionName() + ":";
            for (options.firstKey(); !options.isKeysEnd(); options.nextKey())
                text.append(" ")
                    .append(options.getKeyName())
                    .append("=")
                    .append(options.getKeyValue())
                    .append(",");
            sections.push_back(text);
        }
        return sections;
    }

    TempDir dir;
    LogCapture logs;
    aOptionsFile options;
};

TEST_F(OptionsFileTest, EntryLinesGiveRawKeysAndValues) {
    struct Case {
        std::string line;
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {"key=value", "key", "value"},
        {"key = value", "key", "value"},
        {"key==value", "key", "value"},
        {"key   value", "key", "value"},
        {"   key = value", "key", "value"},
        {"key = value ; comment", "key", "value "},
        {"key = a;b", "key", "a"},
        {"key = value  ", "key", "value  "},
        {"key = a = b", "key", "a = b"},
        {"key = \"quoted\"", "key", "\"quoted\""},
        {"key", "key", ""},
        {"key = ;", "key", ""},
        {"\tkey = v", "\tkey", "v"},
        {"key\t= v", "key\t", "v"},
        {"#define x 1", "#define", "x 1"},
        {"Key = V", "Key", "V"},
    };
    for (const Case& c : cases) {
        load("[s]\n" + c.line + "\n");
        EXPECT_EQ(walk(), Strings{"s: " + c.key + "=" + c.value + ","}) << c.line;
    }
}

TEST_F(OptionsFileTest, HeadersCommentsAndEntriesBeforeTheFirstSection) {
    const std::string name = write("main.ini", "early = 1\n; comment\n   ;indented\n\t;tab is a key\n"
                                               "  [ a b ]x\n[open\n[]\n\n[last]\nk = v\n");
    options.load(name);
    EXPECT_EQ(walk(), (Strings{" a b :", "open:", ":", "last: k=v,"}));
    const Strings incorrect(2, "aOptionsFile. Incorrect file: " + name);
    EXPECT_EQ(logs.messages(), incorrect);

    // The next load starts outside every section again.
    logs.clear();
    load("k = v\n");
    EXPECT_TRUE(options.isEnd());
    EXPECT_EQ(logs.messages().size(), 1u);
}

TEST_F(OptionsFileTest, IncludesContinueTheCurrentSection) {
    write("inc.ini", "z = 3\n[b]\nw = 4\n");
    load("[a]\nx = 1\n  #include \"@/inc.ini\" trailing\ny = 2\n#include \"@/missing.ini\"\n#include none\n");
    EXPECT_EQ(walk(), (Strings{"a: x=1, z=3,", "b: w=4, y=2,"}));
    EXPECT_EQ(logs.messages().size(), 2u); // the read errors of the missing file and of the empty name
}

TEST_F(OptionsFileTest, IncludeLoopsStopAtTheBounds) {
    const std::string self = write("self.ini", "[s]\n#include \"@/self.ini\"\nk = v\n");
    options.load(self);
    EXPECT_EQ(walk().size(), size_t(aOptionsFile::MaxIncludeDepth + 1));
    EXPECT_EQ(logs.messages(), Strings{"aOptionsFile. Incorrect file: " + self});

    const std::string twice = write("twice.ini", "[s]\n#include \"@/twice.ini\"\n#include \"@/twice.ini\"\n");
    options.load(twice);
    EXPECT_EQ(walk().size(), size_t(aOptionsFile::MaxIncludes + 1));
}

TEST_F(OptionsFileTest, DuplicateSectionsAndKeys) {
    load("[d]\na = 1\na = 2\n[other]\n[d]\nb = 3\n");
    EXPECT_TRUE(options.selectSection("d"));
    EXPECT_EQ(options.getString("a"), "1");
    EXPECT_FALSE(options.hasKey("b"));
    EXPECT_EQ(options.getValue("d", "b"), "");
    EXPECT_TRUE(logs.contains("aOptionsFile. Cannot find key: [d].b"));
    EXPECT_TRUE(options.hasSectionKey("d", "b"));
    EXPECT_FALSE(options.hasSectionKey("D", "b"));

    options.setValue("d", "a", "9");
    options.setValue("d", "c", "4");
    options.appendValue("d", "b", "5");
    EXPECT_EQ(walk(), (Strings{"d: a=9, a=2, c=4,", "other:", "d: b=3, a=9, c=4, b=5,"}));
}

TEST_F(OptionsFileTest, CursorsAndSelection) {
    EXPECT_TRUE(options.isEnd());
    EXPECT_FALSE(options.firstKey());
    EXPECT_FALSE(options.nextKey());
    EXPECT_TRUE(options.isKeysEnd());
    EXPECT_EQ(options.getSectionName(), "");
    EXPECT_EQ(options.getKeyName(), "");

    load("[one]\nk = 1\n[two]\n[Two]\nx = 2\n");
    EXPECT_EQ(options.getSectionName(), "one");
    EXPECT_TRUE(options.selectSection("Two"));
    EXPECT_FALSE(options.selectSection("TWO"));
    EXPECT_EQ(options.getSectionName(), "Two");
    EXPECT_TRUE(options.firstKey());
    EXPECT_EQ(options.getKeyValue(), "2");
    EXPECT_TRUE(options.nextKey());
    EXPECT_TRUE(options.isKeysEnd());
    EXPECT_FALSE(options.nextKey());

    options.nextSection();
    EXPECT_TRUE(options.isEnd());
    options.nextSection();
    options.addSection("added");
    EXPECT_TRUE(options.isEnd());
    options.clear();
    EXPECT_TRUE(options.isEnd());
}

TEST_F(OptionsFileTest, IntegersAndLists) {
    load("[s]\nn1 = 12\nn2 =   12abc\nn3 = abc\nn4 = -5\nn5 =\nn6 = 99999999999\n"
         "list = a, b,,c  d ,\nints = 1, 2,x,3\n");
    const std::pair<const char*, int> ints[] = {{"n1", 12}, {"n2", 12}, {"n3", 0},
                                                {"n4", -5}, {"n5", 0},  {"n6", INT_MAX}};
    for (const auto& [key, value] : ints)
        EXPECT_EQ(options.getInt(key), value) << key;

    Strings list{"kept"};
    options.getStringList(list, "list");
    EXPECT_EQ(list, (Strings{"kept", "a", "b", "c", "d"}));
    std::vector<i32> numbers;
    options.getIntList(numbers, "ints");
    EXPECT_EQ(numbers, (std::vector<i32>{1, 2, 0, 3}));
    Strings fromSection;
    options.getValueList(fromSection, "s", "ints");
    EXPECT_EQ(fromSection, (Strings{"1", "2", "x", "3"}));
    EXPECT_TRUE(logs.messages().empty());
}

TEST_F(OptionsFileTest, LongTextIsCutToTheScratchLimit) {
    load("[s]\n" + std::string(1024, 'k') + "\n");
    ASSERT_TRUE(options.firstKey());
    EXPECT_EQ(options.getKeyName(), std::string(aOptionsFile::MaxToken, 'k'));

    options.setValue("s", "list", std::string(1020, 'x') + ",yyyyyy");
    EXPECT_EQ(options.getString("list").size(), 1027u);
    Strings pieces;
    options.getStringList(pieces, "list");
    EXPECT_EQ(pieces, (Strings{std::string(1020, 'x'), "yy"}));
}

TEST_F(OptionsFileTest, FailedLookupsLogAndGiveEmptyValues) {
    Strings out;
    options.getStringList(out, "k");
    EXPECT_EQ(options.getInt("k"), 0);
    load("[s]\nk = 1\n");
    EXPECT_EQ(options.getValue("nope", "k"), "");
    EXPECT_EQ(options.getValue("s", "nope"), "");
    EXPECT_EQ(options.getString("nope"), "");
    options.getValueList(out, "s", "gone");
    options.setValue("nope", "k", "v");
    options.appendValue("nope", "k", "v");
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(options.hasKey("nope"));
    EXPECT_FALSE(options.hasSectionKey("nope", "k"));
    EXPECT_EQ(logs.messages(), (Strings{
                                   "aOptionsFile. Error get key \"k\" from unspecified current section!",
                                   "aOptionsFile. Error get key \"k\" from unspecified current section!",
                                   "aOptionsFile. Cannot find section: [nope]",
                                   "aOptionsFile. Cannot find key: [s].nope",
                                   "aOptionsFile. Cannot find key \"nope\" in current section!",
                                   "aOptionsFile. Cannot find key: [s].gone",
                                   "aOptionsFile. Cannot find section for set: nope",
                                   "aOptionsFile. Cannot find section for set: nope",
                               }));
}

} // namespace
