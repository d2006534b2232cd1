#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Builds small zip archives in memory for tests, benchmarks and fuzz seeds.
class ZipWriter {
public:
    enum class Method : std::uint16_t { Stored = 0, Deflated = 8 };

    void add(const std::string& name, const std::string& data, Method method = Method::Deflated);
    // A folder entry of its own ("Images/"), as most zip tools write one.
    void addFolder(const std::string& name);

    // The whole archive; with `corruptDirectory` the central directory cannot be read.
    std::string bytes(bool corruptDirectory = false) const;
    bool save(const std::string& path, bool corruptDirectory = false) const;

private:
    struct Entry {
        std::string name;
        Method method;
        std::uint32_t crc;
        std::uint32_t size;
        std::string packed;
    };

    std::vector<Entry> m_entries;
};
