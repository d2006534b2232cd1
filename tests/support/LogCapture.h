#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Routes the engine log into a temporary file for the lifetime of the object.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    // The messages logged so far, without their time stamps.
    std::vector<std::string> messages() const;
    bool contains(const std::string& message) const;
    void clear();

private:
    std::FILE* m_file;
    std::FILE* m_previous;
};
