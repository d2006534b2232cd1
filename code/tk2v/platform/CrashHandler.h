#pragma once
#include <string>

namespace platform {

// When the process dies of SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT or std::terminate, writes a text
// report to `reportPath` (signal, faulting address, backtrace, memory map), calls `afterReport` (may
// be null), then lets the signal end the process the default way. The signals run on an alternate
// stack of the installing thread, so a stack overflow there is reported too. Installing again
// replaces the path and the callback.
void installCrashHandler(const std::string& reportPath, void (*afterReport)());

} // namespace platform
