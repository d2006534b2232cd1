#include "DataWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "make_demo_data: %s\n", what.c_str());
    std::exit(1);
}

bool opaque(const Canvas& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.at(x, y) >> 24 != 0xFF)
                return false;
    return true;
}

} // namespace

DataWriter::DataWriter(std::string root) : m_root(std::move(root)) {}

void DataWriter::write(const std::string& path, const std::vector<uint8_t>& bytes) {
    const fs::path file = fs::path(m_root) / path;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        fail("cannot write " + file.string());
    m_total += bytes.size();
}

void DataWriter::write(const std::string& path, const std::string& text) {
    write(path, std::vector<uint8_t>(text.begin(), text.end()));
}

void DataWriter::copyTree(const std::string& from) {
    // Sorted, so that the order of the work never depends on the file system.
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(from))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        write(fs::relative(file, from).string(), bytes);
    }
}

void DataWriter::image(std::string& list, const std::string& folder, const std::string& file,
                       const Canvas& picture) {
    write(folder + file, picture.png());
    // Opaque pictures need no alpha in a 16-bit display mode.
    list += file + (opaque(picture) ? " 0565 8888\n" : " 4444 8888\n");
}

void DataWriter::sound(std::string& list, const std::string& folder, const std::string& file,
                       const std::vector<uint8_t>& wav) {
    write(folder + file, wav);
    list += file + " 1.0\n";
}
