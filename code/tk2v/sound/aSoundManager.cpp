#include "tk2v/sound/aSoundManager.h"

#include "tk2v/util/log.h"

#include <cstdlib>

namespace {

// The pieces of "file.ext volume"; the name ends at the first dot.
struct SoundLine {
    std::string name, file, volume;
};

bool cutSoundLine(const std::string& line, SoundLine& out) {
    const size_t dot = line.find('.');
    const size_t fileEnd = aBaseManager::findBlank(line, dot);
    const size_t volume = aBaseManager::findNonBlank(line, fileEnd);
    if (volume == std::string::npos)
        return false;
    out.name = line.substr(0, dot);
    out.file = line.substr(0, fileEnd);
    out.volume = line.substr(volume);
    return true;
}

} // namespace

aSoundManager::~aSoundManager() {
    m_clones.clear();
    m_sounds.clear();
}

std::string aSoundManager::parseListLine(const std::string& line) {
    const size_t fileEnd = findBlank(line, line.find('.'));
    if (fileEnd == std::string::npos) {
        log("aSoundManager: Error in line: " + line);
        return std::string();
    }
    return line.substr(0, fileEnd);
}

void aSoundManager::loadResource(const std::string& dir, const std::string& line, const std::string& group) {
    SoundLine parts;
    if (!cutSoundLine(line, parts)) {
        log("aSoundManager. Error in line: %s", line.c_str());
        return;
    }
    const std::string key = makeKey(parts.name, group);
    if (m_sounds.count(key) != 0) {
        log("aSoundManager. Sound with name \"%s\" already loaded!", parts.file.c_str());
        return;
    }
    const f32 volume = f32(std::atof(parts.volume.c_str()));
    m_sounds.emplace(key, std::make_unique<aSound>(dir + parts.file, volume));
    reportProgress(parts.file);
}

aSound* aSoundManager::getSound(const std::string& name, const std::string& group) {
    const std::string key = makeKey(name, group);
    auto found = m_sounds.find(key);
    if (found != m_sounds.end())
        return found->second.get();
    log("aSoundManager. Cannot find sound \"%s\"", key.c_str());
    return nullptr;
}

bool aSoundManager::hasSound(const std::string& name, const std::string& group) const {
    return m_sounds.count(makeKey(name, group)) != 0;
}

void aSoundManager::unloadList(const std::string& listFile, const std::string& group) {
    for (const std::string& line : listLines(listFile))
        m_sounds.erase(makeKey(line.substr(0, line.find('.')), group));
}

aSound* aSoundManager::clone(const aSound* sound, bool keepPlaying) {
    if (!sound) {
        log("aSoundManager. Cannot clone NULL sound");
        return nullptr;
    }
    auto copy = std::make_unique<aSound>(*sound);
    aSound* result = copy.get();
    m_clones.emplace(result, Clone{std::move(copy), keepPlaying});
    return result;
}

bool aSoundManager::deleteClone(aSound* clone) {
    return m_clones.erase(clone) != 0;
}

void aSoundManager::setVolume(f32 volume) {
    if (!(volume >= 0.0f && volume <= 1.0f)) {
        log("aSoundManager. Invalid volume value %f", double(volume));
        return;
    }
    for (auto& [key, sound] : m_sounds)
        sound->setMasterVolume(volume);
    for (auto& [pointer, entry] : m_clones)
        entry.sound->setMasterVolume(volume);
}

void aSoundManager::stopAll() {
    for (auto& [key, sound] : m_sounds)
        sound->stop();
    for (auto& [pointer, entry] : m_clones)
        if (!entry.keepPlaying)
            entry.sound->stop();
}
