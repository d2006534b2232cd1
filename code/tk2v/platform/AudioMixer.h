#pragma once
#include "tk2v/platform/AudioClip.h"
#include "tk2v/platform/AudioStream.h"
#include "tk2v/util/types.h"

#include <vector>

namespace platform {

// The channels and the mixing arithmetic. Not thread-safe: its owner serialises every call, the render
// included. Render and advance neither allocate nor lock.
class AudioMixer {
public:
    // The low byte of a handle is the channel index, the rest the channel's generation.
    static constexpr int MAX_CHANNELS = 256;
    static constexpr int MAX_LEVEL = 255;
    static constexpr int PAN_CENTRE = 128;

    struct Channel {
        const AudioClip* clip = nullptr;
        AudioStream* stream = nullptr;
        u64 position = 0; // source frames, 32.32 fixed point
        u64 step = 0;     // source frames per output frame, 32.32 fixed point
        int generation = 0;
        int volume = MAX_LEVEL;
        int pan = PAN_CENTRE;
        bool paused = false;
        bool loop = false;
        bool busy() const { return clip != nullptr || stream != nullptr; }
        void release() {
            clip = nullptr;
            stream = nullptr;
        }
    };

    AudioMixer(int frequency, int channels);

    int channelCount() const { return int(m_channels.size()); }
    int busyCount() const;
    // The lowest idle channel, -1 when all are busy.
    int freeChannel() const;
    // The busy channel a handle names; null for an idle channel or a handle from an earlier play.
    Channel* find(int handle);
    Channel& at(int index) { return m_channels[std::size_t(index)]; }

    // Starts from the first frame at full volume, centred, looping off; returns the new handle.
    int startClip(int index, const AudioClip& clip, bool paused);
    int startStream(int index, AudioStream& stream, bool paused);
    void stopUsing(const void* source);

    void setMasterVolume(int volume) { m_masterVolume = volume; }
    int masterVolume() const { return m_masterVolume; }

    // Writes `frames` interleaved stereo frames, each side clamped to -1..1.
    void render(float* out, u32 frames);
    // Moves every playing channel on by `frames` without producing sound.
    void advance(u64 frames);

private:
    struct Gains {
        float left, right;
    };

    Channel& restart(int index, int sourceFrequency, bool paused);
    Gains gainsOf(const Channel& channel) const;
    void play(Channel& channel, float* out, u32 frames);
    void mixClip(Channel& channel, float* out, u32 frames);
    void playStream(Channel& channel, float* out, u32 frames);

    std::vector<Channel> m_channels;
    int m_frequency;
    int m_masterVolume = MAX_LEVEL;
};

} // namespace platform
