#include "tk2v/gfx/aImageManager.h"

#include "tk2v/util/log.h"

namespace {

constexpr u32 FORMAT_A8R8G8B8 = 21;
constexpr u32 FORMAT_R5G6B5 = 23;
constexpr u32 FORMAT_A1R5G5B5 = 25;
constexpr u32 FORMAT_A4R4G4B4 = 26;

void logBadLine(const std::string& line) {
    log("aImageManager: Error in line: " + line);
}

// The pieces of "file.ext code16 code32 [ignored]"; the name ends at the last dot.
struct ImageLine {
    std::string name, file, code16, code32;
};

bool cutImageLine(const std::string& line, ImageLine& out) {
    const size_t dot = line.rfind('.');
    const size_t fileEnd = aBaseManager::findBlank(line, dot);
    const size_t code16 = aBaseManager::findNonBlank(line, fileEnd);
    const size_t code16End = aBaseManager::findBlank(line, code16);
    const size_t code32 = aBaseManager::findNonBlank(line, code16End);
    if (code32 == std::string::npos)
        return false;
    out.name = line.substr(0, dot);
    out.file = line.substr(0, fileEnd);
    out.code16 = line.substr(code16, code16End - code16);
    out.code32 = line.substr(code32, aBaseManager::findBlank(line, code32) - code32);
    return true;
}

} // namespace

u32 aImageManager::formatOfCode(const std::string& code) {
    if (code == "1555")
        return FORMAT_A1R5G5B5;
    if (code == "4444")
        return FORMAT_A4R4G4B4;
    if (code == "0565")
        return FORMAT_R5G6B5;
    if (code == "8888")
        return FORMAT_A8R8G8B8;
    return 0;
}

std::string aImageManager::parseListLine(const std::string& line) {
    const size_t fileEnd = findBlank(line, line.rfind('.'));
    if (fileEnd == std::string::npos) {
        logBadLine(line);
        return std::string();
    }
    return line.substr(0, fileEnd);
}

void aImageManager::loadResource(const std::string& dir, const std::string& line, const std::string& group) {
    ImageLine parts;
    if (!cutImageLine(line, parts)) {
        logBadLine(line);
        return;
    }
    const u32 format16 = formatOfCode(parts.code16);
    const u32 format32 = formatOfCode(parts.code32);
    if (format16 == 0 || format32 == 0)
        log("aImageManager. Unknown image format: " + line);
    const std::string key = makeKey(parts.name, group);
    if (m_images.count(key) != 0) {
        log("aImageManager. Image with name \"" + parts.file + "\" already loaded!");
        return;
    }
    m_images.try_emplace(key, dir + parts.file, format16, format32);
    reportProgress(parts.file);
}

aImage* aImageManager::getImage(const std::string& name, const std::string& group) {
    auto found = m_images.find(makeKey(name, group));
    if (found != m_images.end())
        return &found->second;
    log("aImageManager. Cannot find image: " + name + (group.empty() ? "" : " : " + group));
    return nullptr;
}

bool aImageManager::hasImage(const std::string& name, const std::string& group) const {
    return m_images.count(makeKey(name, group)) != 0;
}

void aImageManager::unloadList(const std::string& listFile, const std::string& group) {
    for (const std::string& line : listLines(listFile))
        m_images.erase(makeKey(line.substr(0, line.rfind('.')), group));
}
