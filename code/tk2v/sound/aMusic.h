#pragma once
#include "tk2v/file/aFileBuffer.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/util/types.h"

#include <string>

// One music stream, decoded as it plays from the whole file kept in memory. The stream loops unless a
// play asks otherwise.
class aMusic {
public:
    aMusic(const std::string& path, f32 baseVolume);
    ~aMusic();
    aMusic(const aMusic&) = delete;
    aMusic& operator=(const aMusic&) = delete;

    // From the beginning on a new channel, at the current volume.
    void play(bool loop = true);
    void stop();
    // Only while the stream's channel is busy.
    void setPaused(bool paused);
    // Clamped to 0..1; the channel gets volume x base volume.
    void setVolume(f32 volume);

    bool isValid() const { return m_stream != 0; }
    bool hasChannel() const { return m_channel != NO_CHANNEL; }
    bool isPlaying() const;
    f32 getVolume() const { return m_volume; }

private:
    static constexpr int NO_CHANNEL = -1;

    void applyVolume();
    // The stream decodes ahead of the mixer, so its loop mode is chosen when it is opened.
    void open(bool loop);

    // Declared before the stream, which reads it until closed.
    aFileBuffer m_file;
    platform::AudioSystem::Stream m_stream = 0;
    bool m_looping = true;
    int m_channel = NO_CHANNEL;
    f32 m_volume = 1.0f;
    f32 m_baseVolume;
};
