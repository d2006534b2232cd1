#include "tk2v/platform/CrashHandler.h"

#include "tk2v/util/types.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

// Everything reached from the signal handler uses async-signal-safe calls only: no stdio, no
// allocation. backtrace() qualifies once libgcc is loaded, which the installer sees to.

namespace platform {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kMaxFrames = 64;
// Room for the callback too: the engine shows its message box from there.
constexpr size_t kAltStackSize = 256 * 1024;

char g_reportPath[4096];
char g_exceptionText[512];
void (*g_afterReport)() = nullptr;
std::atomic<bool> g_crashing{false};
alignas(16) char g_altStack[kAltStackSize];

const char* signalName(int sig) {
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

void writeText(int fd, const char* text) {
    writeAll(fd, text, std::strlen(text));
}

void writeNumber(int fd, u64 value, unsigned base, int minDigits) {
    char buf[24];
    int at = sizeof buf;
    do {
        buf[--at] = "0123456789abcdef"[value % base];
        value /= base;
    } while (value > 0 || int(sizeof buf) - at < minDigits);
    writeAll(fd, buf + at, sizeof buf - size_t(at));
}

void copyFile(int fd, const char* path) {
    const int in = open(path, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        writeAll(fd, buf, size_t(n));
    }
    close(in);
}

// `address` is null when the signal carries none (sent by a process rather than raised by a fault).
void writeReport(const char* reason, int sig, const void* address) {
    const int fd = g_reportPath[0] ? open(g_reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    if (fd < 0)
        return;
    writeText(fd, "Crash report\nReason: ");
    writeText(fd, reason);
    if (sig != 0) {
        writeText(fd, " (signal ");
        writeNumber(fd, u64(sig), 10, 1);
        writeText(fd, ")");
    }
    if (address) {
        writeText(fd, "\nAddress: 0x");
        writeNumber(fd, reinterpret_cast<std::uintptr_t>(address), 16, 16);
    }
    writeText(fd, "\n\nBacktrace:\n");
    void* frames[kMaxFrames];
    backtrace_symbols_fd(frames, backtrace(frames, kMaxFrames), fd);
    writeText(fd, "\nMemory map (/proc/self/maps):\n");
    copyFile(fd, "/proc/self/maps");
    close(fd);
}

// Only the first crash is reported; one inside the report or the callback just ends the process.
bool firstCrash() {
    return !g_crashing.exchange(true);
}

void afterReport() {
    if (g_afterReport)
        g_afterReport();
}

void onSignal(int sig, siginfo_t* info, void*) {
    if (firstCrash()) {
        const bool fromFault = info && info->si_code > 0 && sig != SIGABRT;
        writeReport(signalName(sig), sig, fromFault ? info->si_addr : nullptr);
        afterReport();
    }
    // Still blocked while the handler runs: delivered, with the default action, once it returns.
    std::signal(sig, SIG_DFL);
    raise(sig);
}

// Not a signal context, so the pending exception may be looked at.
const char* terminateReason() {
    const char* reason = "std::terminate";
    try {
        if (std::exception_ptr e = std::current_exception())
            std::rethrow_exception(e);
    } catch (const std::exception& e) {
        std::snprintf(g_exceptionText, sizeof g_exceptionText, "std::terminate, uncaught exception: %s",
                      e.what());
        reason = g_exceptionText;
    } catch (...) {
        reason = "std::terminate, uncaught exception";
    }
    return reason;
}

[[noreturn]] void onTerminate() {
    if (firstCrash()) {
        writeReport(terminateReason(), 0, nullptr);
        afterReport();
    }
    // The SIGABRT handler sees the crash as handled and only lets the process end.
    std::abort();
}

void setupAltStack() {
    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    sigaltstack(&stack, nullptr);
}

} // namespace

void installCrashHandler(const std::string& reportPath, void (*callback)()) {
    // A path cut to fit would name some other file: a path that does not fit disables the report.
    if (reportPath.size() < sizeof g_reportPath)
        std::memcpy(g_reportPath, reportPath.c_str(), reportPath.size() + 1);
    else
        g_reportPath[0] = '\0';
    g_afterReport = callback;
    // The first backtrace() loads libgcc and allocates: do it here rather than in a handler.
    void* frame = nullptr;
    backtrace(&frame, 1);
    setupAltStack();
    struct sigaction action {};
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int sig : kSignals)
        sigaction(sig, &action, nullptr);
    std::set_terminate(onTerminate);
}

} // namespace platform
