#pragma once
#include "Canvas.h"

#include <cstdint>
#include <string>
#include <utility>
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

// One room's pictures ("<folder>Images/<name>.png") and sounds ("<folder>Sounds/<name>.wav"), both
// lists written once the room is done.
class RoomFolder {
public:
    RoomFolder(DataWriter& out, std::string folder) : m_out(out), m_folder(std::move(folder)) {}
    ~RoomFolder() {
        m_out.write(m_folder + "Images/_images.list", m_images);
        m_out.write(m_folder + "Sounds/_sounds.list", m_sounds);
    }
    RoomFolder(const RoomFolder&) = delete;
    RoomFolder& operator=(const RoomFolder&) = delete;

    void picture(const std::string& name, const Canvas& picture) {
        m_out.image(m_images, m_folder + "Images/", name + ".png", picture);
    }
    void wave(const std::string& name, const std::vector<uint8_t>& wav) {
        m_out.sound(m_sounds, m_folder + "Sounds/", name + ".wav", wav);
    }

private:
    DataWriter& m_out;
    const std::string m_folder;
    std::string m_images, m_sounds;
};
