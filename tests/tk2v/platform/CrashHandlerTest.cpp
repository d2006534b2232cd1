#include "tk2v/platform/CrashHandler.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

char g_markerPath[4096];

// Runs in the crashing child: leaves a file behind to show it was called.
void markCalled() {
    const int fd = open(g_markerPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0)
        close(fd);
}

void writeToBadAddress() {
    // Through a volatile address, so the compiler cannot see (and warn about) the bad write.
    volatile std::uintptr_t address = 16;
    *reinterpret_cast<volatile int*>(address) = 1;
}

int recurse(int depth) {
    volatile char frame[4096];
    frame[0] = char(depth);
    return depth < 0 ? 0 : recurse(depth + 1) + frame[0];
}

void overflowStack() {
    recurse(0);
}

void throwBoom() {
    throw std::runtime_error("boom");
}
void (*volatile g_thrower)() = throwBoom;
void throwThroughNoexcept() noexcept {
    g_thrower();
}

void raiseFpe() {
    raise(SIGFPE);
}

struct CrashCase {
    const char* name;
    void (*crash)();
    int signal;
    const char* reason;
};

// Forks a child that installs the handler and crashes; returns its wait status.
int crashInChild(const TempDir& dir, void (*crash)()) {
    std::strncpy(g_markerPath, dir.file("called").c_str(), sizeof g_markerPath - 1);
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_DUMPABLE, 0); // no core file
        platform::installCrashHandler(dir.file("crash.dmp"), markCalled);
        crash();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST(CrashHandler, WritesTheReportCallsBackAndDiesOfTheSignal) {
    const CrashCase cases[] = {
        {"bad write", writeToBadAddress, SIGSEGV,
         "Reason: SIGSEGV (signal 11)\nAddress: 0x0000000000000010\n"},
        {"stack overflow", overflowStack, SIGSEGV, "Reason: SIGSEGV (signal 11)\nAddress: 0x"},
        {"abort", std::abort, SIGABRT, "Reason: SIGABRT (signal 6)\n\n"},
        {"raised", raiseFpe, SIGFPE, "Reason: SIGFPE (signal 8)\n\n"},
        {"terminate", throwThroughNoexcept, SIGABRT, "Reason: std::terminate, uncaught exception: boom\n"},
    };
    for (const CrashCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const int status = crashInChild(dir, c.crash);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), c.signal);
        const std::string report = dir.read("crash.dmp");
        EXPECT_NE(report.find(c.reason), std::string::npos) << report.substr(0, 300);
        EXPECT_NE(report.find("\nBacktrace:\n"), std::string::npos);
        const size_t maps = report.find("\nMemory map (/proc/self/maps):\n");
        ASSERT_NE(maps, std::string::npos);
        EXPECT_NE(report.find("[stack]", maps), std::string::npos);
        EXPECT_EQ(access(dir.file("called").c_str(), F_OK), 0) << "callback not called";
    }
}

} // namespace
