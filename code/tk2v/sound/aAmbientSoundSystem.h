#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <utility>
#include <vector>

class aOptionsFile;
class aSound;
class aSoundManager;

// The background sounds of a place. Each section of an ambient options file names one sound and gives,
// as random ranges, when it plays, how loud, where in the stereo field and, for a looping sound, for how
// long and with what fade. The owner advances it every frame; the sound manager must outlive it.
class aAmbientSoundSystem {
public:
    // A value picked from one of several (min, max) ranges, or the default when there are none.
    struct Range {
        f32 defaultValue;
        std::vector<std::pair<f32, f32>> ranges;

        f32 pick() const;
    };

    struct Entry {
        // A clone of the manager's sound.
        aSound* sound;
        bool loop = false;
        // Seconds at full volume of a looping sound; negative plays it until the system stops.
        Range playTime{-1.0f, {}};
        Range volume{1.0f, {}};
        Range pan{0.0f, {}};
        Range pause{0.0f, {}};
        Range delay{0.0f, {}};
        f32 fade = 0.1f;
        bool playing = false;
        // When the current phase ends: the delay or pause while idle, the play time of a looping sound.
        f32 wait = 0.0f;
        f32 timer = 0.0f;
        f32 chosenVolume = 0.0f;
    };

    // The sections' sounds are looked up in the group first, then without one.
    aAmbientSoundSystem(const std::string& file, aSoundManager* sounds, const std::string& group);
    virtual ~aAmbientSoundSystem();
    aAmbientSoundSystem(const aAmbientSoundSystem&) = delete;
    aAmbientSoundSystem& operator=(const aAmbientSoundSystem&) = delete;

    // Each is ignored in the state it leads to; start gives every sound a fresh delay.
    void start();
    void stop();
    void update(f32 dt);

    bool isRunning() const { return m_running; }
    const std::vector<Entry>& getEntries() const { return m_entries; }

    // "a/b" items are ranges from a to b, single numbers ranges of one value.
    static Range parseRange(const std::vector<std::string>& items, f32 defaultValue);

private:
    void load(const std::string& file, const std::string& group);
    void addEntry(const aOptionsFile& options, aSound* sound);
    static void beginPlay(Entry& entry);
    static void shapeLoopVolume(Entry& entry);
    static void makeIdle(Entry& entry, const Range& next);

    aSoundManager* m_sounds;
    std::vector<Entry> m_entries;
    bool m_running = false;
};
