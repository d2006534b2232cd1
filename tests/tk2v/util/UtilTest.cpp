#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "tk2v/util/aCmdLine.h"
#include "tk2v/util/aCriticalSection.h"
#include "tk2v/util/aException.h"
#include "tk2v/util/aSingleton.h"
#include "tk2v/util/aTimer.h"
#include "tk2v/util/log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string fileText(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string s;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    return s;
}

// The stamp of a line logged at the given time after the log timer started.
std::string stampAt(std::uint64_t ns) {
    FakeClock clock;
    a_logTimer().reset();
    std::FILE* f = std::tmpfile();
    a_logSetFile(f);
    clock.advanceNs(ns);
    log("x");
    a_logSetFile(nullptr);
    std::string line = fileText(f);
    std::fclose(f);
    return line.substr(0, line.find('\t'));
}

TEST(Log, LineCarriesHoursMinutesSecondsAndMilliseconds) {
    FakeClock clock;
    a_logTimer().reset();
    std::FILE* f = std::tmpfile();
    a_logSetFile(f);
    clock.advanceNs(3723004000000ull);
    log("hello %d", 5);
    a_log(nullptr);
    a_logSetFile(nullptr);
    EXPECT_EQ(fileText(f), "01:02:03.004\thello 5\n01:02:03.004\ta_log. NULL log string\n");
    std::fclose(f);
}

TEST(Log, StampTakesTheTimersMillisecondsAtTheExactInstant) {
    // 3723.004 s is 3723.00390625 as the timer's float: its milliseconds, in the timer's own float
    // arithmetic, are 3723004, where a product in double would truncate to 3723003.
    struct Case {
        std::uint64_t ns;
        const char* stamp;
    };
    const Case cases[] = {{0, "00:00:00.000"},
                          {999000000ull, "00:00:00.999"},
                          {59999000000ull, "00:00:59.999"},
                          {3723004000000ull, "01:02:03.004"},
                          {36000004000000ull, "10:00:00.004"}};
    for (const Case& c : cases)
        EXPECT_EQ(stampAt(c.ns), c.stamp) << c.ns;
}

TEST(Log, AStampOfATimerRunningBackwardsReadsZero) {
    a_logTimer().reset(); // on the real clock, far past where the manual clock starts
    FakeClock clock;
    std::FILE* f = std::tmpfile();
    a_logSetFile(f);
    log("x");
    a_logSetFile(nullptr);
    EXPECT_EQ(fileText(f), "00:00:00.000\tx\n");
    std::fclose(f);
}

TEST(Log, NothingIsWrittenWhileClosedAndLongMessagesAreCut) {
    log("dropped");
    LogCapture capture;
    std::string huge(20000, 'x');
    log("%s", huge.c_str());
    log(std::string("100% sure %s %n"));
    auto m = capture.messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_LT(m[0].size(), huge.size());
    EXPECT_EQ(m[0], std::string(m[0].size(), 'x'));
    EXPECT_EQ(m[1], "100% sure %s %n");
}

TEST(Log, FileLineKeepsTheNameAfterTheLastSeparator) {
    EXPECT_STREQ(a_fileLine("c:\\src\\engine\\aSingleton.h", 38), "(aSingleton.h, line 38)");
    EXPECT_STREQ(a_fileLine("code/tk2v/util/x.cpp", 7), "(x.cpp, line 7)");
    EXPECT_STREQ(a_fileLine("plain", 1), "(plain, line 1)");
}

struct Thing : aSingleton<Thing> {};

TEST(Singleton, MissingInstanceIsLoggedWithItsLine) {
    LogCapture capture;
    EXPECT_EQ(Thing::getSingleton(), nullptr);
    EXPECT_TRUE(capture.contains("aSingleton<class (anonymous namespace)::Thing>::getSingleton: ms_Singleton "
                                 "(aSingleton.h, line 40)"));
    {
        Thing t;
        EXPECT_EQ(Thing::getSingleton(), &t);
    }
    EXPECT_EQ(Thing::getSingleton(), nullptr);
}

TEST(Timer, MillisecondModeSurvivesTheTickWrap) {
    FakeClock clock;
    clock.setTickMs(0xFFFFFFF0u);
    aTimer t(1);
    clock.advanceMs(40);
    EXPECT_EQ(t.getElapsedMs(), 40);
    EXPECT_NEAR(t.getElapsed(), 0.040f, 1e-6f);
}

TEST(Timer, CounterModeMeasuresSeconds) {
    FakeClock clock;
    aTimer t(0);
    clock.advanceMs(1500);
    EXPECT_NEAR(t.getElapsed(), 1.5f, 1e-6f);
    EXPECT_EQ(t.getElapsedMs(), 1500);
    t.reset();
    EXPECT_EQ(t.getElapsedMs(), 0);
}

std::vector<std::string> split(const char* text) {
    aCmdLine cmd(text);
    std::vector<std::string> out;
    for (int i = 0; i < cmd.getCount(); ++i)
        out.emplace_back(cmd.getArg(i));
    return out;
}

TEST(CmdLine, SplitsLikeTheEngine) {
    using V = std::vector<std::string>;
    struct Case {
        const char* text;
        V args;
    } cases[] = {
        {"", {"invalid"}},
        {"a \"b c\" d", {"invalid", "a", "b c", "d"}},
        {"a b ", {"invalid", "a", "b", ""}},
        {"\"abc def", {"invalid", "abc", "def"}},
        {"\"\" x", {"invalid", "", "x"}},
        {"  tab\there\r\nnext", {"invalid", "tab", "here", "", "next"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(split(c.text), c.args) << "command line: " << c.text;
}

TEST(CmdLine, KeepsSixtyFourEntriesAndLogsWithoutApplication) {
    std::string words;
    for (int i = 0; i < 70; ++i)
        words.append("w").append(std::to_string(i)).append(" ");
    auto args = split(words.c_str());
    ASSERT_EQ(args.size(), 64u);
    EXPECT_EQ(args[63], "w62");

    LogCapture capture;
    EXPECT_EQ(split(nullptr), std::vector<std::string>{"invalid"});
    EXPECT_TRUE(capture.contains("aCmdLine. Error, aApplication object not created!"));
}

TEST(Exception, KeepsItsMessageBounded) {
    std::string big(20000, 'm');
    try {
        throw aException("%s%s", "Application generated exception!\n", big.c_str());
    } catch (const aException& e) {
        EXPECT_EQ(std::strlen(e.getMessage()), aException::MessageSize - 1);
        EXPECT_EQ(std::string(e.getMessage()).rfind("Application generated exception!\n", 0), 0u);
    }
}

TEST(CriticalSection, IsReentrant) {
    aCriticalSection cs;
    aCriticalSection::Guard a(cs);
    aCriticalSection::Guard b(cs);
    SUCCEED();
}

} // namespace
