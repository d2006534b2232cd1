#include "support/LogCapture.h"

#include "tk2v/util/log.h"

#include <algorithm>

LogCapture::LogCapture() : m_file(std::tmpfile()), m_previous(a_logFile()) { a_logSetFile(m_file); }

LogCapture::~LogCapture() {
    a_logSetFile(m_previous);
    std::fclose(m_file);
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> out;
    std::fflush(m_file);
    long pos = std::ftell(m_file);
    std::rewind(m_file);
    std::string all;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, m_file)) > 0)
        all.append(buf, n);
    std::fseek(m_file, pos, SEEK_SET);
    // A message may itself hold line breaks; a new entry starts only with a time stamp.
    auto stamped = [](const std::string& l) {
        return l.size() >= 13 && l[2] == ':' && l[5] == ':' && l[8] == '.' && l[12] == '\t';
    };
    size_t start = 0;
    while (start < all.size()) {
        size_t nl = all.find('\n', start);
        std::string line = all.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (stamped(line))
            out.push_back(line.substr(13));
        else if (!out.empty())
            out.back() += "\n" + line;
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return out;
}

bool LogCapture::contains(const std::string& message) const {
    auto m = messages();
    return std::find(m.begin(), m.end(), message) != m.end();
}

void LogCapture::clear() {
    std::fflush(m_file);
    // A fresh file keeps old lines out of the next look.
    std::FILE* f = std::tmpfile();
    a_logSetFile(f);
    std::fclose(m_file);
    m_file = f;
}
