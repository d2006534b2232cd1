#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rvh-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    m_path = std::string(made ? made : pattern.c_str()) + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path p(m_path + name);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(m_path + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempDir::writeLinked(const std::string& name, std::string text) const {
    for (size_t at; (at = text.find("@/")) != std::string::npos;)
        text.replace(at, 2, m_path);
    write(name, text);
    return file(name);
}
