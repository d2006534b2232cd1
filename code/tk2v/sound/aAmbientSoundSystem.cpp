#include "tk2v/sound/aAmbientSoundSystem.h"

#include "tk2v/file/aOptionsFile.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSoundManager.h"

#include <cstdio>
#include <cstdlib>

namespace {

aAmbientSoundSystem::Range readRange(const aOptionsFile& options, const std::string& key, f32 defaultValue) {
    std::vector<std::string> items;
    if (options.hasKey(key))
        options.getStringList(items, key);
    return aAmbientSoundSystem::parseRange(items, defaultValue);
}

} // namespace

f32 aAmbientSoundSystem::Range::pick() const {
    if (ranges.empty())
        return defaultValue;
    const auto& [low, high] = ranges[size_t(platform::rand()) % ranges.size()];
    return low + (high - low) * f32(platform::rand()) / f32(platform::RAND_MAX_VALUE);
}

aAmbientSoundSystem::Range aAmbientSoundSystem::parseRange(const std::vector<std::string>& items,
                                                           f32 defaultValue) {
    Range range{defaultValue, {}};
    for (const std::string& item : items) {
        f32 low = 0.0f, high = 0.0f;
        const int read = std::sscanf(item.c_str(), "%f/%f", &low, &high);
        if (read == 2)
            range.ranges.emplace_back(low, high);
        else if (read == 1)
            range.ranges.emplace_back(low, low);
    }
    return range;
}

aAmbientSoundSystem::aAmbientSoundSystem(const std::string& file, aSoundManager* sounds,
                                         const std::string& group)
    : m_sounds(sounds) {
    if (m_sounds)
        load(file, group);
}

aAmbientSoundSystem::~aAmbientSoundSystem() {
    stop();
    for (const Entry& entry : m_entries)
        m_sounds->deleteClone(entry.sound);
}

void aAmbientSoundSystem::load(const std::string& file, const std::string& group) {
    aOptionsFile options(file);
    for (options.first(); !options.isEnd(); options.nextSection()) {
        const std::string name = options.getSectionName();
        const std::string lookupGroup = m_sounds->hasSound(name, group) ? group : std::string();
        aSound* sound = m_sounds->clone(m_sounds->getSound(name, lookupGroup));
        if (sound)
            addEntry(options, sound);
    }
}

void aAmbientSoundSystem::addEntry(const aOptionsFile& options, aSound* sound) {
    Entry entry;
    entry.sound = sound;
    entry.volume = readRange(options, "volume", 1.0f);
    entry.pan = readRange(options, "pan", 0.0f);
    entry.pause = readRange(options, "pause", 0.0f);
    entry.delay = readRange(options, "delay", 0.0f);
    entry.loop = options.hasKey("loop") && options.getInt("loop") != 0;
    if (entry.loop) {
        entry.playTime = readRange(options, "playtime", -1.0f);
        if (options.hasKey("fade"))
            entry.fade = f32(std::atof(options.getString("fade").c_str()));
    }
    m_entries.push_back(std::move(entry));
}

void aAmbientSoundSystem::start() {
    if (m_running)
        return;
    m_running = true;
    for (Entry& entry : m_entries) {
        entry.sound->stop();
        makeIdle(entry, entry.delay);
    }
}

void aAmbientSoundSystem::stop() {
    if (!m_running)
        return;
    m_running = false;
    for (Entry& entry : m_entries) {
        entry.sound->stop();
        entry.playing = false;
    }
}

void aAmbientSoundSystem::update(f32 dt) {
    if (!m_running)
        return;
    for (Entry& entry : m_entries) {
        entry.timer += dt;
        if (!entry.playing) {
            if (entry.timer < entry.wait)
                continue;
            beginPlay(entry);
        }
        if (entry.loop)
            shapeLoopVolume(entry);
        if (!entry.sound->isPlaying())
            makeIdle(entry, entry.pause);
    }
}

void aAmbientSoundSystem::beginPlay(Entry& entry) {
    entry.playing = true;
    entry.chosenVolume = entry.volume.pick();
    if (!entry.loop) {
        entry.sound->play(false, entry.chosenVolume, entry.pan.pick());
        return;
    }
    entry.sound->play(true, 0.0f, entry.pan.pick());
    entry.wait = entry.playTime.pick();
    entry.timer = 0.0f;
}

// Fade in over F, hold for the play time P (for ever when P is negative), fade out over F, stop.
void aAmbientSoundSystem::shapeLoopVolume(Entry& entry) {
    const f32 fade = entry.fade, hold = entry.wait, t = entry.timer;
    if (hold >= 0.0f && t >= 2.0f * fade + hold)
        entry.sound->stop();
    else if (t < fade)
        entry.sound->setVolume(entry.chosenVolume * t / fade);
    else if (hold < 0.0f || t < hold + fade)
        entry.sound->setVolume(entry.chosenVolume);
    else
        entry.sound->setVolume(entry.chosenVolume * (2.0f * fade + hold - t) / fade);
}

void aAmbientSoundSystem::makeIdle(Entry& entry, const Range& next) {
    entry.playing = false;
    entry.wait = next.pick();
    entry.timer = 0.0f;
}
