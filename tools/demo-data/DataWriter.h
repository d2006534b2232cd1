#pragma once
#include "Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes the files of the data set below one folder, making folders as needed, and the list
// files that name them.
class DataWriter {
public:
    explicit DataWriter(std::string root);

    void write(const std::string& path, const std::vector<uint8_t>& bytes);
    void write(const std::string& path, const std::string& text);
    // Copies the hand-written files, keeping their folders.
    void copyTree(const std::string& from);

    // A picture and its image-list line; opaque pictures take a 16-bit format without alpha.
    void image(std::string& list, const std::string& folder, const std::string& file, const Canvas& picture);
    // A sound and its sound-list line at full volume.
    void sound(std::string& list, const std::string& folder, const std::string& file,
               const std::vector<uint8_t>& wav);

    uint64_t totalBytes() const { return m_total; }

private:
    std::string m_root;
    uint64_t m_total = 0;
};
