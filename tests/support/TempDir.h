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
    // Writes the text with every "@/" standing for this folder, so that files can name each
    // other; returns the file's full path.
    std::string writeLinked(const std::string& name, std::string text) const;
    std::string read(const std::string& name) const;

private:
    std::string m_path;
};
