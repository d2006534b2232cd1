#pragma once
#include "tk2v/util/aRoot.h"

// The one exception type of the program; the message is kept in a fixed buffer so that throwing
// never allocates.
class aException : public aRoot {
public:
    explicit aException(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const char* getMessage() const { return m_message; }

    static constexpr unsigned MessageSize = 10000;

private:
    char m_message[MessageSize];
};
