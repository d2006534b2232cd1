#include "tk2v/file/aScriptLoader.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

std::string join(const Strings& tokens) {
    std::string text;
    for (const std::string& t : tokens)
        text += (text.empty() ? "" : "|") + t;
    return "[" + text + "]";
}

// Writes every call as a line of text; a header whose first token is "skip" gets handle 0.
class RecordingLoader : public aScriptLoader {
public:
    Strings events;
    Strings scripts;

    void reset() {
        events.clear();
        scripts.clear();
        m_next = 0;
    }

protected:
    void BeginScript(const std::string& name) override { scripts.push_back("begin " + name); }
    int EndScript(const std::string& name) override {
        scripts.push_back("end " + name);
        return 7;
    }
    u32 BeginSection(u32 parent, const Strings& tokens) override {
        const u32 handle = !tokens.empty() && tokens[0] == "skip" ? 0 : ++m_next;
        events.push_back("begin " + std::to_string(parent) + " " + join(tokens) + " " +
                         std::to_string(handle));
        return handle;
    }
    void EndSection(u32 handle) override { events.push_back("end " + std::to_string(handle)); }
    void ReadEntry(u32 handle, const Strings& tokens) override {
        events.push_back("entry " + std::to_string(handle) + " " + join(tokens));
    }

private:
    u32 m_next = 0;
};

class ScriptLoaderTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& text) {
        return dir.writeLinked(name, text);
    }
    Strings run(const std::string& text) {
        loader.reset();
        loader.load(write("main.agui", text));
        return loader.events;
    }
    std::vector<int> errorLines(const std::string& script) const {
        std::vector<int> lines;
        const std::string prefix = "Error in script \"" + script + "\", line ";
        for (const std::string& m : logs.messages())
            if (m.starts_with(prefix))
                lines.push_back(std::stoi(m.substr(prefix.size())));
        return lines;
    }
    size_t count(const std::string& prefix) const {
        return size_t(std::count_if(loader.events.begin(), loader.events.end(),
                                    [&](const std::string& e) { return e.starts_with(prefix); }));
    }

    TempDir dir;
    LogCapture logs;
    RecordingLoader loader;
};

struct Case {
    const char* what;
    std::string script;
    Strings events;
    std::vector<int> errors;
};

TEST_F(ScriptLoaderTest, DeliversSectionsAndEntries) {
    const Case cases[] = {
        {"entries one line late, the last before the close",
         "Window a\n{\nPos 1 2\nSize 3\n}\n",
         {"begin 0 [Window|a] 1", "entry 1 [Pos|1|2]", "entry 1 [Size|3]", "end 1"},
         {}},
        {"nested sections in file order",
         "Root\n{\nA 1\nChild\n{\nB 2\n}\nC 3\n}\n",
         {"begin 0 [Root] 1", "entry 1 [A|1]", "begin 1 [Child] 2", "entry 2 [B|2]", "end 2", "entry 1 [C|3]",
          "end 1"},
         {}},
        {"header survives a blank line, a comment and a define; braces may be indented",
         "Win\n\n  ; note\n#define X \"1\"\n  {  \nv $X$\n\t}\t\n",
         {"begin 0 [Win] 1", "entry 1 [v|1]", "end 1"},
         {}},
        {"a section of handle 0 hides its entries and nested sections",
         "skip\n{\nA 1\nInner\n{\nB 2\n}\n}\nNext\n{\n}\n",
         {"begin 0 [skip] 0", "begin 0 [Next] 1", "end 1"},
         {}},
        {"a script that ends inside sections drops them and its last line, with no error line",
         "S\n{\nA 1\nInner\n{\nB 2\n",
         {"begin 0 [S] 1", "entry 1 [A|1]", "begin 1 [Inner] 2"},
         {}},
        {"lines outside every section are dropped",
         "loose 1\nloose 2\nS\n{\n}\nafter 1\nafter 2\n",
         {"begin 0 [S] 1", "end 1"},
         {}},
        {"quoted tokens",
         "S\n{\nText \"hello  world\"\n\"only\"\nA \"b c\"\td\nE \"\" f\nOpen \"never closed\nSemi a;b\n}\n",
         {"begin 0 [S] 1", "entry 1 [Text|hello  world]", "entry 1 [only]", "entry 1 [A|b c|d]",
          "entry 1 [E||f]", "entry 1 [Open]", "entry 1 [Semi|a;b]", "end 1"},
         {}},
        {"defines: undefined names stay, inserted text is not searched again, redefinition wins",
         "#define W \"10\"\n#define A \"$W$ and $B$\"\n#define B \"x\"\nS\n{\nPos $W$ $Nope$ $$W$\nT $A$\n"
         "#define W \"2\"\nU $W$$W$\n}\n",
         {"begin 0 [S] 1", "entry 1 [Pos|10|$Nope$|$10]", "entry 1 [T|10|and|$B$]", "entry 1 [U|22]",
          "end 1"},
         {}},
        {"blank lines are not counted", "a\n\n\n{\n}\n}\n", {"begin 0 [a] 1", "end 1"}, {4}},
        {"braces without header or open section", "{\n}\n", {}, {1, 2}},
        {"define without a name", "#define\n#define \t \n#define NAME\n", {}, {1, 2, 3}},
        {"define without quotes gives an empty text",
         "#define N value\n#define Q \"one quote\nS\n{\nv a$N$b$Q$c\n}\n",
         {"begin 0 [S] 1", "entry 1 [v|abc]", "end 1"},
         {1, 2}},
        {"include without a quoted name", "#include\n#include \"x\n", {}, {1, 2}},
    };
    for (const Case& c : cases) {
        logs.clear();
        EXPECT_EQ(run(c.script), c.events) << c.what;
        EXPECT_EQ(errorLines(dir.file("main.agui")), c.errors) << c.what;
    }
}

TEST_F(ScriptLoaderTest, IncludesShareSectionsPendingEntryAndDefines) {
    write("body.agui", "{\n#define D \"1\"\nin $D$\n");
    write("uses.agui", "late $D$\n");
    EXPECT_EQ(
        run("Win\n#include \"@/body.agui\"\nafter $D$\n#include \"@/uses.agui\"\n}\n"),
        (Strings{"begin 0 [Win] 1", "entry 1 [in|1]", "entry 1 [after|1]", "entry 1 [late|1]", "end 1"}));

    // The next top-level script starts without the defines.
    EXPECT_EQ(run("S\n{\nv $D$\n}\n"), (Strings{"begin 0 [S] 1", "entry 1 [v|$D$]", "end 1"}));
    EXPECT_TRUE(errorLines(dir.file("main.agui")).empty());
}

TEST_F(ScriptLoaderTest, MissingIncludeReadsAsEmpty) {
    EXPECT_EQ(run("S\n{\n#include \"@/missing.agui\"\nv 1\n}\n"),
              (Strings{"begin 0 [S] 1", "entry 1 [v|1]", "end 1"}));
    EXPECT_TRUE(errorLines(dir.file("main.agui")).empty());
    EXPECT_FALSE(logs.messages().empty());
}

TEST_F(ScriptLoaderTest, IncludeLoopsStopAtTheBounds) {
    const std::string self = write("self.agui", "#include \"@/self.agui\"\nS\n{\n}\n");
    loader.load(self);
    EXPECT_EQ(count("begin "), size_t(aScriptLoader::MaxIncludeDepth + 1));
    EXPECT_EQ(errorLines(self), std::vector<int>{1});

    // Two files that include each other twice would otherwise read an exponential number of times.
    write("a.agui", "#include \"@/b.agui\"\n#include \"@/b.agui\"\nS\n{\n}\n");
    write("b.agui", "#include \"@/a.agui\"\n#include \"@/a.agui\"\nS\n{\n}\n");
    loader.reset();
    loader.load(dir.file("a.agui"));
    EXPECT_EQ(count("begin "), size_t(aScriptLoader::MaxIncludes + 1));
    EXPECT_EQ(count("end "), size_t(aScriptLoader::MaxIncludes + 1));
}

TEST_F(ScriptLoaderTest, LoadFramesTheScriptAndForgetsOpenSections) {
    const std::string first = write("first.agui", "S\n{\nx 1\n");
    EXPECT_EQ(loader.load(first), 7);
    EXPECT_EQ(loader.scripts, (Strings{"begin " + first, "end " + first}));
    EXPECT_EQ(loader.events, Strings{"begin 0 [S] 1"});

    EXPECT_EQ(run("}\n"), Strings{});
    EXPECT_EQ(errorLines(dir.file("main.agui")), std::vector<int>{1});
}

TEST_F(ScriptLoaderTest, ExpansionStopsAtTheLineLimit) {
    const std::string text(1000, 'x');
    const Strings events = run("#define A \"" + text + "\"\nS\n{\nv $A$$A$$A$$A$$A$$A$\n}\n");
    ASSERT_EQ(events.size(), 3u);
    const std::string kept = "entry 1 [v|" + text + text + text + text + "$A$$A$]";
    EXPECT_EQ(events[1], kept);
    EXPECT_EQ(errorLines(dir.file("main.agui")), std::vector<int>{4});
}

} // namespace
