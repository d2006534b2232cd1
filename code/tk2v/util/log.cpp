#include "tk2v/util/log.h"

#include "tk2v/util/aTimer.h"

#include <cstdarg>
#include <mutex>

namespace {

// Lines come from the main thread and the music-fade thread.
std::recursive_mutex g_logMutex;
std::FILE* g_logFile = nullptr;
char g_lineBuffer[8192];
char g_fileLineBuffer[300];

// Started with the program, before the entry function runs.
[[maybe_unused]] const bool g_logTimerStarted = (a_logTimer(), true);

void writeLine(const char* message) {
    // One reading, in the timer's own millisecond arithmetic; the seconds come from it too, so the
    // millisecond part stays below 1000 even where the clock would cross a second between two readings.
    // A test that swaps the clock source can make the timer run backwards, which reads as a huge time:
    // such a stamp reads 0.
    const float seconds = a_logTimer().getElapsed();
    const long long elapsedMs = seconds > 0 && seconds < 1e9f ? aTimer::secondsToMs(seconds) : 0;
    const long long s = elapsedMs / 1000;
    std::fprintf(g_logFile, "%.2lli:%.2lli:%.2lli.%.3lli\t%s\n", s / 3600, (s % 3600) / 60, s % 60,
                 elapsedMs % 1000, message);
    std::fflush(g_logFile);
}

void logFormatted(const char* format, va_list args) {
    std::lock_guard<std::recursive_mutex> lock(g_logMutex);
    if (!g_logFile)
        return;
    if (!format) {
        writeLine("a_log. NULL log string");
        return;
    }
    // vsnprintf bounds the line: a longer message is cut, never written past the buffer.
    std::vsnprintf(g_lineBuffer, sizeof g_lineBuffer, format, args);
    writeLine(g_lineBuffer);
}

} // namespace

void log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logFormatted(format, args);
    va_end(args);
}

void a_log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logFormatted(format, args);
    va_end(args);
}

void log(const std::string& text) {
    log("%s", text.c_str());
}

const char* a_fileLine(const char* path, unsigned line) {
    const char* name = path ? path : "";
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    std::snprintf(g_fileLineBuffer, sizeof g_fileLineBuffer, "(%s, line %u)", name, line);
    return g_fileLineBuffer;
}

void a_logSetFile(std::FILE* file) {
    std::lock_guard<std::recursive_mutex> lock(g_logMutex);
    g_logFile = file;
}

std::FILE* a_logFile() {
    return g_logFile;
}

aTimer& a_logTimer() {
    static aTimer timer(0);
    return timer;
}
