#include "tk2v/file/aStringList.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines parse(const std::string& bytes) {
    aStringList list;
    list.parse(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size()));
    return list.lines();
}

TEST(StringList, SplitsAtRunsOfBreaks) {
    struct Case {
        const char* what;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"no final break", "a\nb", {"a", "b"}},
        {"CR LF and blank lines", "a\r\n\r\n\r\nb\r\n", {"a", "b"}},
        {"lone CR breaks", "a\rb\r", {"a", "b"}},
        {"leading break gives an empty first line", "\r\n\nx", {"", "x"}},
        {"breaks only", "\n\n", {""}},
        {"empty data", "", {}},
        {"blanks are kept", "  a b \t\n", {"  a b \t"}},
        {"zero byte ends the line's text", std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {"last line with no text before a zero", std::string("a\n\0b", 4), {"a"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.bytes), c.expected) << c.what;
}

TEST(StringList, LongLineIsCutAndLoggedOnce) {
    LogCapture logs;
    const Lines lines = parse(std::string(3000, 'x') + "\nnext");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(1024, 'x'));
    EXPECT_EQ(lines[1], "next");
    EXPECT_EQ(logs.messages(), Lines{"aStringList. Long string"});

    logs.clear();
    EXPECT_EQ(parse(std::string(1024, 'y')), Lines{std::string(1024, 'y')});
    EXPECT_TRUE(logs.messages().empty());
}

TEST(StringList, CursorWalksTheLines) {
    aStringList list;
    EXPECT_TRUE(list.isEnd());
    EXPECT_EQ(list.getCurrent(), "");
    const std::string bytes = "one\ntwo";
    list.parse(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size()));
    EXPECT_TRUE(list.isFirst());
    EXPECT_EQ(list.getCurrent(), "one");
    list.next();
    EXPECT_FALSE(list.isFirst());
    EXPECT_EQ(list.getCurrent(), "two");
    list.next();
    list.next();
    EXPECT_TRUE(list.isEnd());
    EXPECT_EQ(list.getCurrent(), "");
    list.first();
    EXPECT_EQ(list.getCurrent(), "one");
}

TEST(StringList, LoadsAFileAndEmptiesOnAReadError) {
    TempDir dir;
    dir.write("list.txt", "first\r\nsecond\r\n");
    aStringList list(dir.file("list.txt"));
    EXPECT_EQ(list.lines(), (Lines{"first", "second"}));
    EXPECT_EQ(list.getCurrent(), "first");

    LogCapture logs;
    list.load(dir.file("missing.txt"));
    EXPECT_EQ(list.size(), 0u);
    EXPECT_TRUE(list.isEnd());
    EXPECT_FALSE(logs.messages().empty());
}

} // namespace
