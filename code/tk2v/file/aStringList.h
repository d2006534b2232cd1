#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <vector>

// The lines of a text file, without their breaks; runs of CR and LF collapse, so blank lines vanish.
class aStringList {
public:
    aStringList() = default;
    explicit aStringList(const std::string& fileName) { load(fileName); }

    // Reads the file whole; a file that cannot be read gives an empty list after the read error.
    void load(const std::string& fileName);
    void parse(const u8* bytes, u32 size);
    void clear();

    void first() { m_cursor = 0; }
    bool isFirst() const { return m_cursor == 0; }
    bool isEnd() const { return m_cursor >= m_lines.size(); }
    void next() {
        if (!isEnd())
            ++m_cursor;
    }
    const std::string& getCurrent() const;

    const std::vector<std::string>& lines() const { return m_lines; }
    size_t size() const { return m_lines.size(); }

private:
    std::vector<std::string> m_lines;
    size_t m_cursor = 0;
};
