#pragma once
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/util/types.h"

#include <string>

// One sound effect: a sample loaded whole from a file, played on a free channel with its own pan and two
// volume factors (its own and the master one). Copies share the sample; only the sound that loaded it
// frees it, so that sound must outlive its copies.
class aSound {
public:
    // play's arguments that keep the stored volume and pan.
    static constexpr f32 KEEP_VOLUME = -1.0f;
    static constexpr f32 KEEP_PAN = -2.0f;

    aSound(const std::string& path, f32 volume);
    aSound(const aSound& other);
    aSound& operator=(const aSound&) = delete;
    ~aSound();

    // Restarts from the beginning on a new channel.
    void play(bool loop = false, f32 volume = KEEP_VOLUME, f32 pan = KEEP_PAN);
    void stop();
    bool isPlaying() const;
    // -1 left .. 1 right.
    void setPan(f32 pan);
    void setVolume(f32 volume);
    void setMasterVolume(f32 volume);
    // In seconds; 0 when the sample did not load.
    f32 getLength() const;

    f32 getPan() const { return m_pan; }
    f32 getVolume() const { return m_volume; }
    f32 getMasterVolume() const { return m_masterVolume; }
    bool isLoaded() const { return m_sample != 0; }

    // Sounds and music streams share the sound system: the first live user opens it and the last one
    // closes it (unless it was open already, then its opener closes it).
    static void addAudioUser();
    static void releaseAudioUser();

    // Not-a-number gives the low end.
    static f32 clampOrLow(f32 value, f32 low, f32 high);
    // The channel levels: 0..255 volume, 0 left .. 128 centre .. 255 right pan.
    static int channelVolume(f32 volume);
    static int channelPan(f32 pan);

private:
    void loadSample(const std::string& path);
    void applyVolume();

    platform::AudioSystem::Sample m_sample = 0;
    bool m_ownsSample = false;
    f32 m_pan = 0.0f;
    f32 m_masterVolume = 1.0f;
    f32 m_volume;
    int m_channel = -1;
};
