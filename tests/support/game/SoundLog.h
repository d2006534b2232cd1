#pragma once
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <string>
#include <utility>
#include <vector>

// The sounds a test listens to, by name and group: each look notes those that play now and did not
// at the last look, in the order they were added, so a test reads which sounds a frame started and in
// what order frame by frame. Sounds on an output nobody pulls play until stopped; a sound started
// again while it still plays is not seen. Sounds are looked up anew each time: loading more sounds
// may move them.
class SoundLog {
public:
    explicit SoundLog(aSoundManager* sounds) : m_sounds(sounds) {}

    void watch(const std::string& name, const std::string& group = "") {
        m_watched.push_back({name, group, false});
        m_watched.back().playing = isPlaying(m_watched.back());
    }

    void look() {
        for (Watched& w : m_watched) {
            const bool playing = isPlaying(w);
            if (playing && !w.playing)
                m_started.push_back(w.name);
            w.playing = playing;
        }
    }
    // The sounds started since the last call, in order; the log starts afresh.
    std::vector<std::string> started() {
        look();
        return std::exchange(m_started, {});
    }
    // The watched sounds that play now, in the order added, stopped; the log starts afresh.
    std::vector<std::string> stopPlaying() {
        std::vector<std::string> names;
        for (Watched& w : m_watched) {
            if (isPlaying(w))
                names.push_back(w.name);
            if (aSound* sound = find(w))
                sound->stop();
            w.playing = false;
        }
        m_started.clear();
        return names;
    }

private:
    struct Watched {
        std::string name, group;
        bool playing;
    };
    aSound* find(const Watched& w) const {
        return m_sounds && m_sounds->hasSound(w.name, w.group) ? m_sounds->getSound(w.name, w.group)
                                                               : nullptr;
    }
    bool isPlaying(const Watched& w) const {
        const aSound* sound = find(w);
        return sound && sound->isPlaying();
    }

    aSoundManager* m_sounds;
    std::vector<Watched> m_watched;
    std::vector<std::string> m_started;
};
