#pragma once
#include "support/TempDir.h"

#include <fcntl.h>
#include <string>
#include <unistd.h>

// While it lives, what the process writes to stderr goes into a file of its own; `stop` puts stderr
// back and gives what was written.
class StderrCapture {
public:
    StderrCapture()
        : m_saved(dup(STDERR_FILENO)),
          m_file(open(m_dir.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
        if (m_file >= 0)
            dup2(m_file, STDERR_FILENO);
    }
    ~StderrCapture() { stop(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string stop() {
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
            close(m_file);
            m_saved = -1;
        }
        return m_dir.read("stderr");
    }

private:
    TempDir m_dir;
    int m_saved, m_file;
};
