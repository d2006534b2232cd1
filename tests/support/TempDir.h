#pragma once
#include <string>

// A fresh folder under the temp directory, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    // The folder with a trailing "/".
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::string m_path;
};
