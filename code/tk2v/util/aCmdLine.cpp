#include "tk2v/util/aCmdLine.h"

#include "tk2v/util/log.h"

#include <cstring>

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }
} // namespace

aCmdLine::aCmdLine(const char* commandLine) {
    m_args[0] = "invalid";
    m_count = 1;
    if (!commandLine) {
        log("aCmdLine. Error, aApplication object not created!");
        return;
    }
    m_text = commandLine;
    char* p = m_text.data();
    char* end = p + m_text.size();
    // A separator as the last character still opens one more, empty argument.
    bool afterSeparator = false;
    while (m_count < MaxArgs && (p < end || afterSeparator)) {
        afterSeparator = false;
        while (p < end && isBlank(*p))
            ++p;
        if (p < end && *p == '"') {
            ++p;
            if (char* close = static_cast<char*>(std::memchr(p, '"', size_t(end - p)))) {
                *close = '\0';
                add(p);
                p = close + 1;
                continue;
            }
        }
        char* arg = p;
        while (p < end && !isSeparator(*p))
            ++p;
        if (p >= end) {
            add(arg);
            break;
        }
        *p = '\0';
        add(arg);
        ++p;
        afterSeparator = true;
    }
}
