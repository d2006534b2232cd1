#pragma once
#include "tk2v/file/aBaseManager.h"
#include "tk2v/sound/aSound.h"

#include <map>
#include <memory>
#include <string>

// The game's sounds by key: the file name up to its first dot, plus ":" and the group when the list was
// loaded under one. A list line is "file.ext <volume>". Clones share a loaded sound's sample so that one
// sample can play on several channels at once.
class aSoundManager : public aBaseManager {
public:
    aSoundManager() = default;
    // The clones go before the sounds whose samples they share.
    ~aSoundManager() override;

    std::string parseListLine(const std::string& line) override;
    void loadResource(const std::string& dir, const std::string& line, const std::string& group) override;

    // Null, after a log line, when there is no such sound; the manager keeps the sound.
    aSound* getSound(const std::string& name, const std::string& group = "");
    bool hasSound(const std::string& name, const std::string& group = "") const;
    // Destroys every sound the list names under the group.
    void unloadList(const std::string& listFile, const std::string& group = "");

    // A new sound sharing the given one's sample, kept by the manager; stopAll leaves it playing when
    // `keepPlaying` is set.
    aSound* clone(const aSound* sound, bool keepPlaying = false);
    // False for null and for a sound that is not a clone of this manager.
    bool deleteClone(aSound* clone);

    // The master volume of every sound and clone; a value outside 0..1 changes nothing.
    void setVolume(f32 volume);
    void stopAll();

private:
    struct Clone {
        std::unique_ptr<aSound> sound;
        bool keepPlaying;
    };

    std::map<std::string, std::unique_ptr<aSound>, NoCaseLess> m_sounds;
    std::map<const aSound*, Clone> m_clones;
};
