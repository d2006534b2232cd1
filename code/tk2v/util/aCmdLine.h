#pragma once
#include "tk2v/util/types.h"

#include <string>

// Splits the application's command line into at most 64 arguments; argument 0 is "invalid".
class aCmdLine {
public:
    static constexpr i32 MaxArgs = 64;

    // `commandLine` is the application's command-line text; null when no application object exists.
    explicit aCmdLine(const char* commandLine);

    i32 getCount() const { return m_count; }
    const char* getArg(i32 i) const { return i >= 0 && i < m_count ? m_args[i] : nullptr; }

    aCmdLine(const aCmdLine&) = delete;
    aCmdLine& operator=(const aCmdLine&) = delete;

private:
    void add(char* arg) { m_args[m_count++] = arg; }

    std::string m_text;
    const char* m_args[MaxArgs] = {};
    i32 m_count = 0;
};
