#include "tk2v/util/aException.h"

#include <cstdarg>
#include <cstdio>

aException::aException(const char* format, ...) {
    m_message[0] = '\0';
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_message, sizeof m_message, format, args);
    va_end(args);
}
